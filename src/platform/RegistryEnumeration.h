// Reading a key's values one by one, by index.
#pragma once

#include <windows.h>

// One value, its name and data terminated.
struct EnumeratedValue {
    char name[260];
    char data[260];
    DWORD dataSize;
};

// Reads the value at index with the capacities of every enumeration of the
// module (259 characters of name, 259 bytes of data), given afresh each time.
// Returns the registry status: 0, 234 when the value does not fit, 259 past
// the last value.
LONG ReadValueAt(HKEY key, DWORD index, EnumeratedValue& value);
