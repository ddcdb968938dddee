#include "converter/CleanupPathSafety.h"

#include <cstddef>

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// One component of a path, between separators.
struct Component {
    const char* start;
    size_t length;
};

// Moves past separators to the next component; false at the end of the path.
bool NextComponent(const char*& cursor, Component& component)
{
    while (IsSeparator(*cursor)) {
        cursor++;
    }
    if (*cursor == '\0') {
        return false;
    }
    component.start = cursor;
    while (*cursor != '\0' && !IsSeparator(*cursor)) {
        cursor++;
    }
    component.length = static_cast<size_t>(cursor - component.start);
    return true;
}

bool IsParentComponent(const Component& component)
{
    return component.length == 2 && component.start[0] == '.' && component.start[1] == '.';
}

// The platform drops trailing dots and blanks, so "." and names like "..." or
// ". " name the folder they are in.
bool IsSameFolderComponent(const Component& component)
{
    for (size_t i = 0; i < component.length; i++) {
        if (component.start[i] != '.' && component.start[i] != ' ') {
            return false;
        }
    }
    return true;
}

// How many folders below its root the rest of a path names, after "." and
// ".." are resolved (".." never climbs above the root).
size_t DepthBelowRoot(const char* cursor)
{
    size_t depth = 0;
    Component component;
    while (NextComponent(cursor, component)) {
        if (IsParentComponent(component)) {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (!IsSameFolderComponent(component)) {
            depth++;
        }
    }
    return depth;
}

}  // namespace

bool IsFolderSafeToEmpty(const char* path)
{
    if (path == nullptr) {
        return false;
    }
    if (IsDriveLetter(path[0]) && path[1] == ':') {
        // "C:folder" is relative to the drive's current folder.
        return IsSeparator(path[2]) && DepthBelowRoot(path + 2) > 0;
    }
    if (IsSeparator(path[0]) && IsSeparator(path[1])) {
        if ((path[2] == '?' || path[2] == '.') && IsSeparator(path[3])) {
            return false;
        }
        // \\server\share is the root; a folder must lie below it.
        const char* cursor = path + 2;
        Component server;
        Component share;
        if (!NextComponent(cursor, server) || !NextComponent(cursor, share)) {
            return false;
        }
        return DepthBelowRoot(cursor) > 0;
    }
    return false;
}
