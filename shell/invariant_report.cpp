// Reporting failed invariants through the debugger's output and a message box.
#include "shell/invariant_report.h"

#include "framework/app.h"
#include "framework/modal.h"
#include "framework/text.h"
#include "framework/trace.h"

namespace {

// One application per process, as CWinApp has it: set by its report.
InvariantReport* g_current = nullptr;

}  // namespace

InvariantReport::InvariantReport() : m_previous(g_current)
{
    g_current = this;
}

InvariantReport::~InvariantReport()
{
    if (g_current == this)
        g_current = m_previous;
}

InvariantReport* InvariantReport::Current()
{
    return g_current;
}

void InvariantReport::Add(const std::string& what, const std::string& file, int line)
{
    if (!m_reportedChecks.emplace(file, line).second)
        return;
    m_pending.push_back(framework::Widen(what + ", file " + file + ", line " + std::to_string(line)));
    if (m_showing)
        return;
    CWnd* mainWnd = AfxGetMainWnd();
    if (mainWnd != nullptr)
        mainWnd->PostMessage(WM_INVARIANT_REPORT);
}

void InvariantReport::ShowPending()
{
    if (m_showing)
        return;
    m_showing = true;
    // A close that waits for the box ends the showing too.
    while (!m_pending.empty() && !HandlerScope::CloseWaiting()) {
        const std::wstring text = m_pending.front();
        m_pending.pop_front();
        AfxMessageBox(text, MB_ICONERROR | MB_OK);
    }
    m_showing = false;
}

void ReportInvariantFailure(const char* expression, const char* file, int line)
{
    const std::string what = std::string("Invariant failed: ") + (expression != nullptr ? expression : "");
    const std::string where = file != nullptr ? file : "";
    framework::Trace(what + "\n", where.c_str(), line);
    if (InvariantReport* report = InvariantReport::Current())
        report->Add(what, where, line);
}

void ShowPendingInvariantReports()
{
    if (InvariantReport* report = InvariantReport::Current())
        report->ShowPending();
}

bool InvariantReportShowing()
{
    const InvariantReport* report = InvariantReport::Current();
    return report != nullptr && report->Showing();
}
