// Diagnostic messages for a developer, sent to the debugger's output.
#pragma once

#include <string_view>

namespace framework {

// Writes "file(line): message" to the debugger's output.
void Trace(std::string_view utf8Message, const char* file, int line);

}  // namespace framework

#define TRACE(message) ::framework::Trace((message), __FILE__, __LINE__)
