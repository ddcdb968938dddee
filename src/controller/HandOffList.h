// The quoted DNG paths waiting to be handed to a new host instance.
#pragma once

// Appends "folder\name" in quotes and a blank to HandOffList. Returns false,
// leaving the list unchanged, when the entry does not fit.
bool AppendHandOff(const char* folder, const char* name);
