// The well's grid as a plain array, and what must hold of it, worked out
// without the game's own code: the independent side of the board driver's
// checks.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "control/well.h"
#include "model/blockary.h"

// The well's cells row by row, top row first; -1 is empty.
using Cells = std::array<std::int32_t, kWell.columns * kWell.rows>;

// Whether a row holds any settled cell.
bool occupiedRow(const Cells& cells, int row);
// Removes the full rows and returns how many.
int removeFullRows(Cells& cells);
// Copies a grid of the well's size.
void readCells(const BlockArray& grid, Cells& cells);
// The rows as text, '.' empty and a digit a settled kind, for messages.
std::string describe(const Cells& cells);
// Whether the cells (column, row), moved down by rowsDown, all lie inside
// the well on empty cells.
bool cellsFree(const Cells& cells, const std::pair<int, int>* shapeCells, int count, int rowsDown);
// What is wrong with a grid that play can leave: a cell value no kind has,
// or an empty row below one with cells; empty when nothing is.
std::string gridFault(const Cells& cells);
