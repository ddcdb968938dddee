#include "common/SavedRegistryKey.h"

#include <vector>

struct ValueCopy {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
};

struct KeyCopy {
    std::vector<ValueCopy> values;
    std::vector<std::pair<std::string, KeyCopy>> subkeys;
};

namespace {

KeyCopy CopyKey(HKEY key)
{
    KeyCopy copy;
    DWORD subkeyCount = 0, longestSubkey = 0, valueCount = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeyCount, &longestSubkey, nullptr, &valueCount,
                     &longestName, &longestData, nullptr, nullptr);
    for (DWORD i = 0; i < valueCount; i++) {
        std::vector<char> name(longestName + 1);
        ValueCopy value;
        value.data.resize(longestData + 1);
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(value.data.size());
        if (RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &value.type, value.data.data(), &dataSize) ==
            ERROR_SUCCESS) {
            value.name.assign(name.data(), nameLength);
            value.data.resize(dataSize);
            copy.values.push_back(std::move(value));
        }
    }
    for (DWORD i = 0; i < subkeyCount; i++) {
        std::vector<char> name(longestSubkey + 1);
        DWORD nameLength = static_cast<DWORD>(name.size());
        HKEY subkey;
        if (RegEnumKeyExA(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
            RegOpenKeyExA(key, name.data(), 0, KEY_READ, &subkey) == ERROR_SUCCESS) {
            copy.subkeys.emplace_back(std::string(name.data(), nameLength), CopyKey(subkey));
            RegCloseKey(subkey);
        }
    }
    return copy;
}

void WriteKey(HKEY root, const std::string& path, const KeyCopy& copy)
{
    HKEY key;
    if (RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) {
        return;
    }
    for (const ValueCopy& value : copy.values) {
        RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
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
    HKEY key;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        saved_ = std::make_unique<KeyCopy>(CopyKey(key));
        RegCloseKey(key);
    }
    RegDeleteTreeA(root_, path_.c_str());
}

SavedRegistryKey::~SavedRegistryKey()
{
    RegDeleteTreeA(root_, path_.c_str());
    if (saved_) {
        WriteKey(root_, path_, *saved_);
    }
}
