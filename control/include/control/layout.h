// Every length of the game's picture at one display resolution: the lengths
// of the picture at 96 DPI, scaled by dpi / 96 and rounded as MulDiv rounds.
// The board, its grid and shapes, the status panel, the view's title band and
// the window's smallest size all take their numbers from here.
#pragma once

#include "surface/surface.h"

class Layout {
public:
    static constexpr int kBaseDpi = 96;
    // Resolutions outside this range are taken as nonsense.
    static constexpr int kMinDpi = 24;
    static constexpr int kMaxDpi = 960;

    static bool validDpi(int dpi) { return dpi >= kMinDpi && dpi <= kMaxDpi; }

    // The well has cols x rows cells, its top-left cell originX cells from
    // the left edge and originY cells from the top. A dpi that validDpi
    // refuses is taken as 96.
    Layout(int dpi, int cols, int rows, int originX, int originY);

    int dpi() const { return m_dpi; }
    // A length at 96 DPI, scaled to this layout's resolution.
    int scale(int length96) const;
    // A font height in pixels for a size in points.
    int points(int size) const;

    int cols() const { return m_cols; }
    int rows() const { return m_rows; }
    int originX() const { return m_originX; }
    int originY() const { return m_originY; }
    // Side of a cell; lengths counted in cells are counted in this.
    int cellSize() const { return m_cellSize; }
    // Width of a cell's outline and of the well's border line.
    int lineWidth() const { return m_lineWidth; }

    // The well's cells, right and bottom exclusive.
    surface::CRect well() const;
    // The corners of the border's outermost line: left and top a little
    // further off the well than right and bottom. A line wider than a pixel
    // is drawn as outlines nested inside this one.
    surface::CRect border() const;
    // Where the next shape waits, left of the well's top four rows.
    surface::CRect preview() const;
    // Height of the band at the top that holds the title.
    int titleBand() const { return scale(60); }

    // The status panel: its left edge two cells right of the well, its first
    // line level with the well's top, one cell between lines.
    int panelLeft() const { return (m_originX + m_cols + 2) * m_cellSize; }
    int panelLine(int index) const { return (m_originY + index) * m_cellSize; }
    // Height of the panel's text: the system font's 16 pixels at 96 DPI.
    int panelTextHeight() const { return scale(16); }

private:
    int m_dpi;
    int m_cols;
    int m_rows;
    int m_originX;
    int m_originY;
    int m_cellSize;
    int m_lineWidth;
};
