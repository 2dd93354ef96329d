// Scaling of the picture's lengths.
#include "control/layout.h"

namespace {

constexpr int kCellSize96 = 24;
constexpr int kBorderLeadMargin96 = 3;  // left and top
constexpr int kBorderTailMargin96 = 2;  // right and bottom
constexpr int kPreviewColumns = 3;
constexpr int kPreviewRows = 4;

}  // namespace

Layout::Layout(int dpi, int cols, int rows, int originX, int originY)
    : m_dpi(validDpi(dpi) ? dpi : kBaseDpi),
      m_cols(cols),
      m_rows(rows),
      m_originX(originX),
      m_originY(originY),
      m_cellSize(scale(kCellSize96)),
      m_lineWidth(scale(1)) {}

int Layout::scale(int length96) const {
    return surface::MulDiv(length96, m_dpi, kBaseDpi);
}

int Layout::points(int size) const {
    return surface::MulDiv(size, m_dpi, 72);
}

surface::CRect Layout::well() const {
    return {m_originX * m_cellSize, m_originY * m_cellSize, (m_originX + m_cols) * m_cellSize,
            (m_originY + m_rows) * m_cellSize};
}

surface::CRect Layout::border() const {
    const surface::CRect cells = well();
    return {cells.left - scale(kBorderLeadMargin96), cells.top - scale(kBorderLeadMargin96),
            cells.right + scale(kBorderTailMargin96) + m_lineWidth - 1,
            cells.bottom + scale(kBorderTailMargin96) + m_lineWidth - 1};
}

surface::CRect Layout::preview() const {
    return {0, m_originY * m_cellSize, kPreviewColumns * m_cellSize,
            (m_originY + kPreviewRows) * m_cellSize};
}
