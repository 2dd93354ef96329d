// Scaling of the picture's lengths.
#include "control/layout.h"

#include <algorithm>

#include "model/shape.h"

namespace {

constexpr int kCellSize96 = 24;
constexpr int kBorderLeadMargin96 = 3;  // left and top
constexpr int kBorderTailMargin96 = 2;  // right and bottom
// The status panel's longest text ("Press q or <ESC> to stop the game") at
// 96 DPI, with room to spare for a wider font than the one measured.
constexpr int kPanelTextWidth96 = 280;

}  // namespace

Layout::Layout(long long dpi, int cols, int rows, int originX, int originY, Extent room)
    : m_dpi(usableDpi(dpi)),
      m_pictureDpi(m_dpi),
      m_cols(cols),
      m_rows(rows),
      m_originX(originX),
      m_originY(originY),
      m_cellSize(scale(kCellSize96)),
      m_lineWidth(scale(1))
{
    const int fitting = fittingDpi(room);
    if (fitting != m_pictureDpi) {
        m_pictureDpi = fitting;
        m_cellSize = scale(kCellSize96);
        m_lineWidth = scale(1);
    }
}

int Layout::fittingDpi(Extent room) const
{
    const auto fits = [room](const Layout& picture) {
        const Extent needed = picture.clientSize();
        return needed.cx <= room.cx && needed.cy <= room.cy;
    };
    if (fits(*this)) {
        return m_pictureDpi;
    }
    // Below this resolution a cell would be smaller than the fitted minimum;
    // a display drawn smaller than that keeps its own resolution.
    const int floor = std::min(m_dpi, kMinFittedCellSize * kBaseDpi / kCellSize96);
    for (int candidate = m_dpi - 1; candidate > floor; --candidate) {
        if (fits(Layout(candidate, m_cols, m_rows, m_originX, m_originY))) {
            return candidate;
        }
    }
    return floor;
}

int Layout::scale(int length96) const
{
    return surface::MulDiv(length96, m_pictureDpi, kBaseDpi);
}

int Layout::points(int size) const
{
    return surface::MulDiv(size, m_pictureDpi, 72);
}

Layout::Extent Layout::clientSize() const
{
    const surface::CRect outer = border();
    const int right = std::max(outer.right + 1, panelLeft() + scale(kPanelTextWidth96));
    const int bottom = std::max(outer.bottom + 1, titleBand());
    return {right + margin(), bottom + margin()};
}

surface::CRect Layout::well() const
{
    return {m_originX * m_cellSize, m_originY * m_cellSize, (m_originX + m_cols) * m_cellSize,
            (m_originY + m_rows) * m_cellSize};
}

surface::CRect Layout::border() const
{
    const surface::CRect cells = well();
    return {cells.left - scale(kBorderLeadMargin96), cells.top - scale(kBorderLeadMargin96),
            cells.right + scale(kBorderTailMargin96) + m_lineWidth - 1,
            cells.bottom + scale(kBorderTailMargin96) + m_lineWidth - 1};
}

surface::CRect Layout::preview() const
{
    return {0, m_originY * m_cellSize, kPreviewColumns * m_cellSize, (m_originY + kPreviewRows) * m_cellSize};
}
