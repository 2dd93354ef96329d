// The well's cells: collision test, settling, row removal and drawing.
#include "model/blockary.h"

#include <algorithm>
#include <vector>

#include "model/invariant.h"
#include "model/outline_pen.h"
#include "model/shape.h"

using surface::CBrush;
using surface::CPen;
using surface::kPenSolid;

BlockArray::BlockArray(HostWindow* view, int originX, int originY, int cellSize, int width, int height)
    : m_cells(),
      m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_originX(originX),
      m_originY(originY),
      m_cellSize(cellSize),
      m_view(view),
      m_lineWidth(1)
{
    std::size_t count = static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height);
    m_cells = std::make_unique<std::int32_t[]>(count);
    clear();
}

bool BlockArray::collides(const Shape& shape) const
{
    for (int i = 0; i < shape.m_cellCount; ++i) {
        int x = shape.m_centerX + shape.m_shapeOffsets[i][0];
        int y = shape.m_centerY + shape.m_shapeOffsets[i][1];
        if (x < 0 || x >= m_width) {
            return true;
        }
        if (y < 0 || y >= m_height) {
            return true;
        }
        if (occupied(x, y)) {
            return true;
        }
    }
    return false;
}

void BlockArray::place(const Shape& shape)
{
    // Every cell is checked before any is written, so a shape that reaches
    // outside leaves the grid as it was.
    bool fits = true;
    for (int i = 0; i < shape.m_cellCount; ++i) {
        // The checks are reported in the words written here: kept as they are.
        // clang-format off
        fits = GAME_INVARIANT(((shape.m_centerX+shape.m_shapeOffsets[i][0])>=0) &&
                              ((shape.m_centerX+shape.m_shapeOffsets[i][0])<m_width)) && fits;
        fits = GAME_INVARIANT(((shape.m_centerY+shape.m_shapeOffsets[i][1])>=0) &&
                              ((shape.m_centerY+shape.m_shapeOffsets[i][1])<m_height)) && fits;
        // clang-format on
    }
    if (!fits) {
        return;
    }
    for (int i = 0; i < shape.m_cellCount; ++i) {
        int x = shape.m_centerX + shape.m_shapeOffsets[i][0];
        int y = shape.m_centerY + shape.m_shapeOffsets[i][1];
        m_cells[index(x, y)] = shape.m_kind;
    }
}

int BlockArray::removeFullRows()
{
    std::vector<char> full(static_cast<std::size_t>(m_height), 0);

    // Rows holding an occupied cell form one block ending at the bottom row,
    // so counting the rows without one gives the top of that block.
    int emptyRow = m_height;
    for (int row = 0; row < m_height; ++row) {
        for (int column = 0; column < m_width; ++column) {
            if (occupied(column, row)) {
                --emptyRow;
                break;
            }
        }
    }

    int n = m_height - emptyRow;
    for (int row = emptyRow; row < m_height; ++row) {
        full[static_cast<std::size_t>(row)] = 1;
        for (int column = 0; column < m_width; ++column) {
            if (!occupied(column, row)) {
                full[static_cast<std::size_t>(row)] = 0;
                --n;
                break;
            }
        }
    }

    int iSrc = m_height - 1;
    if (n > 0) {
        for (int dest = m_height - 1; dest >= emptyRow + n; --dest) {
            while (iSrc >= emptyRow && full[static_cast<std::size_t>(iSrc)] != 0) {
                --iSrc;
            }
            // The check is reported in the words written here: kept as they are.
            // clang-format off
            if (!GAME_INVARIANT(iSrc>=emptyRow)) {
                // clang-format on
                break;
            }
            if (dest != iSrc) {
                std::copy(m_cells.get() + index(0, iSrc), m_cells.get() + index(0, iSrc + 1),
                          m_cells.get() + index(0, dest));
            }
            --iSrc;
        }
        // fuzz-reach: a row removal (scripts/fuzz.sh fails when its corpus never runs the next line)
        std::fill(m_cells.get() + index(0, emptyRow), m_cells.get() + index(0, emptyRow + n), -1);
        if (m_view != nullptr) {
            m_view->Invalidate(true);
        }
    }
    return n;
}

void BlockArray::clear()
{
    std::fill(m_cells.get(),
              m_cells.get() + static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), -1);
}

void BlockArray::draw(surface::CDC& dc) const
{
    static CPen emptyPen(kPenSolid, 1, colorTable[0]);
    static CBrush brushes[8] = {
        CBrush(colorTable[0]), CBrush(colorTable[1]), CBrush(colorTable[2]), CBrush(colorTable[3]),
        CBrush(colorTable[4]), CBrush(colorTable[5]), CBrush(colorTable[6]), CBrush(colorTable[7]),
    };
    if (m_width == 0 || m_height == 0) {
        return;
    }

    // An empty cell is a black square outlined in black, so all of them
    // together are one black rectangle under the occupied cells.
    const CellGeometry picture = geometry();
    surface::Selection selection(dc);
    selection.Select(brushes[0]);
    selection.Select(emptyPen);
    const surface::CRect well = picture.well(m_width, m_height);
    dc.Rectangle(well.left, well.top, well.right, well.bottom);

    // Occupied cells do not overlap, so they can go one colour at a time:
    // each brush is selected once and all its cells are drawn in one call.
    // Their rectangles lie in one array, grouped by colour: counting each
    // colour's cells tells where its group starts, and a second pass over the
    // grid fills every group from its start.
    selection.Select(outlinePen(m_lineWidth));
    constexpr int kColours = 8;
    int cellsOfColour[kColours] = {};
    const int cellCount = m_width * m_height;
    for (int i = 0; i < cellCount; ++i) {
        ++cellsOfColour[fillColour(m_cells[static_cast<std::size_t>(i)])];
    }
    // Empty cells (colour 0) have no group.
    int groupStart[kColours] = {};
    for (int colour = 2; colour < kColours; ++colour) {
        groupStart[colour] = groupStart[colour - 1] + cellsOfColour[colour - 1];
    }
    std::vector<surface::CRect> rects(static_cast<std::size_t>(cellCount - cellsOfColour[0]));
    int filled[kColours] = {};
    for (int row = 0; row < m_height; ++row) {
        for (int column = 0; column < m_width; ++column) {
            const int colour = fillColour(m_cells[index(column, row)]);
            if (colour != 0) {
                const int slot = groupStart[colour] + filled[colour]++;
                rects[static_cast<std::size_t>(slot)] = picture.cells(column, row);
            }
        }
    }
    for (int colour = 1; colour < kColours; ++colour) {
        if (cellsOfColour[colour] != 0) {
            selection.Select(brushes[colour]);
            dc.Rectangles(rects.data() + groupStart[colour], cellsOfColour[colour]);
        }
    }
}

int BlockArray::fillColour(std::int32_t value)
{
    // Kinds beyond the table cannot be settled by a shape; they are drawn in
    // the last colour rather than read past the table.
    if (value < 0) {
        return 0;
    }
    return value >= 6 ? 7 : value + 1;
}

void BlockArray::setGeometry(const CellGeometry& geometry)
{
    m_originX = geometry.originX;
    m_originY = geometry.originY;
    m_cellSize = geometry.cellSize;
    m_lineWidth = geometry.lineWidth;
}

std::int32_t BlockArray::cell(int column, int row) const
{
    return inside(column, row) ? m_cells[index(column, row)] : -1;
}

void BlockArray::setCell(int column, int row, std::int32_t value)
{
    if (GAME_INVARIANT(column >= 0 && column < m_width && row >= 0 && row < m_height)) {
        m_cells[index(column, row)] = value;
    }
}
