// Where the module and the converter meet in the registry.
#pragma once

// HKEY_CLASSES_ROOT: the converter's document type; its subkey "command"
// holds the open command.
constexpr const char* ConverterClassKey = "OmbrixProject.Document\\shell\\open";
constexpr const char* ConverterCommandSubkey = "command";

// HKEY_CURRENT_USER: the converter reports its output folder here.
constexpr const char* ConverterSettingsKey = "Software\\Korvel\\Ombrix 4\\Photoshop";
constexpr const char* OutputFolderValueName = "Plugin Output Folder";

// HKEY_CURRENT_USER: one value per output folder still to delete.
constexpr const char* CleanupKey = "Software\\Korvel\\Ombrix 4\\Photoshop\\Cleanup";
