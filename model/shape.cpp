// Moving, dropping, rotating and drawing one shape.
#include "model/shape.h"

#include <algorithm>
#include <cstdlib>

#include "model/blockary.h"
#include "model/outline_pen.h"

using surface::CBrush;
using surface::CDC;
using surface::CPen;
using surface::kPenSolid;

Shape::Shape(const ShapeBoard* board, int originX, int originY, int cellSize, int centerX, int centerY,
             bool visible)
    : m_board(board),
      m_originX(originX),
      m_originY(originY),
      m_kind(std::rand() % 6),
      m_centerX(centerX),
      m_centerY(centerY),
      m_cellSize(cellSize),
      m_visible(visible),
      m_cellCount(4),
      m_shapeOffsets(),
      m_lineWidth(1)
{
    for (int i = 0; i < m_cellCount; ++i) {
        m_shapeOffsets[i][0] = shapeKinds[m_kind][i][0];
        m_shapeOffsets[i][1] = shapeKinds[m_kind][i][1];
    }
}

bool Shape::collides() const
{
    // Without a board there is nowhere the shape may go.
    return m_board == nullptr || m_board->collides(*this);
}

template <typename Apply, typename Undo>
bool Shape::tryChange(CDC& dc, Apply apply, Undo undo)
{
    apply();
    const bool fits = !collides();
    undo();
    if (!fits) {
        return false;
    }
    erase(dc);
    apply();
    draw(dc);
    return true;
}

void Shape::turnLeft()
{
    for (auto& offset : m_shapeOffsets) {
        std::int32_t dx = offset[0];
        offset[0] = offset[1];
        offset[1] = -dx;
    }
}

void Shape::turnRight()
{
    for (auto& offset : m_shapeOffsets) {
        std::int32_t dx = offset[0];
        offset[0] = -offset[1];
        offset[1] = dx;
    }
}

void Shape::paintCells(CDC& dc, CPen& pen, CBrush& brush) const
{
    surface::Selection selection(dc);
    selection.Select(brush);
    selection.Select(pen);
    const CellGeometry picture = geometry();
    for (int i = 0; i < m_cellCount; ++i) {
        const surface::CRect cell =
            picture.cells(m_centerX + m_shapeOffsets[i][0], m_centerY + m_shapeOffsets[i][1]);
        dc.Rectangle(cell.left, cell.top, cell.right, cell.bottom);
    }
}

bool Shape::waiting() const
{
    return geometry().inPreview(m_centerX, m_centerY);
}

surface::CRect Shape::bounds() const
{
    int left = m_shapeOffsets[0][0];
    int top = m_shapeOffsets[0][1];
    int right = left;
    int bottom = top;
    for (int i = 1; i < m_cellCount; ++i) {
        left = std::min(left, static_cast<int>(m_shapeOffsets[i][0]));
        top = std::min(top, static_cast<int>(m_shapeOffsets[i][1]));
        right = std::max(right, static_cast<int>(m_shapeOffsets[i][0]));
        bottom = std::max(bottom, static_cast<int>(m_shapeOffsets[i][1]));
    }
    return geometry().cells(m_centerX + left, m_centerY + top, right - left + 1, bottom - top + 1);
}

void Shape::draw(CDC& dc) const
{
    static CPen whitePen(kPenSolid, 1, colorTable[7]);
    static CBrush brushes[8] = {
        CBrush(colorTable[0]), CBrush(colorTable[1]), CBrush(colorTable[2]), CBrush(colorTable[3]),
        CBrush(colorTable[4]), CBrush(colorTable[5]), CBrush(colorTable[6]), CBrush(colorTable[7]),
    };

    // A shape waiting left of the well owns the preview area and clears it,
    // shown or not, so a hidden next shape leaves it white.
    if (waiting()) {
        surface::Selection selection(dc);
        selection.Select(brushes[7]);
        selection.Select(whitePen);
        const surface::CRect preview = geometry().preview();
        dc.Rectangle(preview.left, preview.top, preview.right, preview.bottom);
    }
    if (m_visible) {
        paintCells(dc, outlinePen(m_lineWidth), brushes[m_kind + 1]);
    }
}

void Shape::erase(CDC& dc) const
{
    static CPen blackPen(kPenSolid, 1, colorTable[0]);
    static CBrush blackBrush(colorTable[0]);
    paintCells(dc, blackPen, blackBrush);
}

int Shape::move(CDC& dc, ShapeMove code)
{
    // The centre moved by (dx, dy), undone by the opposite step.
    auto step = [this, &dc](int dx, int dy) {
        return tryChange(
            dc,
            [this, dx, dy] {
                m_centerX += dx;
                m_centerY += dy;
            },
            [this, dx, dy] {
                m_centerX -= dx;
                m_centerY -= dy;
            });
    };
    switch (code) {
        case ShapeMove::Right:
            return step(1, 0) ? 1 : 0;
        case ShapeMove::Left:
            return step(-1, 0) ? 1 : 0;
        case ShapeMove::Down:
            return step(0, 1) ? 1 : 0;
        case ShapeMove::Drop: {
            int count = 0;
            while (step(0, 1)) {
                ++count;
            }
            return count;
        }
    }
    return 0;
}

bool Shape::moveTo(CDC& dc, int column, int row)
{
    const int oldX = m_centerX;
    const int oldY = m_centerY;
    return tryChange(
        dc,
        [this, column, row] {
            m_centerX = column;
            m_centerY = row;
        },
        [this, oldX, oldY] {
            m_centerX = oldX;
            m_centerY = oldY;
        });
}

bool Shape::rotate(CDC& dc)
{
    return tryChange(
        dc, [this] { turnLeft(); }, [this] { turnRight(); });
}

void Shape::setVisible(CDC& dc, bool visible)
{
    m_visible = visible;
    draw(dc);
}

void Shape::setGeometry(const CellGeometry& geometry)
{
    m_originX = geometry.originX;
    m_originY = geometry.originY;
    m_cellSize = geometry.cellSize;
    m_lineWidth = geometry.lineWidth;
}
