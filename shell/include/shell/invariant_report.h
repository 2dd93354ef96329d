// Failed invariants of the game, reported where a person sees them: a GUI
// program has no console for the core's default report.
#pragma once

// The handler the program installs: writes the failure to the debugger's
// output and shows it in a message box, the box once per distinct check
// (file and line), so a check failing on every tick does not bury the
// player in boxes. Returns when the box is closed; the game skips the step.
void ReportInvariantFailure(const char* expression, const char* file, int line);
