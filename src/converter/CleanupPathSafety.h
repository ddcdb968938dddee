// Which recorded folders the cleanup may empty.
#pragma once

#include <string_view>

// False for a path the cleanup must never empty: a relative path (whose
// meaning depends on the current folder), the root of a drive or of a network
// share (also when reached through "." or ".."), and device paths ("\\?\",
// "\\.\"). Backslashes and forward slashes both separate.
bool IsFolderSafeToEmpty(std::wstring_view path);
