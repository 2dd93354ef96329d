// Helpers that put the game into a chosen position: shapes of a chosen kind,
// direct access to a board's grid, seeds that make the next shapes known.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "control/gameboard.h"
#include "model/blockary.h"
#include "model/shape.h"

// Seeds std::rand so that the next kinds drawn are the given ones, in order.
// The search is over fixed seeds, so the result is the same on every run.
void seedForKinds(std::initializer_list<int> kinds);

// A shape of the given kind, made through the ordinary constructor.
std::unique_ptr<Shape> makeShape(GameBoard* board, int kind, int centerX, int centerY, bool visible);

// Tests load positions into a board's grid through this.
struct GameBoardAccess {
    static BlockArray& blocks(GameBoard& board) { return board.m_blocks; }
    static void setScore(GameBoard& board, int score) { board.m_score = score; }
};

// Rows given as text, top row first, '.' empty and a digit the kind settled
// there, loaded into the bottom rows of the grid; rows above are emptied.
void loadRows(BlockArray& grid, std::initializer_list<const char*> rows);
// The grid's rows in the same notation, top row first.
std::vector<std::string> dumpRows(const BlockArray& grid);
