// The game-parameter dialog run for real: what it shows when it opens, which
// entries OK accepts, the messages for the others, and the keys that end it.
#include "framework/app.h"
#include "shell/simparamdlg.h"
#include "dialog_driver.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

constexpr wchar_t kParseIntMessage[] = L"輸入整數。";
constexpr wchar_t kRangeMessage[] = L"輸入 0 和 1000 之間的整數。";
constexpr wchar_t kAppTitle[] = L"brikfall_SDI";

HWND ParamDialog()
{
    return FindThreadDialogWithControl(IDC_GAME_SPEED);
}

HWND SpeedEdit()
{
    return GetDlgItem(ParamDialog(), IDC_GAME_SPEED);
}

bool WholeTextSelected(HWND edit)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start == 0 && end == static_cast<DWORD>(GetWindowTextLengthW(edit));
}

DriverStep WaitForDialog()
{
    return {"dialog opens", [] { return ParamDialog() != nullptr; }};
}

DriverStep EnterAndPressOk(std::wstring text)
{
    return {"enter text and press OK", [text] {
                SetWindowTextW(SpeedEdit(), text.c_str());
                PostMessageW(ParamDialog(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(ParamDialog(), IDOK)));
                return true;
            }};
}

// What a rejected entry shows; the box is closed once it has been read.
struct SeenMessage {
    std::wstring text;
    std::wstring caption;
};

DriverStep ReadAndCloseMessageBox(std::optional<SeenMessage>& seen)
{
    return {"message box appears", [&seen] {
                HWND box = FindMessageBoxOwnedBy(ParamDialog());
                if (box == nullptr)
                    return false;
                seen = SeenMessage{WindowText(GetDlgItem(box, 0xFFFF)), WindowText(box)};
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return true;
            }};
}

DriverStep WaitForMessageBoxGone()
{
    return {"message box closes", [] { return FindMessageBoxOwnedBy(ParamDialog()) == nullptr; }};
}

DriverStep PostToDialog(UINT message, WPARAM wParam)
{
    return {"post to dialog", [message, wParam] {
                PostMessageW(ParamDialog(), message, wParam, 0);
                return true;
            }};
}

struct RunResult {
    INT_PTR result;
    int gameSpeed;
};

RunResult RunDialog(int initialSpeed, std::vector<DriverStep> steps, std::string& stuckAt)
{
    CSimParamDlg simParamDlg;
    simParamDlg.m_gameSpeed = initialSpeed;
    DialogDriver driver(std::move(steps));
    const INT_PTR result = simParamDlg.DoModal();
    stuckAt = driver.stuckAt();
    return {result, simParamDlg.m_gameSpeed};
}

TEST(SimParamDialog, OpensOnTheGivenValueWithTheEditBoxFocused)
{
    std::wstring shown;
    bool focused = false;
    bool selected = false;
    std::string stuckAt;
    const RunResult run = RunDialog(400,
                                    {WaitForDialog(),
                                     {"read the edit box",
                                      [&] {
                                          shown = WindowText(SpeedEdit());
                                          focused = GetFocus() == SpeedEdit();
                                          selected = WholeTextSelected(SpeedEdit());
                                          return true;
                                      }},
                                     PostToDialog(WM_COMMAND, IDCANCEL)},
                                    stuckAt);
    EXPECT_EQ(stuckAt, "");
    EXPECT_EQ(shown, L"400");
    EXPECT_TRUE(focused);
    EXPECT_TRUE(selected);
    EXPECT_EQ(run.result, IDCANCEL);
    EXPECT_EQ(run.gameSpeed, 400);
}

TEST(SimParamDialog, OpensOnAnOutOfRangeValueAsItIs)
{
    std::wstring shown;
    std::string stuckAt;
    const RunResult run = RunDialog(5000,
                                    {WaitForDialog(),
                                     {"read the edit box",
                                      [&] {
                                          shown = WindowText(SpeedEdit());
                                          return true;
                                      }},
                                     PostToDialog(WM_COMMAND, IDCANCEL)},
                                    stuckAt);
    EXPECT_EQ(stuckAt, "");
    EXPECT_EQ(shown, L"5000");
    EXPECT_EQ(run.result, IDCANCEL);
}

struct AcceptedEntry {
    const char* name;
    const wchar_t* entry;
    int value;
};

// Failures name the case instead of dumping its bytes.
void PrintTo(const AcceptedEntry& c, std::ostream* os)
{
    *os << c.name;
}

class SimParamAccepts : public ::testing::TestWithParam<AcceptedEntry> {};

TEST_P(SimParamAccepts, OkEndsTheDialogWithTheNumber)
{
    const AcceptedEntry& c = GetParam();
    std::string stuckAt;
    const RunResult run = RunDialog(400, {WaitForDialog(), EnterAndPressOk(c.entry)}, stuckAt);
    EXPECT_EQ(stuckAt, "");
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.gameSpeed, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, SimParamAccepts,
    ::testing::Values(AcceptedEntry{"Zero", L"0", 0}, AcceptedEntry{"Maximum", L"1000", 1000},
                      AcceptedEntry{"LeadingBlanks", L"  300", 300},
                      AcceptedEntry{"TrailingUnit", L"250ms", 250}, AcceptedEntry{"PlusSign", L"+7", 7},
                      AcceptedEntry{"TabAndTrailingBlank", L"\t42 ", 42},
                      AcceptedEntry{"LeadingZeros", L"0001000", 1000}),
    [](const ::testing::TestParamInfo<AcceptedEntry>& param) { return std::string(param.param.name); });

struct RejectedEntry {
    const char* name;
    const wchar_t* entry;
    const wchar_t* message;
};

void PrintTo(const RejectedEntry& c, std::ostream* os)
{
    *os << c.name;
}

class SimParamRejects : public ::testing::TestWithParam<RejectedEntry> {};

// A rejected entry keeps the dialog open with the entry selected for
// correction; Cancel then ends it (what the view keeps afterwards is
// checked with the real view, in frame_commands_test.cpp).
TEST_P(SimParamRejects, ShowsTheMessageAndKeepsTheDialogOpen)
{
    const RejectedEntry& c = GetParam();
    std::optional<SeenMessage> seen;
    bool focused = false;
    bool selected = false;
    std::wstring remaining;
    std::string stuckAt;
    const RunResult run = RunDialog(400,
                                    {WaitForDialog(),
                                     EnterAndPressOk(c.entry),
                                     ReadAndCloseMessageBox(seen),
                                     WaitForMessageBoxGone(),
                                     {"check the edit box",
                                      [&] {
                                          focused = GetFocus() == SpeedEdit();
                                          selected = WholeTextSelected(SpeedEdit());
                                          remaining = WindowText(SpeedEdit());
                                          return true;
                                      }},
                                     PostToDialog(WM_COMMAND, IDCANCEL)},
                                    stuckAt);
    EXPECT_EQ(stuckAt, "");
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, c.message);
    EXPECT_EQ(seen->caption, kAppTitle);
    EXPECT_TRUE(focused);
    EXPECT_TRUE(selected);
    EXPECT_EQ(remaining, c.entry);
    EXPECT_EQ(run.result, IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(Entries, SimParamRejects,
                         ::testing::Values(RejectedEntry{"BelowMinimum", L"-1", kRangeMessage},
                                           RejectedEntry{"AboveMaximum", L"1001", kRangeMessage},
                                           RejectedEntry{"TooLargeForInt", L"99999999999", kRangeMessage},
                                           RejectedEntry{"TooSmallForInt", L"-99999999999", kRangeMessage},
                                           RejectedEntry{"WrapsToInRange", L"4294967696", kRangeMessage},
                                           RejectedEntry{"Empty", L"", kParseIntMessage},
                                           RejectedEntry{"Letters", L"abc", kParseIntMessage},
                                           RejectedEntry{"SignOnly", L"-", kParseIntMessage},
                                           RejectedEntry{"UnitFirst", L"ms250", kParseIntMessage},
                                           RejectedEntry{"BlankAfterSign", L"- 5", kParseIntMessage}),
                         [](const ::testing::TestParamInfo<RejectedEntry>& param) {
                             return std::string(param.param.name);
                         });

// Only the first 63 characters count: a number that starts after them is
// not seen.
TEST(SimParamDialog, ReadsOnlyTheFirst63Characters)
{
    std::optional<SeenMessage> seen;
    std::string stuckAt;
    const RunResult run = RunDialog(
        400,
        {WaitForDialog(), EnterAndPressOk(std::wstring(63, L' ') + L"5"), ReadAndCloseMessageBox(seen),
         WaitForMessageBoxGone(), EnterAndPressOk(std::wstring(62, L' ') + L"5")},
        stuckAt);
    EXPECT_EQ(stuckAt, "");
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, kParseIntMessage);
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.gameSpeed, 5);
}

TEST(SimParamDialog, AcceptsACorrectedEntryAfterARejectedOne)
{
    std::optional<SeenMessage> seen;
    std::string stuckAt;
    const RunResult run = RunDialog(400,
                                    {WaitForDialog(), EnterAndPressOk(L"2000"), ReadAndCloseMessageBox(seen),
                                     WaitForMessageBoxGone(), EnterAndPressOk(L"120")},
                                    stuckAt);
    EXPECT_EQ(stuckAt, "");
    EXPECT_TRUE(seen.has_value());
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.gameSpeed, 120);
}

struct EndingKey {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool toEdit;
    INT_PTR result;
    int gameSpeed;
};

void PrintTo(const EndingKey& c, std::ostream* os)
{
    *os << c.name;
}

class SimParamEnds : public ::testing::TestWithParam<EndingKey> {};

// The edit holds 250 when the dialog is ended: only OK-like endings take it.
TEST_P(SimParamEnds, EndsTheDialogAsOkOrCancel)
{
    const EndingKey& c = GetParam();
    std::string stuckAt;
    const RunResult run = RunDialog(400,
                                    {WaitForDialog(),
                                     {"type and end",
                                      [&c] {
                                          SetWindowTextW(SpeedEdit(), L"250");
                                          HWND target = c.toEdit ? SpeedEdit() : ParamDialog();
                                          PostMessageW(target, c.message, c.wParam, 1);
                                          return true;
                                      }}},
                                    stuckAt);
    EXPECT_EQ(stuckAt, "");
    EXPECT_EQ(run.result, c.result);
    EXPECT_EQ(run.gameSpeed, c.gameSpeed);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SimParamEnds,
    ::testing::Values(EndingKey{"Enter", WM_KEYDOWN, VK_RETURN, true, IDOK, 250},
                      EndingKey{"Esc", WM_KEYDOWN, VK_ESCAPE, true, IDCANCEL, 400},
                      EndingKey{"CloseBox", WM_SYSCOMMAND, SC_CLOSE, false, IDCANCEL, 400},
                      EndingKey{"CancelButton", WM_COMMAND, IDCANCEL, false, IDCANCEL, 400}),
    [](const ::testing::TestParamInfo<EndingKey>& param) { return std::string(param.param.name); });

// The dialog's owner is disabled while it runs and enabled again after.
struct OwnerCase {
    const char* name;
    bool explicitParent;
};

void PrintTo(const OwnerCase& c, std::ostream* os)
{
    *os << c.name;
}

class SimParamOwner : public ::testing::TestWithParam<OwnerCase> {};

TEST_P(SimParamOwner, OwnerIsTheParentOrElseTheMainWindow)
{
    CWinApp app;
    CWnd mainWnd;
    CWnd otherWnd;
    for (CWnd* wnd : {&mainWnd, &otherWnd}) {
        ASSERT_TRUE(wnd->CreateEx(0, AfxRegisterWndClass(0), L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr));
    }
    app.m_pMainWnd = &mainWnd;
    HWND expectedOwner = GetParam().explicitParent ? otherWnd.m_hWnd : mainWnd.m_hWnd;

    HWND owner = nullptr;
    bool ownerEnabled = true;
    CSimParamDlg simParamDlg(GetParam().explicitParent ? &otherWnd : nullptr);
    DialogDriver driver({WaitForDialog(), {"look at the owner", [&] {
                                               owner = GetWindow(ParamDialog(), GW_OWNER);
                                               ownerEnabled = IsWindowEnabled(expectedOwner) != FALSE;
                                               PostMessageW(ParamDialog(), WM_COMMAND, IDCANCEL, 0);
                                               return true;
                                           }}});
    EXPECT_EQ(simParamDlg.DoModal(), IDCANCEL);
    EXPECT_EQ(driver.stuckAt(), "");
    EXPECT_EQ(owner, expectedOwner);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(expectedOwner));
    app.m_pMainWnd = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Parents, SimParamOwner,
                         ::testing::Values(OwnerCase{"NoParent", false}, OwnerCase{"ExplicitParent", true}),
                         [](const ::testing::TestParamInfo<OwnerCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(SimParamDialog, DoModalReportsADialogThatCannotBeCreated)
{
    class MissingTemplateDlg : public CDialogEx {
    public:
        MissingTemplateDlg() : CDialogEx(4242) {}
    };
    MissingTemplateDlg dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
}

}  // namespace
