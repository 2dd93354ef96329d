// Moving, dropping, rotating and drawing one shape.
#include "model/shape.h"

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
    for (int i = 0; i < m_cellCount; ++i) {
        int x = m_originX + m_centerX + m_shapeOffsets[i][0];
        int y = m_originY + m_centerY + m_shapeOffsets[i][1];
        dc.Rectangle(x * m_cellSize, y * m_cellSize, (x + 1) * m_cellSize, (y + 1) * m_cellSize);
    }
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
    if (m_centerX < 0) {
        surface::Selection selection(dc);
        selection.Select(brushes[7]);
        selection.Select(whitePen);
        dc.Rectangle(0, m_originY * m_cellSize, kPreviewColumns * m_cellSize,
                     (m_originY + kPreviewRows) * m_cellSize);
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

void Shape::setScale(int cellSize, int lineWidth)
{
    m_cellSize = cellSize;
    m_lineWidth = lineWidth;
}
