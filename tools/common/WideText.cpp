#include "common/WideText.h"

#include <windows.h>

#include <climits>

std::wstring Utf8ToWide(const std::string& text)
{
    if (text.empty() || text.size() > size_t(INT_MAX))
        return std::wstring();
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string WideToUtf8(const std::wstring& text)
{
    if (text.empty() || text.size() > size_t(INT_MAX))
        return std::string();
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(size_t(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::string WideToUtf8(const wchar_t* text)
{
    return text == nullptr ? std::string() : WideToUtf8(std::wstring(text));
}

std::wstring AnsiToWide(const std::string& text)
{
    if (text.empty() || text.size() > size_t(INT_MAX))
        return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}
