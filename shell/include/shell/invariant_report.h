// Failed invariants of the game, reported where a person sees them: a GUI
// program has no console for the core's default report.
#pragma once

#include "framework/win32.h"

#include <deque>
#include <set>
#include <string>
#include <utility>

// Posted to the main window, which then shows the failures reported since.
constexpr UINT WM_INVARIANT_REPORT = WM_APP + 2;

// The failures of one application's run, each check (file and line) shown
// once, so a check failing on every tick does not bury the player in boxes.
// The application object owns it; while it lives, failures go to it.
class InvariantReport {
public:
    InvariantReport();
    ~InvariantReport();
    InvariantReport(const InvariantReport&) = delete;
    InvariantReport& operator=(const InvariantReport&) = delete;

    // The report failures go to now, or null.
    static InvariantReport* Current();

    // Queues the failure's box, unless its check was reported before, and
    // asks the main window to show it from the message loop. Each new check
    // asks once; a request that finds the boxes shown already does nothing.
    void Add(const std::string& what, const std::string& file, int line);
    // Shows the queued boxes one after the other, until none is left or a
    // close waits. A call while a box is open does nothing: the open one's
    // caller shows the rest.
    void ShowPending();
    bool Showing() const { return m_showing; }

private:
    std::deque<std::wstring> m_pending;
    std::set<std::pair<std::string, int>> m_reportedChecks;
    bool m_showing = false;
    InvariantReport* m_previous;
};

// The handler the program installs: writes the failure to the debugger's
// output at once and returns, so the game skips the step that failed and
// leaves it whole. The message box comes later, from the current report.
void ReportInvariantFailure(const char* expression, const char* file, int line);

// The current report's ShowPending and Showing.
void ShowPendingInvariantReports();
// True while such a box is open: the game is not played meanwhile.
bool InvariantReportShowing();
