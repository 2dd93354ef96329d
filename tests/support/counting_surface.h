// A raster surface that also counts every call made on it, so a test can see
// how much work one repaint asks of a surface.
#pragma once

#include "raster_surface.h"

class CountingSurface : public RasterSurface {
public:
    using RasterSurface::RasterSurface;

    int calls() const { return m_calls; }

    surface::CPen* SelectObject(surface::CPen* pen) override
    {
        return count(RasterSurface::SelectObject(pen));
    }
    surface::CBrush* SelectObject(surface::CBrush* brush) override
    {
        return count(RasterSurface::SelectObject(brush));
    }
    surface::CFont* SelectObject(surface::CFont* font) override
    {
        return count(RasterSurface::SelectObject(font));
    }
    bool Rectangle(int x1, int y1, int x2, int y2) override
    {
        return count(RasterSurface::Rectangle(x1, y1, x2, y2));
    }
    bool Rectangles(const surface::CRect* rects, int n) override
    {
        return count(RasterSurface::Rectangles(rects, n));
    }
    void MoveTo(int x, int y) override
    {
        ++m_calls;
        RasterSurface::MoveTo(x, y);
    }
    bool LineTo(int x, int y) override { return count(RasterSurface::LineTo(x, y)); }
    bool TextOutUtf8(int x, int y, std::string_view text) override
    {
        return count(RasterSurface::TextOutUtf8(x, y, text));
    }
    surface::COLORREF SetTextColor(surface::COLORREF color) override
    {
        return count(RasterSurface::SetTextColor(color));
    }
    int DrawTextUtf8(std::string_view text, surface::CRect& rect, unsigned format) override
    {
        return count(RasterSurface::DrawTextUtf8(text, rect, format));
    }
    int GetDeviceCaps(int index) const override
    {
        ++m_calls;
        return RasterSurface::GetDeviceCaps(index);
    }

private:
    template <typename T>
    T count(T result)
    {
        ++m_calls;
        return result;
    }

    mutable int m_calls = 0;
};
