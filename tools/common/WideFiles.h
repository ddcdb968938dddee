// Files and folders named by UTF-8 paths, reached through the wide functions:
// any name Windows allows (outside the ANSI code page, surrogate pairs) and
// any length up to Windows' own limit.
#pragma once

#include <string>
#include <vector>

// The path for a wide function: made absolute and, for a drive or UNC path,
// in the "\\?\" form that reaches past 259 characters. Resolved as Windows
// resolves a path (forward slashes, "." and ".."); "\\?\" and "\\.\" paths
// are taken as they are.
std::wstring WidePath(const std::string& path);

// The whole content of a file; false when it cannot be read.
bool ReadFileData(const std::string& path, std::string* bytes);
// Writes path.tmp, then moves it over path: a reader never sees half a file.
bool WriteFileData(const std::string& path, const std::string& bytes);
// Copies a file, replacing the target.
bool CopyFileTo(const std::string& source, const std::string& target);

// The names a wide listing of folder returns, without "." and "..", sorted
// by their UTF-8 bytes; empty when the folder cannot be listed.
std::vector<std::string> FolderEntries(const std::string& folder);

// The user's temporary folder with its trailing backslash; empty when
// Windows names none.
std::string TemporaryFolder();
std::string CurrentFolder();
