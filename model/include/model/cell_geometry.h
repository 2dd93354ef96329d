// Where the model's cells lie in the picture: the one description the grid
// and the shapes draw with, made by the picture's layout. Grid columns and
// rows count from the well's top-left cell, which lies originX cells from the
// picture's left edge and originY cells from its top.
#pragma once

#include "model/shape_kinds.h"
#include "surface/surface.h"

// The area where the next shape waits, in cells: just large enough for every
// kind before it is turned.
inline constexpr int kPreviewColumns = kUnturnedKinds.right - kUnturnedKinds.left + 1;
inline constexpr int kPreviewRows = kUnturnedKinds.bottom - kUnturnedKinds.top + 1;

// A cell of the grid, or a cell left of or above it.
struct GridCell {
    int column;
    int row;
};

struct CellGeometry {
    int originX;
    int originY;
    // Side of a cell in pixels.
    int cellSize;
    // Width of a cell's outline.
    int lineWidth;

    // The pixels of a block of cells whose top-left cell is at (column, row):
    // right and bottom exclusive.
    surface::CRect cells(int column, int row, int columns = 1, int rows = 1) const
    {
        return {(originX + column) * cellSize, (originY + row) * cellSize,
                (originX + column + columns) * cellSize, (originY + row + rows) * cellSize};
    }
    // The well of columns x rows cells.
    surface::CRect well(int columns, int rows) const { return cells(0, 0, columns, rows); }

    // The preview area: at the picture's left edge, level with the well's top
    // rows.
    surface::CRect preview() const { return cells(previewLeft(), 0, kPreviewColumns, kPreviewRows); }
    // Where the next shape's centre cell waits: every kind then lies wholly
    // inside the preview area.
    GridCell previewCentre() const { return {previewLeft() - kUnturnedKinds.left, -kUnturnedKinds.top}; }
    // Whether a cell lies inside the preview area.
    bool inPreview(int column, int row) const
    {
        return column >= previewLeft() && column < previewLeft() + kPreviewColumns && row >= 0 &&
               row < kPreviewRows;
    }

private:
    // The grid column of the picture's left edge.
    int previewLeft() const { return -originX; }
};
