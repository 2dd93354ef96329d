// Reporting failed invariants through the debugger's output and a message box.
#include "shell/invariant_report.h"

#include "framework/app.h"
#include "framework/text.h"
#include "framework/trace.h"

#include <set>
#include <string>
#include <utility>

void ReportInvariantFailure(const char* expression, const char* file, int line)
{
    const std::string what = std::string("Invariant failed: ") + (expression != nullptr ? expression : "");
    const std::string where = file != nullptr ? file : "";
    framework::Trace(what + "\n", where.c_str(), line);
    // Noted before the box opens: its message loop may run the same check again.
    static std::set<std::pair<std::string, int>> reported;
    if (!reported.emplace(where, line).second)
        return;
    AfxMessageBox(framework::Widen(what + ", file " + where + ", line " + std::to_string(line)),
                  MB_ICONERROR | MB_OK);
}
