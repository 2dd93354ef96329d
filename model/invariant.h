// Checks of the game's internal invariants. They stay on in every build: a
// failure names the expression, the source file and the line, and the caller
// skips the step that would break memory.
#pragma once

using InvariantHandler = void (*)(const char* expression, const char* file, int line);

// Installs a handler for failed checks and returns the previous one. The
// default handler writes the failure to stderr and aborts.
InvariantHandler setInvariantHandler(InvariantHandler handler);

// Returns ok; on false reports the failure to the current handler first.
bool checkInvariant(bool ok, const char* expression, const char* file, int line);

#define GAME_INVARIANT(expr) checkInvariant(static_cast<bool>(expr), #expr, __FILE__, __LINE__)
