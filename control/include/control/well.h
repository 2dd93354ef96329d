// Where the program's well lies: 13 columns by 20 rows of cells, its
// top-left cell 4 cells from the picture's left edge, which leaves room for
// the next shape left of it, and 3 cells from the top, below the title.
#pragma once

struct WellPlacement {
    int columns;
    int rows;
    int originX;
    int originY;
};

inline constexpr WellPlacement kWell{13, 20, 4, 3};
