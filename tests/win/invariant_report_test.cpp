// Failed invariants in the program: a message box captioned brikfall_SDI
// that names the expression, the file and the line, once per check, and a
// line in the debugger's output for every failure. The box opens from the
// message loop, after the game step that failed, and the game stands still
// while it is open.
#include "shell/invariant_report.h"
#include "dialog_driver.h"
#include "frame_fixture.h"
#include "model/invariant.h"
#include "control/gameboard.h"
#include "control/gravity.h"
#include "model/shape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDebugStringNarrow = 0x40010006;  // DBG_PRINTEXCEPTION_C
constexpr DWORD kDebugStringWide = 0x4001000A;    // DBG_PRINTEXCEPTION_WIDE_C

// OutputDebugString raises an exception that a vectored handler sees first
// when no debugger is attached: the test reads the debugger's output there.
class DebugOutputCapture {
public:
    DebugOutputCapture() : m_handler(AddVectoredExceptionHandler(1, &Catch)) { s_lines = &m_lines; }
    ~DebugOutputCapture()
    {
        RemoveVectoredExceptionHandler(m_handler);
        s_lines = nullptr;
    }
    // Every string written, the wide form and its narrow fallback alike.
    const std::vector<std::string>& lines() const { return m_lines; }

private:
    static LONG CALLBACK Catch(EXCEPTION_POINTERS* info)
    {
        const EXCEPTION_RECORD* record = info->ExceptionRecord;
        if (s_lines == nullptr || record->NumberParameters < 2)
            return EXCEPTION_CONTINUE_SEARCH;
        const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
        if (record->ExceptionCode == kDebugStringNarrow) {
            const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            s_lines->emplace_back(text, length > 0 ? length - 1 : 0);
        } else if (record->ExceptionCode == kDebugStringWide) {
            const auto* text = reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]);
            std::string narrow;
            for (size_t i = 0; i + 1 < length; ++i)
                narrow += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
            s_lines->push_back(narrow);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    static std::vector<std::string>* s_lines;
    PVOID m_handler;
    std::vector<std::string> m_lines;
};

std::vector<std::string>* DebugOutputCapture::s_lines = nullptr;

struct ShownBox {
    bool shown = false;
    std::wstring caption;
    std::wstring text;
};

// Reports one failure; a message box that opens is read and closed.
ShownBox Report(const char* expression, const char* file, int line)
{
    ShownBox box;
    DialogDriver driver({{"message box",
                          [&] {
                              HWND dialog = FindThreadDialogWithControl(0xFFFF);
                              if (dialog == nullptr)
                                  return false;
                              box.caption = WindowText(dialog);
                              box.text = WindowText(GetDlgItem(dialog, 0xFFFF));
                              PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                              return true;
                          }}},
                        5000);
    ReportInvariantFailure(expression, file, line);
    ShowPendingInvariantReports();
    box.shown = driver.finished();
    return box;
}

bool Contains(const std::vector<std::string>& lines, const std::string& part)
{
    for (const std::string& line : lines) {
        if (line.find(part) != std::string::npos)
            return true;
    }
    return false;
}

TEST(InvariantReport, ShowsEachCheckOnceAndWritesEveryFailureToTheDebugger)
{
    struct Failure {
        const char* expression;
        const char* file;
        int line;
        bool box;
    };
    const Failure failures[] = {
        {"iSrc>=emptyRow", "model/blockary.cpp", 71, true},
        {"iSrc>=emptyRow", "model/blockary.cpp", 71, false},  // the same check again
        {"popup != nullptr", "shell/childview.cpp", 204, true},
        {"iSrc>=emptyRow", "model/blockary.cpp", 72, true},  // another line
    };
    const InvariantReport report;
    for (const Failure& failure : failures) {
        SCOPED_TRACE(std::string(failure.file) + ":" + std::to_string(failure.line));
        DebugOutputCapture output;
        const ShownBox box = Report(failure.expression, failure.file, failure.line);
        ASSERT_EQ(box.shown, failure.box);
        if (failure.box) {
            EXPECT_EQ(box.caption, L"brikfall_SDI");
            const std::wstring expected =
                L"Invariant failed: " +
                std::wstring(failure.expression, failure.expression + std::strlen(failure.expression));
            EXPECT_NE(box.text.find(expected), std::wstring::npos) << "box text lacks the expression";
            EXPECT_NE(box.text.find(std::wstring(failure.file, failure.file + std::strlen(failure.file))),
                      std::wstring::npos);
            EXPECT_NE(box.text.find(L"line " + std::to_wstring(failure.line)), std::wstring::npos);
        }
        EXPECT_TRUE(Contains(output.lines(), std::string(failure.file) + "(" + std::to_string(failure.line) +
                                                 "): Invariant failed: " + failure.expression))
            << "no debugger output";
    }
}

// Each application's report starts empty: a check that an earlier one
// showed is shown again.
TEST(InvariantReport, ANewApplicationShowsAgainWhatAnEarlierOneShowed)
{
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE("run " + std::to_string(run + 1));
        const InvariantReport report;
        EXPECT_TRUE(Report("iSrc>=emptyRow", "model/blockary.cpp", 71).shown);
    }
}

// The game view with a failure planted in its next gravity step, and a
// count of the steps it is asked for while a failure's box is open.
class PlantingView : public CChildView {
public:
    bool armed = false;
    int planted = 0;
    int stepsWhileBoxOpen = 0;

protected:
    void OnTimer(UINT_PTR nIDEvent) override
    {
        m_inTimer = true;
        CChildView::OnTimer(nIDEvent);
        m_inTimer = false;
    }

public:
    // Every step of the game begins by opening the client area.
    std::unique_ptr<surface::CDC> openClientDC() override
    {
        if (InvariantReportShowing())
            ++stepsWhileBoxOpen;
        if (m_inTimer && armed) {
            armed = false;
            ++planted;
            checkInvariant(false, "planted", "model/blockary.cpp", 71);
        }
        return CChildView::openClientDC();
    }

private:
    bool m_inTimer = false;
};

int ThreadMessageBoxes()
{
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM found) {
            if (IsWindowVisible(hwnd) && GetDlgItem(hwnd, 0xFFFF) != nullptr)
                ++*reinterpret_cast<int*>(found);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// Puts a handler in place for its life; the one before comes back however
// the test ends, a failed assertion included.
class ScopedInvariantHandler {
public:
    explicit ScopedInvariantHandler(InvariantHandler handler) : m_previous(setInvariantHandler(handler)) {}
    ~ScopedInvariantHandler() { setInvariantHandler(m_previous); }
    ScopedInvariantHandler(const ScopedInvariantHandler&) = delete;
    ScopedInvariantHandler& operator=(const ScopedInvariantHandler&) = delete;

private:
    InvariantHandler m_previous;
};

TEST_F(GameWindowTest, FailureInAGravityStepShowsOneBoxAfterTheStepAndTheGameGoesOn)
{
    const ScopedInvariantHandler reporting(&ReportInvariantFailure);
    PlantingView planting;
    ASSERT_TRUE(planting.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 640, 560}, m_frame,
                                0x7001, nullptr));
    PostMessageW(planting.m_hWnd, WM_KEYDOWN, kKeyG.vk, static_cast<LPARAM>(1 | (kKeyG.scan << 16)));
    PumpPending();
    ASSERT_EQ(planting.board().state(), GameState::Running);
    planting.armed = true;

    // The box stays open for three gravity intervals and more.
    const DWORD openFor =
        3 * static_cast<DWORD>(gravityInterval(planting.timerBase(), planting.speedLevel())) + 200;
    ULONGLONG shownAt = 0;
    int mostBoxes = 0;
    std::wstring text;
    DialogDriver driver(
        {{"the box",
          [&] {
              HWND box = FindThreadDialogWithControl(0xFFFF);
              if (box == nullptr)
                  return false;
              text = WindowText(GetDlgItem(box, 0xFFFF));
              shownAt = GetTickCount64();
              return true;
          }},
         {"time with the box open",
          [&] {
              mostBoxes = std::max(mostBoxes, ThreadMessageBoxes());
              return GetTickCount64() >= shownAt + openFor;
          }},
         {"OK",
          [&] { return PostMessageW(FindThreadDialogWithControl(0xFFFF), WM_COMMAND, IDOK, 0) != FALSE; }}},
        10000);
    EXPECT_TRUE(PumpUntil([&] { return driver.finished() && ThreadMessageBoxes() == 0; }, 10000))
        << "stuck at " << driver.stuckAt();
    EXPECT_EQ(planting.planted, 1);
    EXPECT_EQ(mostBoxes, 1);
    EXPECT_NE(text.find(L"Invariant failed: planted"), std::wstring::npos);
    EXPECT_EQ(planting.stepsWhileBoxOpen, 0) << "the game was played while the box was open";

    // Play goes on: the shape falls again, and no second box comes.
    ASSERT_NE(planting.board().current(), nullptr);
    const int row = planting.board().current()->centerY();
    const Shape* shape = planting.board().current();
    EXPECT_TRUE(PumpUntil(
        [&] { return planting.board().current() != shape || planting.board().current()->centerY() != row; }));
    EXPECT_EQ(planting.board().state(), GameState::Running);
    EXPECT_EQ(ThreadMessageBoxes(), 0);
    planting.DestroyWindow();
}

}  // namespace
