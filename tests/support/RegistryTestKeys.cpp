#include "support/RegistryTestKeys.h"

#include <cwchar>
#include <iterator>

#include "common/WideText.h"

namespace {

HKEY OpenForTest(HKEY root, const char* path)
{
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyA(root, path, &key), ERROR_SUCCESS) << path;
    return key;
}

}  // namespace

bool KeyExists(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

void CreateKey(HKEY root, const char* path)
{
    RegCloseKey(OpenForTest(root, path));
}

void SetBytes(HKEY root, const char* path, const char* name, const std::string& bytes)
{
    HKEY key = OpenForTest(root, path);
    EXPECT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetText(HKEY root, const char* path, const char* name, const std::string& text)
{
    SetBytes(root, path, name, std::string(text.c_str(), text.size() + 1));
}

std::optional<StoredValue> GetValue(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    StoredValue value{};
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
    if (status == ERROR_SUCCESS && size > 0) {
        value.bytes.resize(size);
        status = RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE*>(value.bytes.data()),
                                  &size);
        value.bytes.resize(size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> ValueNames(HKEY root, const char* path)
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; index++) {
        char name[1024];
        DWORD length = sizeof name;
        if (RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

void SetWideText(HKEY root, const char* path, const char* name, const std::string& text)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, Utf8ToWide(path).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << path;
    std::wstring wide = Utf8ToWide(text);
    EXPECT_EQ(RegSetValueExW(key, Utf8ToWide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                             DWORD((wide.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

std::optional<std::string> GetWideText(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExW(root, Utf8ToWide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::wstring wideName = Utf8ToWide(name);
    DWORD type = 0, size = 0;
    LONG status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size);
    // Room for a terminator the stored bytes may lack.
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (status == ERROR_SUCCESS) {
        status = RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return WideToUtf8(text);
}

std::vector<std::string> WideValueNames(HKEY root, const char* path)
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExW(root, Utf8ToWide(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; index++) {
        wchar_t name[16384];  // the longest value name the registry allows, and its terminator
        DWORD length = DWORD(std::size(name));
        if (RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.push_back(WideToUtf8(std::wstring(name, length)));
    }
    RegCloseKey(key);
    return names;
}
