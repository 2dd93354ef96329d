// Software rasterisation of the few drawing operations the game uses.
#include "raster_surface.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "png.h"

using surface::COLORREF;

namespace {

constexpr COLORREF kWhite = surface::Rgb(255, 255, 255);
constexpr COLORREF kBlack = surface::Rgb(0, 0, 0);
constexpr COLORREF kOutside = 0xFFFFFFFFU;

// Number of characters in UTF-8 text: continuation bytes do not count.
int characterCount(std::string_view text)
{
    int count = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0U) != 0x80U) {
            ++count;
        }
    }
    return count;
}

}  // namespace

Canvas::Canvas(int width, int height)
    : m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_keptColumns(0),
      m_keptRows(0),
      m_texts(),
      m_drawCalls(0),
      m_textColourChanges(0)
{
    keepEvery(1, 0);
}

void Canvas::keepEvery(int step, int offset)
{
    m_step = std::max(step, 1);
    m_offset = std::clamp(offset, 0, m_step - 1);
    // Worked out once: rectangles are clipped to kept points many times a step.
    m_keptBefore.resize(static_cast<std::size_t>(std::max(m_width, m_height)) + 1);
    for (std::size_t c = 0; c < m_keptBefore.size(); ++c) {
        const int coordinate = static_cast<int>(c);
        m_keptBefore[c] = coordinate <= m_offset ? 0 : (coordinate - m_offset + m_step - 1) / m_step;
    }
    m_keptColumns = keptColumnsBefore(m_width);
    m_keptRows = keptRowsBefore(m_height);
    m_pixels.assign(static_cast<std::size_t>(m_keptColumns) * static_cast<std::size_t>(m_keptRows), kWhite);
}

long long Canvas::keptIndex(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return -1;
    }
    x -= m_offset;
    y -= m_offset;
    if (x < 0 || y < 0 || x % m_step != 0 || y % m_step != 0) {
        return -1;
    }
    return static_cast<long long>(y / m_step) * m_keptColumns + x / m_step;
}

COLORREF Canvas::keptPixel(int column, int row) const
{
    if (column < 0 || row < 0 || column >= m_keptColumns || row >= m_keptRows) {
        return kOutside;
    }
    return m_pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_keptColumns) +
                    static_cast<std::size_t>(column)];
}

COLORREF Canvas::pixel(int x, int y) const
{
    const long long index = keptIndex(x, y);
    return index < 0 ? kOutside : m_pixels[static_cast<std::size_t>(index)];
}

void Canvas::setPixel(int x, int y, COLORREF colour)
{
    const long long index = keptIndex(x, y);
    if (index >= 0) {
        m_pixels[static_cast<std::size_t>(index)] = colour;
    }
}

bool Canvas::keepsAny(int x1, int y1, int x2, int y2) const
{
    return keptColumnsBefore(x1) < keptColumnsBefore(x2) && keptRowsBefore(y1) < keptRowsBefore(y2);
}

void Canvas::fill(int x1, int y1, int x2, int y2, COLORREF colour)
{
    const int left = keptColumnsBefore(x1);
    const int top = keptRowsBefore(y1);
    const int right = keptColumnsBefore(x2);
    const int bottom = keptRowsBefore(y2);
    if (left >= right || top >= bottom) {
        return;
    }
    COLORREF* row = m_pixels.data() + static_cast<std::size_t>(top) * static_cast<std::size_t>(m_keptColumns);
    for (int y = top; y < bottom; ++y, row += m_keptColumns) {
        std::fill(row + left, row + right, colour);
    }
}

void Canvas::frame(int x1, int y1, int x2, int y2, int line, COLORREF outline, COLORREF inside)
{
    // Each kept pixel is written once: the outline's rows above and below in
    // its colour, every row between as outline, inside, outline.
    const int band = std::max(line, 1);
    const int left = keptColumnsBefore(x1);
    const int top = keptRowsBefore(y1);
    const int right = keptColumnsBefore(x2);
    const int bottom = keptRowsBefore(y2);
    if (left >= right || top >= bottom) {
        return;
    }
    const bool hollow = x2 - x1 > 2 * band && y2 - y1 > 2 * band;
    const int innerLeft = std::clamp(keptColumnsBefore(x1 + band), left, right);
    const int innerRight = std::clamp(keptColumnsBefore(x2 - band), innerLeft, right);
    const int innerTop = hollow ? std::clamp(keptRowsBefore(y1 + band), top, bottom) : bottom;
    const int innerBottom = hollow ? std::clamp(keptRowsBefore(y2 - band), innerTop, bottom) : bottom;
    COLORREF* row = m_pixels.data() + static_cast<std::size_t>(top) * static_cast<std::size_t>(m_keptColumns);
    for (int y = top; y < bottom; ++y, row += m_keptColumns) {
        if (y < innerTop || y >= innerBottom) {
            std::fill(row + left, row + right, outline);
        } else {
            std::fill(row + left, row + innerLeft, outline);
            std::fill(row + innerLeft, row + innerRight, inside);
            std::fill(row + innerRight, row + right, outline);
        }
    }
}

bool Canvas::allOf(int x1, int y1, int x2, int y2, COLORREF colour) const
{
    for (int y = y1; y < y2; ++y) {
        for (int x = x1; x < x2; ++x) {
            if (pixel(x, y) != colour) {
                return false;
            }
        }
    }
    return true;
}

bool Canvas::writePng(const std::string& path) const
{
    std::vector<std::uint8_t> rgb;
    rgb.reserve(m_pixels.size() * 3);
    for (COLORREF c : m_pixels) {
        rgb.push_back(static_cast<std::uint8_t>(surface::Red(c)));
        rgb.push_back(static_cast<std::uint8_t>(surface::Green(c)));
        rgb.push_back(static_cast<std::uint8_t>(surface::Blue(c)));
    }
    return writePngFile(path, m_keptColumns, m_keptRows, rgb);
}

RasterSurface::RasterSurface(int width, int height) : RasterSurface(std::make_shared<Canvas>(width, height))
{
}

RasterSurface::RasterSurface(std::shared_ptr<Canvas> canvas)
    : m_canvas(canvas ? std::move(canvas) : std::make_shared<Canvas>()),
      m_defaultPen(surface::kPenSolid, 1, kBlack),
      m_defaultBrush(kWhite),
      m_defaultFont(),
      m_pen(&m_defaultPen),
      m_brush(&m_defaultBrush),
      m_font(&m_defaultFont),
      m_textColour(kBlack),
      m_backgroundColour(kWhite),
      m_x(0),
      m_y(0)
{
}

// A null object selects nothing and returns null, as GDI refuses it.
surface::CPen* RasterSurface::SelectObject(surface::CPen* pen)
{
    if (pen == nullptr) {
        return nullptr;
    }
    return std::exchange(m_pen, pen);
}

surface::CBrush* RasterSurface::SelectObject(surface::CBrush* brush)
{
    if (brush == nullptr) {
        return nullptr;
    }
    return std::exchange(m_brush, brush);
}

surface::CFont* RasterSurface::SelectObject(surface::CFont* font)
{
    if (font == nullptr) {
        return nullptr;
    }
    return std::exchange(m_font, font);
}

bool RasterSurface::Rectangle(int x1, int y1, int x2, int y2)
{
    m_canvas->countDrawCall();
    paintRectangle(x1, y1, x2, y2);
    return true;
}

bool RasterSurface::Rectangles(const surface::CRect* rects, int count)
{
    m_canvas->countDrawCall();
    for (int i = 0; i < count; ++i) {
        paintRectangle(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
    }
    return true;
}

void RasterSurface::paintRectangle(int x1, int y1, int x2, int y2)
{
    if (x2 < x1) {
        std::swap(x1, x2);
    }
    if (y2 < y1) {
        std::swap(y1, y2);
    }
    if (x2 - x1 < 1 || y2 - y1 < 1) {
        return;
    }
    // A wide inside-frame pen keeps its whole width inside the rectangle.
    const int line = m_pen->style() == surface::kPenInsideFrame ? std::max(m_pen->width(), 1) : 1;
    m_canvas->frame(x1, y1, x2, y2, line, m_pen->color(), m_brush->color());
}

void RasterSurface::MoveTo(int x, int y)
{
    m_x = x;
    m_y = y;
}

bool RasterSurface::LineTo(int x, int y)
{
    m_canvas->countDrawCall();
    COLORREF pen = m_pen->color();
    // A level or upright line is a rectangle one pixel wide, the end point
    // left out.
    if (x == m_x || y == m_y) {
        const int x1 = x < m_x ? x + 1 : m_x;
        const int x2 = x < m_x ? m_x + 1 : (x == m_x ? x + 1 : x);
        const int y1 = y < m_y ? y + 1 : m_y;
        const int y2 = y < m_y ? m_y + 1 : (y == m_y ? y + 1 : y);
        if (x != m_x || y != m_y) {
            m_canvas->fill(x1, y1, x2, y2, pen);
        }
        m_x = x;
        m_y = y;
        return true;
    }
    // Bresenham from the current position; the end point is left out.
    int x0 = m_x;
    int y0 = m_y;
    int dx = std::abs(x - x0);
    int dy = -std::abs(y - y0);
    int sx = x0 < x ? 1 : -1;
    int sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    while (x0 != x || y0 != y) {
        m_canvas->setPixel(x0, y0, pen);
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
    m_x = x;
    m_y = y;
    return true;
}

void RasterSurface::paintText(int x, int y, std::string_view text)
{
    int height = 16;
    int width = 8;
    if (m_font->created() && m_font->logFont().lfHeight != 0) {
        height = std::min(std::abs(m_font->logFont().lfHeight), 400);
        width = std::max(height / 2, 1);
    }
    // The background of the whole text at once, then a block per character,
    // unless the picture keeps no point of the text.
    const int right = x + characterCount(text) * width;
    if (!m_canvas->keepsAny(x, y, right, y + height)) {
        return;
    }
    m_canvas->fill(x, y, right, y + height, m_backgroundColour);
    int column = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0U) == 0x80U) {
            continue;
        }
        int left = x + column * width;
        if (c != ' ') {
            m_canvas->fill(left + 1, y + height / 4, left + width - 1, y + height - height / 4, m_textColour);
        }
        ++column;
    }
}

void RasterSurface::record(int x, int y, std::string_view text, bool viaDrawText, unsigned format)
{
    if (!m_canvas->recordsTexts()) {
        return;
    }
    std::optional<surface::LOGFONT> font;
    if (m_font->created()) {
        font = m_font->logFont();
    }
    m_canvas->texts().push_back({x, y, std::string(text), m_textColour, font, viaDrawText, format});
}

bool RasterSurface::TextOutUtf8(int x, int y, std::string_view text)
{
    m_canvas->countDrawCall();
    record(x, y, text, false, 0);
    paintText(x, y, text);
    return true;
}

COLORREF RasterSurface::SetTextColor(COLORREF color)
{
    m_canvas->countTextColourChange();
    return std::exchange(m_textColour, color);
}

int RasterSurface::DrawTextUtf8(std::string_view text, surface::CRect& rect, unsigned format)
{
    m_canvas->countDrawCall();
    // Centred the way a single line with a fixed character size would be.
    int height =
        m_font->created() && m_font->logFont().lfHeight != 0 ? std::abs(m_font->logFont().lfHeight) : 16;
    int width = std::max(height / 2, 1) * characterCount(text);
    int x = (format & surface::kTextCenter) != 0 ? (rect.left + rect.right - width) / 2 : rect.left;
    int y = (format & surface::kTextVCenter) != 0 ? (rect.top + rect.bottom - height) / 2 : rect.top;
    record(x, y, text, true, format);
    paintText(x, y, text);
    return height;
}

int RasterSurface::GetDeviceCaps(int index) const
{
    return index == surface::kLogPixelsY ? 96 : 0;
}
