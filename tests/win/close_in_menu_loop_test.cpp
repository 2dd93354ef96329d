// A close request sent to the main frame while the menu bar is in keyboard
// mode, while a menu of the menu bar is open, or while the window menu is
// open: the menu loop ends first, the frame closes afterwards, and the
// message loop gets its quit message with code 0. Also the quit message
// that a loop inside a handler swallows comes again when the loop returns,
// and a close request sent to the view alone is ignored.
#include "framework/modal.h"
#include "dialog_driver.h"
#include "frame_fixture.h"

#include <algorithm>
#include <ostream>
#include <string>

namespace {

struct MenuLoopCase {
    const char* name;
    // The SC_KEYMENU character: 0 for the bar's keyboard mode, a mnemonic
    // opens that menu of the bar, a space the window menu.
    LPARAM key;
    bool popupOpens;
    // The close request: WM_CLOSE, or WM_SYSCOMMAND with SC_CLOSE.
    bool systemClose;
};

void PrintTo(const MenuLoopCase& c, std::ostream* os)
{
    *os << c.name;
}

GUITHREADINFO ThreadState()
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info))
        return GUITHREADINFO{};
    return info;
}

bool InMenuMode()
{
    const GUITHREADINFO info = ThreadState();
    return info.hwndMenuOwner != nullptr || (info.flags & GUI_INMENUMODE) != 0;
}

// A close request sent, as another process sends it: handled at once,
// inside the loop that runs then.
DriverStep SendClose(HWND frame, bool& sent, bool systemClose = false)
{
    return {"close request", [frame, &sent, systemClose] {
                if (systemClose)
                    SendMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
                else
                    SendMessageW(frame, WM_CLOSE, 0, 0);
                sent = true;
                return true;
            }};
}

// The frame goes, and the message loop gets its quit message, code 0.
void ExpectClosedWithCode0(HWND frame)
{
    bool quitSeen = false;
    WPARAM quitCode = 1;
    EXPECT_TRUE(PumpUntil([frame] { return IsWindow(frame) == FALSE; }, 5000, &quitSeen, &quitCode));
    EXPECT_TRUE(PumpUntil([&] { return quitSeen; }, 2000, &quitSeen, &quitCode));
    EXPECT_EQ(quitCode, 0u);
}

class CloseInMenuLoop : public GameWindowTest, public ::testing::WithParamInterface<MenuLoopCase> {};

TEST_P(CloseInMenuLoop, EndsTheMenuThenClosesWithCode0)
{
    const MenuLoopCase& c = GetParam();
    bool closeSent = false;
    DialogDriver driver(
        {{"menu loop", [&] { return c.popupOpens ? FindOpenPopupMenu() != nullptr : InMenuMode(); }},
         SendClose(frameWindow(), closeSent, c.systemClose)},
        5000);

    SendMessageW(frameWindow(), WM_SYSCOMMAND, SC_KEYMENU, c.key);
    ASSERT_TRUE(driver.finished()) << "stuck at " << driver.stuckAt();
    ASSERT_TRUE(closeSent);
    // The menu loop returned first, with the frame still there.
    EXPECT_TRUE(frameAlive());
    EXPECT_EQ(FindOpenPopupMenu(), nullptr);

    ExpectClosedWithCode0(frameWindow());
}

INSTANTIATE_TEST_SUITE_P(Menus, CloseInMenuLoop,
                         ::testing::Values(MenuLoopCase{"MenuBarMode", 0, false, false},
                                           MenuLoopCase{"MenuBarModeSystemClose", 0, false, true},
                                           MenuLoopCase{"FileMenu", 'f', true, false},
                                           MenuLoopCase{"FileMenuSystemClose", 'f', true, true},
                                           MenuLoopCase{"WindowMenu", ' ', true, false},
                                           MenuLoopCase{"WindowMenuSystemClose", ' ', true, true}),
                         [](const ::testing::TestParamInfo<MenuLoopCase>& param) {
                             return std::string(param.param.name);
                         });

// A menu loop that no handler of the framework started (the default window
// procedure opens the window menu this way on a right click on the caption,
// and a handler may call the system directly) holds the close as well: the
// close ends it, and the frame goes only once it has returned.
using CloseInSystemLoop = GameWindowTest;

TEST_F(CloseInSystemLoop, AMenuTheFrameworkDidNotStartIsEndedFirst)
{
    bool closeSent = false;
    DialogDriver driver({{"menu loop", [] { return FindOpenPopupMenu() != nullptr && InMenuMode(); }},
                         SendClose(frameWindow(), closeSent)},
                        5000);

    HMENU menu = GetSystemMenu(frameWindow(), FALSE);
    ASSERT_NE(menu, nullptr);
    RunInsideHandler([&] { ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, 10, 10, 0, frameWindow(), nullptr); });
    ASSERT_TRUE(driver.finished()) << "stuck at " << driver.stuckAt();
    ASSERT_TRUE(closeSent);
    EXPECT_TRUE(frameAlive()) << "the frame went inside the menu loop";
    EXPECT_EQ(FindOpenPopupMenu(), nullptr);

    ExpectClosedWithCode0(frameWindow());
}

// Should a close leave a move running, the menu and the move end after a
// while, so that the test fails instead of hanging.
bool g_moveRescued = false;

void CALLBACK RescueMove(HWND, UINT, UINT_PTR, DWORD)
{
    g_moveRescued = true;
    EndMenu();
    PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 1 | (0x01 << 16));
}

struct MoveCase {
    const char* name;
    bool ofTheView;
    // A context menu opened inside the move, before its first step.
    bool menuInside;
};

void PrintTo(const MoveCase& c, std::ostream* os)
{
    *os << c.name;
}

class CloseInMove : public GameWindowTest, public ::testing::WithParamInterface<MoveCase> {};

// A move by the keyboard (the window menu's Move), of the frame or of the
// view: the close cancels it, and a menu inside it, and the frame goes once
// the move has returned.
TEST_P(CloseInMove, EndsTheMoveFirst)
{
    const MoveCase& c = GetParam();
    HWND moving = c.ofTheView ? viewWindow() : frameWindow();
    g_moveRescued = false;
    const UINT_PTR rescue = SetTimer(nullptr, 0, 5000, &RescueMove);
    bool sent = false;
    bool closeSent = false;
    DriverStep inside{"move loop", [&] {
                          // The move waits for a first key before it moves.
                          if (!sent)
                              sent = PostMessageW(moving, WM_KEYDOWN, VK_RIGHT, 0) != FALSE;
                          return (ThreadState().flags & GUI_INMOVESIZE) != 0;
                      }};
    if (c.menuInside)
        inside = {"context menu inside the move", [&] {
                      if (!sent)
                          sent = PostMessageW(viewWindow(), WM_CONTEXTMENU,
                                              reinterpret_cast<WPARAM>(viewWindow()),
                                              MAKELPARAM(20, 20)) != FALSE;
                      return FindOpenPopupMenu() != nullptr;
                  }};
    DialogDriver driver({inside, SendClose(frameWindow(), closeSent)}, 5000);

    SendMessageW(moving, WM_SYSCOMMAND, SC_MOVE, 0);
    KillTimer(nullptr, rescue);
    EXPECT_FALSE(g_moveRescued) << "the close left the move running";
    ASSERT_TRUE(driver.finished()) << "stuck at " << driver.stuckAt();
    ASSERT_TRUE(closeSent);
    EXPECT_TRUE(frameAlive()) << "the frame went inside the move loop";

    ExpectClosedWithCode0(frameWindow());
}

INSTANTIATE_TEST_SUITE_P(Moves, CloseInMove,
                         ::testing::Values(MoveCase{"Frame", false, false}, MoveCase{"View", true, false},
                                           MoveCase{"ViewWithAMenuInside", true, true}),
                         [](const ::testing::TestParamInfo<MoveCase>& param) {
                             return std::string(param.param.name);
                         });

int VisiblePopupMenus()
{
    int count = 0;
    for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu != nullptr;
         menu = FindWindowExW(nullptr, menu, L"#32768", nullptr))
        count += IsWindowVisible(menu) ? 1 : 0;
    return count;
}

// A context menu asked for while one is open (a right click that reaches the
// view from inside the menu's loop) stays unopened, as on Windows: the first
// one's end would otherwise leave the second one on screen.
TEST_F(CloseInSystemLoop, ASecondContextMenuDoesNotOpenInsideTheFirst)
{
    int most = 0;
    int ticks = 0;
    DialogDriver driver({{"context menu", [] { return FindOpenPopupMenu() != nullptr; }},
                         {"second request",
                          [&] {
                              return PostMessageW(viewWindow(), WM_CONTEXTMENU,
                                                  reinterpret_cast<WPARAM>(viewWindow()),
                                                  MAKELPARAM(40, 40)) != FALSE;
                          }},
                         {"a while with the menu open",
                          [&] {
                              most = std::max(most, VisiblePopupMenus());
                              if (++ticks < 20)
                                  return false;
                              EndMenu();
                              return true;
                          }}},
                        5000);

    SendMessageW(viewWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(viewWindow()), MAKELPARAM(20, 20));
    ASSERT_TRUE(driver.finished()) << "stuck at " << driver.stuckAt();
    EXPECT_EQ(most, 1);
    EXPECT_TRUE(PumpUntil([] { return VisiblePopupMenus() == 0; }, 2000));
    EXPECT_FALSE(modal::MenuRunning());
}

bool g_nestedMenu = false;

// Runs only when a menu loop was entered inside the window menu's: notes it
// and ends that loop, so the test reports it instead of waiting in it.
void CALLBACK EndNestedMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_nestedMenu = true;
    EndMenu();
}

// The menu bar asked for while the window menu is open stays unopened, as
// a second context menu does: when its loop ended, the window menu's would
// go on with its popup on the screen, and the close would wait for it.
TEST_F(CloseInSystemLoop, TheMenuBarDoesNotOpenInsideTheWindowMenu)
{
    g_nestedMenu = false;
    bool closeSent = false;
    DialogDriver driver({{"window menu", [] { return FindOpenPopupMenu() != nullptr; }},
                         {"menu bar asked for",
                          [this] {
                              const UINT_PTR watch = SetTimer(nullptr, 0, 300, &EndNestedMenu);
                              SendMessageW(frameWindow(), WM_SYSCOMMAND, SC_KEYMENU, 0);
                              KillTimer(nullptr, watch);
                              return true;
                          }},
                         SendClose(frameWindow(), closeSent)},
                        5000);

    SendMessageW(frameWindow(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    EXPECT_FALSE(g_nestedMenu) << "a menu loop ran inside the window menu's";
    ASSERT_TRUE(driver.finished()) << "stuck at " << driver.stuckAt();
    ExpectClosedWithCode0(frameWindow());
    EXPECT_EQ(VisiblePopupMenus(), 0);
}

// A close request sent to the view alone leaves the game whole: the view
// closes only with its frame.
using CloseRequest = GameWindowTest;

TEST_F(CloseRequest, SentToTheViewAloneIsIgnored)
{
    SendMessageW(viewWindow(), WM_CLOSE, 0, 0);
    PostMessageW(viewWindow(), WM_CLOSE, 0, 0);
    PumpPending();
    EXPECT_TRUE(IsWindow(viewWindow()));
    EXPECT_TRUE(frameAlive());
}

// A close asked for inside nested handlers (as a loop inside a handler gets
// it): the frame goes only once the outermost has returned, so its quit
// message cannot reach a loop that would take it for itself; it comes once,
// code 0.
using SwallowedQuit = GameWindowTest;

TEST_F(SwallowedQuit, ComesAgainAfterTheOutermostModalLoop)
{
    MSG msg{};
    RunInsideHandler([&] {
        RunInsideHandler([&] {
            SendMessageW(frameWindow(), WM_CLOSE, 0, 0);
            ASSERT_TRUE(frameAlive()) << "the frame went under a handler";
        });
        EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
            << "quit before the outer loop ended";
    });
    ASSERT_FALSE(frameAlive());
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    // Once only.
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
