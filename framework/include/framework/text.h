// Conversions between the game's UTF-8 text and the wide strings of the
// system's W functions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace framework {

// Invalid UTF-8 sequences become U+FFFD.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// Copies text into dest[capacity] as UTF-8, always zero-terminated, cutting
// only between whole characters.
void CopyUtf8Truncated(std::string_view text, char* dest, std::size_t capacity);

// The same for a wide buffer, cutting only between whole code points.
void CopyWideTruncated(std::wstring_view text, wchar_t* dest, std::size_t capacity);

}  // namespace framework
