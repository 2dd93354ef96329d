// libFuzzer entry: every input is played on a fresh board; a failed check,
// a failed invariant among them, ends the run as a crash with its reason.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "board_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string failure = playBoardInput(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "Board check failed: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
