// Paths as the module holds them: UTF-16, of any length Windows allows, and
// used with the wide functions only. A path never passes through the ANSI
// code page, which would turn the names it cannot hold into other names.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Windows' own limit on a path, in UTF-16 units, without the terminator.
constexpr size_t LongestPath = 32767;
constexpr size_t PathCapacity = LongestPath + 1;

// Whether a name from a folder listing may be joined to its folder: not
// empty, not "." or "..", and holding no backslash, slash or colon, so that
// the path made of it names a file directly inside that folder.
bool IsPlainName(std::wstring_view name);

// The full path in the form the file functions take at any length: "\\?\"
// (or "\\?\UNC\" for a network path) before the full path, with separators
// made backslashes and "." and ".." resolved as Windows resolves them. A path
// already in that form is kept. Empty when Windows cannot make it full.
std::wstring LongPathForm(const std::wstring& path);

// The file called name directly inside folder, in the long form: the folder
// made full, one backslash, and the name exactly as listed (trailing dots and
// blanks included, which the short form would drop). False, target empty,
// when the name is not plain or the path does not fit in capacity units with
// its terminator. Allocates nothing.
bool FileInFolder(const wchar_t* folder, std::wstring_view name, wchar_t* target, size_t capacity);
bool FileInFolder(const std::wstring& folder, std::wstring_view name, std::wstring& target);

// What tells two spellings of one folder apart from two folders: its long
// form without trailing separators. Empty when Windows cannot make it full.
std::wstring FolderIdentity(const std::wstring& folder);

// Whether two folder identities name one folder: compared unit by unit with
// case ignored, as the file system compares names.
bool SameFolderIdentity(std::wstring_view a, std::wstring_view b);
