// GDI drawing behind the game's surface operations.
#include "framework/gdi_surface.h"

#include "framework/failure.h"
#include "framework/text.h"

#include <climits>
#include <cstring>
#include <string>
#include <vector>

// The surface's constants reach GDI unchanged: each must be GDI's own value.
static_assert(surface::kPenSolid == PS_SOLID, "pen style");
static_assert(surface::kPenInsideFrame == PS_INSIDEFRAME, "pen style");
static_assert(surface::kLogPixelsY == LOGPIXELSY, "device capability");
static_assert(surface::kTextCenter == DT_CENTER, "text format");
static_assert(surface::kTextVCenter == DT_VCENTER, "text format");
static_assert(surface::kTextSingleLine == DT_SINGLELINE, "text format");
static_assert(surface::kFaceSize == LF_FACESIZE, "face name length");
// Colours too, byte for byte.
static_assert(surface::Rgb(0x12, 0x34, 0x56) == RGB(0x12, 0x34, 0x56), "colour layout");
static_assert(surface::Red(0x563412) == GetRValue(0x563412), "red of a colour");
static_assert(surface::Green(0x563412) == GetGValue(0x563412), "green of a colour");
static_assert(surface::Blue(0x563412) == GetBValue(0x563412), "blue of a colour");

namespace {

COLORREF ToGdi(surface::COLORREF color)
{
    return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

// The GDI pen, brush or font made for a description; deleted when the
// description and every selection of it have let it go.
class GdiNative final : public surface::NativeObject {
public:
    explicit GdiNative(HGDIOBJ object) : m_object(object)
    {
        if (object == nullptr)
            throw framework::Failure("the system refused a GDI object");
    }
    HGDIOBJ Get() const { return m_object.Get(); }

private:
    CGdiObject<HGDIOBJ> m_object;
};

std::shared_ptr<surface::NativeObject> Own(HGDIOBJ object)
{
    return std::make_shared<GdiNative>(object);
}

int Length(const std::wstring& text)
{
    return text.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(text.size());
}

}  // namespace

void GdiSurface::Attach(HDC hdc)
{
    if (hdc == nullptr)
        throw framework::Failure("the system refused a device context");
    m_hDC = hdc;
    m_pen.original = GetCurrentObject(hdc, OBJ_PEN);
    m_brush.original = GetCurrentObject(hdc, OBJ_BRUSH);
    m_font.original = GetCurrentObject(hdc, OBJ_FONT);
    m_pen.current = &m_defaultPen;
    m_brush.current = &m_defaultBrush;
    m_font.current = &m_defaultFont;
}

void GdiSurface::RestoreOriginals()
{
    if (m_hDC == nullptr)
        return;
    for (Slot* slot : {&m_pen, &m_brush, &m_font}) {
        if (slot->original != nullptr)
            ::SelectObject(m_hDC, slot->original);
        slot->hold.reset();
        slot->current = nullptr;
    }
}

void* GdiSurface::Select(Slot& slot, void* object, const std::shared_ptr<surface::NativeObject>& native,
                         HGDIOBJ originalWhenNull)
{
    void* previous = slot.current;
    // Only this surface makes system objects for descriptions.
    HGDIOBJ handle = native ? static_cast<const GdiNative&>(*native).Get() : originalWhenNull;
    ::SelectObject(m_hDC, handle);
    slot.current = object;
    slot.hold = native;
    return previous;
}

surface::CPen* GdiSurface::SelectObject(surface::CPen* pen)
{
    if (pen == nullptr)
        return static_cast<surface::CPen*>(m_pen.current);
    std::shared_ptr<surface::NativeObject> native;
    if (pen != &m_defaultPen) {
        if (!pen->native())
            pen->native() = Own(CreatePen(pen->style(), pen->width(), ToGdi(pen->color())));
        native = pen->native();
    }
    return static_cast<surface::CPen*>(Select(m_pen, pen, native, m_pen.original));
}

surface::CBrush* GdiSurface::SelectObject(surface::CBrush* brush)
{
    if (brush == nullptr)
        return static_cast<surface::CBrush*>(m_brush.current);
    std::shared_ptr<surface::NativeObject> native;
    if (brush != &m_defaultBrush) {
        if (!brush->native())
            brush->native() = Own(CreateSolidBrush(ToGdi(brush->color())));
        native = brush->native();
    }
    return static_cast<surface::CBrush*>(Select(m_brush, brush, native, m_brush.original));
}

surface::CFont* GdiSurface::SelectObject(surface::CFont* font)
{
    if (font == nullptr)
        return static_cast<surface::CFont*>(m_font.current);
    std::shared_ptr<surface::NativeObject> native;
    // A font never created stands for the context's own font.
    if (font != &m_defaultFont && font->created()) {
        if (!font->native()) {
            const LOGFONTW lf = ToSystemFont(font->logFont());
            font->native() = Own(CreateFontIndirectW(&lf));
        }
        native = font->native();
    }
    return static_cast<surface::CFont*>(Select(m_font, font, native, m_font.original));
}

bool GdiSurface::Rectangle(int x1, int y1, int x2, int y2)
{
    return ::Rectangle(m_hDC, x1, y1, x2, y2) != FALSE;
}

bool GdiSurface::Rectangles(const surface::CRect* rects, int count)
{
    if (rects == nullptr || count <= 0)
        return true;
    // A wider pen outlines a polygon otherwise than a rectangle.
    const auto* pen = static_cast<const surface::CPen*>(m_pen.current);
    if (pen != nullptr && pen->width() > 1)
        return surface::CDC::Rectangles(rects, count);
    // Each rectangle as the closed outline through its corner pixels: GDI
    // fills and outlines that polygon exactly as Rectangle would, and draws
    // them all in one call.
    std::vector<POINT> corners;
    corners.reserve(static_cast<std::size_t>(count) * 4);
    for (int i = 0; i < count; ++i) {
        const surface::CRect& r = rects[i];
        corners.push_back(POINT{r.left, r.top});
        corners.push_back(POINT{r.right - 1, r.top});
        corners.push_back(POINT{r.right - 1, r.bottom - 1});
        corners.push_back(POINT{r.left, r.bottom - 1});
    }
    const std::vector<INT> sizes(static_cast<std::size_t>(count), 4);
    return PolyPolygon(m_hDC, corners.data(), sizes.data(), count) != FALSE;
}

void GdiSurface::MoveTo(int x, int y)
{
    MoveToEx(m_hDC, x, y, nullptr);
}

bool GdiSurface::LineTo(int x, int y)
{
    return ::LineTo(m_hDC, x, y) != FALSE;
}

bool GdiSurface::TextOutUtf8(int x, int y, std::string_view text)
{
    const std::wstring wide = framework::Widen(text);
    return TextOutW(m_hDC, x, y, wide.c_str(), Length(wide)) != FALSE;
}

surface::COLORREF GdiSurface::SetTextColor(surface::COLORREF color)
{
    const COLORREF previous = ::SetTextColor(m_hDC, ToGdi(color));
    return previous == CLR_INVALID ? 0 : static_cast<surface::COLORREF>(previous);
}

int GdiSurface::DrawTextUtf8(std::string_view text, surface::CRect& rect, unsigned format)
{
    std::wstring wide = framework::Widen(text);
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    const int height = DrawTextW(m_hDC, wide.data(), Length(wide), &r, format);
    rect = surface::CRect{r.left, r.top, r.right, r.bottom};
    return height;
}

int GdiSurface::GetDeviceCaps(int index) const
{
    return ::GetDeviceCaps(m_hDC, index);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr)
{
    Attach(BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    RestoreOriginals();
    EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_display(pWnd != nullptr ? pWnd->m_hWnd : nullptr)
{
    Attach(m_display.Get());
}

CClientDC::~CClientDC()
{
    RestoreOriginals();
}

LOGFONTW ToSystemFont(const surface::LOGFONT& lf)
{
    LOGFONTW wide{};
    wide.lfHeight = lf.lfHeight;
    wide.lfWidth = lf.lfWidth;
    wide.lfEscapement = lf.lfEscapement;
    wide.lfOrientation = lf.lfOrientation;
    wide.lfWeight = lf.lfWeight;
    wide.lfItalic = lf.lfItalic;
    wide.lfUnderline = lf.lfUnderline;
    wide.lfStrikeOut = lf.lfStrikeOut;
    wide.lfCharSet = lf.lfCharSet;
    wide.lfOutPrecision = lf.lfOutPrecision;
    wide.lfClipPrecision = lf.lfClipPrecision;
    wide.lfQuality = lf.lfQuality;
    wide.lfPitchAndFamily = lf.lfPitchAndFamily;
    // The face name need not be terminated within its field.
    const std::size_t length = strnlen(lf.lfFaceName, surface::kFaceSizeUtf8);
    framework::CopyWideTruncated(framework::Widen(std::string_view(lf.lfFaceName, length)), wide.lfFaceName,
                                 LF_FACESIZE);
    return wide;
}

surface::LOGFONT FromSystemFont(const LOGFONTW& lf)
{
    surface::LOGFONT narrow{};
    narrow.lfHeight = lf.lfHeight;
    narrow.lfWidth = lf.lfWidth;
    narrow.lfEscapement = lf.lfEscapement;
    narrow.lfOrientation = lf.lfOrientation;
    narrow.lfWeight = lf.lfWeight;
    narrow.lfItalic = lf.lfItalic;
    narrow.lfUnderline = lf.lfUnderline;
    narrow.lfStrikeOut = lf.lfStrikeOut;
    narrow.lfCharSet = lf.lfCharSet;
    narrow.lfOutPrecision = lf.lfOutPrecision;
    narrow.lfClipPrecision = lf.lfClipPrecision;
    narrow.lfQuality = lf.lfQuality;
    narrow.lfPitchAndFamily = lf.lfPitchAndFamily;
    const std::size_t length = wcsnlen(lf.lfFaceName, LF_FACESIZE);
    framework::CopyUtf8Truncated(framework::Narrow(std::wstring_view(lf.lfFaceName, length)),
                                 narrow.lfFaceName, surface::kFaceSizeUtf8);
    return narrow;
}
