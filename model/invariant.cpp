#include "model/invariant.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void abortOnFailure(const char* expression, const char* file, int line)
{
    const std::string message = std::string("Invariant failed: ") + expression + ", file " + file +
                                ", line " + std::to_string(line) + "\n";
    std::fputs(message.c_str(), stderr);
    std::abort();
}

InvariantHandler currentHandler = abortOnFailure;

}  // namespace

InvariantHandler setInvariantHandler(InvariantHandler handler)
{
    InvariantHandler previous = currentHandler;
    currentHandler = handler != nullptr ? handler : abortOnFailure;
    return previous;
}

void reportInvariantFailure(const char* expression, const char* file, int line)
{
    currentHandler(expression, file, line);
}
