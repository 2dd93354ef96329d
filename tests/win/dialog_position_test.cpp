// Where a modal dialog opens: templates sit at (0, 0), but the dialog shows
// in the middle of its owner.
#include "framework/dialog.h"
#include "resource.h"
#include "dialog_driver.h"

#include <gtest/gtest.h>

namespace {

POINT Center(const RECT& r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(DialogPosition, OpensCentredOverItsOwner)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200,
                               800, 600, nullptr, nullptr));
    CDialogEx dialog(IDD_SIMPARAM, &owner);
    RECT dialogRect = {};
    DialogDriver driver({{"dialog opens", [&] {
                              HWND hwnd = FindThreadDialogWithControl(IDC_GAME_SPEED);
                              if (hwnd == nullptr)
                                  return false;
                              GetWindowRect(hwnd, &dialogRect);
                              PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
                              return true;
                          }}});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(driver.stuckAt(), "");

    RECT ownerRect;
    GetWindowRect(owner.m_hWnd, &ownerRect);
    const POINT want = Center(ownerRect);
    const POINT got = Center(dialogRect);
    EXPECT_NEAR(got.x, want.x, 1);
    EXPECT_NEAR(got.y, want.y, 1);
}

}  // namespace
