// Where the module and the converter meet in the registry.
#pragma once

// HKEY_CLASSES_ROOT: the converter's document type; its subkey "command"
// holds the open command.
constexpr const wchar_t* ConverterClassKey = L"OmbrixProject.Document\\shell\\open";
constexpr const wchar_t* ConverterCommandSubkey = L"command";

// HKEY_CURRENT_USER: the converter reports its output folder here.
constexpr const wchar_t* ConverterSettingsKey = L"Software\\Korvel\\Ombrix 4\\Photoshop";
constexpr const wchar_t* OutputFolderValueName = L"Plugin Output Folder";

// HKEY_CURRENT_USER: one value per output folder still to delete, read by
// every version of the module. An earlier version reads these values as
// 8-bit text, so only a folder that reads back exactly that way, in the 259
// bytes it reads, is recorded here.
constexpr const wchar_t* CleanupKey = L"Software\\Korvel\\Ombrix 4\\Photoshop\\Cleanup";
constexpr size_t LongestCleanupRecordOfEarlierVersions = 258;  // bytes, without the terminator

// HKEY_CURRENT_USER: the records of every other folder, where no earlier
// version looks (it would read a best-fit version of the path: another
// folder, maybe the user's own).
constexpr const wchar_t* UnicodeCleanupKey = L"Software\\Korvel\\Ombrix 4\\Photoshop\\Cleanup (Unicode)";
