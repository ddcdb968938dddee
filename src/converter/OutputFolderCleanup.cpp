#include "converter/RegistryState.h"

#include <windows.h>

#include <cstring>

#include "converter/CleanupPathSafety.h"
#include "platform/RegistryEnumeration.h"
#include "converter/RegistryLocations.h"
#include "platform/Paths.h"

namespace {

// The platform's search finds nothing for a path ending in a separator, even
// when it names a folder; without the separator it finds the folder itself.
bool SomethingExistsAt(const char* path)
{
    char searched[PathCapacity];
    size_t length = strnlen(path, PathCapacity);
    if (length == PathCapacity) {
        return false;
    }
    while (length > 0 && (path[length - 1] == '\\' || path[length - 1] == '/')) {
        length--;
    }
    std::memcpy(searched, path, length);
    searched[length] = '\0';

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(searched, &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return true;
}

// Whether the record of this folder has served its purpose and can go. A
// record naming a root or a relative path goes without touching the disk:
// that folder was never one the converter made for us.
bool FolderRecordSettled(const EnumeratedValue& value)
{
    if (value.dataSize == 0 || !IsFolderSafeToEmpty(value.data)) {
        return true;
    }
    if (!SomethingExistsAt(value.data)) {
        return true;
    }
    return DeleteOutputFolder(value.data);
}

}  // namespace

bool DeleteOutputFolder(const char* folder)
{
    char pattern[PathCapacity];
    if (!IsFolderSafeToEmpty(folder) || !JoinPath(folder, "*.*", pattern, sizeof pattern)) {
        return false;
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    // Only the files directly inside go; subfolders are left, and keep the
    // folder itself in place.
    bool allFilesDeleted = true;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        char filePath[PathCapacity];
        if (!JoinPath(folder, entry.cFileName, filePath, sizeof filePath) || !DeleteFileA(filePath)) {
            allFilesDeleted = false;
            break;
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return allFilesDeleted && RemoveDirectoryA(folder);
}

void CleanupOldOutputFolders()
{
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, CleanupKey, &key) != ERROR_SUCCESS) {
        if (RegCreateKeyA(HKEY_CURRENT_USER, CleanupKey, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
        }
        return;
    }
    // A deleted value's successors move down by one index, so the index moves
    // on only past values that stay.
    EnumeratedValue value;
    DWORD index = 0;
    for (;;) {
        LONG status = ReadValueAt(key, index, value);
        if (status == ERROR_MORE_DATA) {
            index++;
            continue;
        }
        if (status != ERROR_SUCCESS) {
            break;
        }
        if (!FolderRecordSettled(value) || RegDeleteValueA(key, value.name) != ERROR_SUCCESS) {
            index++;
        }
    }
    RegCloseKey(key);
}
