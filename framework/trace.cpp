// Debug output through OutputDebugStringW.
#include "framework/trace.h"

#include "framework/text.h"
#include "framework/win32.h"

#include <string>

namespace framework {

void Trace(std::string_view utf8Message, const char* file, int line)
{
    std::string text = file != nullptr ? file : "";
    text += "(" + std::to_string(line) + "): ";
    text += utf8Message;
    OutputDebugStringW(Widen(text).c_str());
}

}  // namespace framework
