// The grid's rules worked out on a plain array, apart from the game's code.
#include "grid_oracle.h"

#include <algorithm>

namespace {

constexpr int kColumns = kWell.columns;
constexpr int kRows = kWell.rows;

}  // namespace

bool occupiedRow(const Cells& cells, int row)
{
    const auto first = cells.begin() + row * kColumns;
    return std::any_of(first, first + kColumns, [](std::int32_t v) { return v >= 0; });
}

// Removes the full rows of a grid kept as a plain array and returns how many.
int removeFullRows(Cells& cells)
{
    // Rows are copied downwards from the bottom, full ones skipped.
    int removed = 0;
    for (int row = kRows - 1; row >= 0; --row) {
        const auto first = cells.begin() + row * kColumns;
        if (std::all_of(first, first + kColumns, [](std::int32_t v) { return v >= 0; })) {
            ++removed;
        } else if (removed != 0) {
            std::copy(first, first + kColumns, first + removed * kColumns);
        }
    }
    std::fill(cells.begin(), cells.begin() + removed * kColumns, -1);
    return removed;
}

// The grid has the well's size (see checkPosition).
void readCells(const BlockArray& grid, Cells& cells)
{
    std::copy(grid.cells(), grid.cells() + cells.size(), cells.begin());
}

std::string describe(const Cells& cells)
{
    std::string text;
    for (int row = 0; row < kRows; ++row) {
        text += "\n  ";
        for (int column = 0; column < kColumns; ++column) {
            std::int32_t v = cells[static_cast<std::size_t>(row * kColumns + column)];
            text += v < 0 ? '.' : v < 10 ? static_cast<char>('0' + v) : '?';
        }
    }
    return text;
}

bool cellsFree(const Cells& cells, const std::pair<int, int>* shapeCells, int count, int rowsDown)
{
    for (int i = 0; i < count; ++i) {
        const int column = shapeCells[i].first;
        const int row = shapeCells[i].second + rowsDown;
        if (column < 0 || column >= kColumns || row < 0 || row >= kRows ||
            cells[static_cast<std::size_t>(row * kColumns + column)] >= 0) {
            return false;
        }
    }
    return true;
}

std::string gridFault(const Cells& cells)
{
    for (std::int32_t v : cells) {
        if (v < -1 || v > 5) {
            return "cell value " + std::to_string(v) + " in the well:" + describe(cells);
        }
    }
    bool above = occupiedRow(cells, 0);
    for (int row = 1; row < kRows; ++row) {
        const bool occupied = occupiedRow(cells, row);
        if (above && !occupied) {
            return "empty row " + std::to_string(row) + " below a row with cells:" + describe(cells);
        }
        above = occupied;
    }
    return {};
}
