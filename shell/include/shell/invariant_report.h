// Failed invariants of the game, reported where a person sees them: a GUI
// program has no console for the core's default report.
#pragma once

#include "framework/win32.h"

// Posted to the main window, which then shows the failures reported since.
constexpr UINT WM_INVARIANT_REPORT = WM_APP + 2;

// The handler the program installs: writes the failure to the debugger's
// output at once and returns, so the game skips the step that failed and
// leaves it whole. The message box comes later, from the message loop (the
// main window is asked to show it), once per distinct check (file and
// line), so a check failing on every tick does not bury the player in boxes.
void ReportInvariantFailure(const char* expression, const char* file, int line);

// Shows a box for each failure reported and not yet shown, one after the
// other; returns when the last is closed. A call while a box is open does
// nothing: the open one's loop shows the rest.
void ShowPendingInvariantReports();

// True while such a box is open: the game is not played meanwhile.
bool InvariantReportShowing();
