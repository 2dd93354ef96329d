// The window and its picture fitted to the monitor's work area: a wanted
// place kept inside a work area, the window's size and place for a table of
// screens and resolutions, and the real window when the work area shrinks
// and grows back.
#include "control/gameboard.h"
#include "framework/dpi.h"
#include "frame_fixture.h"

#include <iostream>
#include <string>

namespace {

bool Inside(const FramePlacement& p, const RECT& area)
{
    return p.x >= area.left && p.y >= area.top && p.x + p.cx <= area.right && p.y + p.cy <= area.bottom;
}

struct WorkAreaCase {
    const char* name;
    FramePlacement wanted;
    SIZE minimum;
    RECT workArea;
    FramePlacement expected;
};

class FitIntoWorkAreaTest : public ::testing::TestWithParam<WorkAreaCase> {};

TEST_P(FitIntoWorkAreaTest, KeepsTheWindowInside)
{
    const WorkAreaCase& c = GetParam();
    const RECT monitor{0, 0, 1366, 768};
    const FramePlacement p = FitIntoWorkArea(c.wanted, c.minimum, monitor, c.workArea);
    EXPECT_EQ(p.x, c.expected.x);
    EXPECT_EQ(p.y, c.expected.y);
    EXPECT_EQ(p.cx, c.expected.cx);
    EXPECT_EQ(p.cy, c.expected.cy);
}

INSTANTIATE_TEST_SUITE_P(
    Places, FitIntoWorkAreaTest,
    ::testing::Values(
        WorkAreaCase{"fits", {341, 80, 684, 484}, {600, 400}, {0, 0, 1366, 728}, {341, 80, 684, 484}},
        WorkAreaCase{
            "under_the_taskbar", {341, 300, 684, 484}, {600, 400}, {0, 0, 1366, 728}, {341, 244, 684, 484}},
        WorkAreaCase{
            "left_of_a_side_bar", {10, 80, 684, 484}, {600, 400}, {100, 0, 1366, 768}, {100, 80, 684, 484}},
        WorkAreaCase{
            "grown_for_the_game", {341, 80, 684, 484}, {700, 700}, {0, 0, 1366, 728}, {341, 28, 700, 700}},
        WorkAreaCase{"larger_than_the_work_area",
                     {341, 80, 1400, 900},
                     {600, 400},
                     {0, 40, 1366, 728},
                     {0, 40, 1366, 688}},
        WorkAreaCase{"game_larger_than_the_work_area",
                     {341, 80, 684, 484},
                     {700, 750},
                     {0, 40, 1366, 728},
                     {341, 40, 700, 750}},
        WorkAreaCase{"game_larger_than_the_monitor",
                     {341, 80, 684, 484},
                     {1400, 800},
                     {0, 40, 1366, 728},
                     {0, 40, 1366, 768}}),
    [](const auto& param) { return std::string(param.param.name); });

struct ScreenCase {
    int width;
    int height;
    UINT dpi;
    // The picture at the display's resolution fits: nothing changes.
    bool unchanged;
};

class ScreenFitTest : public ::testing::TestWithParam<ScreenCase> {};

// The window the program opens with on a whole screen as its work area.
TEST_P(ScreenFitTest, WholeGameInsideTheWorkArea)
{
    const ScreenCase& c = GetParam();
    const RECT screen{0, 0, c.width, c.height};
    const DWORD style = CMainFrame::kFrameStyle;
    const Layout picture = CChildView::PictureLayout(c.dpi, CMainFrame::ViewRoom(screen, style, 0, c.dpi));
    const SIZE minimum = CMainFrame::MinimumWindowSize(style, 0, picture);
    const FramePlacement p =
        FitIntoWorkArea(ComputeFramePlacement(c.width, c.height, minimum), minimum, screen, screen);
    std::cout << "  " << c.width << "x" << c.height << " @" << c.dpi << ": picture at "
              << picture.pictureDpi() << " DPI, cell " << picture.cellSize() << ", window " << p.cx << "x"
              << p.cy << " at (" << p.x << "," << p.y << ")\n";

    EXPECT_TRUE(Inside(p, screen));
    EXPECT_GE(picture.cellSize(), Layout::kMinFittedCellSize);
    EXPECT_EQ(picture.pictureDpi() == static_cast<int>(c.dpi), c.unchanged);
    const SIZE client = CChildView::MinimumClientSize(picture);
    const Layout::Extent room = CMainFrame::ViewRoom(screen, style, 0, c.dpi);
    EXPECT_LE(client.cx, room.cx);
    EXPECT_LE(client.cy, room.cy);
    // As large as fits: the picture one step larger, its texts measured the
    // same way, would not.
    if (!c.unchanged) {
        const SIZE larger = CChildView::MinimumClientSize(
            CChildView::PictureLayout(static_cast<UINT>(picture.pictureDpi() + 1)));
        EXPECT_TRUE(larger.cx > room.cx || larger.cy > room.cy) << "a larger picture fits too";
    }
    // The window's client area holds the whole well with its border.
    const SIZE frame{minimum.cx - client.cx, minimum.cy - client.cy};
    EXPECT_GT(p.cx - frame.cx, picture.border().right);
    EXPECT_GT(p.cy - frame.cy, picture.border().bottom);
    if (c.unchanged) {
        const FramePlacement before = ComputeFramePlacement(
            c.width, c.height, CMainFrame::MinimumWindowSize(style, 0, CChildView::PictureLayout(c.dpi)));
        EXPECT_EQ(p.x, before.x);
        EXPECT_EQ(p.y, before.y);
        EXPECT_EQ(p.cx, before.cx);
        EXPECT_EQ(p.cy, before.cy);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, ScreenFitTest,
    ::testing::Values(ScreenCase{1366, 768, 144, false}, ScreenCase{1280, 720, 120, false},
                      ScreenCase{1024, 600, 96, false}, ScreenCase{800, 600, 96, false},
                      ScreenCase{640, 480, 96, false}, ScreenCase{600, 1024, 96, false},
                      ScreenCase{1920, 1080, 96, true}, ScreenCase{1366, 768, 96, true},
                      ScreenCase{1280, 1024, 96, true}, ScreenCase{1920, 1080, 120, true},
                      ScreenCase{1920, 1080, 144, true}, ScreenCase{2560, 1440, 144, true},
                      ScreenCase{2560, 1440, 192, true}),
    [](const auto& param) {
        return std::to_string(param.param.width) + "x" + std::to_string(param.param.height) + "_" +
               std::to_string(param.param.dpi) + "dpi";
    });

// Sets the system's work area for the life of the object, then restores it;
// each change is announced to the windows (Wine announces only a change it
// is also asked to save, so it lands in the prefix's registry). The prefix
// has no taskbar: its work area is the whole screen, and a smaller one found
// here was left by a run that crashed before restoring it, so the whole
// screen is what comes back.
class WorkAreaChange {
public:
    explicit WorkAreaChange(RECT area)
        : m_saved{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}
    {
        m_set =
            SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE) != FALSE;
    }
    ~WorkAreaChange()
    {
        if (m_set)
            SystemParametersInfoW(SPI_SETWORKAREA, 0, &m_saved, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    }
    WorkAreaChange(const WorkAreaChange&) = delete;
    WorkAreaChange& operator=(const WorkAreaChange&) = delete;

    bool set() const { return m_set; }
    const RECT& saved() const { return m_saved; }

private:
    RECT m_saved{};
    bool m_set = false;
};

using WorkAreaWindowTest = GameWindowTest;

FramePlacement WindowPlace(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

TEST_F(WorkAreaWindowTest, SmallerWorkAreaKeepsTheWindowAndTheWholeWellInside)
{
    const FramePlacement before = WindowPlace(frameWindow());
    const int cellBefore = view().board().layout().cellSize();
    // Shorter than the picture at its own scale needs, off the screen's corner.
    const RECT reduced{100, 60, 1000, 560};
    {
        WorkAreaChange change(reduced);
        ASSERT_TRUE(change.set());
        RECT now{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &now, 0);
        ASSERT_TRUE(EqualRect(&now, &reduced)) << "the system kept its work area";
        EXPECT_TRUE(PumpUntil([&] { return Inside(WindowPlace(frameWindow()), reduced); }))
            << "window at " << WindowPlace(frameWindow()).x << "," << WindowPlace(frameWindow()).y;
        const Layout& picture = view().board().layout();
        EXPECT_LT(picture.cellSize(), cellBefore) << "the picture shrank";
        EXPECT_GE(picture.cellSize(), Layout::kMinFittedCellSize);
        RECT client{};
        GetClientRect(viewWindow(), &client);
        EXPECT_GT(client.right, picture.border().right);
        EXPECT_GT(client.bottom, picture.border().bottom);
        EXPECT_EQ(view().logFont().lfHeight, -picture.points(26)) << "the title shrank with the picture";
    }
    // Restored: the window and the picture are as they were.
    EXPECT_TRUE(PumpUntil([&] { return view().board().layout().cellSize() == cellBefore; }));
    const FramePlacement after = WindowPlace(frameWindow());
    EXPECT_EQ(after.cx, before.cx);
    EXPECT_EQ(after.cy, before.cy);
}

TEST_F(WorkAreaWindowTest, WindowMinimisedWhileTheWorkAreaShrinksIsRestoredInsideIt)
{
    const RECT reduced{0, 0, 1000, 500};
    ShowWindow(frameWindow(), SW_MINIMIZE);
    PumpPending();
    WorkAreaChange change(reduced);
    ASSERT_TRUE(change.set());
    PumpPending();
    ShowWindow(frameWindow(), SW_RESTORE);
    EXPECT_TRUE(PumpUntil([&] { return Inside(WindowPlace(frameWindow()), reduced); }))
        << "window at " << WindowPlace(frameWindow()).x << "," << WindowPlace(frameWindow()).y << ", "
        << WindowPlace(frameWindow()).cx << "x" << WindowPlace(frameWindow()).cy;
    RECT client{};
    GetClientRect(viewWindow(), &client);
    EXPECT_GT(client.bottom, view().board().layout().border().bottom);
}

}  // namespace
