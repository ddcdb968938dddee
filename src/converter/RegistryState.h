// Everything the module keeps in the registry: where the converter lives,
// the output folder it reports, and the old output folders still to delete.
// Results are the platform's error codes (0 success, 2 not found, 234 more
// data, 259 no more items). Everything is read and written as UTF-16.
#pragma once

#include <string>
#include <string_view>

// destination: ConverterPath; left as it was when the class key is missing.
long ReadConverterPath(std::wstring& destination);
void ResetOutputFolderValue();
// destination: OutputFolder; empty when there is no folder.
long ReadOutputFolder(std::wstring& destination);
void RecordCleanupFolder(std::wstring_view folder);
// Deletes every record of folder (however it was spelt) from both cleanup
// keys: it holds files that must outlive the next cleanup.
void ForgetCleanupFolder(const std::wstring& folder);
void CleanupOldOutputFolders();
bool DeleteOutputFolder(std::wstring_view folder);
