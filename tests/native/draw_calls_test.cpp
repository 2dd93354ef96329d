// How many surface calls one full repaint of the board makes, in the states
// a player sees most, and that drawing the well in few calls leaves the
// picture of cell-by-cell drawing.
#include <functional>

#include <gtest/gtest.h>

#include "control/well.h"
#include "counting_surface.h"
#include "game_fixtures.h"
#include "recording_host.h"

namespace {

constexpr int kMaxCallsPerRepaint = 100;

// Every row but the top one filled but for one gap, all six kinds mixed.
void fillWell(GameBoard& board)
{
    loadRows(GameBoardAccess::blocks(board),
             {"0123450123.45", "12345.0123450", "234501234.501", "3.45012345012", "450123450.123",
              "501234.501234", "01.3450123450", "1234501.34501", "23450123450.2", "3450.23450123",
              "45012345012.4", "5012.45012345", "012345.123450", "1234501234.01", "2.45012345012",
              "34501234.0123", "450123.501234", "50123450123.5", "012.450123450"});
}

struct DrawCallCase {
    const char* name;
    std::function<void(GameBoard&, surface::CDC&)> setUp;
};

class DrawCalls : public testing::TestWithParam<DrawCallCase> {};

TEST_P(DrawCalls, FullRepaintStaysWithinBudget)
{
    RecordingHost host;
    GameBoard board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY);
    seedForKinds({3, 5, 1});
    board.initGame();
    std::unique_ptr<RasterSurface> dc = host.clientDC();
    GetParam().setUp(board, *dc);

    CountingSurface surface;
    board.draw(surface);
    EXPECT_LE(surface.calls(), kMaxCallsPerRepaint) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(States, DrawCalls,
                         testing::Values(DrawCallCase{"Ready", [](GameBoard&, surface::CDC&) {}},
                                         DrawCallCase{"RunningWithFullWell",
                                                      [](GameBoard& board, surface::CDC& dc) {
                                                          board.togglePreview(dc);
                                                          board.start(dc);
                                                          fillWell(board);
                                                      }},
                                         DrawCallCase{"OverWithFullWell",
                                                      [](GameBoard& board, surface::CDC& dc) {
                                                          board.togglePreview(dc);
                                                          board.start(dc);
                                                          fillWell(board);
                                                          board.quit();
                                                      }}),
                         [](const testing::TestParamInfo<DrawCallCase>& param) {
                             return std::string(param.param.name);
                         });

// The well as it would look drawn one cell at a time: a black square with a
// black outline per empty cell, a white outline around the kind's fill per
// occupied cell.
void drawCellByCell(const BlockArray& grid, RasterSurface& dc)
{
    surface::CPen black(surface::kPenSolid, 1, colorTable[0]);
    surface::CPen white(surface::kPenSolid, 1, colorTable[7]);
    for (int row = 0; row < grid.height(); ++row) {
        for (int column = 0; column < grid.width(); ++column) {
            const int value = grid.cell(column, row);
            surface::CBrush fill(value < 0 ? colorTable[0] : colorTable[value + 1]);
            surface::Selection selection(dc);
            selection.Select(fill);
            selection.Select(value < 0 ? black : white);
            dc.Rectangle((4 + column) * 24, (3 + row) * 24, (5 + column) * 24, (4 + row) * 24);
        }
    }
}

TEST(DrawCalls, FullWellLooksAsDrawnCellByCell)
{
    RecordingHost host;
    GameBoard board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY);
    fillWell(board);
    RasterSurface fewCalls;
    board.blocks().draw(fewCalls);
    RasterSurface cellByCell;
    drawCellByCell(board.blocks(), cellByCell);
    for (int y = 0; y < fewCalls.canvas().height(); ++y) {
        for (int x = 0; x < fewCalls.canvas().width(); ++x) {
            ASSERT_EQ(fewCalls.pixel(x, y), cellByCell.pixel(x, y)) << "at (" << x << ", " << y << ")";
        }
    }
}

}  // namespace
