// The six kinds of shape, as the offsets of their cells from the centre cell,
// and the box of cells that every kind fills before it is turned.
#pragma once

#include <algorithm>
#include <cstdint>

// Cell offsets (dx, dy) from the centre cell of each of the six kinds; dy
// grows downwards and every kind has its centre cell at (0, 0).
inline constexpr std::int32_t shapeKinds[6][4][2] = {
    {{0, -1}, {0, 0}, {0, 1}, {0, 2}},    // vertical bar of four
    {{0, -1}, {0, 0}, {1, 0}, {1, -1}},   // square
    {{-1, -1}, {0, -1}, {0, 0}, {0, 1}},  // bar of three, extra cell top left
    {{1, -1}, {0, -1}, {0, 0}, {0, 1}},   // bar of three, extra cell top right
    {{1, -1}, {1, 0}, {0, 0}, {0, 1}},    // zigzag, upper part right
    {{-1, -1}, {-1, 0}, {0, 0}, {0, 1}},  // zigzag, upper part left
};

// Offsets from the centre cell, first and last column and row inclusive.
struct OffsetBox {
    int left;
    int top;
    int right;
    int bottom;
};

// The smallest box that holds every kind as it is made, before any turn: the
// room a shape needs where it waits to enter the well.
constexpr OffsetBox unturnedKindsBox()
{
    OffsetBox box{0, 0, 0, 0};
    for (const auto& kind : shapeKinds) {
        for (const auto& cell : kind) {
            box.left = std::min(box.left, static_cast<int>(cell[0]));
            box.top = std::min(box.top, static_cast<int>(cell[1]));
            box.right = std::max(box.right, static_cast<int>(cell[0]));
            box.bottom = std::max(box.bottom, static_cast<int>(cell[1]));
        }
    }
    return box;
}
inline constexpr OffsetBox kUnturnedKinds = unturnedKindsBox();
