// Reading and writing the module's registry keys from the tests, with the
// keys set aside for each test and restored afterwards.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/SavedRegistryKey.h"

constexpr const char* TestClassKey = "OmbrixProject.Document";
constexpr const char* TestCommandKey = "OmbrixProject.Document\\shell\\open\\command";
constexpr const char* TestSettingsKey = "Software\\Korvel\\Ombrix 4\\Photoshop";
constexpr const char* TestCleanupKey = "Software\\Korvel\\Ombrix 4\\Photoshop\\Cleanup";
constexpr const char* TestUnicodeCleanupKey = "Software\\Korvel\\Ombrix 4\\Photoshop\\Cleanup (Unicode)";

// Every test starts without the converter's class key and without
// HKCU\Software\Korvel, and leaves both as they were before it.
class RegistryTest : public ::testing::Test {
private:
    SavedRegistryKey classKey_{HKEY_CLASSES_ROOT, TestClassKey};
    SavedRegistryKey vendorKey_{HKEY_CURRENT_USER, "Software\\Korvel"};
};

bool KeyExists(HKEY root, const char* path);
void CreateKey(HKEY root, const char* path);

// Values through the 8-bit functions, in the code page: what a version of the
// module that keeps paths as 8-bit text writes and reads.
// A value of type REG_SZ with exactly these bytes (no terminator added).
void SetBytes(HKEY root, const char* path, const char* name, const std::string& bytes);
// A value of type REG_SZ holding text and its terminator.
void SetText(HKEY root, const char* path, const char* name, const std::string& text);

struct StoredValue {
    DWORD type;
    std::string bytes;
};
std::optional<StoredValue> GetValue(HKEY root, const char* path, const char* name);
// Names of the values of a key, in the registry's enumeration order.
std::vector<std::string> ValueNames(HKEY root, const char* path);

// The same through the wide functions, with UTF-8 names, paths and texts:
// what no code page can hold comes back exactly.
void SetWideText(HKEY root, const char* path, const char* name, const std::string& text);
// The text of a REG_SZ or REG_EXPAND_SZ value; nullopt when it is missing or
// of another type.
std::optional<std::string> GetWideText(HKEY root, const char* path, const char* name);
std::vector<std::string> WideValueNames(HKEY root, const char* path);
