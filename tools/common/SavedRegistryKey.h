// Lets a test own a registry key: whatever was there is set aside for the
// test's duration and put back afterwards.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

struct KeyCopy;

class SavedRegistryKey {
public:
    // Copies root\path (UTF-8) with all its values and subkeys, then removes it.
    SavedRegistryKey(HKEY root, const char* path);
    // Removes whatever the test left at root\path and restores the copy.
    ~SavedRegistryKey();
    SavedRegistryKey(const SavedRegistryKey&) = delete;
    SavedRegistryKey& operator=(const SavedRegistryKey&) = delete;

private:
    HKEY root_;
    std::string path_;
    std::unique_ptr<KeyCopy> saved_;  // null when the key did not exist
};
