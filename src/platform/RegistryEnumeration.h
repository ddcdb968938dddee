// Reading a key's values one by one, by index, as UTF-16.
#pragma once

#include <windows.h>

#include <string>

// One value: its name, and its data taken as a string (up to its first zero
// or its end; the type is not looked at).
struct EnumeratedValue {
    std::wstring name;
    std::wstring data;
    DWORD dataSize = 0;  // bytes of data the value holds
};

// The largest value read whole: a name of the registry's longest, data of a
// path of Windows' longest and its terminator.
constexpr DWORD LongestValueName = 16383;
constexpr DWORD LargestValueData = 2 * (32767 + 1);

// Reads the value at index. Returns the registry status: 0, 234 when the
// value is larger than the limits above, 259 past the last value.
LONG ReadValueAt(HKEY key, DWORD index, EnumeratedValue& value);
