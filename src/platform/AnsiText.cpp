#include "platform/AnsiText.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

std::string ToAnsi(std::wstring_view text, DWORD flags, bool* lossy)
{
    if (text.empty())
        return std::string();
    BOOL usedDefault = FALSE;
    BOOL* defaultFlag = lossy != nullptr ? &usedDefault : nullptr;
    const int units = int(text.size());
    const int bytes = WideCharToMultiByte(CP_ACP, flags, text.data(), units, nullptr, 0, nullptr, defaultFlag);
    std::string ansi(size_t(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_ACP, flags, text.data(), units, ansi.data(), bytes, nullptr, defaultFlag);
    if (lossy != nullptr)
        *lossy = bytes <= 0 || usedDefault;
    return ansi;
}

}  // namespace

size_t DisplayText(std::wstring_view text, char* target, size_t capacity)
{
    if (capacity == 0)
        return 0;
    // Converted in a buffer of its own, allocating nothing: two units give at
    // least one byte, so this many units give more bytes than ever kept.
    char converted[2048];
    const size_t units = std::min(text.size(), 2 * (capacity - 1));
    if (units == 0 || units * 4 > sizeof converted)
        return 0;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), int(units), converted, int(sizeof converted),
                                          nullptr, nullptr);
    // A double-byte character is kept whole or not at all.
    size_t length = 0;
    while (length < size_t(bytes > 0 ? bytes : 0)) {
        const size_t step = IsDBCSLeadByte(BYTE(converted[length])) && length + 1 < size_t(bytes) ? 2 : 1;
        if (length + step > capacity - 1)
            break;
        length += step;
    }
    std::memcpy(target, converted, length);
    return length;
}

bool AnsiHoldsExactly(std::wstring_view text, size_t maxBytes)
{
    bool lossy = false;
    const std::string ansi = ToAnsi(text, WC_NO_BEST_FIT_CHARS, &lossy);
    if (lossy || ansi.size() > maxBytes)
        return false;
    // Read back as an 8-bit reader's wide functions would, it must be the
    // same text, unit for unit.
    const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), nullptr, 0);
    std::wstring back(size_t(units > 0 ? units : 0), L'\0');
    if (units > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), back.data(), units);
    return back == text;
}
