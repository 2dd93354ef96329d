// The main frame's size and place on the screen, its styles, the view laid
// over its client area, focus, and what minimising does to the game.
#include "control/gameboard.h"
#include "framework/dpi.h"
#include "resource.h"
#include "frame_fixture.h"

namespace {

// The picture at the system's resolution, with no limit on its room.
Layout SystemPicture()
{
    return CChildView::PictureLayout(framework::SystemDpi());
}

struct ScreenCase {
    int width;
    int height;
    FramePlacement expected;
};

class FramePlacementTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(FramePlacementTest, FollowsTheScreenWhenTheGameFits)
{
    const ScreenCase& c = GetParam();
    const FramePlacement p = ComputeFramePlacement(c.width, c.height, SIZE{0, 0});
    EXPECT_EQ(p.cx, c.expected.cx);
    EXPECT_EQ(p.cy, c.expected.cy);
    EXPECT_EQ(p.x, c.expected.x);
    EXPECT_EQ(p.y, c.expected.y);
}

INSTANTIATE_TEST_SUITE_P(Screens, FramePlacementTest,
                         ::testing::Values(ScreenCase{1920, 1080, {540, 106, 840, 640}},
                                           ScreenCase{1280, 1024, {234, 102, 812, 612}},
                                           ScreenCase{1366, 768, {341, 80, 684, 484}}));

TEST(FrameMinimumTest, GrowsToShowTheWholeGameButStaysOnTheScreen)
{
    const SIZE minimum{760, 620};
    FramePlacement p = ComputeFramePlacement(1366, 768, minimum);
    EXPECT_EQ(p.cx, 760);
    EXPECT_EQ(p.cy, 620);
    EXPECT_EQ(p.x, 303) << "centred across";
    EXPECT_EQ(p.y, 103);

    p = ComputeFramePlacement(800, 600, minimum);
    EXPECT_EQ(p.cx, 760);
    EXPECT_EQ(p.cy, 600) << "taller than the screen";
    EXPECT_EQ(p.y, 0) << "pushed off the bottom";

    p = ComputeFramePlacement(1920, 1080, minimum);
    EXPECT_EQ(p.cx, 840) << "the formula's larger size holds";
    EXPECT_EQ(p.cy, 640);
}

TEST(FrameMinimumTest, RealMinimumKeepsTheLargeScreenSizeAndCoversTheWell)
{
    const SIZE minimum = CMainFrame::MinimumWindowSize(CMainFrame::kFrameStyle, 0, SystemPicture());
    const FramePlacement p = ComputeFramePlacement(1920, 1080, minimum);
    EXPECT_EQ(p.cx, 840);
    EXPECT_EQ(p.cy, 640);
    const SIZE client = CChildView::MinimumClientSize(SystemPicture());
    EXPECT_GE(client.cx, 411) << "the well's right border";
    EXPECT_GE(client.cy, 555) << "the well's bottom border";

    // A smaller screen gets the window grown to show the whole game.
    const FramePlacement small = ComputeFramePlacement(1366, 768, minimum);
    EXPECT_EQ(small.cx, 693);
    EXPECT_EQ(small.cy, 611);
}

// The program's frame picks its own class; a plain frame's class carries the
// icon of the resource it was loaded from, and none when that has no icon.
TEST(PlainFrameTest, ClassCarriesTheIconOfTheResourceItWasLoadedFrom)
{
    for (const UINT id : {IDR_MAINFRAME, IDR_CONTEXT_MENU}) {
        auto* frame = new CFrameWnd;  // deletes itself with its window
        ASSERT_TRUE(frame->LoadFrame(id, WS_OVERLAPPEDWINDOW, nullptr, nullptr)) << "resource " << id;
        const HWND window = frame->m_hWnd;
        const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
        EXPECT_EQ(icon != nullptr, id == IDR_MAINFRAME) << "resource " << id;
        EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON)), icon) << "resource " << id;
        DestroyWindow(window);
    }
}

using FrameWindowTest = GameWindowTest;

TEST_F(FrameWindowTest, HasTheFixedStyleCaptionAndPlace)
{
    const LONG style = GetWindowLongW(frameWindow(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "resizable";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "maximisable";
    EXPECT_FALSE(GetWindowLongW(frameWindow(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    wchar_t caption[32]{};
    GetWindowTextW(frameWindow(), caption, 32);
    EXPECT_STREQ(caption, L"落磚樂");

    // The Windows tests' screen is 1920 x 1080: the window is 840 x 640,
    // centred across and a third of the spare height above it.
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    RECT window{};
    GetWindowRect(frameWindow(), &window);
    EXPECT_EQ(window.left, 540);
    EXPECT_EQ(window.top, 106);
    EXPECT_EQ(window.right - window.left, 840);
    EXPECT_EQ(window.bottom - window.top, 640);
}

TEST_F(FrameWindowTest, ViewFillsTheClientAreaAndTakesTheFocus)
{
    EXPECT_EQ(GetDlgItem(frameWindow(), AFX_IDW_PANE_FIRST), viewWindow());
    const LONG style = GetWindowLongW(viewWindow(), GWL_STYLE);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(style & WS_BORDER);
    EXPECT_TRUE(GetWindowLongW(viewWindow(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    RECT frameClient{};
    GetClientRect(frameWindow(), &frameClient);
    RECT viewRect{};
    GetWindowRect(viewWindow(), &viewRect);
    MapWindowPoints(nullptr, frameWindow(), reinterpret_cast<POINT*>(&viewRect), 2);
    EXPECT_EQ(viewRect.left, 0);
    EXPECT_EQ(viewRect.top, 0);
    EXPECT_EQ(viewRect.right, frameClient.right);
    EXPECT_EQ(viewRect.bottom, frameClient.bottom);

    SetFocus(frameWindow());
    PumpPending();
    EXPECT_EQ(GetFocus(), viewWindow()) << "the frame kept the focus";
}

struct MinimiseCase {
    const char* name;
    std::vector<GameKey> keys;
    GameState before;
    GameState after;
};

class FrameMinimiseTest : public GameWindowTest, public ::testing::WithParamInterface<MinimiseCase> {};

TEST_P(FrameMinimiseTest, PausesARunningGameOnlyAndRestoringChangesNothing)
{
    const MinimiseCase& c = GetParam();
    for (const GameKey& key : c.keys)
        PressKey(key.vk, key.scan);
    ASSERT_EQ(view().board().state(), c.before);
    ShowWindow(frameWindow(), SW_MINIMIZE);
    PumpPending();
    EXPECT_EQ(view().board().state(), c.after) << c.name << ": after minimising";
    ShowWindow(frameWindow(), SW_RESTORE);
    PumpPending();
    EXPECT_EQ(view().board().state(), c.after) << c.name << ": after restoring";
}

INSTANTIATE_TEST_SUITE_P(
    States, FrameMinimiseTest,
    ::testing::Values(MinimiseCase{"running", {kKeyG}, GameState::Running, GameState::Paused},
                      MinimiseCase{"paused", {kKeyG, kKeyP}, GameState::Paused, GameState::Paused},
                      MinimiseCase{"ready", {}, GameState::Ready, GameState::Ready}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
