// The fuzz target's driver: each of its checks catches the fault it is
// there for, a failed invariant among them, and the seed corpus plays clean.
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "board_driver.h"
#include "control/well.h"
#include "game_fixtures.h"
#include "model/invariant.h"

namespace {

std::shared_ptr<Canvas> picture()
{
    return std::make_shared<Canvas>(BoardDriver::kPictureWidth, BoardDriver::kPictureHeight);
}

struct PlantedFault {
    const char* name;
    std::function<void(BoardDriver&)> plant;
    const char* reported;
};

void PrintTo(const PlantedFault& fault, std::ostream* out)
{
    *out << fault.name;
}

class PlantedFaultTest : public ::testing::TestWithParam<PlantedFault> {};

TEST_P(PlantedFaultTest, IsReported)
{
    BoardDriver driver(1, picture());
    ASSERT_EQ(driver.checkPosition(), "");
    GetParam().plant(driver);
    EXPECT_NE(driver.checkPosition().find(GetParam().reported), std::string::npos) << driver.checkPosition();
}

void startGame(BoardDriver& driver)
{
    RasterSurface dc(1, 1);
    driver.board().start(dc);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, PlantedFaultTest,
    ::testing::Values(
        PlantedFault{"FailedInvariant", [](BoardDriver&) { checkInvariant(false, "planted", "grid.cpp", 7); },
                     "invariant failed: planted at grid.cpp:7"},
        PlantedFault{"CellOutOfRange",
                     [](BoardDriver& d) { GameBoardAccess::blocks(d.board()).setCell(0, 19, 6); },
                     "cell value 6"},
        PlantedFault{"FloatingRow",
                     [](BoardDriver& d) { GameBoardAccess::blocks(d.board()).setCell(3, 10, 2); },
                     "empty row 11 below a row with cells"},
        PlantedFault{"RunningShapeOnCells",
                     [](BoardDriver& d) {
                         startGame(d);
                         GameBoardAccess::blocks(d.board()).setCell(6, 1, 0);
                         for (int row = 2; row < kWell.rows; ++row) {
                             GameBoardAccess::blocks(d.board()).setCell(0, row, 0);
                         }
                     },
                     "the running shape overlaps settled cells"},
        PlantedFault{"ScoreWithoutRows", [](BoardDriver& d) { GameBoardAccess::setScore(d.board(), 1); },
                     "score 1 after 0 rows removed"},
        PlantedFault{"TimerStoppedWhileRunning",
                     [](BoardDriver& d) {
                         startGame(d);
                         d.host().stopGameTimer();
                     },
                     "the timer is stopped in Running"},
        PlantedFault{"SpeedNotPassedOn", [](BoardDriver& d) { d.host().setSpeedLevel(4); },
                     "speed 3, the view's level 4"}),
    [](const ::testing::TestParamInfo<PlantedFault>& param) { return std::string(param.param.name); });

// Where a gravity step may move a shape: the independent rule the driver
// holds every step against.
TEST(GridOracleTest, CellsFreeOnlyInsideTheWellOnEmptyCells)
{
    Cells cells;
    cells.fill(-1);
    cells[19 * kWell.columns + 5] = 2;  // one settled cell, bottom row, column 5
    const std::pair<int, int> bar[] = {{5, 15}, {5, 16}, {5, 17}, {5, 18}};
    struct Case {
        int rowsDown;
        bool free;
    } cases[] = {{0, true}, {1, false}, {-15, true}, {-16, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(cellsFree(cells, bar, 4, c.rowsDown), c.free) << c.rowsDown << " rows down";
    }
    const std::pair<int, int> besideTheWell[] = {{-1, 0}};
    EXPECT_FALSE(cellsFree(cells, besideTheWell, 1, 0));
    const std::pair<int, int> onTheFloor[] = {{0, 19}};
    EXPECT_TRUE(cellsFree(cells, onTheFloor, 1, 0));
    EXPECT_FALSE(cellsFree(cells, onTheFloor, 1, 1));
}

TEST(BoardDriverTest, SeedCorpusPlaysWithoutFailure)
{
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_CORPUS_DIR)) {
        std::ifstream file(entry.path(), std::ios::binary);
        std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(file)),
                                       std::istreambuf_iterator<char>());
        EXPECT_EQ(playBoardInput(data.data(), data.size()), "") << entry.path();
        ++inputs;
    }
    EXPECT_GE(inputs, 5);
}

}  // namespace
