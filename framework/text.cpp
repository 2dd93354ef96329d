// UTF-8 and wide string conversions over the system's code page functions.
#include "framework/text.h"

#include "framework/win32.h"

#include <climits>

namespace framework {

std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty() || utf8.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int length = static_cast<int>(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return wide;
}

std::string Narrow(std::wstring_view wide)
{
    if (wide.empty() || wide.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int length = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return {};
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

void CopyUtf8Truncated(std::string_view text, char* dest, std::size_t capacity)
{
    if (dest == nullptr || capacity == 0)
        return;
    std::size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
    // Back off continuation bytes (10xxxxxx) so no character is cut in two.
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    text.copy(dest, length);
    dest[length] = '\0';
}

void CopyWideTruncated(std::wstring_view text, wchar_t* dest, std::size_t capacity)
{
    if (dest == nullptr || capacity == 0)
        return;
    std::size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
    // A high surrogate without its partner would be half a character.
    if (length < text.size() && length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length;
    text.copy(dest, length);
    dest[length] = L'\0';
}

}  // namespace framework
