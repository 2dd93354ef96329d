// The back buffer of a window and the surfaces that draw on it.
#include "framework/backbuffer.h"

CBackBuffer::Picture::Picture(HDC like, int width, int height)
    : dc(CreateCompatibleDC(like)),
      bitmap(CreateCompatibleBitmap(like, width, height)),
      selection(dc.Get(), bitmap.Get())
{
}

bool CBackBuffer::Resize(CWnd* pWnd, int width, int height)
{
    if (IsValid() && width == m_width && height == m_height)
        return false;
    m_picture.reset();
    m_width = 0;
    m_height = 0;
    if (pWnd == nullptr || width <= 0 || height <= 0)
        return false;
    const CDisplayDC window(pWnd->m_hWnd);
    if (window.Get() == nullptr)
        return false;
    m_picture.emplace(window.Get(), width, height);
    if (m_picture->dc.Get() == nullptr || m_picture->bitmap.Get() == nullptr) {
        m_picture.reset();
        return false;
    }
    m_width = width;
    m_height = height;
    return true;
}

void CBackBuffer::CopyTo(HDC dc, const RECT& rect) const
{
    if (!m_picture || dc == nullptr)
        return;
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_picture->dc.Get(),
           rect.left, rect.top, SRCCOPY);
}

CBufferDC::CBufferDC(CBackBuffer& buffer) : m_savedState(SaveDC(buffer.GetSafeHdc()))
{
    Attach(buffer.GetSafeHdc());
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
    // Without bounds from the system, everything may have changed. DCB_SET
    // is DCB_RESET | DCB_ACCUMULATE: DCB_RESET alone means nothing was drawn.
    if (bounds == 0)
        changed = RECT{0, 0, m_buffer.Width(), m_buffer.Height()};
    else if ((bounds & DCB_SET) != DCB_SET)
        return;
    const CDisplayDC window(m_hWnd);
    m_buffer.CopyTo(window.Get(), changed);
}
