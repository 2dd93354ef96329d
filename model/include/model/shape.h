// One four-cell shape: the falling shape in the well or the next shape in
// the preview area. Every change is tried on the shape, submitted to the
// board's collision test, and either undone or shown at once.
#pragma once

#include <cstdint>

#include "model/cell_geometry.h"
#include "model/shape_board.h"
#include "model/shape_kinds.h"
#include "surface/surface.h"

enum class ShapeMove : std::int32_t { Right = 0, Left = 1, Down = 2, Drop = 3 };

class Shape {
public:
    // The kind is drawn from std::rand(); nothing is drawn here.
    Shape(const ShapeBoard* board, int originX, int originY, int cellSize, int centerX, int centerY,
          bool visible);

    void draw(surface::CDC& dc) const;
    // Paints the four cells black, wherever the shape is.
    void erase(surface::CDC& dc) const;
    // 1 or 0 for Right, Left and Down; rows moved for Drop; 0 for other codes.
    int move(surface::CDC& dc, ShapeMove code);
    bool moveTo(surface::CDC& dc, int column, int row);
    // A quarter turn counter-clockwise on the screen about the centre cell.
    bool rotate(surface::CDC& dc);
    void setVisible(surface::CDC& dc, bool visible);
    // Takes the picture's geometry: where the grid lies, the cells' size and
    // their outline, for another resolution.
    void setGeometry(const CellGeometry& geometry);

    int kind() const { return m_kind; }
    int centerX() const { return m_centerX; }
    int centerY() const { return m_centerY; }
    bool visible() const { return m_visible; }
    int cellCount() const { return m_cellCount; }
    int offsetX(int cell) const { return m_shapeOffsets[cell][0]; }
    int offsetY(int cell) const { return m_shapeOffsets[cell][1]; }
    // The next shape, waiting in the preview area: its centre stands there
    // from its making until it enters the well.
    bool waiting() const;
    // The pixels the shape's cells cover, right and bottom exclusive.
    surface::CRect bounds() const;

private:
    friend class BlockArray;

    CellGeometry geometry() const { return {m_originX, m_originY, m_cellSize, m_lineWidth}; }
    bool collides() const;
    // Applies a change and asks the board; a change that collides is undone
    // and nothing is drawn, one that fits is shown at once: the shape erased
    // where it was and drawn where it is now. True when it fitted.
    template <typename Apply, typename Undo>
    bool tryChange(surface::CDC& dc, Apply apply, Undo undo);
    void turnLeft();
    void turnRight();
    // One rectangle per cell in the given pen and brush.
    void paintCells(surface::CDC& dc, surface::CPen& pen, surface::CBrush& brush) const;

    const ShapeBoard* m_board;
    int m_originX;
    int m_originY;
    int m_kind;
    int m_centerX;
    int m_centerY;
    int m_cellSize;
    bool m_visible;
    int m_cellCount;
    std::int32_t m_shapeOffsets[4][2];
    int m_lineWidth;
};
