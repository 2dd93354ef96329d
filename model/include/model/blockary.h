// The well: the grid of settled cells, the test whether a shape may stand
// somewhere, the removal of full rows, and the drawing of every cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "model/cell_geometry.h"
#include "model/host_window.h"
#include "surface/surface.h"

class Shape;

// Colours of the game: 0 black (empty cells, erasing), 1 to 6 the fills of
// shape kinds 0 to 5, 7 white (outlines, preview background).
inline constexpr surface::COLORREF colorTable[8] = {
    surface::Rgb(0, 0, 0),       surface::Rgb(153, 153, 255), surface::Rgb(153, 255, 153),
    surface::Rgb(153, 255, 255), surface::Rgb(255, 153, 153), surface::Rgb(255, 153, 255),
    surface::Rgb(255, 255, 0),   surface::Rgb(255, 255, 255),
};

class BlockArray {
public:
    // A negative size is taken as 0: the grid then has no cell and every
    // shape collides.
    BlockArray(HostWindow* view, int originX, int originY, int cellSize, int width, int height);
    BlockArray(const BlockArray&) = delete;
    BlockArray& operator=(const BlockArray&) = delete;

    // True when a cell of the shape lies outside the grid or on an occupied cell.
    bool collides(const Shape& shape) const;
    // Writes the shape's cells with its kind. A shape reaching outside the
    // grid is an invariant failure and writes nothing.
    void place(const Shape& shape);
    // Removes every full row, lets the rows above drop and returns how many
    // rows went; asks the view for a repaint when there were any.
    int removeFullRows();
    // Empties every cell.
    void clear();
    void draw(surface::CDC& dc) const;
    // Takes the picture's geometry: where the grid lies, the cells' size and
    // their outline, for another resolution.
    void setGeometry(const CellGeometry& geometry);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // Cell value at (column, row); -1 (empty) outside the grid.
    std::int32_t cell(int column, int row) const;
    // Every cell, row by row from the top: width() * height() of them.
    const std::int32_t* cells() const { return m_cells.get(); }
    // Sets one cell, for loading a position; outside the grid it is an
    // invariant failure and writes nothing.
    void setCell(int column, int row, std::int32_t value);

private:
    CellGeometry geometry() const { return {m_originX, m_originY, m_cellSize, m_lineWidth}; }
    // Index into the colour table of a cell's fill: 0 for an empty cell.
    static int fillColour(std::int32_t value);
    bool occupied(int column, int row) const { return m_cells[index(column, row)] >= 0; }
    // Of a cell inside the grid (or one row past it, as an end).
    std::size_t index(int column, int row) const
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width) +
               static_cast<std::size_t>(column);
    }
    bool inside(int column, int row) const
    {
        return column >= 0 && column < m_width && row >= 0 && row < m_height;
    }

    std::unique_ptr<std::int32_t[]> m_cells;
    int m_width;
    int m_height;
    int m_originX;
    int m_originY;
    int m_cellSize;
    HostWindow* m_view;
    int m_lineWidth;
};
