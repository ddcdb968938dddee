#include "common/SavedRegistryKey.h"

#include <vector>

#include "common/WideText.h"

// Copied through the wide functions: a string value or a name outside the
// code page comes back exactly.
struct ValueCopy {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
};

struct KeyCopy {
    std::vector<ValueCopy> values;
    std::vector<std::pair<std::wstring, KeyCopy>> subkeys;
};

namespace {

KeyCopy CopyKey(HKEY key)
{
    KeyCopy copy;
    DWORD subkeyCount = 0, longestSubkey = 0, valueCount = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeyCount, &longestSubkey, nullptr, &valueCount,
                     &longestName, &longestData, nullptr, nullptr);
    for (DWORD i = 0; i < valueCount; i++) {
        std::vector<wchar_t> name(longestName + 1);
        ValueCopy value;
        value.data.resize(longestData + 1);
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(value.data.size());
        if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &value.type, value.data.data(), &dataSize) ==
            ERROR_SUCCESS) {
            value.name.assign(name.data(), nameLength);
            value.data.resize(dataSize);
            copy.values.push_back(std::move(value));
        }
    }
    for (DWORD i = 0; i < subkeyCount; i++) {
        std::vector<wchar_t> name(longestSubkey + 1);
        DWORD nameLength = static_cast<DWORD>(name.size());
        HKEY subkey;
        if (RegEnumKeyExW(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
            RegOpenKeyExW(key, name.data(), 0, KEY_READ, &subkey) == ERROR_SUCCESS) {
            copy.subkeys.emplace_back(std::wstring(name.data(), nameLength), CopyKey(subkey));
            RegCloseKey(subkey);
        }
    }
    return copy;
}

void WriteKey(HKEY root, const std::wstring& path, const KeyCopy& copy)
{
    HKEY key;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    for (const ValueCopy& value : copy.values) {
        RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
    }
    for (const auto& [name, subkey] : copy.subkeys) {
        WriteKey(key, name, subkey);
    }
    RegCloseKey(key);
}

}  // namespace

SavedRegistryKey::SavedRegistryKey(HKEY root, const char* path) : root_(root), path_(path)
{
    std::wstring wide = Utf8ToWide(path_);
    HKEY key;
    if (RegOpenKeyExW(root_, wide.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        saved_ = std::make_unique<KeyCopy>(CopyKey(key));
        RegCloseKey(key);
    }
    RegDeleteTreeW(root_, wide.c_str());
}

SavedRegistryKey::~SavedRegistryKey()
{
    std::wstring wide = Utf8ToWide(path_);
    RegDeleteTreeW(root_, wide.c_str());
    if (saved_) {
        WriteKey(root_, wide, *saved_);
    }
}
