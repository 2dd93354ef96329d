// Falling shapes: moves, drops, rotation, repositioning, visibility and
// their looks on the raster surface.
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "control/well.h"
#include "game_fixtures.h"
#include "raster_surface.h"
#include "recording_host.h"

namespace {

using Cell = std::pair<int, int>;

std::set<Cell> cellsOf(const Shape& shape)
{
    std::set<Cell> cells;
    for (int i = 0; i < shape.cellCount(); ++i) {
        cells.insert({shape.centerX() + shape.offsetX(i), shape.centerY() + shape.offsetY(i)});
    }
    return cells;
}

std::set<Cell> offsetsOf(const Shape& shape)
{
    std::set<Cell> offsets;
    for (int i = 0; i < shape.cellCount(); ++i) {
        offsets.insert({shape.offsetX(i), shape.offsetY(i)});
    }
    return offsets;
}

// Centre pixel and top-left pixel of a grid cell.
int cellLeft(int column)
{
    return (4 + column) * 24;
}
int cellTop(int row)
{
    return (3 + row) * 24;
}

class ShapeTest : public ::testing::Test {
protected:
    ShapeTest()
        : board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY),
          grid(GameBoardAccess::blocks(board))
    {
    }

    RecordingHost host;
    GameBoard board;
    BlockArray& grid;
    RasterSurface dc;
};

TEST_F(ShapeTest, KindsMatchTheirTable)
{
    for (int kind = 0; kind < 6; ++kind) {
        auto shape = makeShape(&board, kind, 6, 5, false);
        ASSERT_EQ(shape->kind(), kind);
        ASSERT_EQ(shape->cellCount(), 4);
        bool hasCentre = false;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(shape->offsetX(i), shapeKinds[kind][i][0]);
            EXPECT_EQ(shape->offsetY(i), shapeKinds[kind][i][1]);
            hasCentre = hasCentre || (shape->offsetX(i) == 0 && shape->offsetY(i) == 0);
        }
        EXPECT_TRUE(hasCentre) << "kind " << kind;
    }
}

TEST_F(ShapeTest, BarDropsSixteenRowsOnAnEmptyWell)
{
    auto bar = makeShape(&board, 0, 6, 1, true);
    EXPECT_EQ(bar->move(dc, ShapeMove::Drop), 16);
    EXPECT_EQ(bar->centerY(), 17);
    EXPECT_EQ(cellsOf(*bar), (std::set<Cell>{{6, 16}, {6, 17}, {6, 18}, {6, 19}}));
    // Drawn at its final rows, erased black above them.
    EXPECT_EQ(dc.pixel(cellLeft(6) + 12, cellTop(19) + 12), colorTable[1]);
    EXPECT_EQ(dc.pixel(cellLeft(6) + 12, cellTop(15) + 12), colorTable[0]);
    EXPECT_EQ(dc.pixel(cellLeft(6) + 12, cellTop(0) + 12), colorTable[0]);
    // Nothing was written into the grid.
    EXPECT_EQ(grid.cell(6, 19), -1);
}

TEST_F(ShapeTest, DropOnARestingShapeReturnsZeroAndDrawsNothing)
{
    auto onFloor = makeShape(&board, 0, 6, 17, true);
    EXPECT_EQ(onFloor->move(dc, ShapeMove::Drop), 0);
    EXPECT_EQ(onFloor->centerY(), 17);

    grid.setCell(2, 19, 3);
    auto onCell = makeShape(&board, 0, 2, 16, true);
    EXPECT_EQ(onCell->move(dc, ShapeMove::Drop), 0);
    EXPECT_EQ(onCell->centerY(), 16);
    EXPECT_EQ(dc.canvas().drawCalls(), 0);
}

TEST_F(ShapeTest, SingleStepMovesStopAtWallsAndFloor)
{
    struct Case {
        int centerX;
        int centerY;
        ShapeMove code;
        int result;
        int endX;
        int endY;
    };
    const Case cases[] = {
        {6, 5, ShapeMove::Right, 1, 7, 5},          {12, 5, ShapeMove::Right, 0, 12, 5},
        {6, 5, ShapeMove::Left, 1, 5, 5},           {0, 5, ShapeMove::Left, 0, 0, 5},
        {6, 5, ShapeMove::Down, 1, 6, 6},           {6, 17, ShapeMove::Down, 0, 6, 17},
        {6, 5, static_cast<ShapeMove>(4), 0, 6, 5}, {6, 5, static_cast<ShapeMove>(-1), 0, 6, 5},
    };
    for (const Case& c : cases) {
        RasterSurface surface;
        auto bar = makeShape(&board, 0, c.centerX, c.centerY, true);
        EXPECT_EQ(bar->move(surface, c.code), c.result);
        EXPECT_EQ(bar->centerX(), c.endX);
        EXPECT_EQ(bar->centerY(), c.endY);
        // A move that fails draws nothing; one that fits erases and redraws.
        EXPECT_EQ(surface.canvas().drawCalls(), c.result == 0 ? 0 : 8);
    }
}

TEST_F(ShapeTest, BarTurnsFlatOnceAndIsRefusedAtTheTop)
{
    auto bar = makeShape(&board, 0, 6, 1, true);
    EXPECT_TRUE(bar->rotate(dc));
    EXPECT_EQ(cellsOf(*bar), (std::set<Cell>{{5, 1}, {6, 1}, {7, 1}, {8, 1}}));

    int callsBefore = dc.canvas().drawCalls();
    EXPECT_FALSE(bar->rotate(dc));  // would need row -1
    EXPECT_EQ(cellsOf(*bar), (std::set<Cell>{{5, 1}, {6, 1}, {7, 1}, {8, 1}}));
    EXPECT_EQ(dc.canvas().drawCalls(), callsBefore);
}

TEST_F(ShapeTest, SquareStepsLeftDownRightUpAsItTurns)
{
    auto square = makeShape(&board, 1, 6, 5, true);
    const std::set<Cell> steps[] = {
        {{-1, -1}, {-1, 0}, {0, -1}, {0, 0}},
        {{-1, 0}, {-1, 1}, {0, 0}, {0, 1}},
        {{0, 0}, {0, 1}, {1, 0}, {1, 1}},
        {{0, -1}, {0, 0}, {1, -1}, {1, 0}},
    };
    for (const std::set<Cell>& expected : steps) {
        EXPECT_TRUE(square->rotate(dc));
        EXPECT_EQ(offsetsOf(*square), expected);
    }
}

TEST_F(ShapeTest, SquareInTheFirstColumnCannotTurn)
{
    auto square = makeShape(&board, 1, 0, 5, true);
    EXPECT_FALSE(square->rotate(dc));
    EXPECT_EQ(cellsOf(*square), (std::set<Cell>{{0, 4}, {0, 5}, {1, 4}, {1, 5}}));
}

TEST_F(ShapeTest, RotationIsRefusedNextToSettledCells)
{
    grid.setCell(7, 5, 2);
    auto bar = makeShape(&board, 0, 6, 5, true);
    EXPECT_FALSE(bar->rotate(dc));
    EXPECT_EQ(offsetsOf(*bar), (std::set<Cell>{{0, -1}, {0, 0}, {0, 1}, {0, 2}}));
}

TEST_F(ShapeTest, MoveToABlockedPlaceKeepsThePreviewPosition)
{
    grid.setCell(6, 1, 4);
    auto shape = makeShape(&board, 2, -3, 1, true);
    EXPECT_FALSE(shape->moveTo(dc, 6, 1));
    EXPECT_EQ(shape->centerX(), -3);
    EXPECT_EQ(shape->centerY(), 1);
    EXPECT_EQ(dc.canvas().drawCalls(), 0);
}

TEST_F(ShapeTest, MoveToFromThePreviewLeavesItsOldCellsBlack)
{
    auto bar = makeShape(&board, 0, -3, 1, true);
    bar->draw(dc);
    // In the preview the bar stands in pixel column 24 .. 47 (grid column -3).
    EXPECT_EQ(dc.pixel(36, 96 + 12), colorTable[1]);
    EXPECT_TRUE(bar->moveTo(dc, 6, 1));
    EXPECT_EQ(dc.pixel(36, 96 + 12), colorTable[0]);
    EXPECT_EQ(dc.pixel(12, 96 + 12), colorTable[7]);  // the rest of the preview stays white
    EXPECT_EQ(dc.pixel(cellLeft(6) + 12, cellTop(1) + 12), colorTable[1]);
}

TEST_F(ShapeTest, HidingInThePreviewClearsItWhite)
{
    auto shape = makeShape(&board, 5, -3, 1, true);
    shape->draw(dc);
    int callsBefore = dc.canvas().drawCalls();
    shape->setVisible(dc, false);
    EXPECT_FALSE(shape->visible());
    EXPECT_EQ(dc.canvas().drawCalls(), callsBefore + 1);
    EXPECT_TRUE(dc.canvas().allOf(0, 72, 72, 168, colorTable[7]));
}

TEST_F(ShapeTest, HidingInTheWellDrawsNothingAndLeavesTheCells)
{
    auto shape = makeShape(&board, 3, 6, 5, true);
    shape->draw(dc);
    int callsBefore = dc.canvas().drawCalls();
    shape->setVisible(dc, false);
    EXPECT_EQ(dc.canvas().drawCalls(), callsBefore);
    EXPECT_EQ(dc.pixel(cellLeft(6) + 12, cellTop(5) + 12), colorTable[4]);
}

TEST_F(ShapeTest, EachKindIsFilledInItsColourOutlinedWhiteAndErasedBlack)
{
    for (int kind = 0; kind < 6; ++kind) {
        RasterSurface surface;
        auto shape = makeShape(&board, kind, 6, 5, true);
        shape->draw(surface);
        for (const Cell& cell : cellsOf(*shape)) {
            int left = cellLeft(cell.first);
            int top = cellTop(cell.second);
            EXPECT_EQ(surface.pixel(left + 12, top + 12), colorTable[kind + 1]) << "kind " << kind;
            EXPECT_EQ(surface.pixel(left, top + 12), colorTable[7]) << "kind " << kind;
            EXPECT_EQ(surface.pixel(left + 23, top + 23), colorTable[7]) << "kind " << kind;
        }
        shape->erase(surface);
        for (const Cell& cell : cellsOf(*shape)) {
            EXPECT_TRUE(surface.canvas().allOf(cellLeft(cell.first), cellTop(cell.second),
                                               cellLeft(cell.first) + 24, cellTop(cell.second) + 24,
                                               colorTable[0]))
                << "kind " << kind;
        }
        EXPECT_TRUE(surface.holdsDefaultObjects());
    }
}

// Each kind's cells and fill written out, not taken from the game's own
// tables: a mirrored kind, two equal kinds or two swapped colours show here.
TEST_F(ShapeTest, EachKindHasItsOwnCellsAndFill)
{
    struct Look {
        std::set<Cell> offsets;
        surface::COLORREF fill;
    };
    const Look looks[6] = {
        {{{0, -1}, {0, 0}, {0, 1}, {0, 2}}, surface::Rgb(153, 153, 255)},
        {{{0, -1}, {0, 0}, {1, 0}, {1, -1}}, surface::Rgb(153, 255, 153)},
        {{{-1, -1}, {0, -1}, {0, 0}, {0, 1}}, surface::Rgb(153, 255, 255)},
        {{{1, -1}, {0, -1}, {0, 0}, {0, 1}}, surface::Rgb(255, 153, 153)},
        {{{1, -1}, {1, 0}, {0, 0}, {0, 1}}, surface::Rgb(255, 153, 255)},
        {{{-1, -1}, {-1, 0}, {0, 0}, {0, 1}}, surface::Rgb(255, 255, 0)},
    };
    for (int kind = 0; kind < 6; ++kind) {
        RasterSurface surface;
        auto shape = makeShape(&board, kind, 6, 5, true);
        EXPECT_EQ(offsetsOf(*shape), looks[kind].offsets) << "kind " << kind;
        shape->draw(surface);
        for (int column = 4; column <= 8; ++column) {
            for (int row = 3; row <= 7; ++row) {
                const bool inShape = looks[kind].offsets.count({column - 6, row - 5}) != 0;
                EXPECT_EQ(surface.pixel(cellLeft(column) + 12, cellTop(row) + 12),
                          inShape ? looks[kind].fill : surface::Rgb(255, 255, 255))
                    << "kind " << kind << " cell " << column << "," << row;
            }
        }
    }
}

// Every change that fits leaves the old cells black and the new ones filled,
// the cells shared by both included.
TEST_F(ShapeTest, ChangesEraseTheOldPlaceAndDrawTheNewOne)
{
    struct Change {
        const char* name;
        std::function<bool(Shape&, surface::CDC&)> apply;
    };
    const Change changes[] = {
        {"right", [](Shape& s, surface::CDC& on) { return s.move(on, ShapeMove::Right) == 1; }},
        {"left", [](Shape& s, surface::CDC& on) { return s.move(on, ShapeMove::Left) == 1; }},
        {"down", [](Shape& s, surface::CDC& on) { return s.move(on, ShapeMove::Down) == 1; }},
        {"drop", [](Shape& s, surface::CDC& on) { return s.move(on, ShapeMove::Drop) > 0; }},
        {"rotate", [](Shape& s, surface::CDC& on) { return s.rotate(on); }},
        {"moveTo", [](Shape& s, surface::CDC& on) { return s.moveTo(on, 3, 9); }},
    };
    const surface::COLORREF fill = surface::Rgb(153, 255, 255);  // kind 2
    for (const Change& change : changes) {
        RasterSurface surface;
        auto shape = makeShape(&board, 2, 6, 5, true);
        shape->draw(surface);
        const std::set<Cell> before = cellsOf(*shape);
        ASSERT_TRUE(change.apply(*shape, surface)) << change.name;
        const std::set<Cell> after = cellsOf(*shape);
        for (const Cell& cell : before) {
            if (after.count(cell) == 0) {
                EXPECT_EQ(surface.pixel(cellLeft(cell.first) + 12, cellTop(cell.second) + 12),
                          surface::Rgb(0, 0, 0))
                    << change.name << ": old cell " << cell.first << "," << cell.second;
            }
        }
        for (const Cell& cell : after) {
            EXPECT_EQ(surface.pixel(cellLeft(cell.first) + 12, cellTop(cell.second) + 12), fill)
                << change.name << ": new cell " << cell.first << "," << cell.second;
        }
    }
}

// The preview area is three cells wide and four rows high: a vertical bar
// fills its whole height, and the next shape drawn there clears all of it
// and nothing around it.
TEST_F(ShapeTest, ThePreviewIsClearedOverItsFourRows)
{
    const surface::COLORREF marker = surface::Rgb(1, 2, 3);
    dc.canvas().fill(0, 48, 96, 192, marker);
    auto bar = makeShape(&board, 0, -3, 1, true);
    bar->draw(dc);
    EXPECT_EQ(dc.pixel(36, 144 + 12), surface::Rgb(153, 153, 255));  // the bar's lowest cell
    auto next = makeShape(&board, 5, -3, 1, false);
    next->draw(dc);
    EXPECT_TRUE(dc.canvas().allOf(0, 72, 72, 168, surface::Rgb(255, 255, 255)));
    EXPECT_TRUE(dc.canvas().allOf(0, 48, 96, 72, marker));
    EXPECT_TRUE(dc.canvas().allOf(0, 168, 96, 192, marker));
    EXPECT_TRUE(dc.canvas().allOf(72, 72, 96, 168, marker));
}

TEST_F(ShapeTest, InvisibleShapeInTheWellDrawsNothing)
{
    auto shape = makeShape(&board, 4, 6, 5, false);
    shape->draw(dc);
    EXPECT_EQ(dc.canvas().drawCalls(), 0);
}

// Wells placed elsewhere in the picture: the preview area stays at the
// picture's left edge, level with the well's top, and the next shape waits
// where every kind lies inside it.
struct PlacementCase {
    int originX;
    int originY;
    int cellSize;
};

void PrintTo(const PlacementCase& c, std::ostream* os)
{
    *os << "origin (" << c.originX << ", " << c.originY << "), cell " << c.cellSize;
}

class PreviewPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PreviewPlacement, EveryKindWaitsInsideThePreviewArea)
{
    const PlacementCase& c = GetParam();
    const CellGeometry geometry{c.originX, c.originY, c.cellSize, 1};
    const surface::CRect preview = geometry.preview();
    EXPECT_EQ(preview.left, 0);
    EXPECT_EQ(preview.top, c.originY * c.cellSize);
    EXPECT_EQ(preview.right, 3 * c.cellSize);
    EXPECT_EQ(preview.bottom, (c.originY + 4) * c.cellSize);
    const GridCell centre = geometry.previewCentre();
    for (int kind = 0; kind < 6; ++kind) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        seedForKinds({kind});
        const Shape shape(nullptr, c.originX, c.originY, c.cellSize, centre.column, centre.row, true);
        EXPECT_TRUE(shape.waiting());
        for (int i = 0; i < shape.cellCount(); ++i) {
            EXPECT_TRUE(geometry.inPreview(centre.column + shape.offsetX(i), centre.row + shape.offsetY(i)));
        }
        const surface::CRect bounds = shape.bounds();
        EXPECT_GE(bounds.left, preview.left);
        EXPECT_GE(bounds.top, preview.top);
        EXPECT_LE(bounds.right, preview.right);
        EXPECT_LE(bounds.bottom, preview.bottom);
    }
}

// The next shape of a board whose well lies further right still waits in the
// preview area, and the board's picture clears all of it and nothing more.
TEST_P(PreviewPlacement, BoardClearsThePreviewWhereItsNextShapeWaits)
{
    // A board's cells are 24 pixels until it is laid out.
    const PlacementCase c{GetParam().originX, GetParam().originY, 24};
    RecordingHost host;
    GameBoard board(&host, kWell.columns, kWell.rows, c.originX, c.originY);
    board.initGame();
    ASSERT_NE(board.next(), nullptr);
    EXPECT_TRUE(board.next()->waiting());
    EXPECT_FALSE(board.current()->waiting()) << "the current shape entered the well";
    const surface::COLORREF marker = surface::Rgb(1, 2, 3);
    RasterSurface dc(840, 800);
    dc.canvas().fill(0, 0, 840, 800, marker);
    board.next()->draw(dc);
    const surface::CRect preview = CellGeometry{c.originX, c.originY, c.cellSize, 1}.preview();
    EXPECT_TRUE(dc.canvas().allOf(preview.left, preview.top, preview.right, preview.bottom, colorTable[7]));
    EXPECT_TRUE(dc.canvas().allOf(preview.right, preview.top, preview.right + 24, preview.bottom, marker));
    EXPECT_TRUE(dc.canvas().allOf(0, preview.bottom, preview.right, preview.bottom + 24, marker));
}

INSTANTIATE_TEST_SUITE_P(Wells, PreviewPlacement,
                         ::testing::Values(PlacementCase{4, 3, 24}, PlacementCase{6, 3, 24},
                                           PlacementCase{5, 2, 24}, PlacementCase{4, 3, 36}),
                         [](const auto& param) {
                             return "origin" + std::to_string(param.param.originX) + "_" +
                                    std::to_string(param.param.originY) + "_cell" +
                                    std::to_string(param.param.cellSize);
                         });

// The pixels a shape covers, as a caret over the falling shape would take
// them: every cell's rectangle, and nothing beyond.
TEST(ShapeBounds, CoverExactlyTheShapesCellsAfterEveryTurn)
{
    RecordingHost host;
    GameBoard board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY);
    for (int kind = 0; kind < 6; ++kind) {
        auto shape = makeShape(&board, kind, 6, 5, true);
        RasterSurface dc;
        for (int turn = 0; turn < 4; ++turn) {
            SCOPED_TRACE("kind " + std::to_string(kind) + ", turn " + std::to_string(turn));
            const surface::CRect bounds = shape->bounds();
            int left = 1000;
            int top = 1000;
            int right = -1000;
            int bottom = -1000;
            for (int i = 0; i < shape->cellCount(); ++i) {
                const int column = shape->centerX() + shape->offsetX(i);
                const int row = shape->centerY() + shape->offsetY(i);
                left = std::min(left, cellLeft(column));
                top = std::min(top, cellTop(row));
                right = std::max(right, cellLeft(column) + 24);
                bottom = std::max(bottom, cellTop(row) + 24);
            }
            EXPECT_EQ(bounds.left, left);
            EXPECT_EQ(bounds.top, top);
            EXPECT_EQ(bounds.right, right);
            EXPECT_EQ(bounds.bottom, bottom);
            ASSERT_TRUE(shape->rotate(dc));
        }
    }
}

}  // namespace
