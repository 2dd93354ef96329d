// The game's drawing surface over a GDI device context. Pens, brushes and
// fonts get their GDI object on first use, kept in the description itself,
// and the context gets its original objects back before it is released.
// This is the one place where the surface's vocabulary meets GDI's.
#pragma once

#include "framework/gdi_handles.h"
#include "framework/win32.h"
#include "framework/wnd.h"
#include "surface/surface.h"

#include <memory>

class GdiSurface : public surface::CDC {
public:
    surface::CPen* SelectObject(surface::CPen* pen) override;
    surface::CBrush* SelectObject(surface::CBrush* brush) override;
    surface::CFont* SelectObject(surface::CFont* font) override;

    bool Rectangle(int x1, int y1, int x2, int y2) override;
    bool Rectangles(const surface::CRect* rects, int count) override;
    void MoveTo(int x, int y) override;
    bool LineTo(int x, int y) override;
    bool TextOutUtf8(int x, int y, std::string_view text) override;
    surface::COLORREF SetTextColor(surface::COLORREF color) override;
    int DrawTextUtf8(std::string_view text, surface::CRect& rect, unsigned format) override;
    int GetDeviceCaps(int index) const override;

    HDC m_hDC = nullptr;

protected:
    GdiSurface() = default;
    ~GdiSurface() override = default;

    // Records the context's own objects; called once the context exists.
    void Attach(HDC hdc);
    // Selects the recorded objects back; called before the context goes.
    void RestoreOriginals();

private:
    // What a slot (pen, brush or font) has selected now: the description the
    // caller gave and a share in its GDI object, so the object outlives its
    // selection even when the description is destroyed first.
    struct Slot {
        void* current = nullptr;
        std::shared_ptr<surface::NativeObject> hold;
        HGDIOBJ original = nullptr;
    };
    void* Select(Slot& slot, void* object, const std::shared_ptr<surface::NativeObject>& native,
                 HGDIOBJ originalWhenNull);

    Slot m_pen;
    Slot m_brush;
    Slot m_font;
    // Stand for the context's original objects in what SelectObject returns.
    surface::CPen m_defaultPen{surface::kPenSolid, 1, surface::Rgb(0, 0, 0)};
    surface::CBrush m_defaultBrush{surface::Rgb(255, 255, 255)};
    surface::CFont m_defaultFont;
};

// A surface for the paint message: BeginPaint now, EndPaint when destroyed.
class CPaintDC : public GdiSurface {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};

// A surface on a window's client area outside painting.
class CClientDC : public GdiSurface {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

private:
    CDisplayDC m_display;
};

// Conversions between the game's logical font, whose face name is UTF-8, and
// the system's.
LOGFONTW ToSystemFont(const surface::LOGFONT& lf);
surface::LOGFONT FromSystemFont(const LOGFONTW& lf);
