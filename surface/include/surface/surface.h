// The drawing surface the game paints on, and the pens, brushes and fonts it
// selects into it. The game never sees a real device context: the Windows
// program supplies one backed by GDI, the tests one that paints into memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace surface {

using COLORREF = std::uint32_t;  // 0x00BBGGRR

constexpr COLORREF Rgb(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int Red(COLORREF c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int Green(COLORREF c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int Blue(COLORREF c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}

// The constants have GDI's values, so a surface backed by GDI passes them on
// unchanged; that surface checks when it is compiled that they agree.
constexpr int kPenSolid = 0;
// A wide pen whose outline of a rectangle lies wholly inside it.
constexpr int kPenInsideFrame = 6;
// GetDeviceCaps: the surface's vertical resolution in dots per inch.
constexpr int kLogPixelsY = 90;
// DrawTextUtf8 formats.
constexpr unsigned kTextCenter = 0x01;
constexpr unsigned kTextVCenter = 0x04;
constexpr unsigned kTextSingleLine = 0x20;
// A face name holds up to 31 UTF-16 units; in UTF-8 each unit takes at most
// three bytes (a surrogate pair, two units, takes four).
constexpr int kFaceSize = 32;
constexpr int kFaceSizeUtf8 = 3 * (kFaceSize - 1) + 1;

// A logical font. The face name is UTF-8 and always zero-terminated; it
// holds every name the system's wide LOGFONT can.
struct LOGFONT {
    std::int32_t lfHeight;
    std::int32_t lfWidth;
    std::int32_t lfEscapement;
    std::int32_t lfOrientation;
    std::int32_t lfWeight;
    std::uint8_t lfItalic;
    std::uint8_t lfUnderline;
    std::uint8_t lfStrikeOut;
    std::uint8_t lfCharSet;
    std::uint8_t lfOutPrecision;
    std::uint8_t lfClipPrecision;
    std::uint8_t lfQuality;
    std::uint8_t lfPitchAndFamily;
    char lfFaceName[kFaceSizeUtf8];
};

// Field by field, so padding never counts; face names compare up to their
// terminator (or their last byte when one has none).
bool operator==(const LOGFONT& a, const LOGFONT& b);
inline bool operator!=(const LOGFONT& a, const LOGFONT& b)
{
    return !(a == b);
}

struct CRect {
    int left;
    int top;
    int right;
    int bottom;
};

// number * numerator / denominator with a 64-bit intermediate, rounded half
// away from zero; -1 when denominator is 0 or the result does not fit an int.
int MulDiv(int number, int numerator, int denominator);

// A system object that a surface made for a pen, brush or font (a GDI pen,
// say): the surface's own kind derives from it and releases the object.
class NativeObject {
public:
    virtual ~NativeObject() = default;

protected:
    NativeObject() = default;
    NativeObject(const NativeObject&) = delete;
    NativeObject& operator=(const NativeObject&) = delete;
};

// Pens, brushes and fonts are plain descriptions. A surface that needs a
// system object for one creates it on first use and parks it here, so it
// lives as long as the description does, and longer while the surface keeps
// a share of it.
class SurfaceObject {
public:
    std::shared_ptr<NativeObject>& native() const { return m_native; }

protected:
    SurfaceObject() = default;
    SurfaceObject(const SurfaceObject&) = delete;
    SurfaceObject& operator=(const SurfaceObject&) = delete;
    ~SurfaceObject() = default;

private:
    mutable std::shared_ptr<NativeObject> m_native;
};

class CPen : public SurfaceObject {
public:
    CPen(int style, int width, COLORREF color) : m_style(style), m_width(width), m_color(color) {}
    int style() const { return m_style; }
    int width() const { return m_width; }
    COLORREF color() const { return m_color; }

private:
    int m_style;
    int m_width;
    COLORREF m_color;
};

class CBrush : public SurfaceObject {
public:
    explicit CBrush(COLORREF color) : m_color(color) {}
    COLORREF color() const { return m_color; }

private:
    COLORREF m_color;
};

// A font that has not been created stands for the surface's default font.
class CFont : public SurfaceObject {
public:
    CFont() : m_logFont(), m_created(false) {}
    // Describes the font by lf; a system object made for the old
    // description goes.
    void Create(const LOGFONT& lf);
    // Create unless this font was made from the same LOGFONT already: a
    // font drawn with on every repaint keeps its system object.
    void CreateOnce(const LOGFONT& lf);
    bool created() const { return m_created; }
    const LOGFONT& logFont() const { return m_logFont; }

private:
    LOGFONT m_logFont;
    bool m_created;
};

// A device context. A fresh one holds a black solid pen of width 1, a white
// brush, the system font, black text on an opaque white background, and its
// current position at (0, 0). Each SelectObject returns the object it
// replaced, which the caller selects back when done: a Selection does that
// at the end of its scope.
class CDC {
public:
    virtual ~CDC() = default;

    virtual CPen* SelectObject(CPen* pen) = 0;
    virtual CBrush* SelectObject(CBrush* brush) = 0;
    virtual CFont* SelectObject(CFont* font) = 0;

    // Outline in the current pen, inside in the current brush; covers
    // x1 .. x2-1 and y1 .. y2-1.
    virtual bool Rectangle(int x1, int y1, int x2, int y2) = 0;
    // What Rectangle does for each of count rectangles, in one call: a
    // surface backed by a system that draws many shapes at once overrides it.
    virtual bool Rectangles(const CRect* rects, int count);
    virtual void MoveTo(int x, int y) = 0;
    // Line in the current pen from the current position up to, but not
    // including, (x, y), which becomes the current position.
    virtual bool LineTo(int x, int y) = 0;
    // UTF-8 text with its top-left corner at (x, y).
    virtual bool TextOutUtf8(int x, int y, std::string_view text) = 0;
    // Returns the previous text colour.
    virtual COLORREF SetTextColor(COLORREF color) = 0;
    // UTF-8 text laid out in rect as format (kText...) says.
    virtual int DrawTextUtf8(std::string_view text, CRect& rect, unsigned format) = 0;
    virtual int GetDeviceCaps(int index) const = 0;

protected:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
};

// Selections into a surface for the length of a scope: whatever was selected
// in between, the scope ends with the pen, brush and font that the first
// selection of each kind replaced selected back, each once.
class Selection {
public:
    explicit Selection(CDC& dc) : m_dc(dc) {}
    ~Selection();
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    void Select(CPen& pen);
    void Select(CBrush& brush);
    void Select(CFont& font);

private:
    CDC& m_dc;
    CPen* m_pen = nullptr;
    CBrush* m_brush = nullptr;
    CFont* m_font = nullptr;
};

}  // namespace surface
