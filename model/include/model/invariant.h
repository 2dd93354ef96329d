// Checks of the game's internal invariants. They stay on in every build: a
// failure names the expression, the source file and the line to the handler.
// The default handler ends the program there. A handler that returns (tests
// install one) makes the check return false, and every caller then skips the
// step that would break memory: it writes nothing and returns or stops.
#pragma once

using InvariantHandler = void (*)(const char* expression, const char* file, int line);

// Installs a handler for failed checks and returns the previous one. The
// default handler writes the failure to stderr and aborts.
InvariantHandler setInvariantHandler(InvariantHandler handler);

// Passes the failure to the current handler.
void reportInvariantFailure(const char* expression, const char* file, int line);

// Returns ok; on false reports the failure to the current handler first.
// Inline, so that analysers see that the result is the argument.
inline bool checkInvariant(bool ok, const char* expression, const char* file, int line)
{
    if (!ok)
        reportInvariantFailure(expression, file, line);
    return ok;
}

#define GAME_INVARIANT(expr) checkInvariant(static_cast<bool>(expr), #expr, __FILE__, __LINE__)
