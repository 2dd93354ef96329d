// Display resolution: the program asks for per-monitor awareness, follows a
// move to a monitor of another resolution, refuses nonsense, and sizes its
// window for the resolution.
#include "control/gameboard.h"
#include "framework/dpi.h"
#include "framework/gdi_handles.h"
#include "frame_fixture.h"

namespace {

using DpiWindowTest = GameWindowTest;

// What a move to a monitor of that resolution sends the frame: the system
// scales the window's rectangle by the ratio of the resolutions.
RECT SendDpiChanged(HWND frame, UINT from, UINT to)
{
    RECT window{};
    GetWindowRect(frame, &window);
    RECT suggested{window.left, window.top, window.left + MulDiv(window.right - window.left, to, from),
                   window.top + MulDiv(window.bottom - window.top, to, from)};
    SendMessageW(frame, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    return suggested;
}

COLORREF ViewPixel(HWND view, int x, int y)
{
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const CDisplayDC dc(view);
    return GetPixel(dc.Get(), x, y);
}

TEST(Dpi, ProgramIsAwareOfEachMonitorsResolution)
{
    using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)();
    using GetAwareness = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto getContext = reinterpret_cast<GetContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    const auto getAwareness = reinterpret_cast<GetAwareness>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    if (getContext == nullptr || getAwareness == nullptr)
        GTEST_SKIP() << "the system has no per-monitor awareness";
    EXPECT_EQ(getAwareness(getContext()), DPI_AWARENESS_PER_MONITOR_AWARE);
}

// The Windows tests' prefix runs at 96 DPI.
TEST_F(DpiWindowTest, StartsAtTheResolutionOfItsMonitor)
{
    ASSERT_EQ(framework::WindowDpi(viewWindow()), 96u) << "the prefix is not at 96 DPI";
    EXPECT_EQ(view().dpi(), 96u);
    EXPECT_EQ(view().board().layout().dpi(), 96);
    EXPECT_EQ(view().logFont().lfHeight, -35) << "26 points at 96 DPI";
}

TEST_F(DpiWindowTest, MoveToAnotherResolutionRescalesThePictureAndTakesTheSuggestedRectangle)
{
    const UINT start = view().dpi();
    const RECT suggested = SendDpiChanged(frameWindow(), start, 144);
    PumpPending();
    EXPECT_EQ(view().dpi(), 144u);
    EXPECT_EQ(view().board().layout().cellSize(), 36);
    EXPECT_EQ(view().logFont().lfHeight, -52) << "26 points at 144 DPI";
    RECT window{};
    GetWindowRect(frameWindow(), &window);
    EXPECT_EQ(window.left, suggested.left);
    EXPECT_EQ(window.top, suggested.top);
    EXPECT_EQ(window.right, suggested.right);
    EXPECT_EQ(window.bottom, suggested.bottom);
    // The well and its border where the layout puts them at 144 DPI.
    EXPECT_EQ(ViewPixel(viewWindow(), 150, 800), COLORREF{0}) << "inside the well";
    EXPECT_EQ(ViewPixel(viewWindow(), 139, 500), COLORREF{0}) << "the border's left line";
    EXPECT_EQ(ViewPixel(viewWindow(), 142, 500), GetSysColor(COLOR_WINDOW)) << "between border and well";

    SendDpiChanged(frameWindow(), 144, start);
    PumpPending();
    EXPECT_EQ(view().dpi(), 96u);
    EXPECT_EQ(view().logFont().lfHeight, -35) << "26 points at 96 DPI";
}

TEST_F(DpiWindowTest, ChosenTitleFontKeepsItsPointSize)
{
    // As the font dialog writes a choice of 40 points in the picture.
    surface::LOGFONT& font = const_cast<surface::LOGFONT&>(view().logFont());
    const int before = view().board().layout().pictureDpi();
    ASSERT_EQ(before, 96);
    font.lfHeight = -MulDiv(40, before, 72);
    SendDpiChanged(frameWindow(), view().dpi(), 192);
    // The picture at 192 DPI may have shrunk to fit the screen: the points
    // are the picture's, which must have grown, or the change did nothing.
    const int after = view().board().layout().pictureDpi();
    ASSERT_GT(after, before) << "the picture kept its resolution";
    EXPECT_EQ(view().logFont().lfHeight, -MulDiv(40, after, 72));
}

TEST_F(DpiWindowTest, NonsenseResolutionChangesNothing)
{
    const UINT start = view().dpi();
    RECT before{};
    GetWindowRect(frameWindow(), &before);
    for (UINT dpi : {0u, 5u, 0xFFFFu}) {
        RECT suggested{0, 0, 100, 100};
        SendMessageW(frameWindow(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        PumpPending();
        EXPECT_EQ(view().dpi(), start) << dpi;
        RECT window{};
        GetWindowRect(frameWindow(), &window);
        EXPECT_TRUE(EqualRect(&window, &before)) << dpi << ": the window moved";
    }
}

struct ResolutionCase {
    UINT dpi;
    int screenWidth;
    int screenHeight;
};

class DpiMinimumTest : public ::testing::TestWithParam<ResolutionCase> {};

TEST_P(DpiMinimumTest, WindowShowsTheWholeGameAndFitsTheScreen)
{
    const ResolutionCase& c = GetParam();
    const Layout layout = CChildView::PictureLayout(c.dpi);
    const SIZE client = CChildView::MinimumClientSize(layout);
    EXPECT_GT(client.cx, layout.border().right) << "the well's right border";
    EXPECT_GT(client.cy, layout.border().bottom) << "the well's bottom border";
    const SIZE at96 = CChildView::MinimumClientSize(CChildView::PictureLayout(96));
    EXPECT_GE(client.cx, MulDiv(at96.cx, static_cast<int>(c.dpi), 96) * 9 / 10) << "the panel's texts";

    const SIZE window =
        CMainFrame::MinimumWindowSize(CMainFrame::kFrameStyle, 0, CChildView::PictureLayout(c.dpi));
    const FramePlacement p = ComputeFramePlacement(c.screenWidth, c.screenHeight, window);
    EXPECT_GE(p.cx, window.cx);
    EXPECT_GE(p.cy, window.cy);
    EXPECT_LE(p.x + p.cx, c.screenWidth);
    EXPECT_LE(p.y + p.cy, c.screenHeight);
    EXPECT_GE(p.x, 0);
    EXPECT_GE(p.y, 0);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, DpiMinimumTest,
                         ::testing::Values(ResolutionCase{120, 1920, 1080}, ResolutionCase{144, 2560, 1440},
                                           ResolutionCase{192, 2560, 1440}),
                         [](const auto& param) { return std::to_string(param.param.dpi) + "dpi"; });

}  // namespace
