// Paths as the module holds them: fixed buffers of the system's classic
// length, never cut.
#pragma once

#include <cstddef>

constexpr size_t PathCapacity = 260;  // 259 characters and the terminator

// folder + "\" + name into target, zero-terminated. A path that does not fit
// the capacity is refused (false, target left empty), never cut.
bool JoinPath(const char* folder, const char* name, char* target, size_t capacity);
