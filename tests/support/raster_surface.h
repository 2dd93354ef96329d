// A drawing surface that paints into an RGB image in memory, pixel-exact for
// rectangles and lines, and records every piece of text drawn on it so tests
// can check texts, places, colours and fonts item by item.
#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "surface/surface.h"

// One TextOutUtf8 or DrawTextUtf8 call as it reached the surface.
struct TextRecord {
    int x;
    int y;
    std::string text;
    surface::COLORREF colour;
    // The selected font; empty while the surface's default font is selected.
    std::optional<surface::LOGFONT> font;
    bool viaDrawText;
    unsigned format;
};

// The picture and the log shared by all surfaces opened on it.
class Canvas {
public:
    explicit Canvas(int width = 840, int height = 600);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // The pixel at (x, y); 0xFFFFFFFF outside the picture.
    surface::COLORREF pixel(int x, int y) const;
    void setPixel(int x, int y, surface::COLORREF colour);
    // Whether any pixel of x1 .. x2-1, y1 .. y2-1 is kept (see keepEvery).
    bool keepsAny(int x1, int y1, int x2, int y2) const;
    // Fills x1 .. x2-1, y1 .. y2-1, clipped to the picture.
    void fill(int x1, int y1, int x2, int y2, surface::COLORREF colour);
    // A rectangle: a border line pixels wide in outline, the rest in inside;
    // x1 < x2 and y1 < y2, clipped to the picture.
    void frame(int x1, int y1, int x2, int y2, int line, surface::COLORREF outline, surface::COLORREF inside);
    // True when every pixel of x1 .. x2-1, y1 .. y2-1 has the colour.
    bool allOf(int x1, int y1, int x2, int y2, surface::COLORREF colour) const;
    bool writePng(const std::string& path) const;
    // Keeps from now on only the pixels whose x and y are offset plus a
    // multiple of step, all white again: the others read as outside the
    // picture and cost nothing to paint. For checks that look at those
    // points alone (the middle of every cell); step 1, offset 0 keeps all.
    void keepEvery(int step, int offset);
    // The kept pixel in the given kept column and row, counted from the
    // first kept one; 0xFFFFFFFF outside the picture.
    surface::COLORREF keptPixel(int column, int row) const;
    int keptStep() const { return m_step; }
    int keptOffset() const { return m_offset; }

    // Whether texts drawn from now on are recorded; they are by default.
    // Painting them goes on either way.
    void recordTexts(bool record) { m_recordTexts = record; }
    bool recordsTexts() const { return m_recordTexts; }
    std::vector<TextRecord>& texts() { return m_texts; }
    const std::vector<TextRecord>& texts() const { return m_texts; }
    // Rectangle, Rectangles, LineTo, TextOutUtf8 and DrawTextUtf8 calls so far.
    int drawCalls() const { return m_drawCalls; }
    void countDrawCall() { ++m_drawCalls; }
    // Text colour changes so far.
    int textColourChanges() const { return m_textColourChanges; }
    void countTextColourChange() { ++m_textColourChanges; }

private:
    // How many kept columns lie left of x, or kept rows above y: the index
    // of the first kept one from there on.
    int keptColumnsBefore(int x) const
    {
        return m_keptBefore[static_cast<std::size_t>(std::clamp(x, 0, m_width))];
    }
    int keptRowsBefore(int y) const
    {
        return m_keptBefore[static_cast<std::size_t>(std::clamp(y, 0, m_height))];
    }
    // Index of a kept pixel; -1 for any other.
    long long keptIndex(int x, int y) const;

    int m_width;
    int m_height;
    int m_step = 1;
    int m_offset = 0;
    int m_keptColumns;
    int m_keptRows;
    // Kept coordinates below each coordinate from 0 to the larger side.
    std::vector<int> m_keptBefore;
    std::vector<surface::COLORREF> m_pixels;
    std::vector<TextRecord> m_texts;
    bool m_recordTexts = true;
    int m_drawCalls;
    int m_textColourChanges;
};

class RasterSurface : public surface::CDC {
public:
    // A surface on a picture of its own, white.
    explicit RasterSurface(int width = 840, int height = 600);
    // A surface on a shared picture, as every client surface of one window.
    explicit RasterSurface(std::shared_ptr<Canvas> canvas);

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

    Canvas& canvas() { return *m_canvas; }
    const Canvas& canvas() const { return *m_canvas; }
    surface::COLORREF pixel(int x, int y) const { return m_canvas->pixel(x, y); }
    const std::vector<TextRecord>& texts() const { return m_canvas->texts(); }
    bool writePng(const std::string& path) const { return m_canvas->writePng(path); }

    surface::COLORREF textColour() const { return m_textColour; }
    // Whether the objects a fresh surface holds are selected again.
    bool holdsDefaultObjects() const
    {
        return m_pen == &m_defaultPen && m_brush == &m_defaultBrush && m_font == &m_defaultFont;
    }

private:
    void paintRectangle(int x1, int y1, int x2, int y2);
    // Adds a text drawn to the picture's record, when it keeps one.
    void record(int x, int y, std::string_view text, bool viaDrawText, unsigned format);
    // Paints text as blocks, one per character, on its opaque background:
    // enough for a person to see where and in which colour text stands.
    void paintText(int x, int y, std::string_view text);

    std::shared_ptr<Canvas> m_canvas;
    surface::CPen m_defaultPen;
    surface::CBrush m_defaultBrush;
    surface::CFont m_defaultFont;
    surface::CPen* m_pen;
    surface::CBrush* m_brush;
    surface::CFont* m_font;
    surface::COLORREF m_textColour;
    surface::COLORREF m_backgroundColour;
    int m_x;
    int m_y;
};
