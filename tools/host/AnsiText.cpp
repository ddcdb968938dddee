#include "host/AnsiText.h"

#include <windows.h>

#include <vector>

namespace {

std::string Convert(const std::string& text, UINT from, UINT to)
{
    if (text.empty())
        return text;
    int wide = MultiByteToWideChar(from, 0, text.data(), int(text.size()), nullptr, 0);
    if (wide <= 0)
        return text;
    std::vector<wchar_t> buffer(static_cast<size_t>(wide));
    MultiByteToWideChar(from, 0, text.data(), int(text.size()), buffer.data(), wide);
    int bytes = WideCharToMultiByte(to, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return text;
    std::string converted(size_t(bytes), '\0');
    WideCharToMultiByte(to, 0, buffer.data(), wide, converted.data(), bytes, nullptr, nullptr);
    return converted;
}

}  // namespace

std::string AnsiToUtf8(const std::string& text)
{
    return Convert(text, CP_ACP, CP_UTF8);
}

std::string Utf8ToAnsi(const std::string& text)
{
    return Convert(text, CP_UTF8, CP_ACP);
}
