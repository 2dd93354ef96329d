// The About box run modally on its template: what it shows and every way it
// closes.
#include "framework/dialog.h"
#include "resource.h"
#include "dialog_driver.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

HWND AboutBox()
{
    // The OK button is the one control of the box with an id of its own.
    HWND dialog = FindThreadDialogWithControl(IDOK);
    return dialog != nullptr && WindowText(dialog) == L"關於 brikfall_SDI" ? dialog : nullptr;
}

struct Closing {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool toButton;
    INT_PTR result;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const Closing& c, std::ostream* os)
{
    *os << c.name;
}

class AboutBoxCloses : public ::testing::TestWithParam<Closing> {};

TEST_P(AboutBoxCloses, ShowsTheVersionBesideTheIconAndCloses)
{
    const Closing& c = GetParam();
    std::vector<std::wstring> texts;
    int buttons = 0;
    bool hasIcon = false;
    CDialogEx aboutDlg(IDD_ABOUTBOX);
    DialogDriver driver({{"about box opens", [] { return AboutBox() != nullptr; }},
                         {"read and close", [&] {
                              for (HWND child = GetWindow(AboutBox(), GW_CHILD); child != nullptr;
                                   child = GetWindow(child, GW_HWNDNEXT)) {
                                  if (ClassName(child) == L"Button")
                                      ++buttons;
                                  else if (SendMessageW(child, STM_GETICON, 0, 0) != 0)
                                      hasIcon = true;
                                  else
                                      texts.push_back(WindowText(child));
                              }
                              HWND target = c.toButton ? GetDlgItem(AboutBox(), IDOK) : AboutBox();
                              PostMessageW(target, c.message, c.wParam, 1);
                              return true;
                          }}});
    const INT_PTR result = aboutDlg.DoModal();
    EXPECT_EQ(driver.stuckAt(), "");
    EXPECT_EQ(result, c.result);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], L"brikfall_SDI, 1.0 版");
    EXPECT_GE(texts.size(), 2u) << "further lines below the version";
    EXPECT_TRUE(hasIcon);
    EXPECT_EQ(buttons, 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, AboutBoxCloses,
                         ::testing::Values(Closing{"OkButton", WM_COMMAND, IDOK, false, IDOK},
                                           Closing{"Enter", WM_KEYDOWN, VK_RETURN, true, IDOK},
                                           Closing{"Esc", WM_KEYDOWN, VK_ESCAPE, true, IDCANCEL},
                                           Closing{"CloseBox", WM_SYSCOMMAND, SC_CLOSE, false, IDCANCEL}),
                         [](const ::testing::TestParamInfo<Closing>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
