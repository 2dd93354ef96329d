#include "surface/surface.h"

#include <climits>
#include <cstddef>
#include <cstring>

namespace surface {

int MulDiv(int number, int numerator, int denominator) {
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

bool CDC::Rectangles(const CRect* rects, int count) {
    bool drawn = true;
    for (int i = 0; i < count; ++i) {
        drawn = Rectangle(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom) && drawn;
    }
    return drawn;
}

bool CFont::CreateFontIndirect(const LOGFONT* lf) {
    if (lf == nullptr) {
        return false;
    }
    m_logFont = *lf;
    m_logFont.lfFaceName[LF_FACESIZE_UTF8 - 1] = '\0';
    m_created = true;
    native().reset();
    return true;
}

void CFont::CreateOnce(const LOGFONT& lf) {
    // Compared field by field up to the face name's end, so padding never
    // counts; CreateFontIndirect alone decides how the name is terminated.
    constexpr std::size_t kFields = offsetof(LOGFONT, lfFaceName) + sizeof(LOGFONT::lfFaceName);
    if (m_created && std::memcmp(&lf, &m_logFont, kFields) == 0) {
        return;
    }
    CreateFontIndirect(&lf);
}

}  // namespace surface
