// Scaling of the picture's lengths, and the fit of the picture to its room.
#include "control/layout.h"

#include <algorithm>

#include "control/gameboard.h"

namespace {

constexpr int kCellSize96 = 24;
constexpr int kBorderLeadMargin96 = 3;  // left and top
constexpr int kBorderTailMargin96 = 2;  // right and bottom

bool fits(Layout::Extent needed, Layout::Extent room)
{
    return needed.cx <= room.cx && needed.cy <= room.cy;
}

}  // namespace

Layout::Layout(long long dpi, int cols, int rows, int originX, int originY, Extent room,
               const TextMeasure* measure)
    : m_dpi(usableDpi(dpi)),
      m_pictureDpi(m_dpi),
      m_cols(cols),
      m_rows(rows),
      m_originX(originX),
      m_originY(originY),
      m_cellSize(scale(kCellSize96)),
      m_lineWidth(scale(1)),
      m_room(room),
      m_clientSize(frameSize())
{
    if (measure != nullptr) {
        m_clientSize = measuredSize(*measure);
    }
    if (!fits(m_clientSize, room)) {
        const Layout smaller = fitted(room, measure);
        m_pictureDpi = smaller.m_pictureDpi;
        m_cellSize = smaller.m_cellSize;
        m_lineWidth = smaller.m_lineWidth;
        m_clientSize = smaller.m_clientSize;
    }
}

Layout Layout::fitted(Extent room, const TextMeasure* measure) const
{
    // Below this resolution a cell would be smaller than the fitted minimum;
    // a display drawn smaller than that keeps its own resolution.
    const int floor = std::min(m_dpi, kMinFittedCellSize * kBaseDpi / kCellSize96);
    for (int candidate = m_dpi - 1; candidate > floor; --candidate) {
        // The texts are measured only where the rest of the picture fits.
        if (!fits(Layout(candidate, m_cols, m_rows, m_originX, m_originY).clientSize(), room)) {
            continue;
        }
        const Layout picture(candidate, m_cols, m_rows, m_originX, m_originY, kUnlimited, measure);
        if (fits(picture.clientSize(), room)) {
            return picture;
        }
    }
    return Layout(floor, m_cols, m_rows, m_originX, m_originY, kUnlimited, measure);
}

int Layout::scale(int length96) const
{
    return surface::MulDiv(length96, m_pictureDpi, kBaseDpi);
}

int Layout::points(int size) const
{
    return surface::MulDiv(size, m_pictureDpi, 72);
}

Layout::Extent Layout::frameSize() const
{
    const surface::CRect outer = border();
    return {std::max(outer.right + 1, panelLeft()) + margin(),
            std::max(outer.bottom + 1, titleBand()) + margin()};
}

Layout::Extent Layout::measuredSize(const TextMeasure& measure) const
{
    const Extent frame = frameSize();
    const Extent panel = GameBoard::panelExtent(*this, measure);
    return {std::max(frame.cx, panel.cx + margin()), std::max(frame.cy, panel.cy + margin())};
}

surface::CRect Layout::border() const
{
    const surface::CRect cells = well();
    return {cells.left - scale(kBorderLeadMargin96), cells.top - scale(kBorderLeadMargin96),
            cells.right + scale(kBorderTailMargin96) + m_lineWidth - 1,
            cells.bottom + scale(kBorderTailMargin96) + m_lineWidth - 1};
}
