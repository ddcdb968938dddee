#include "converter/RegistryState.h"

#include <windows.h>

#include "converter/CleanupPathSafety.h"
#include "converter/RegistryLocations.h"
#include "platform/Paths.h"
#include "platform/RegistryEnumeration.h"

namespace {

// The platform's search finds nothing for a path ending in a separator, even
// when it names a folder; without the separator it finds the folder itself.
bool SomethingExistsAt(std::wstring_view path)
{
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.remove_suffix(1);
    const std::wstring searched = LongPathForm(std::wstring(path));
    if (searched.empty())
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(searched.c_str(), &found);
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

// One key's records, each examined once.
void CleanupRecordsOf(const wchar_t* keyPath)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        if (RegCreateKeyW(HKEY_CURRENT_USER, keyPath, &key) == ERROR_SUCCESS) {
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
        if (!FolderRecordSettled(value) || RegDeleteValueW(key, value.name.c_str()) != ERROR_SUCCESS) {
            index++;
        }
    }
    RegCloseKey(key);
}

}  // namespace

bool DeleteOutputFolder(std::wstring_view recorded)
{
    const std::wstring folder(recorded);
    std::wstring pattern;
    if (!IsFolderSafeToEmpty(folder) || !FileInFolder(folder, L"*", pattern)) {
        return false;
    }
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    // Only the files this listing returns, directly inside, go: subfolders
    // are left, and keep the folder itself in place. A name that is not a
    // plain one would lead out of the folder; it keeps the folder instead.
    bool allFilesDeleted = true;
    std::wstring filePath;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        if (!FileInFolder(folder, entry.cFileName, filePath) || !DeleteFileW(filePath.c_str())) {
            allFilesDeleted = false;
            break;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    if (!allFilesDeleted)
        return false;
    // The folder itself, in the long form without a trailing separator.
    std::wstring self = LongPathForm(folder);
    while (!self.empty() && self.back() == L'\\')
        self.pop_back();
    return !self.empty() && RemoveDirectoryW(self.c_str());
}

void CleanupOldOutputFolders()
{
    CleanupRecordsOf(CleanupKey);
    CleanupRecordsOf(UnicodeCleanupKey);
}
