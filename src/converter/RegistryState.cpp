#include "converter/RegistryState.h"

#include <windows.h>

#include <cwchar>

#include "platform/AnsiText.h"
#include "platform/Paths.h"
#include "platform/RegistryEnumeration.h"
#include "converter/RegistryLocations.h"

namespace {

constexpr size_t ArgumentTextLength = 5;  // a blank and "%1" in quotes
// The longest open command taken: a path of Windows' longest and its arguments.
constexpr LONG LargestCommandBytes = LONG((LongestPath + ArgumentTextLength + 1) * sizeof(wchar_t));

bool ValueExists(HKEY key, const wchar_t* name)
{
    return RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) != ERROR_FILE_NOT_FOUND;
}

// The default value of the class key's subkey "command", whole or not at all.
LONG ReadOpenCommand(HKEY key, std::wstring& command)
{
    command.clear();
    LONG size = 0;
    LONG status = RegQueryValueW(key, ConverterCommandSubkey, nullptr, &size);
    if (status != ERROR_SUCCESS)
        return status;
    if (size > LargestCommandBytes)
        return ERROR_MORE_DATA;
    std::wstring text(size_t(size) / sizeof(wchar_t) + 1, L'\0');
    LONG read = LONG(text.size() * sizeof(wchar_t));
    status = RegQueryValueW(key, ConverterCommandSubkey, text.data(), &read);
    if (status == ERROR_SUCCESS)
        command.assign(text.data(), wcsnlen(text.data(), text.size()));
    return status;
}

}  // namespace

long ReadConverterPath(std::wstring& destination)
{
    HKEY key;
    // Without the class key the path stays as it was; launching it fails later.
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, ConverterClassKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return 0;
    }
    std::wstring command;
    const LONG status = ReadOpenCommand(key, command);
    // The command is the executable's path and five characters of arguments.
    // A failed read, or anything shorter, gives no path.
    if (status != ERROR_SUCCESS || command.size() < ArgumentTextLength) {
        destination.clear();
    } else {
        destination.assign(command, 0, command.size() - ArgumentTextLength);
    }
    RegCloseKey(key);
    return status;
}

void ResetOutputFolderValue()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ConverterSettingsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        static const BYTE nothing[1] = {0};
        RegSetValueExW(key, OutputFolderValueName, 0, REG_SZ, nothing, 0);
        RegCloseKey(key);
    } else if (RegCreateKeyW(HKEY_CURRENT_USER, ConverterSettingsKey, &key) == ERROR_SUCCESS) {
        // A missing value reads back like an empty one.
        RegCloseKey(key);
    }
}

long ReadOutputFolder(std::wstring& destination)
{
    destination.clear();
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ConverterSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
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
        // Exact units: the converter writes the name with this very case.
        if (value.name == OutputFolderValueName && value.dataSize != 0) {
            destination = value.data;
            break;
        }
    }
    RegCloseKey(key);
    return result;
}

void RecordCleanupFolder(std::wstring_view folder)
{
    // Where every version of the module reads it back as this very folder,
    // or else where only this one looks.
    const wchar_t* keyPath =
        AnsiHoldsExactly(folder, LongestCleanupRecordOfEarlierVersions) ? CleanupKey : UnicodeCleanupKey;
    HKEY key;
    // The cleanup creates the key; without it there is nowhere to record.
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return;
    }
    DWORD count = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                         nullptr, nullptr) == ERROR_SUCCESS) {
        const std::wstring data(folder);
        // The name is the number of values; a record kept from an earlier
        // cleanup may hold it already, and must not be overwritten. Of the
        // count + 1 names from count on, at least one is free.
        for (DWORD candidate = count; candidate <= 2 * count; candidate++) {
            const std::wstring name = std::to_wstring(candidate);
            if (!ValueExists(key, name.c_str())) {
                RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                               DWORD((data.size() + 1) * sizeof(wchar_t)));
                break;
            }
        }
    }
    RegCloseKey(key);
}

void ForgetCleanupFolder(const std::wstring& folder)
{
    const std::wstring identity = FolderIdentity(folder);
    for (const wchar_t* keyPath : {CleanupKey, UnicodeCleanupKey}) {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            continue;
        // A deleted value's successors move down by one index.
        EnumeratedValue value;
        for (DWORD index = 0;;) {
            const LONG status = ReadValueAt(key, index, value);
            if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
                break;
            const bool names = status == ERROR_SUCCESS &&
                               (value.data == folder || SameFolderIdentity(identity, FolderIdentity(value.data)));
            if (!names || RegDeleteValueW(key, value.name.c_str()) != ERROR_SUCCESS)
                index++;
        }
        RegCloseKey(key);
    }
}
