// The hidden system caret: made at its size, moved, never shown.
#include "framework/caret.h"

CHiddenCaret::~CHiddenCaret()
{
    Destroy();
}

void CHiddenCaret::Create(HWND hwnd)
{
    Destroy();
    m_hwnd = hwnd;
}

void CHiddenCaret::Destroy()
{
    if (m_hwnd == nullptr)
        return;
    if (!IsRectEmpty(&m_rect))
        DestroyCaret();
    m_hwnd = nullptr;
    m_rect = RECT{};
}

void CHiddenCaret::Place(const RECT& rect)
{
    if (m_hwnd == nullptr || IsRectEmpty(&rect) || EqualRect(&rect, &m_rect))
        return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width != m_rect.right - m_rect.left || height != m_rect.bottom - m_rect.top) {
        // Made hidden, and ShowCaret is never called: no blinking, no pixel.
        if (!CreateCaret(m_hwnd, nullptr, width, height)) {
            m_rect = RECT{};
            return;
        }
    }
    if (!SetCaretPos(rect.left, rect.top)) {
        DestroyCaret();
        m_rect = RECT{};
        return;
    }
    m_rect = rect;
}
