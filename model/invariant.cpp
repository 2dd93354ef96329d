#include "model/invariant.h"

#include <cstdio>
#include <cstdlib>

namespace {

void abortOnFailure(const char* expression, const char* file, int line) {
    std::fprintf(stderr, "Invariant failed: %s, file %s, line %d\n", expression, file, line);
    std::abort();
}

InvariantHandler currentHandler = abortOnFailure;

}  // namespace

InvariantHandler setInvariantHandler(InvariantHandler handler) {
    InvariantHandler previous = currentHandler;
    currentHandler = handler != nullptr ? handler : abortOnFailure;
    return previous;
}

bool checkInvariant(bool ok, const char* expression, const char* file, int line) {
    if (!ok) {
        currentHandler(expression, file, line);
    }
    return ok;
}
