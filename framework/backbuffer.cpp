// The back buffer of a window and the surfaces that draw on it.
#include "framework/backbuffer.h"

CBackBuffer::~CBackBuffer()
{
    Release();
}

void CBackBuffer::Release()
{
    if (m_hDC != nullptr) {
        SelectObject(m_hDC, m_originalBitmap);
        DeleteDC(m_hDC);
    }
    if (m_bitmap != nullptr)
        DeleteObject(m_bitmap);
    m_hDC = nullptr;
    m_bitmap = nullptr;
    m_originalBitmap = nullptr;
    m_width = 0;
    m_height = 0;
}

bool CBackBuffer::Resize(CWnd* pWnd, int width, int height)
{
    if (IsValid() && width == m_width && height == m_height)
        return false;
    Release();
    if (pWnd == nullptr || width <= 0 || height <= 0)
        return false;
    HDC windowDC = GetDC(pWnd->m_hWnd);
    if (windowDC == nullptr)
        return false;
    m_hDC = CreateCompatibleDC(windowDC);
    m_bitmap = CreateCompatibleBitmap(windowDC, width, height);
    ReleaseDC(pWnd->m_hWnd, windowDC);
    if (m_hDC == nullptr || m_bitmap == nullptr) {
        Release();
        return false;
    }
    m_originalBitmap = SelectObject(m_hDC, m_bitmap);
    m_width = width;
    m_height = height;
    return true;
}

void CBackBuffer::CopyTo(HDC dc, const RECT& rect) const
{
    if (m_hDC == nullptr || dc == nullptr)
        return;
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hDC, rect.left, rect.top,
           SRCCOPY);
}

CBufferDC::CBufferDC(CBackBuffer& buffer) : m_savedState(0)
{
    Attach(buffer.GetSafeHdc());
    m_savedState = SaveDC(m_hDC);
}

CBufferDC::~CBufferDC()
{
    RestoreOriginals();
    if (m_savedState != 0)
        RestoreDC(m_hDC, m_savedState);
}

CBufferedClientDC::CBufferedClientDC(CWnd* pWnd, CBackBuffer& buffer)
    : CBufferDC(buffer), m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr), m_buffer(buffer)
{
    SetBoundsRect(m_hDC, nullptr, DCB_RESET | DCB_ENABLE);
}

CBufferedClientDC::~CBufferedClientDC()
{
    RECT changed{};
    const UINT bounds = GetBoundsRect(m_hDC, &changed, DCB_RESET);
    SetBoundsRect(m_hDC, nullptr, DCB_DISABLE);
    // Without bounds from the system, everything may have changed.
    if (bounds == 0)
        changed = RECT{0, 0, m_buffer.Width(), m_buffer.Height()};
    else if ((bounds & DCB_SET) == 0)
        return;
    HDC windowDC = GetDC(m_hWnd);
    m_buffer.CopyTo(windowDC, changed);
    ReleaseDC(m_hWnd, windowDC);
}
