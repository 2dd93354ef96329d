// A handler that opens a modal loop by calling the system directly, with
// nothing of the framework around the call: a message box (owned by the
// frame or by nobody), a dialog box, a popup menu. A close that reaches the main frame inside that loop ends
// the loop, the handler goes on with its frame still there, and the frame goes afterwards with quit code 0.
// Freed memory is filled under the heap checking of the test prefix, so a handler that ran on in a deleted
// frame reads a broken mark.
#include "framework/menu.h"
#include "dialog_driver.h"
#include "frame_fixture.h"
#include "resource.h"

#include <functional>
#include <ostream>
#include <string>
#include <utility>

namespace {

constexpr unsigned kMark = 0x5A17C0DEu;

// What the handler found once its loop had returned; kept outside the
// frame, so that a deleted frame breaks the mark alone.
struct AfterLoop {
    bool returned = false;
    unsigned mark = 0;
    bool windowAlive = false;
};
AfterLoop g_after;

INT_PTR CALLBACK PlainDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// A main frame with one handler that runs a loop and then reads itself.
class DirectLoopFrame : public CFrameWnd {
public:
    static constexpr UINT kOpenLoop = WM_APP + 0x41;

    explicit DirectLoopFrame(std::function<void(HWND)> loop) : m_loop(std::move(loop)) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kOpenLoop)
            return CFrameWnd::WindowProc(message, wParam, lParam);
        m_loop(m_hWnd);
        // Members of this object, after the loop.
        g_after.returned = true;
        g_after.mark = m_mark;
        g_after.windowAlive = m_hWnd != nullptr && IsWindow(m_hWnd) != FALSE;
        return 0;
    }

private:
    std::function<void(HWND)> m_loop;
    unsigned m_mark = kMark;
};

struct DirectLoopCase {
    const char* name;
    std::function<void(HWND)> loop;
    // True once the loop's window is on the screen.
    std::function<bool()> up;
};

void PrintTo(const DirectLoopCase& c, std::ostream* os)
{
    *os << c.name;
}

class CloseInDirectLoop : public ::testing::TestWithParam<DirectLoopCase> {
protected:
    void TearDown() override
    {
        if (IsWindow(m_frameWindow))
            DestroyWindow(m_frameWindow);
        PumpPending();
        m_app.m_pMainWnd = nullptr;
    }

    CWinApp m_app;
    HWND m_frameWindow = nullptr;
};

TEST_P(CloseInDirectLoop, EndsTheLoopThenClosesWithCode0)
{
    const DirectLoopCase& c = GetParam();
    g_after = AfterLoop{};
    auto* frame = new DirectLoopFrame(c.loop);  // deletes itself with its window
    m_app.m_pMainWnd = frame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME));
    m_frameWindow = frame->m_hWnd;
    frame->ShowWindow(SW_SHOW);
    PumpPending();

    bool closePosted = false;
    DialogDriver driver({{"loop", c.up},
                         {"close request",
                          [&] {
                              closePosted = PostMessageW(m_frameWindow, WM_CLOSE, 0, 0) != FALSE;
                              return true;
                          }}},
                        5000);
    PostMessageW(m_frameWindow, DirectLoopFrame::kOpenLoop, 0, 0);
    bool quitSeen = false;
    WPARAM quitCode = 1;
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(m_frameWindow) && quitSeen; }, 10000, &quitSeen, &quitCode));
    ASSERT_TRUE(driver.finished()) << "stuck at " << driver.stuckAt();
    ASSERT_TRUE(closePosted);
    EXPECT_TRUE(g_after.returned) << "the handler never got back from its loop";
    EXPECT_EQ(g_after.mark, kMark) << "the handler ran on in a deleted frame";
    EXPECT_TRUE(g_after.windowAlive) << "the frame went inside the loop";
    EXPECT_EQ(quitCode, 0u);
    EXPECT_EQ(FindOpenPopupMenu(), nullptr);
    EXPECT_EQ(FindThreadDialogWithControl(IDOK), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Direct, CloseInDirectLoop,
    ::testing::Values(
        DirectLoopCase{"MessageBox", [](HWND owner) { ::MessageBoxW(owner, L"box", L"caption", MB_OK); },
                       [] { return FindThreadDialogWithControl(0xFFFF) != nullptr; }},
        DirectLoopCase{"UnownedMessageBox", [](HWND) { ::MessageBoxW(nullptr, L"box", L"caption", MB_OK); },
                       [] { return FindThreadDialogWithControl(0xFFFF) != nullptr; }},
        DirectLoopCase{"DialogBox",
                       [](HWND owner) {
                           ::DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), owner,
                                             &PlainDialogProc, 0);
                       },
                       [] { return FindThreadDialogWithControl(IDOK) != nullptr; }},
        DirectLoopCase{"PopupMenu",
                       [](HWND owner) {
                           CMenu mnuPopup;
                           mnuPopup.LoadMenu(IDR_CONTEXT_MENU);
                           const CMenu* popup = mnuPopup.GetSubMenu(0);
                           if (popup != nullptr)
                               ::TrackPopupMenu(popup->m_hMenu, TPM_RIGHTBUTTON, 100, 100, 0, owner, nullptr);
                       },
                       [] { return FindOpenPopupMenu() != nullptr; }}),
    [](const ::testing::TestParamInfo<DirectLoopCase>& param) { return std::string(param.param.name); });

}  // namespace
