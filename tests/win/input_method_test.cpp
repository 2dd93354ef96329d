// The input method stays out of the game's windows and keeps the dialogs'
// text fields; a key an input method took anyway reaches the game as the key
// it was.
#include "control/gameboard.h"
#include "dialog_driver.h"
#include "frame_fixture.h"
#include "framework/input_method.h"
#include "resource.h"

#include <imm.h>

#include <string>

namespace {

// The edit box of the font dialog's face-name combo box.
constexpr int kFontNameCombo = 0x470;

using InputMethodTest = GameWindowTest;

bool HasInputContext(HWND window)
{
    const HIMC context = ImmGetContext(window);
    if (context == nullptr)
        return false;
    ImmReleaseContext(window, context);
    return true;
}

TEST_F(InputMethodTest, TheFrameAndTheViewHaveNoInputContext)
{
    EXPECT_FALSE(HasInputContext(frameWindow()));
    EXPECT_FALSE(HasInputContext(viewWindow()));
}

// Runs a dialog of the view from the menu bar and reports whether its text
// field, found by findField while the dialog is open, has an input context.
bool DialogFieldHasInputContext(HWND frame, UINT command, int dialogControl,
                                const std::function<HWND(HWND dialog)>& findField, std::string& stuckAt)
{
    bool hasContext = false;
    DialogDriver driver(
        {{"dialog opens", [=] { return FindThreadDialogWithControl(dialogControl) != nullptr; }},
         {"look at the text field and cancel", [&] {
              HWND dialog = FindThreadDialogWithControl(dialogControl);
              const HWND field = findField(dialog);
              if (field == nullptr)
                  return false;
              hasContext = HasInputContext(field);
              PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
              return true;
          }}});
    SendMessageW(frame, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    stuckAt = driver.stuckAt();
    return hasContext;
}

TEST_F(InputMethodTest, TheDialogsTextFieldsKeepTheirInputContext)
{
    std::string stuckAt;
    EXPECT_TRUE(DialogFieldHasInputContext(
        frameWindow(), ID_SIM_OPTIONS, IDC_GAME_SPEED,
        [](HWND dialog) { return GetDlgItem(dialog, IDC_GAME_SPEED); }, stuckAt))
        << "the parameter dialog's number box";
    EXPECT_EQ(stuckAt, "");
    EXPECT_TRUE(DialogFieldHasInputContext(
        frameWindow(), ID_FONT, kFontNameCombo,
        [](HWND dialog) {
            return FindWindowExW(GetDlgItem(dialog, kFontNameCombo), nullptr, L"Edit", nullptr);
        },
        stuckAt))
        << "the font dialog's face-name box";
    EXPECT_EQ(stuckAt, "");
}

// The key an input method reports for the view's last VK_PROCESSKEY, as set
// by each case.
UINT g_reportedKey = 0;
UINT ReportedKey(HWND)
{
    return g_reportedKey;
}

MSG KeyDown(HWND window, UINT message, WPARAM vk, UINT scan)
{
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = vk;
    msg.lParam = static_cast<LPARAM>(1 | (scan << 16));
    return msg;
}

struct RestoreCase {
    const char* name;
    UINT message;
    WPARAM key;
    UINT reported;
    WPARAM expected;
};

class RestoreKeyTest : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(RestoreKeyTest, OnlyATakenKeyDownBecomesTheReportedRealKey)
{
    const RestoreCase& c = GetParam();
    g_reportedKey = c.reported;
    MSG msg = KeyDown(nullptr, c.message, c.key, 0x22);
    framework::RestoreKeyTakenByInputMethod(msg, ReportedKey);
    EXPECT_EQ(msg.wParam, c.expected) << c.name;
    EXPECT_EQ(msg.lParam, static_cast<LPARAM>(1 | (0x22 << 16))) << "the scan code changed";
}

INSTANTIATE_TEST_SUITE_P(
    Keys, RestoreKeyTest,
    ::testing::Values(RestoreCase{"TakenG", WM_KEYDOWN, VK_PROCESSKEY, 'G', 'G'},
                      RestoreCase{"TakenSystemKey", WM_SYSKEYDOWN, VK_PROCESSKEY, VK_LEFT, VK_LEFT},
                      RestoreCase{"NoneReported", WM_KEYDOWN, VK_PROCESSKEY, 0, VK_PROCESSKEY},
                      RestoreCase{"ProcessKeyReported", WM_KEYDOWN, VK_PROCESSKEY, VK_PROCESSKEY,
                                  VK_PROCESSKEY},
                      RestoreCase{"NoKeyCode", WM_KEYDOWN, VK_PROCESSKEY, 0x1FF, VK_PROCESSKEY},
                      RestoreCase{"PlainKey", WM_KEYDOWN, 'P', 'G', 'P'},
                      RestoreCase{"KeyUp", WM_KEYUP, VK_PROCESSKEY, 'G', VK_PROCESSKEY}),
    [](const auto& param) { return std::string(param.param.name); });

// A key-down the view gets as the program's loop hands it on: restored with
// the given report, then translated and dispatched.
void DeliverTakenKey(HWND view, UINT scan, UINT reported)
{
    g_reportedKey = reported;
    MSG msg = KeyDown(view, WM_KEYDOWN, VK_PROCESSKEY, scan);
    framework::RestoreKeyTakenByInputMethod(msg, ReportedKey);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

TEST_F(InputMethodTest, ATakenKeyReachesTheGameAsTheReportedKey)
{
    // Scan code 0x1E (a) is in no row of the key table: only the report
    // can start the game.
    DeliverTakenKey(viewWindow(), 0x1E, 0);
    EXPECT_EQ(view().board().state(), GameState::Ready) << "VK_PROCESSKEY alone started the game";
    DeliverTakenKey(viewWindow(), 0x1E, 'G');
    EXPECT_EQ(view().board().state(), GameState::Running);
    // The reported key wins over the scan code: p's key code with g's scan
    // code pauses.
    DeliverTakenKey(viewWindow(), kKeyG.scan, 'P');
    EXPECT_EQ(view().board().state(), GameState::Paused);
}

TEST_F(InputMethodTest, TheFrameHandsTheViewItsKeysAsTyped)
{
    // A window without an input context has no key to report, so a taken
    // key goes on as it came, and the key table's scan code still applies.
    PressKey(VK_PROCESSKEY, kKeyG.scan);
    EXPECT_EQ(view().board().state(), GameState::Running);
    PressKey(kKeyP.vk, kKeyP.scan);
    EXPECT_EQ(view().board().state(), GameState::Paused);
}

}  // namespace
