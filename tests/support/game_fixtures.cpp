// Positions for tests: chosen shape kinds and grid contents.
#include "game_fixtures.h"

#include <cstdlib>
#include <string>
#include <vector>

void seedForKinds(std::initializer_list<int> kinds)
{
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        bool matches = true;
        for (int kind : kinds) {
            if (std::rand() % 6 != kind) {
                matches = false;
                break;
            }
        }
        if (matches) {
            std::srand(seed);
            return;
        }
    }
}

std::unique_ptr<Shape> makeShape(GameBoard* board, int kind, int centerX, int centerY, bool visible)
{
    seedForKinds({kind});
    return std::make_unique<Shape>(board, 4, 3, 24, centerX, centerY, visible);
}

void loadRows(BlockArray& grid, std::initializer_list<const char*> rows)
{
    int firstRow = grid.height() - static_cast<int>(rows.size());
    for (int row = 0; row < grid.height(); ++row) {
        for (int column = 0; column < grid.width(); ++column) {
            grid.setCell(column, row, -1);
        }
    }
    int row = firstRow;
    for (const char* text : rows) {
        std::string line(text);
        for (int column = 0; column < grid.width() && column < static_cast<int>(line.size()); ++column) {
            char c = line[static_cast<std::size_t>(column)];
            grid.setCell(column, row, c == '.' ? -1 : c - '0');
        }
        ++row;
    }
}

std::vector<std::string> dumpRows(const BlockArray& grid)
{
    std::vector<std::string> rows;
    for (int row = 0; row < grid.height(); ++row) {
        std::string line;
        for (int column = 0; column < grid.width(); ++column) {
            int value = grid.cell(column, row);
            line += value < 0 ? '.' : static_cast<char>('0' + value);
        }
        rows.push_back(line);
    }
    return rows;
}
