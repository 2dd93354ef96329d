// The game board: preparation, the state machine with its timer calls,
// speed, landing and scoring, game over, preview and the well's border.
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "control/well.h"
#include "game_fixtures.h"
#include "raster_surface.h"
#include "recording_host.h"

namespace {

using Call = RecordingHost::Call;

class BoardTest : public ::testing::Test {
protected:
    BoardTest() : board(&host, kWell.columns, kWell.rows, kWell.originX, kWell.originY), dc(host.clientDC())
    {
    }

    // Prepares the game with the first two kinds known.
    void prepare(int currentKind = 0, int nextKind = 1)
    {
        seedForKinds({currentKind, nextKind});
        board.initGame();
    }

    // Brings a prepared board into the state.
    void enter(GameState state)
    {
        switch (state) {
            case GameState::Ready:
                break;
            case GameState::Running:
                board.start(*dc);
                break;
            case GameState::Paused:
                board.start(*dc);
                board.togglePause();
                break;
            case GameState::Over:
                blockSpawn();
                break;
        }
        ASSERT_EQ(board.state(), state);
        host.clear();
    }

    // Runs a game with a bar in front of a tower in column 6 until the
    // next shape cannot enter the well.
    void blockSpawn()
    {
        board.start(*dc);
        BlockArray& grid = GameBoardAccess::blocks(board);
        for (int row = 4; row < kWell.rows; ++row) {
            grid.setCell(6, row, 2);
        }
        board.tick(*dc);
    }

    RecordingHost host;
    GameBoard board;
    std::unique_ptr<RasterSurface> dc;
};

TEST_F(BoardTest, InitGamePreparesTwoHiddenShapesInReady)
{
    board.initGame();
    EXPECT_EQ(board.state(), GameState::Ready);
    EXPECT_EQ(board.score(), 0);
    EXPECT_EQ(board.speed(), 3);
    EXPECT_FALSE(board.preview());
    ASSERT_NE(board.current(), nullptr);
    EXPECT_EQ(board.current()->centerX(), 6);
    EXPECT_EQ(board.current()->centerY(), 1);
    EXPECT_FALSE(board.current()->visible());
    ASSERT_NE(board.next(), nullptr);
    EXPECT_EQ(board.next()->centerX(), -3);
    EXPECT_EQ(board.next()->centerY(), 1);
    EXPECT_FALSE(board.next()->visible());
    EXPECT_EQ(host.count(Call::OpenClientDC), 1);
    EXPECT_GE(host.count(Call::Invalidate), 1);
    EXPECT_EQ(host.count(Call::StartTimer) + host.count(Call::StopTimer), 0);
}

struct TransitionCase {
    const char* name;
    GameState from;
    std::function<void(GameBoard&, surface::CDC&)> event;
    GameState to;
    int starts;
    int stops;
    int invalidations;
    int closes;
};

void PrintTo(const TransitionCase& c, std::ostream* os)
{
    *os << c.name;
}

class Transitions : public BoardTest, public ::testing::WithParamInterface<TransitionCase> {};

TEST_P(Transitions, ChangeStateAndTimerAsTabled)
{
    const TransitionCase& c = GetParam();
    prepare();
    enter(c.from);
    c.event(board, *dc);
    EXPECT_EQ(board.state(), c.to);
    EXPECT_EQ(host.count(Call::StartTimer), c.starts);
    EXPECT_EQ(host.count(Call::StopTimer), c.stops);
    EXPECT_EQ(host.count(Call::Invalidate), c.invalidations);
    EXPECT_EQ(host.count(Call::PostClose), c.closes);
}

const auto start = [](GameBoard& b, surface::CDC& dc) { b.start(dc); };
const auto pause = [](GameBoard& b, surface::CDC&) { b.togglePause(); };
const auto quit = [](GameBoard& b, surface::CDC&) { b.quit(); };
const auto keyR = [](GameBoard& b, surface::CDC& dc) { b.commandR(dc); };

INSTANTIATE_TEST_SUITE_P(
    Board, Transitions,
    ::testing::Values(
        TransitionCase{"ReadyStart", GameState::Ready, start, GameState::Running, 1, 0, 1, 0},
        TransitionCase{"RunningPause", GameState::Running, pause, GameState::Paused, 0, 1, 1, 0},
        TransitionCase{"PausedPause", GameState::Paused, pause, GameState::Running, 1, 0, 1, 0},
        TransitionCase{"PausedStart", GameState::Paused, start, GameState::Running, 1, 0, 1, 0},
        TransitionCase{"RunningStart", GameState::Running, start, GameState::Running, 1, 0, 1, 0},
        TransitionCase{"ReadyPause", GameState::Ready, pause, GameState::Ready, 0, 0, 1, 0},
        TransitionCase{"OverPause", GameState::Over, pause, GameState::Over, 0, 0, 1, 0},
        // A new game: two spawns and the start repaint.
        TransitionCase{"OverStart", GameState::Over, start, GameState::Running, 1, 0, 3, 0},
        TransitionCase{"ReadyQuit", GameState::Ready, quit, GameState::Over, 0, 0, 1, 1},
        TransitionCase{"RunningQuit", GameState::Running, quit, GameState::Over, 0, 0, 1, 1},
        TransitionCase{"PausedQuit", GameState::Paused, quit, GameState::Over, 0, 0, 1, 1},
        TransitionCase{"OverQuit", GameState::Over, quit, GameState::Over, 0, 0, 1, 1},
        TransitionCase{"ReadyKeyR", GameState::Ready, keyR, GameState::Ready, 0, 0, 0, 0},
        TransitionCase{"RunningKeyR", GameState::Running, keyR, GameState::Running, 0, 0, 0, 0},
        TransitionCase{"PausedKeyR", GameState::Paused, keyR, GameState::Paused, 0, 0, 0, 0},
        TransitionCase{"OverKeyR", GameState::Over, keyR, GameState::Over, 0, 0, 0, 0}),
    [](const ::testing::TestParamInfo<TransitionCase>& param) { return param.param.name; });

TEST_F(BoardTest, MovesAndRotationsActOnlyWhileRunning)
{
    prepare(0, 1);
    host.clear();
    for (GameState state : {GameState::Ready, GameState::Paused}) {
        if (state == GameState::Paused) {
            enter(GameState::Paused);
        }
        RasterSurface surface;
        board.moveShape(surface, ShapeMove::Left);
        board.moveShape(surface, ShapeMove::Drop);
        board.rotateShape(surface);
        EXPECT_EQ(board.current()->centerX(), 6);
        EXPECT_EQ(board.current()->centerY(), 1);
        EXPECT_EQ(surface.canvas().drawCalls(), 0);
        EXPECT_TRUE(host.calls().empty());
        host.clear();
    }
    board.togglePause();
    ASSERT_EQ(board.state(), GameState::Running);
    host.clear();
    board.moveShape(*dc, ShapeMove::Left);
    board.rotateShape(*dc);
    EXPECT_EQ(board.current()->centerX(), 5);
    EXPECT_EQ(board.current()->offsetX(0), -1);  // the bar lies flat
    EXPECT_TRUE(host.calls().empty());           // drawn at once, no repaint
}

TEST_F(BoardTest, MovesAfterGameOverDoNothing)
{
    prepare();
    enter(GameState::Over);
    RasterSurface surface;
    board.moveShape(surface, ShapeMove::Right);
    board.rotateShape(surface);
    EXPECT_EQ(board.current()->centerX(), -3);
    EXPECT_EQ(surface.canvas().drawCalls(), 0);
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(BoardTest, SpeedIsClampedAfterTheAddition)
{
    struct Step {
        int delta;
        int speed;
    };
    const Step steps[] = {
        {+1, 4}, {-1, 3}, {+5, 8}, {+5, 10}, {+1, 10}, {-9, 1}, {-1, 1}, {INT_MAX, 10}, {INT_MIN, 1},
    };
    for (const Step& step : steps) {
        host.clear();
        board.changeSpeed(step.delta);
        EXPECT_EQ(board.speed(), step.speed) << "delta " << step.delta;
        ASSERT_EQ(host.calls().size(), 2U);
        EXPECT_EQ(host.calls()[0].call, Call::SetSpeed);
        EXPECT_EQ(host.calls()[0].value, step.speed);
        EXPECT_EQ(host.calls()[1].call, Call::Invalidate);
    }
}

TEST_F(BoardTest, TickWithoutAShapeDoesNothing)
{
    board.tick(*dc);
    EXPECT_TRUE(host.calls().empty());
    EXPECT_EQ(board.current(), nullptr);
}

TEST_F(BoardTest, TickMovesTheShapeDownOneRow)
{
    prepare(0, 1);
    enter(GameState::Running);
    board.tick(*dc);
    EXPECT_EQ(board.current()->centerY(), 2);
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(BoardTest, LandingThatFillsFourRowsScoresFour)
{
    prepare(0, 1);
    loadRows(GameBoardAccess::blocks(board),
             {"3..........5.", "111111.111111", "222222.222222", "333333.333333", "444444.444444"});
    enter(GameState::Running);
    board.moveShape(*dc, ShapeMove::Drop);
    host.canvas().texts().clear();
    board.tick(*dc);

    EXPECT_EQ(board.score(), 4);
    std::vector<std::string> rows = dumpRows(board.blocks());
    EXPECT_EQ(rows[19], "3..........5.");
    EXPECT_EQ(rows[18], ".............");
    // The new score is drawn at once, in the score font, before the repaint.
    ASSERT_FALSE(host.canvas().texts().empty());
    EXPECT_EQ(host.canvas().texts().back().text, "4");
    EXPECT_TRUE(host.canvas().texts().back().font.has_value());
    // One repaint for the removed rows, one for the spawn.
    EXPECT_EQ(host.count(Call::Invalidate), 2);
    EXPECT_EQ(board.current()->kind(), 1);
    EXPECT_TRUE(board.current()->visible());
    EXPECT_EQ(board.current()->centerX(), 6);
}

TEST_F(BoardTest, LandingWithoutFullRowsKeepsScoreAndDrawsNoPanel)
{
    prepare(0, 1);
    enter(GameState::Running);
    board.moveShape(*dc, ShapeMove::Drop);
    host.canvas().texts().clear();
    board.tick(*dc);
    EXPECT_EQ(board.score(), 0);
    EXPECT_TRUE(host.canvas().texts().empty());
    EXPECT_EQ(board.blocks().cell(6, 19), 0);
    EXPECT_EQ(host.count(Call::Invalidate), 1);
}

TEST_F(BoardTest, BlockedSpawnEndsTheGame)
{
    prepare(0, 4);
    board.start(*dc);
    const Shape* blocked = board.next();
    host.clear();
    BlockArray& grid = GameBoardAccess::blocks(board);
    for (int row = 4; row < kWell.rows; ++row) {
        grid.setCell(6, row, 2);
    }
    board.tick(*dc);

    EXPECT_EQ(board.state(), GameState::Over);
    EXPECT_EQ(host.count(Call::StopTimer), 1);
    ASSERT_EQ(board.current(), blocked);
    EXPECT_EQ(board.current()->kind(), 4);
    EXPECT_EQ(board.current()->centerX(), -3);
    EXPECT_EQ(board.current()->centerY(), 1);
    EXPECT_FALSE(board.current()->visible());
    ASSERT_NE(board.next(), nullptr);
    EXPECT_NE(board.next(), blocked);
}

TEST_F(BoardTest, LateTickAfterGameOverLeavesTheBlockedShapeAlone)
{
    prepare();
    enter(GameState::Over);
    std::vector<std::string> before = dumpRows(board.blocks());
    const Shape* next = board.next();
    board.tick(*dc);
    EXPECT_EQ(dumpRows(board.blocks()), before);
    EXPECT_EQ(board.current()->centerX(), -3);
    EXPECT_EQ(board.next(), next);
    EXPECT_TRUE(host.calls().empty());
}

TEST_F(BoardTest, StartAfterGameOverBeginsANewGameKeepingSpeedAndPreview)
{
    prepare(0, 4);
    board.togglePreview(*dc);
    board.changeSpeed(+4);
    GameBoardAccess::setScore(board, 7);
    enter(GameState::Over);
    seedForKinds({2, 5});
    board.start(*dc);

    EXPECT_EQ(board.state(), GameState::Running);
    EXPECT_EQ(board.score(), 0);
    EXPECT_EQ(board.speed(), 7);
    EXPECT_TRUE(board.preview());
    for (const std::string& row : dumpRows(board.blocks())) {
        EXPECT_EQ(row, ".............");
    }
    ASSERT_NE(board.current(), nullptr);
    EXPECT_EQ(board.current()->kind(), 2);
    EXPECT_EQ(board.current()->centerX(), 6);
    EXPECT_EQ(board.current()->centerY(), 1);
    EXPECT_TRUE(board.current()->visible());
    ASSERT_NE(board.next(), nullptr);
    EXPECT_EQ(board.next()->kind(), 5);
    EXPECT_EQ(board.next()->centerX(), -3);
    EXPECT_TRUE(board.next()->visible());
    EXPECT_EQ(host.count(Call::StartTimer), 1);
    EXPECT_EQ(host.count(Call::SetSpeed), 0);
    // The new game falls and settles like the first one.
    board.moveShape(*dc, ShapeMove::Drop);
    board.tick(*dc);
    EXPECT_EQ(board.state(), GameState::Running);
    EXPECT_EQ(board.current()->kind(), 5);
}

// Ticks queued before the window closes still reach the board after quit:
// the step does not look at the state.
TEST_F(BoardTest, TickAfterQuitStillMovesTheShape)
{
    prepare(0, 1);
    enter(GameState::Running);
    board.quit();
    board.tick(*dc);
    EXPECT_EQ(board.state(), GameState::Over);
    EXPECT_EQ(board.current()->centerY(), 2);
}

// With the preview on, the shape that does not fit stays visible at the
// preview place, and the new next shape is drawn over it there.
TEST_F(BoardTest, GameOverPictureWithThePreviewOn)
{
    seedForKinds({0, 4, 2});
    board.initGame();
    board.togglePreview(*dc);
    board.start(*dc);
    BlockArray& grid = GameBoardAccess::blocks(board);
    for (int row = 4; row < kWell.rows; ++row) {
        grid.setCell(6, row, 5);
    }
    board.tick(*dc);
    ASSERT_EQ(board.state(), GameState::Over);
    ASSERT_EQ(board.current()->kind(), 4);
    EXPECT_EQ(board.current()->centerX(), -3);
    EXPECT_TRUE(board.current()->visible());
    ASSERT_EQ(board.next()->kind(), 2);
    EXPECT_TRUE(board.next()->visible());

    RasterSurface surface;
    board.draw(surface);
    const surface::COLORREF white = surface::Rgb(255, 255, 255);
    const surface::COLORREF black = surface::Rgb(0, 0, 0);
    auto fillAt = [&](int column, int row) {
        return surface.pixel((4 + column) * 24 + 12, (3 + row) * 24 + 12);
    };
    // The preview: the next shape (kind 2) alone; the cells only the blocked
    // shape (kind 4) covers are white.
    for (int column = -4; column <= -2; ++column) {
        for (int row = 0; row <= 3; ++row) {
            const bool next = (column == -4 && row == 0) || (column == -3 && row <= 2);
            EXPECT_EQ(fillAt(column, row), next ? surface::Rgb(153, 255, 255) : white)
                << column << "," << row;
        }
    }
    // The well: the bar that landed on the tower, nothing else.
    for (int column = 0; column < kWell.columns; ++column) {
        for (int row = 0; row < kWell.rows; ++row) {
            surface::COLORREF expected = black;
            if (column == 6) {
                expected = row < 4 ? surface::Rgb(153, 153, 255) : surface::Rgb(255, 255, 0);
            }
            EXPECT_EQ(fillAt(column, row), expected) << column << "," << row;
        }
    }
    // The four prompts are blank.
    int prompts = 0;
    for (const TextRecord& text : surface.texts()) {
        if (text.y >= 264 && text.y <= 336) {
            EXPECT_EQ(text.text, std::string(99, ' ')) << "prompt at " << text.y;
            ++prompts;
        }
    }
    EXPECT_EQ(prompts, 4);
}

TEST_F(BoardTest, QuitEndsWithoutStoppingTheTimer)
{
    prepare();
    enter(GameState::Running);
    board.quit();
    EXPECT_EQ(board.state(), GameState::Over);
    ASSERT_EQ(host.calls().size(), 2U);
    EXPECT_EQ(host.calls()[0].call, Call::Invalidate);
    EXPECT_EQ(host.calls()[1].call, Call::PostClose);
}

TEST_F(BoardTest, PreviewFlipsInEveryStateAndAffectsOnlyNextShapes)
{
    prepare(0, 1);
    host.clear();
    for (GameState state : {GameState::Ready, GameState::Running, GameState::Paused, GameState::Over}) {
        SCOPED_TRACE(static_cast<int>(state));
        if (state == GameState::Running) {
            enter(GameState::Running);
        } else if (state == GameState::Paused) {
            board.togglePause();
            host.clear();
        } else if (state == GameState::Over) {
            board.quit();
            host.clear();
        }
        bool before = board.preview();
        board.togglePreview(*dc);
        EXPECT_NE(board.preview(), before);
        EXPECT_EQ(board.next()->visible(), board.preview());
        EXPECT_EQ(host.count(Call::Invalidate), 1);
        host.clear();
    }
}

TEST_F(BoardTest, NewNextShapesTakeThePreviewFlag)
{
    prepare(0, 1);
    board.togglePreview(*dc);
    enter(GameState::Running);
    board.moveShape(*dc, ShapeMove::Drop);
    board.tick(*dc);
    EXPECT_TRUE(board.next()->visible());
    board.togglePreview(*dc);
    EXPECT_FALSE(board.next()->visible());
    EXPECT_TRUE(board.current()->visible());  // the promoted shape keeps its own
    board.moveShape(*dc, ShapeMove::Drop);
    board.tick(*dc);
    EXPECT_FALSE(board.next()->visible());
}

TEST_F(BoardTest, BorderIsOneClosedOutlineWithUnequalMargins)
{
    prepare();
    RasterSurface surface;
    board.drawBorder(surface);
    const surface::COLORREF black = surface::Rgb(0, 0, 0);
    const surface::COLORREF white = surface::Rgb(255, 255, 255);
    struct Probe {
        int x;
        int y;
        surface::COLORREF colour;
    };
    const Probe probes[] = {
        {93, 69, black},  {93, 554, black},  {410, 554, black}, {410, 69, black},
        {93, 300, black}, {410, 300, black}, {250, 69, black},  {250, 554, black},
        {92, 300, white}, {94, 300, white},  {411, 300, white}, {409, 300, white},
        {250, 68, white}, {250, 70, white},  {250, 555, white}, {250, 553, white},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(surface.pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    EXPECT_EQ(surface.canvas().drawCalls(), 4);
}

TEST_F(BoardTest, DrawPaintsWellShapesAndPanel)
{
    prepare(2, 5);
    board.togglePreview(*dc);
    enter(GameState::Running);
    RasterSurface surface;
    board.draw(surface);
    // The current shape (kind 2) at its spawn place, the next (kind 5) in the preview.
    EXPECT_EQ(surface.pixel((4 + 6) * 24 + 12, (3 + 1) * 24 + 12), colorTable[3]);
    EXPECT_EQ(surface.pixel((4 - 3) * 24 + 12, (3 + 1) * 24 + 12), colorTable[6]);
    EXPECT_EQ(surface.pixel(60, 72 + 12), colorTable[7]);
    EXPECT_EQ(surface.pixel(96 + 12, 72 + 24 * 19 + 12), colorTable[0]);
    EXPECT_EQ(surface.texts().size(), 27U);
    EXPECT_TRUE(surface.holdsDefaultObjects());
}

}  // namespace
