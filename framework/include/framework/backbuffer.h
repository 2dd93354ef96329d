// Off-screen drawing for a window: a picture kept between paints in a memory
// device context, the surfaces that draw on it, and the copy to the screen.
#pragma once

#include "framework/gdi_handles.h"
#include "framework/gdi_surface.h"
#include "framework/win32.h"
#include "framework/wnd.h"

#include <optional>

// A memory device context with a bitmap of a window's client size. Both are
// released with the buffer.
class CBackBuffer {
public:
    CBackBuffer() = default;
    CBackBuffer(const CBackBuffer&) = delete;
    CBackBuffer& operator=(const CBackBuffer&) = delete;

    // Makes the bitmap for this size unless it has it already. True when it
    // was made anew: its picture is then undefined until drawn.
    bool Resize(CWnd* pWnd, int width, int height);
    bool IsValid() const { return m_picture.has_value(); }
    HDC GetSafeHdc() const { return m_picture ? m_picture->dc.Get() : nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Copies rect of the picture to the same place on dc: one BitBlt.
    void CopyTo(HDC dc, const RECT& rect) const;

private:
    // The context with the bitmap selected into it, released in reverse.
    struct Picture {
        Picture(HDC like, int width, int height);
        CMemoryDC dc;
        CGdiObject<HBITMAP> bitmap;
        CGdiSelection selection;
    };

    std::optional<Picture> m_picture;
    int m_width = 0;
    int m_height = 0;
};

// A surface on the back buffer in the state of a fresh device context; the
// buffer's context gets its state back when the surface goes.
class CBufferDC : public GdiSurface {
public:
    explicit CBufferDC(CBackBuffer& buffer);
    ~CBufferDC() override;
    CBufferDC(const CBufferDC&) = delete;
    CBufferDC& operator=(const CBufferDC&) = delete;

private:
    int m_savedState;
};

// A surface whose drawing shows on the window at once, as on its client
// area, and stays in the back buffer, so a later repaint shows it too: it
// draws on the buffer and, when it goes, copies what it changed to the window.
class CBufferedClientDC : public CBufferDC {
public:
    CBufferedClientDC(CWnd* pWnd, CBackBuffer& buffer);
    ~CBufferedClientDC() override;
    CBufferedClientDC(const CBufferedClientDC&) = delete;
    CBufferedClientDC& operator=(const CBufferedClientDC&) = delete;

private:
    HWND m_hWnd;
    const CBackBuffer& m_buffer;
};
