// Everything the module keeps in the registry: where the converter lives,
// the output folder it reports, and the old output folders still to delete.
// Results are the platform's error codes (0 success, 2 not found, 234 more
// data, 259 no more items).
#pragma once

// destination: 260 bytes (ConverterPath).
long ReadConverterPath(char* destination);
void ResetOutputFolderValue();
// destination: 260 bytes (OutputFolder); empty when there is no folder.
long ReadOutputFolder(char* destination);
void RecordCleanupFolder(const char* folder);
void CleanupOldOutputFolders();
bool DeleteOutputFolder(const char* folder);
