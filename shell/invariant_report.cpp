// Reporting failed invariants through the debugger's output and a message box.
#include "shell/invariant_report.h"

#include "framework/app.h"
#include "framework/modal.h"
#include "framework/text.h"
#include "framework/trace.h"

#include <deque>
#include <set>
#include <string>
#include <utility>

namespace {

// One user-interface thread: plain state suffices.
std::deque<std::wstring> g_pending;
bool g_requested = false;
bool g_showing = false;

}  // namespace

void ReportInvariantFailure(const char* expression, const char* file, int line)
{
    const std::string what = std::string("Invariant failed: ") + (expression != nullptr ? expression : "");
    const std::string where = file != nullptr ? file : "";
    framework::Trace(what + "\n", where.c_str(), line);
    static std::set<std::pair<std::string, int>> reported;
    if (!reported.emplace(where, line).second)
        return;
    g_pending.push_back(framework::Widen(what + ", file " + where + ", line " + std::to_string(line)));
    if (g_requested || g_showing)
        return;
    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd != nullptr && mainWnd->m_hWnd != nullptr)
        g_requested = mainWnd->PostMessage(WM_INVARIANT_REPORT) != FALSE;
}

void ShowPendingInvariantReports()
{
    g_requested = false;
    if (g_showing)
        return;
    g_showing = true;
    // A close that waits for the box ends the showing too.
    while (!g_pending.empty() && !ModalLoop::ClosePending()) {
        const std::wstring text = g_pending.front();
        g_pending.pop_front();
        AfxMessageBox(text, MB_ICONERROR | MB_OK);
    }
    g_showing = false;
}

bool InvariantReportShowing()
{
    return g_showing;
}
