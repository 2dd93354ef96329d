// Commands on their way from the frame's menu bar to the view, the frame and
// the application: the view's Font and Simulation-options dialogs open from
// the frame, and File > Exit ends the program.
#include "control/gameboard.h"
#include "resource.h"
#include "dialog_driver.h"
#include "frame_fixture.h"

#include <string>
#include <vector>

namespace {

// The control that holds the font names in the system's font dialog.
constexpr int kFontNameCombo = 0x470;

using FrameCommandsTest = GameWindowTest;

void SendMenuCommand(HWND frame, UINT id)
{
    SendMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// An entry, then the buttons pressed: a rejected entry's OK brings up a
// message box, which is closed before the next button.
struct SimOptionsCase {
    const char* name;
    const wchar_t* entry;
    std::vector<WPARAM> buttons;
    int base;
};

class FrameSimOptionsTest : public GameWindowTest, public ::testing::WithParamInterface<SimOptionsCase> {};

TEST_P(FrameSimOptionsTest, MenuBarOpensTheViewsDialogOnTheCurrentBase)
{
    const SimOptionsCase& c = GetParam();
    std::wstring shown;
    auto dialog = [] { return FindThreadDialogWithControl(IDC_GAME_SPEED); };
    std::vector<DriverStep> steps{{"parameter dialog opens", [&] { return dialog() != nullptr; }},
                                  {"read and enter", [&] {
                                       shown = WindowText(GetDlgItem(dialog(), IDC_GAME_SPEED));
                                       SetDlgItemTextW(dialog(), IDC_GAME_SPEED, c.entry);
                                       return true;
                                   }}};
    for (std::size_t i = 0; i < c.buttons.size(); ++i) {
        if (i > 0) {
            steps.push_back({"message box appears and is closed", [&] {
                                 HWND box = FindMessageBoxOwnedBy(dialog());
                                 if (box != nullptr)
                                     PostMessageW(box, WM_COMMAND, IDOK, 0);
                                 return box != nullptr;
                             }});
            steps.push_back(
                {"message box closes", [&] { return FindMessageBoxOwnedBy(dialog()) == nullptr; }});
        }
        const WPARAM button = c.buttons[i];
        steps.push_back({"press a button", [&, button] {
                             PostMessageW(dialog(), WM_COMMAND, button, 0);
                             return true;
                         }});
    }
    DialogDriver driver(std::move(steps));
    SendMenuCommand(frameWindow(), ID_SIM_OPTIONS);
    ASSERT_TRUE(driver.finished()) << "stuck at " << driver.stuckAt();
    EXPECT_EQ(shown, L"400");
    EXPECT_EQ(view().timerBase(), c.base) << c.name;
    EXPECT_EQ(view().timerId(), 0u) << "the dialog started the timer";
}

// The view keeps its base unless OK ends the dialog: a rejected entry has
// already been read into the dialog when Cancel follows it.
INSTANTIATE_TEST_SUITE_P(
    Buttons, FrameSimOptionsTest,
    ::testing::Values(SimOptionsCase{"accepted", L"250", {IDOK}, 250},
                      SimOptionsCase{"cancelled", L"250", {IDCANCEL}, 400},
                      SimOptionsCase{"out_of_range_then_cancelled", L"5000", {IDOK, IDCANCEL}, 400},
                      SimOptionsCase{"word_then_cancelled", L"abc", {IDOK, IDCANCEL}, 400}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(FrameCommandsTest, FontFromTheMenuBarOpensOnTahomaAndCancelKeepsIt)
{
    DialogDriver driver(
        {{"font dialog opens", [] { return FindThreadDialogWithControl(kFontNameCombo) != nullptr; }},
         {"cancel", [] {
              PostMessageW(FindThreadDialogWithControl(kFontNameCombo), WM_COMMAND, IDCANCEL, 0);
              return true;
          }}});
    ValidateRect(viewWindow(), nullptr);
    SendMenuCommand(frameWindow(), ID_FONT);
    ASSERT_TRUE(driver.finished()) << "stuck at " << driver.stuckAt();
    EXPECT_STREQ(view().logFont().lfFaceName, "Tahoma");
    EXPECT_LT(view().logFont().lfHeight, 0);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(viewWindow(), &update, FALSE)) << "no repaint requested";
}

TEST_F(FrameCommandsTest, RouteAsksViewThenFrameThenApplication)
{
    int query = 0;
    EXPECT_TRUE(m_frame->OnCmdMsg(ID_APP_EXIT, CN_COMMAND, nullptr, &query)) << "the application's Exit";
    EXPECT_TRUE(frameAlive()) << "a query ran the command";
    EXPECT_FALSE(m_frame->OnCmdMsg(ID_EDIT_PASTE, CN_COMMAND, nullptr, &query)) << "nobody handles paste";
    SendMenuCommand(frameWindow(), ID_EDIT_PASTE);
    EXPECT_TRUE(frameAlive());
}

TEST_F(FrameCommandsTest, ExitClosesTheMainWindowAndQuitsWithZero)
{
    SendMenuCommand(frameWindow(), ID_APP_EXIT);
    EXPECT_FALSE(frameAlive());
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    bool quit = false;
    WPARAM code = 99;
    PumpPending(&quit, &code);
    EXPECT_TRUE(quit);
    EXPECT_EQ(code, 0u);
}

}  // namespace
