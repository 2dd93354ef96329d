// Key presses reach the game through real WM_KEYDOWN messages, after the
// frame's accelerators; the title font and what the view paints.
#include "control/gameboard.h"
#include "frame_fixture.h"
#include "framework/gdi_handles.h"

#include <cstring>

namespace {

using ViewKeysTest = GameWindowTest;

// Sets or clears Ctrl in this thread's key state, which the accelerator
// translation reads.
void SetControlDown(bool down)
{
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    keys[VK_LCONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

TEST_F(ViewKeysTest, ArrowKeysMoveTheShapeOnceStarted)
{
    const int column = view().board().current()->centerX();
    PressKey(kKeyLeft.vk, kKeyLeft.scan);
    EXPECT_EQ(view().board().current()->centerX(), column) << "moved before the game started";
    PressKey(kKeyG.vk, kKeyG.scan);
    PressKey(kKeyLeft.vk, kKeyLeft.scan);
    EXPECT_EQ(view().board().current()->centerX(), column - 1);
    PressKey(kKeyRight.vk, kKeyRight.scan);
    PressKey(kKeyRight.vk, kKeyRight.scan);
    EXPECT_EQ(view().board().current()->centerX(), column + 1);
}

TEST_F(ViewKeysTest, AcceleratorCombinationsNeverReachTheGame)
{
    SetControlDown(true);
    PressKey(kKeyV.vk, kKeyV.scan);
    SetControlDown(false);
    EXPECT_FALSE(view().board().preview()) << "Ctrl+V reached the game";
    EXPECT_TRUE(frameAlive());
    PressKey(kKeyV.vk, kKeyV.scan);
    EXPECT_TRUE(view().board().preview()) << "V alone toggles the preview";
}

struct QuitKey {
    const char* name;
    GameKey key;
};

class ViewQuitTest : public GameWindowTest, public ::testing::WithParamInterface<QuitKey> {};

TEST_P(ViewQuitTest, ClosesTheMainWindowWithExitCodeZero)
{
    bool quit = false;
    WPARAM code = 99;
    PostMessageW(viewWindow(), WM_KEYDOWN, GetParam().key.vk,
                 static_cast<LPARAM>(1 | (GetParam().key.scan << 16)));
    ASSERT_TRUE(PumpUntil([&] { return quit; }, 5000, &quit, &code)) << GetParam().name << " did not quit";
    EXPECT_FALSE(frameAlive());
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(code, 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, ViewQuitTest, ::testing::Values(QuitKey{"q", kKeyQ}, QuitKey{"Esc", kKeyEsc}),
                         [](const auto& param) {
                             return std::string(param.param.name == std::string("q") ? "Q" : "Esc");
                         });

TEST_F(ViewKeysTest, TitleFontIsTahomaAt26Points)
{
    const int dpi = GetDeviceCaps(CDisplayDC(nullptr).Get(), LOGPIXELSY);
    EXPECT_EQ(view().logFont().lfHeight, -MulDiv(26, dpi, 72));
    EXPECT_STREQ(view().logFont().lfFaceName, "Tahoma");
    EXPECT_EQ(view().logFont().lfWeight, 0);
}

TEST_F(ViewKeysTest, PaintsTheTitleBandAndTheWell)
{
    RedrawWindow(viewWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const CDisplayDC dc(viewWindow());
    const COLORREF band = GetPixel(dc.Get(), 3, 3);
    const COLORREF well = GetPixel(dc.Get(), 150, 500);
    const COLORREF border = GetPixel(dc.Get(), 93, 300);
    EXPECT_EQ(band, GetSysColor(COLOR_WINDOW)) << std::hex << band;
    EXPECT_EQ(well, COLORREF{0}) << std::hex << well;
    EXPECT_EQ(border, COLORREF{0}) << std::hex << border;
}

}  // namespace
