// A close request that reaches the main frame while a dialog, a message box
// or a menu runs inside a handler: the modal loop ends as if cancelled, the
// handler gets that answer while the frame and its view still exist, and
// the frame closes afterwards, ending the message loop with code 0.
#include "framework/fontdlg.h"
#include "framework/menu.h"
#include "resource.h"
#include "shell/simparamdlg.h"
#include "dialog_driver.h"
#include "frame_fixture.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The font dialog's face box.
constexpr int kFontNameCombo = 0x470;

struct ModalCase {
    const char* name;
    // Brings up what the close request is to meet; true once it is up.
    std::vector<std::function<bool()>> open;
    // Runs the modal loop as a handler would; true when it ended cancelled.
    std::function<bool(CChildView& view)> runCancelled;
};

void PrintTo(const ModalCase& c, std::ostream* os)
{
    *os << c.name;
}

bool ParameterDialogCancelled()
{
    CSimParamDlg simParamDlg(nullptr);
    simParamDlg.m_gameSpeed = 400;
    return simParamDlg.DoModal() == IDCANCEL && simParamDlg.m_gameSpeed == 400;
}

class CloseUnderModal : public GameWindowTest, public ::testing::WithParamInterface<ModalCase> {};

TEST_P(CloseUnderModal, EndsItCancelledThenCloses)
{
    const ModalCase& c = GetParam();
    std::vector<DriverStep> steps;
    for (size_t i = 0; i < c.open.size(); ++i)
        steps.push_back({"open step " + std::to_string(i + 1), c.open[i]});
    steps.push_back(
        {"close request", [this] { return PostMessageW(frameWindow(), WM_CLOSE, 0, 0) != FALSE; }});
    DialogDriver driver(std::move(steps));

    // The loop runs inside a handler of ours, as the program runs it.
    bool cancelled = false;
    RunInsideHandler([&] { cancelled = c.runCancelled(view()); });
    EXPECT_TRUE(cancelled);
    ASSERT_TRUE(driver.finished()) << "stuck at " << driver.stuckAt();
    // The handler's answer came first: the frame is still there.
    EXPECT_TRUE(frameAlive());

    bool quitSeen = false;
    WPARAM quitCode = 1;
    EXPECT_TRUE(PumpUntil([this] { return !frameAlive(); }, 5000, &quitSeen, &quitCode));
    EXPECT_TRUE(quitSeen);
    EXPECT_EQ(quitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Modal, CloseUnderModal,
    ::testing::Values(
        ModalCase{"Parameters",
                  {[] {
                      HWND dialog = FindThreadDialogWithControl(IDC_GAME_SPEED);
                      return dialog != nullptr && SetDlgItemTextW(dialog, IDC_GAME_SPEED, L"250") != FALSE;
                  }},
                  [](CChildView&) { return ParameterDialogCancelled(); }},
        ModalCase{
            "ValidationMessage",
            {[] {
                 HWND dialog = FindThreadDialogWithControl(IDC_GAME_SPEED);
                 if (dialog == nullptr)
                     return false;
                 SetDlgItemTextW(dialog, IDC_GAME_SPEED, L"abc");
                 PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                 return true;
             },
             [] { return FindMessageBoxOwnedBy(FindThreadDialogWithControl(IDC_GAME_SPEED)) != nullptr; }},
            [](CChildView&) { return ParameterDialogCancelled(); }},
        ModalCase{"About",
                  {[] { return FindThreadDialogWithControl(IDOK) != nullptr; }},
                  [](CChildView&) {
                      CDialogEx aboutDlg(IDD_ABOUTBOX);
                      return aboutDlg.DoModal() == IDCANCEL;
                  }},
        ModalCase{"Font",
                  {[] { return FindThreadDialogWithControl(kFontNameCombo) != nullptr; }},
                  [](CChildView& view) {
                      surface::LOGFONT chosen = view.logFont();
                      CFontDialog fdlg(&chosen, CF_SCREENFONTS | CF_EFFECTS, nullptr, nullptr);
                      return fdlg.DoModal() == IDCANCEL && chosen == view.logFont();
                  }},
        ModalCase{"ContextMenu",
                  {[] { return FindOpenPopupMenu() != nullptr; }},
                  [](CChildView& view) {
                      CMenu mnuPopup;
                      mnuPopup.LoadMenu(IDR_CONTEXT_MENU);
                      CMenu* popup = mnuPopup.GetSubMenu(0);
                      RECT rect{};
                      GetWindowRect(view.m_hWnd, &rect);
                      if (popup == nullptr)
                          return false;
                      popup->TrackPopupMenu(TPM_RIGHTBUTTON, rect.left + 50, rect.top + 50, &view);
                      // A chosen item would have left its command in the queue.
                      MSG msg{};
                      return PeekMessageW(&msg, view.m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE) == FALSE;
                  }}),
    [](const ::testing::TestParamInfo<ModalCase>& param) { return std::string(param.param.name); });

// Should the close leave the dialog open, it is ended after a while, so that
// the test fails instead of hanging.
bool g_dialogRescued = false;

void CALLBACK RescueDialog(HWND, UINT, UINT_PTR, DWORD)
{
    g_dialogRescued = true;
    EndAllThreadDialogs();
}

// A dialog that is not on screen (hidden, as the owned windows of a
// minimised frame are) is cancelled by a close all the same.
using CloseUnderHiddenDialog = GameWindowTest;

TEST_F(CloseUnderHiddenDialog, EndsItThenCloses)
{
    g_dialogRescued = false;
    const UINT_PTR rescue = SetTimer(nullptr, 0, 5000, &RescueDialog);
    DialogDriver driver(
        {{"hidden dialog",
          [] {
              HWND dialog = FindThreadDialogWithControl(IDC_GAME_SPEED);
              if (dialog == nullptr)
                  return false;
              ShowWindow(dialog, SW_HIDE);
              return true;
          }},
         {"close request", [this] { return PostMessageW(frameWindow(), WM_CLOSE, 0, 0) != FALSE; }}},
        5000);

    SendMessageW(frameWindow(), WM_COMMAND, ID_SIM_OPTIONS, 0);
    KillTimer(nullptr, rescue);
    EXPECT_FALSE(g_dialogRescued) << "the close left the hidden dialog open";
    ASSERT_TRUE(driver.finished()) << "stuck at " << driver.stuckAt();
    bool quitSeen = false;
    WPARAM quitCode = 1;
    EXPECT_TRUE(PumpUntil([this] { return !frameAlive(); }, 5000, &quitSeen, &quitCode));
}

}  // namespace
