#include "surface/surface.h"

#include <climits>
#include <cstring>

namespace surface {

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0) {
        return -1;
    }
    long long product = static_cast<long long>(number) * numerator;
    long long half = (denominator < 0 ? -static_cast<long long>(denominator) : denominator) / 2;
    bool negative = (product < 0) != (denominator < 0);
    long long magnitude = (product < 0 ? -product : product) + half;
    long long quotient = magnitude / (denominator < 0 ? -static_cast<long long>(denominator) : denominator);
    long long result = negative ? -quotient : quotient;
    if (result > INT_MAX || result < INT_MIN) {
        return -1;
    }
    return static_cast<int>(result);
}

bool operator==(const LOGFONT& a, const LOGFONT& b)
{
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           std::strncmp(a.lfFaceName, b.lfFaceName, sizeof a.lfFaceName) == 0;
}

bool CDC::Rectangles(const CRect* rects, int count)
{
    bool drawn = true;
    for (int i = 0; i < count; ++i) {
        drawn = Rectangle(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom) && drawn;
    }
    return drawn;
}

void CFont::Create(const LOGFONT& lf)
{
    m_logFont = lf;
    m_logFont.lfFaceName[kFaceSizeUtf8 - 1] = '\0';
    m_created = true;
    native().reset();
}

void CFont::CreateOnce(const LOGFONT& lf)
{
    if (m_created && lf == m_logFont) {
        return;
    }
    Create(lf);
}

namespace {

// Selects object and keeps what it replaced, unless an earlier selection of
// the scope kept that already.
template <typename Object>
void SelectKeepingFirst(CDC& dc, Object& object, Object*& replaced)
{
    Object* previous = dc.SelectObject(&object);
    if (replaced == nullptr) {
        replaced = previous;
    }
}

}  // namespace

void Selection::Select(CPen& pen)
{
    SelectKeepingFirst(m_dc, pen, m_pen);
}
void Selection::Select(CBrush& brush)
{
    SelectKeepingFirst(m_dc, brush, m_brush);
}
void Selection::Select(CFont& font)
{
    SelectKeepingFirst(m_dc, font, m_font);
}

Selection::~Selection()
{
    if (m_font != nullptr) {
        m_dc.SelectObject(m_font);
    }
    if (m_brush != nullptr) {
        m_dc.SelectObject(m_brush);
    }
    if (m_pen != nullptr) {
        m_dc.SelectObject(m_pen);
    }
}

}  // namespace surface
