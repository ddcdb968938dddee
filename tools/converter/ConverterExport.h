// The stand-in's export: a fresh folder under the user's temporary folder
// with copies of the scenario's images in it.
#pragma once

#include <string>
#include <vector>

#include "converter/ConverterScenario.h"

// Makes a new, empty folder under parent (the temporary folder when parent is
// empty). False with *error when it cannot.
bool MakeFreshFolder(const std::string& parent, std::string* folder, std::string* error);

// Copies (or makes, for folder entries) every entry into folder, making the
// subfolders a name holds, and sets the hidden and read-only attributes.
bool ExportFiles(const std::string& folder, const std::vector<ExportEntry>& files, std::string* error);
