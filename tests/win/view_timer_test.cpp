// The view's gravity timer: when it starts, stops and is re-timed, and which
// timer messages make the game fall.
#include "control/gameboard.h"
#include "frame_fixture.h"

namespace {

using ViewTimerTest = GameWindowTest;

TEST_F(ViewTimerTest, RunsOnlyWhileTheGameRuns)
{
    EXPECT_EQ(view().timerId(), 0u) << "no timer before the game starts";
    PressKey(kKeyG.vk, kKeyG.scan);
    ASSERT_EQ(view().board().state(), GameState::Running);
    EXPECT_EQ(view().timerId(), CChildView::kGravityTimerId);
    PressKey(kKeyP.vk, kKeyP.scan);
    ASSERT_EQ(view().board().state(), GameState::Paused);
    EXPECT_EQ(view().timerId(), 0u) << "pausing stops the timer";
    PressKey(kKeyP.vk, kKeyP.scan);
    ASSERT_EQ(view().board().state(), GameState::Running);
    EXPECT_EQ(view().timerId(), CChildView::kGravityTimerId) << "continuing starts it again";
}

TEST_F(ViewTimerTest, StartAndStopAreIdempotent)
{
    view().startGameTimer();
    view().startGameTimer();
    EXPECT_EQ(view().timerId(), CChildView::kGravityTimerId);
    view().stopGameTimer();
    EXPECT_EQ(view().timerId(), 0u);
    view().stopGameTimer();
    EXPECT_EQ(view().timerId(), 0u);
}

TEST_F(ViewTimerTest, SpeedKeysRecordTheLevelAndKeepARunningTimer)
{
    PressKey(kKeyI.vk, kKeyI.scan);
    EXPECT_EQ(view().speedLevel(), 4);
    EXPECT_EQ(view().timerId(), 0u) << "a stopped timer stays stopped";
    PressKey(kKeyG.vk, kKeyG.scan);
    PressKey(kKeyD.vk, kKeyD.scan);
    PressKey(kKeyD.vk, kKeyD.scan);
    EXPECT_EQ(view().speedLevel(), 2);
    EXPECT_EQ(view().timerId(), CChildView::kGravityTimerId) << "re-timed, still running";
    // The new timer still serves the game: its expiry is a gravity step.
    const int row = view().board().current()->centerY();
    ASSERT_TRUE(PumpUntil([&] { return view().board().current()->centerY() != row; }))
        << "no gravity step after the speed change";
}

TEST_F(ViewTimerTest, OnlyTheGravityTimerMakesTheShapeFall)
{
    PressKey(kKeyG.vk, kKeyG.scan);
    const Shape* shape = view().board().current();
    ASSERT_NE(shape, nullptr);
    const int row = shape->centerY();
    // Sent, not posted: nothing else runs in between.
    SendMessageW(viewWindow(), WM_TIMER, CChildView::kGravityTimerId + 1, 0);
    EXPECT_EQ(view().board().current()->centerY(), row) << "a foreign timer made the shape fall";
    SendMessageW(viewWindow(), WM_TIMER, CChildView::kGravityTimerId, 0);
    EXPECT_EQ(view().board().current()->centerY(), row + 1);
}

TEST_F(ViewTimerTest, NoGravityStepWhileNoTimerRuns)
{
    const int row = view().board().current()->centerY();
    SendMessageW(viewWindow(), WM_TIMER, CChildView::kGravityTimerId, 0);
    EXPECT_EQ(view().board().current()->centerY(), row) << "a stale expiry made the shape fall";
}

}  // namespace
