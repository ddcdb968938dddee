#include "support/WideText.h"

#include <windows.h>

namespace {

std::wstring Decode(UINT codePage, std::string_view text)
{
    const int units = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(units > 0 ? units : 0), L'\0');
    if (units > 0)
        MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), wide.data(), units);
    return wide;
}

}  // namespace

std::wstring Wide(std::string_view utf8)
{
    return Decode(CP_UTF8, utf8);
}

std::wstring FromAnsi(std::string_view ansi)
{
    return Decode(CP_ACP, ansi);
}

std::string Utf8(std::wstring_view wide)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}
