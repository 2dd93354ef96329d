// Every length of the game's picture at one display resolution: the lengths
// of the picture at 96 DPI, scaled by dpi / 96 and rounded as MulDiv rounds.
// Where that picture would not fit the room the window has on its monitor,
// the whole picture is scaled down together until it does.
// The board, its grid and shapes, the status panel, the view's title band and
// the window's smallest size all take their numbers from here.
#pragma once

#include <climits>
#include <functional>
#include <string_view>

#include "model/cell_geometry.h"
#include "surface/surface.h"

class Layout {
public:
    static constexpr int kBaseDpi = 96;
    // Resolutions outside this range are taken as nonsense.
    static constexpr int kMinDpi = 24;
    static constexpr int kMaxDpi = 960;

    // A picture scaled down to fit never has cells smaller than this.
    static constexpr int kMinFittedCellSize = 12;

    // Whether a display resolution can be drawn at: the one test of it, wide
    // enough for any caller's integer.
    static bool validDpi(long long dpi) { return dpi >= kMinDpi && dpi <= kMaxDpi; }
    // The resolution drawn at for a display's: one that validDpi refuses is
    // taken as 96.
    static int usableDpi(long long dpi) { return validDpi(dpi) ? static_cast<int>(dpi) : kBaseDpi; }

    // A width and a height in pixels.
    struct Extent {
        int cx;
        int cy;
    };
    // Room for a picture of any size.
    static constexpr Extent kUnlimited{INT_MAX, INT_MAX};

    // How wide and high the status panel's texts come out: the window's side
    // measures them with the system's fonts, so this layer needs none.
    struct TextMeasure {
        // The resolution the surface's own font is made for (its
        // GetDeviceCaps(kLogPixelsY)): it decides the panel's font.
        int surfaceDpi;
        // The size of a text drawn in a font; null: the surface's own font.
        std::function<Extent(std::string_view text, const surface::LOGFONT* font)> extent;
    };

    // The well has cols x rows cells, its top-left cell originX cells from
    // the left edge and originY cells from the top. The display's resolution
    // passes through usableDpi. room is the largest client area the window
    // may have: where the picture at the display's resolution needs more,
    // it is drawn at the largest resolution whose picture fits, but never
    // with cells under kMinFittedCellSize. Without a measure the panel's
    // texts take no room: a picture that is drawn but sizes no window.
    Layout(long long dpi, int cols, int rows, int originX, int originY, Extent room = kUnlimited,
           const TextMeasure* measure = nullptr);

    // The display's resolution.
    int dpi() const { return m_dpi; }
    // The resolution the picture is drawn at: the display's, or less where
    // the picture had to shrink to fit its room.
    int pictureDpi() const { return m_pictureDpi; }
    // A length at 96 DPI, scaled to the picture's resolution.
    int scale(int length96) const;
    // A font height in pixels for a size in points, in the picture.
    int points(int size) const;

    int cols() const { return m_cols; }
    int rows() const { return m_rows; }
    int originX() const { return m_originX; }
    int originY() const { return m_originY; }
    // Side of a cell; lengths counted in cells are counted in this.
    int cellSize() const { return m_cellSize; }
    // Width of a cell's outline and of the well's border line.
    int lineWidth() const { return m_lineWidth; }

    // Where the grid and the shapes draw their cells.
    CellGeometry geometry() const { return {m_originX, m_originY, m_cellSize, m_lineWidth}; }
    // The well's cells, right and bottom exclusive.
    surface::CRect well() const { return geometry().well(m_cols, m_rows); }
    // The corners of the border's outermost line: left and top a little
    // further off the well than right and bottom. A line wider than a pixel
    // is drawn as outlines nested inside this one.
    surface::CRect border() const;
    // Where the next shape waits, left of the well's top rows.
    surface::CRect preview() const { return geometry().preview(); }
    // Height of the band at the top that holds the title.
    int titleBand() const { return scale(60); }

    // The status panel: its left edge two cells right of the well, its first
    // line level with the well's top, one cell between lines.
    int panelLeft() const { return geometry().cells(m_cols + 2, 0).left; }
    int panelLine(int index) const { return geometry().cells(0, index).top; }
    // Height of the panel's text: the system font's 16 pixels at 96 DPI.
    int panelTextHeight() const { return scale(16); }

    // The white space kept right of and below the picture.
    int margin() const { return scale(8); }
    // The client area that shows the whole picture: the well with its border,
    // the title band, every text the status panel shows in any state as
    // measured, and the margin.
    Extent clientSize() const { return m_clientSize; }
    // The room the picture was fitted to.
    Extent room() const { return m_room; }

private:
    // The client size without the panel's texts, then with them as measured.
    Extent frameSize() const;
    Extent measuredSize(const TextMeasure& measure) const;
    // The largest picture at a resolution below the display's that fits the
    // room, and never one with cells under kMinFittedCellSize.
    Layout fitted(Extent room, const TextMeasure* measure) const;

    int m_dpi;
    int m_pictureDpi;
    int m_cols;
    int m_rows;
    int m_originX;
    int m_originY;
    int m_cellSize;
    int m_lineWidth;
    Extent m_room;
    Extent m_clientSize;
};
