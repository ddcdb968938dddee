// Saves a document the host kept: a TIFF of its own depth carrying the
// profile the module handed over, and an 8-bit PNG preview.
#pragma once

#include <string>

#include "host/HostReport.h"

// Writes <folder>\<NN>-<name>.tif and .png, NN the document's number from 01
// and name its filename without extension. Sets the document's paths; false
// with *problem when a file cannot be made.
bool SaveDocument(DocumentRecord* document, const std::string& folder, std::string* problem);

// The file name's stem with characters that cannot be in a file name
// replaced by '_'; "document" when nothing is left.
std::string DocumentStem(const std::string& filename);
