#include "converter/RegistryState.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/RegistryEnumeration.h"
#include "converter/RegistryLocations.h"
#include "converter/ConverterState.h"
#include "platform/Paths.h"

namespace {

constexpr size_t ArgumentTextLength = 5;  // a blank and "%1" in quotes
constexpr size_t ValueNameCapacity = 32;

bool ValueExists(HKEY key, const char* name)
{
    return RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND;
}

}  // namespace

long ReadConverterPath(char* destination)
{
    HKEY key;
    // Without the class key the path stays as it was; launching it fails later.
    if (RegOpenKeyA(HKEY_CLASSES_ROOT, ConverterClassKey, &key) != ERROR_SUCCESS) {
        return 0;
    }
    LONG capacity = static_cast<LONG>(PathCapacity);
    LONG status = RegQueryValueA(key, ConverterCommandSubkey, destination, &capacity);
    // The command is the executable's path and five characters of arguments.
    // A failed read, or anything shorter or not terminated within the buffer,
    // gives no path rather than a cut of stale bytes.
    size_t length = strnlen(destination, PathCapacity);
    if (status != ERROR_SUCCESS || length < ArgumentTextLength || length == PathCapacity) {
        destination[0] = '\0';
    } else {
        destination[length - ArgumentTextLength] = '\0';
    }
    RegCloseKey(key);
    return status;
}

void ResetOutputFolderValue()
{
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, ConverterSettingsKey, &key) == ERROR_SUCCESS) {
        static const BYTE nothing[1] = {0};
        RegSetValueExA(key, OutputFolderValueName, 0, REG_SZ, nothing, 0);
        RegCloseKey(key);
    } else if (RegCreateKeyA(HKEY_CURRENT_USER, ConverterSettingsKey, &key) == ERROR_SUCCESS) {
        // A missing value reads back like an empty one.
        RegCloseKey(key);
    }
}

long ReadOutputFolder(char* destination)
{
    destination[0] = '\0';
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, ConverterSettingsKey, &key) != ERROR_SUCCESS) {
        return 0;
    }
    LONG result = 0;
    EnumeratedValue value;
    for (DWORD index = 0;; index++) {
        LONG status = ReadValueAt(key, index, value);
        if (status != ERROR_SUCCESS) {
            result = status == ERROR_NO_MORE_ITEMS ? 0 : status;
            break;
        }
        // Exact bytes: the converter writes the name with this very case.
        if (std::strcmp(value.name, OutputFolderValueName) == 0 && value.dataSize != 0) {
            std::memcpy(destination, value.data, std::strlen(value.data) + 1);
            break;
        }
    }
    RegCloseKey(key);
    return result;
}

void RecordCleanupFolder(const char* folder)
{
    HKEY key;
    // The cleanup creates the key; without it there is nowhere to record.
    if (RegOpenKeyA(HKEY_CURRENT_USER, CleanupKey, &key) != ERROR_SUCCESS) {
        return;
    }
    DWORD count = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                         nullptr, nullptr) == ERROR_SUCCESS) {
        // The name is the number of values; a record kept from an earlier
        // cleanup may hold it already, and must not be overwritten. Of the
        // count + 1 names from count on, at least one is free.
        char name[ValueNameCapacity];
        for (DWORD candidate = count; candidate <= 2 * count; candidate++) {
            std::snprintf(name, sizeof name, "%d", static_cast<int>(candidate));
            if (!ValueExists(key, name)) {
                RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                               static_cast<DWORD>(std::strlen(folder) + 1));
                break;
            }
        }
    }
    RegCloseKey(key);
}
