// The well's grid: row removal, collision at the edges, settling, drawing
// and the handling of a shape that reaches outside.
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "control/well.h"
#include "game_fixtures.h"
#include "model/blockary.h"
#include "model/invariant.h"
#include "raster_surface.h"
#include "recording_host.h"

namespace {

struct RowRemovalCase {
    const char* name;
    std::vector<const char*> before;  // bottom rows, top first
    std::vector<const char*> after;
    int removed;
};

std::vector<std::string> expectedGrid(const std::vector<const char*>& bottomRows)
{
    std::vector<std::string> rows(static_cast<std::size_t>(kWell.rows) - bottomRows.size(),
                                  std::string(static_cast<std::size_t>(kWell.columns), '.'));
    rows.insert(rows.end(), bottomRows.begin(), bottomRows.end());
    return rows;
}

void PrintTo(const RowRemovalCase& c, std::ostream* os)
{
    *os << c.name;
}

class RowRemoval : public ::testing::TestWithParam<RowRemovalCase> {};

TEST_P(RowRemoval, MovesRowsDownAndCountsThem)
{
    const RowRemovalCase& c = GetParam();
    RecordingHost host;
    BlockArray grid(&host, kWell.originX, kWell.originY, 24, kWell.columns, kWell.rows);
    loadRows(grid, {});
    for (std::size_t i = 0; i < c.before.size(); ++i) {
        std::string line = c.before[i];
        int row = kWell.rows - static_cast<int>(c.before.size()) + static_cast<int>(i);
        for (int column = 0; column < kWell.columns; ++column) {
            char ch = line[static_cast<std::size_t>(column)];
            grid.setCell(column, row, ch == '.' ? -1 : ch - '0');
        }
    }

    EXPECT_EQ(grid.removeFullRows(), c.removed);
    EXPECT_EQ(dumpRows(grid), expectedGrid(c.after));
    EXPECT_EQ(host.count(RecordingHost::Call::Invalidate), c.removed > 0 ? 1 : 0);
}

std::vector<const char*> allRowsFull()
{
    return std::vector<const char*>(20, "0123450123450");
}

INSTANTIATE_TEST_SUITE_P(
    Grid, RowRemoval,
    ::testing::Values(
        RowRemovalCase{"EmptyGrid", {}, {}, 0},
        RowRemovalCase{
            "NoRowFull", {"..1..........", "1111111111.11"}, {"..1..........", "1111111111.11"}, 0},
        RowRemovalCase{"BottomRowFull",
                       {"....2........", "..3.22.......", "0000000000000"},
                       {"....2........", "..3.22......."},
                       1},
        RowRemovalCase{"RowsNineteenAndSeventeenFull",
                       {"5............", ".4...........", "1111111111111", "2.2.2.2.2.2.2", "3333333333333"},
                       {"5............", ".4...........", "2.2.2.2.2.2.2"},
                       2},
        RowRemovalCase{"FourRowsWithOneGapBelow",
                       {"0000000000000", "1111111111111", "2222222222222", "3333333333333", "44444.4444444"},
                       {"44444.4444444"},
                       4},
        RowRemovalCase{"EveryRowFull", allRowsFull(), {}, 20}),
    [](const ::testing::TestParamInfo<RowRemovalCase>& param) { return param.param.name; });

class GridWithBoard : public ::testing::Test {
protected:
    GridWithBoard()
        : board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY),
          grid(GameBoardAccess::blocks(board))
    {
    }

    RecordingHost host;
    GameBoard board;
    BlockArray& grid;
};

TEST_F(GridWithBoard, CollidesOutsideEveryEdgeAndOnOccupiedCells)
{
    struct Case {
        int centerX;
        int centerY;
        bool collides;
    };
    // A vertical bar of four: cells at rows centre-1 .. centre+2.
    const Case cases[] = {
        {0, 1, false},  {-1, 1, true},  // left edge
        {12, 1, false}, {13, 1, true},  // right edge
        {6, 1, false},  {6, 0, true},   // top: a cell in row -1
        {6, 17, false}, {6, 18, true},  // bottom: a cell in row 20
    };
    for (const Case& c : cases) {
        auto shape = makeShape(&board, 0, c.centerX, c.centerY, false);
        EXPECT_EQ(grid.collides(*shape), c.collides) << "centre " << c.centerX << "," << c.centerY;
    }

    grid.setCell(6, 19, 0);  // a settled cell of kind 0 is occupied
    auto shape = makeShape(&board, 0, 6, 17, false);
    EXPECT_TRUE(grid.collides(*shape));
}

TEST_F(GridWithBoard, PlaceWritesTheKindIntoEveryCell)
{
    auto bar = makeShape(&board, 0, 3, 17, false);
    grid.place(*bar);
    for (int row = 16; row <= 19; ++row) {
        EXPECT_EQ(grid.cell(3, row), 0) << "row " << row;
    }
    EXPECT_EQ(grid.cell(3, 15), -1);
    EXPECT_TRUE(grid.collides(*bar));
    EXPECT_EQ(host.count(RecordingHost::Call::Invalidate), 0);
}

TEST(Grid, NewGridDrawsASolidBlackWell)
{
    RasterSurface dc;
    BlockArray grid(nullptr, kWell.originX, kWell.originY, 24, kWell.columns, kWell.rows);
    grid.draw(dc);

    EXPECT_TRUE(dc.canvas().allOf(96, 72, 96 + 13 * 24, 72 + 20 * 24, surface::Rgb(0, 0, 0)));
    EXPECT_EQ(dc.pixel(95, 72), surface::Rgb(255, 255, 255));
    EXPECT_EQ(dc.pixel(96, 71), surface::Rgb(255, 255, 255));
    EXPECT_EQ(dc.pixel(408, 300), surface::Rgb(255, 255, 255));
    EXPECT_EQ(dc.pixel(200, 552), surface::Rgb(255, 255, 255));
    // An empty well is one black rectangle, not 260 black cells.
    EXPECT_EQ(dc.canvas().drawCalls(), 1);
    EXPECT_TRUE(dc.holdsDefaultObjects());
}

TEST(Grid, SettledCellIsFilledInItsKindsColourAndOutlinedWhite)
{
    RasterSurface dc;
    BlockArray grid(nullptr, kWell.originX, kWell.originY, 24, kWell.columns, kWell.rows);
    grid.setCell(2, 19, 5);
    grid.draw(dc);
    int left = (4 + 2) * 24;
    int top = (3 + 19) * 24;
    EXPECT_EQ(dc.pixel(left + 12, top + 12), colorTable[6]);
    EXPECT_EQ(dc.pixel(left, top), colorTable[7]);
    EXPECT_EQ(dc.pixel(left + 23, top + 23), colorTable[7]);
    EXPECT_EQ(dc.pixel(left + 24, top + 12), colorTable[0]);
}

// Each value a cell can hold, with the fill it is drawn in, written out
// rather than taken from the colour table.
TEST(Grid, EveryCellValueIsFilledInItsOwnColour)
{
    struct Fill {
        std::int32_t value;
        surface::COLORREF colour;
    };
    const Fill fills[] = {
        {INT_MIN, surface::Rgb(0, 0, 0)},
        {-1, surface::Rgb(0, 0, 0)},
        {0, surface::Rgb(153, 153, 255)},
        {1, surface::Rgb(153, 255, 153)},
        {2, surface::Rgb(153, 255, 255)},
        {3, surface::Rgb(255, 153, 153)},
        {4, surface::Rgb(255, 153, 255)},
        {5, surface::Rgb(255, 255, 0)},
        // Values no shape settles are drawn in the last colour.
        {6, surface::Rgb(255, 255, 255)},
        {7, surface::Rgb(255, 255, 255)},
        {INT_MAX, surface::Rgb(255, 255, 255)},
    };
    RasterSurface dc;
    BlockArray grid(nullptr, kWell.originX, kWell.originY, 24, kWell.columns, kWell.rows);
    int column = 0;
    for (const Fill& fill : fills) {
        grid.setCell(column++, 19, fill.value);
    }
    grid.draw(dc);
    column = 0;
    for (const Fill& fill : fills) {
        EXPECT_EQ(dc.pixel((4 + column++) * 24 + 12, (3 + 19) * 24 + 12), fill.colour)
            << "value " << fill.value;
    }
}

// Failed checks are collected here instead of aborting.
struct Failure {
    std::string expression;
    std::string file;
    int line;
};
std::vector<Failure> failures;

void collectFailure(const char* expression, const char* file, int line)
{
    failures.push_back({expression, file, line});
}

class CollectedFailures {
public:
    CollectedFailures() : m_previous(setInvariantHandler(collectFailure)) { failures.clear(); }
    ~CollectedFailures() { setInvariantHandler(m_previous); }
    CollectedFailures(const CollectedFailures&) = delete;
    CollectedFailures& operator=(const CollectedFailures&) = delete;

private:
    InvariantHandler m_previous;
};

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(GridWithBoard, PlacingOutsideReportsTheCheckAndWritesNothing)
{
    const std::string columnCheck =
        "((shape.m_centerX+shape.m_shapeOffsets[i][0])>=0) && "
        "((shape.m_centerX+shape.m_shapeOffsets[i][0])<m_width)";
    const std::string rowCheck =
        "((shape.m_centerY+shape.m_shapeOffsets[i][1])>=0) && "
        "((shape.m_centerY+shape.m_shapeOffsets[i][1])<m_height)";
    struct Case {
        int kind;
        int centerX;
        int centerY;
        std::vector<std::string> failed;
    };
    const Case cases[] = {
        {0, -3, 1, {columnCheck, columnCheck, columnCheck, columnCheck}},  // in the preview area
        {1, 12, 5, {columnCheck, columnCheck}},                            // square half past the right edge
        {0, 6, 0, {rowCheck}},                                             // top cell above the well
        {0, 6, 19, {rowCheck, rowCheck}},                                  // two cells below the floor
    };
    for (const Case& c : cases) {
        CollectedFailures collected;
        auto shape = makeShape(&board, c.kind, c.centerX, c.centerY, false);
        std::vector<std::string> before = dumpRows(grid);
        grid.place(*shape);

        EXPECT_EQ(dumpRows(grid), before) << "kind " << c.kind << " at " << c.centerX << "," << c.centerY;
        ASSERT_EQ(failures.size(), c.failed.size());
        for (std::size_t i = 0; i < failures.size(); ++i) {
            EXPECT_EQ(failures[i].expression, c.failed[i]);
            EXPECT_TRUE(endsWith(failures[i].file, "blockary.cpp")) << failures[i].file;
            EXPECT_GT(failures[i].line, 0);
        }
    }
}

TEST(Grid, SettingACellOutsideReportsAndWritesNothing)
{
    CollectedFailures collected;
    BlockArray grid(nullptr, kWell.originX, kWell.originY, 24, kWell.columns, kWell.rows);
    grid.setCell(13, 0, 1);
    grid.setCell(0, -1, 1);
    EXPECT_EQ(failures.size(), 2U);
    EXPECT_EQ(dumpRows(grid), expectedGrid({}));
}

}  // namespace
