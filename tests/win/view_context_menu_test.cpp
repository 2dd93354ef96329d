// The view's context menu: it opens where it is asked to and its items
// carry out the view's commands.
#include "resource.h"
#include "dialog_driver.h"
#include "frame_fixture.h"

namespace {

using ViewContextMenuTest = GameWindowTest;

TEST_F(ViewContextMenuTest, SecondItemOpensTheParameterDialog)
{
    bool dialogOpened = false;
    int polls = 0;
    DialogDriver driver({{"menu opens", [] { return FindOpenPopupMenu() != nullptr; }},
                         {"choose the second item",
                          [this] {
                              // The menu loop reads the thread's keyboard messages.
                              for (UINT vk : {VK_DOWN, VK_DOWN, VK_RETURN})
                                  PostMessageW(viewWindow(), WM_KEYDOWN, vk, 1);
                              return true;
                          }},
                         {"parameter dialog opens",
                          [&] {
                              dialogOpened = FindThreadDialogWithControl(IDC_GAME_SPEED) != nullptr;
                              // A menu the keys did not close would block the test for good.
                              if (!dialogOpened && ++polls > 200)
                                  EndMenu();
                              return dialogOpened;
                          }},
                         {"cancel", [] {
                              PostMessageW(FindThreadDialogWithControl(IDC_GAME_SPEED), WM_COMMAND, IDCANCEL,
                                           0);
                              return true;
                          }}});
    RECT rect{};
    GetWindowRect(viewWindow(), &rect);
    SendMessageW(viewWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(viewWindow()),
                 MAKELPARAM(rect.left + 50, rect.top + 50));
    // The chosen command arrives after the menu has closed.
    ASSERT_TRUE(PumpUntil([&] { return driver.finished(); })) << "stuck at " << driver.stuckAt();
    EXPECT_TRUE(dialogOpened);
    EXPECT_EQ(view().timerBase(), 400);
}

}  // namespace
