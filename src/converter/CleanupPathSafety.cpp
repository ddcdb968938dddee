#include "converter/CleanupPathSafety.h"

#include <cstddef>

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The character at index, or a terminator past the end.
wchar_t At(std::wstring_view path, size_t index)
{
    return index < path.size() ? path[index] : L'\0';
}

// Moves past separators to the next component (between separators); false
// at the end of the path.
bool NextComponent(std::wstring_view path, size_t& cursor, std::wstring_view& component)
{
    while (cursor < path.size() && IsSeparator(path[cursor]))
        cursor++;
    if (cursor >= path.size())
        return false;
    const size_t start = cursor;
    while (cursor < path.size() && !IsSeparator(path[cursor]))
        cursor++;
    component = path.substr(start, cursor - start);
    return true;
}

// The platform drops trailing dots and blanks, so "." and names like "..." or
// ". " name the folder they are in.
bool IsSameFolderComponent(std::wstring_view component)
{
    return component.find_first_not_of(L". ") == std::wstring_view::npos;
}

// How many folders below its root the rest of a path names, after "." and
// ".." are resolved (".." never climbs above the root).
size_t DepthBelowRoot(std::wstring_view path, size_t cursor)
{
    size_t depth = 0;
    std::wstring_view component;
    while (NextComponent(path, cursor, component)) {
        if (component == L"..") {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (!IsSameFolderComponent(component)) {
            depth++;
        }
    }
    return depth;
}

}  // namespace

bool IsFolderSafeToEmpty(std::wstring_view path)
{
    // A path ends at its first zero, as the platform reads it.
    path = path.substr(0, path.find(L'\0'));
    if (IsDriveLetter(At(path, 0)) && At(path, 1) == L':') {
        // "C:folder" is relative to the drive's current folder.
        return IsSeparator(At(path, 2)) && DepthBelowRoot(path, 2) > 0;
    }
    if (IsSeparator(At(path, 0)) && IsSeparator(At(path, 1))) {
        if ((At(path, 2) == L'?' || At(path, 2) == L'.') && IsSeparator(At(path, 3))) {
            return false;
        }
        // \\server\share is the root; a folder must lie below it.
        size_t cursor = 2;
        std::wstring_view server;
        std::wstring_view share;
        if (!NextComponent(path, cursor, server) || !NextComponent(path, cursor, share)) {
            return false;
        }
        return DepthBelowRoot(path, cursor) > 0;
    }
    return false;
}
