// The registry entries the converter stand-in shares with the module: its
// registered open command (how the module finds the converter) and the
// "Plugin Output Folder" value (where it tells the module what it exported).
// Both are wide REG_SZ values; the strings here are UTF-8.
#pragma once

#include <windows.h>

#include <string>

constexpr const char* ConverterDocumentKey = "OmbrixProject.Document";
constexpr const char* ConverterCommandKey = "OmbrixProject.Document\\shell\\open\\command";
constexpr const char* PluginSettingsKey = "Software\\Korvel\\Ombrix 4\\Photoshop";
constexpr const char* OutputFolderValueName = "Plugin Output Folder";

// The executable's full path, unquoted, then a blank and "%1" in quotes: the
// module takes everything but the last five characters as the path.
std::string OpenCommandFor(const std::string& executablePath);

// HKCR open command; Win32 error codes.
LONG RegisterStandIn(const std::string& executablePath);
// Removes the command and the keys above it up to the document type's own,
// as far as they are left empty.
LONG UnregisterStandIn();
bool ReadOpenCommand(std::string* command);

// HKCU "Plugin Output Folder", a REG_SZ written and read wide.
LONG WriteOutputFolderValue(const std::string& value);
bool ReadOutputFolderValue(std::string* value);  // false when the key or value is missing
// Removes the value, then the keys of its path that are left empty.
void RemoveOutputFolderValue();

// Deletes root\path if it has neither subkeys nor values, then its parents in
// turn, up to and including root\stopAt; returns how many keys were deleted.
int DeleteEmptyKeys(HKEY root, const std::string& path, const std::string& stopAt);
