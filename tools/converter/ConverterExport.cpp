#include "common/ProgramFolder.h"
#include "converter/ConverterExport.h"

#include <windows.h>

#include "common/WideFiles.h"

namespace {

std::string WithoutSlash(std::string folder)
{
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder;
}

std::string SystemError(DWORD code)
{
    return "error " + std::to_string(code);
}

bool MakeFolder(const std::string& path)
{
    return CreateDirectoryW(WidePath(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Makes every folder of relative's path below base. Only '\\' and '/' part
// it (UTF-8 holds them in no other character): a fullwidth solidus stays in
// its name.
bool MakeFolders(const std::string& base, const std::string& relative)
{
    size_t at = 0;
    while ((at = relative.find_first_of("\\/", at)) != std::string::npos) {
        if (!MakeFolder(InFolder(base, relative.substr(0, at))))
            return false;
        ++at;
    }
    return true;
}

}  // namespace

bool MakeFreshFolder(const std::string& parent, std::string* folder, std::string* error)
{
    std::string base = parent.empty() ? TemporaryFolder() : parent;
    if (base.empty()) {
        *error = "no temporary folder";
        return false;
    }
    base = WithoutSlash(base);
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        std::string candidate = base + "\\OmbrixExport-" + std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(GetTickCount()) + "-" + std::to_string(attempt);
        if (CreateDirectoryW(WidePath(candidate).c_str(), nullptr)) {
            *folder = candidate;
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            *error = "cannot make a folder in " + base + ": " + SystemError(GetLastError());
            return false;
        }
    }
    *error = "no fresh folder name left in " + base;
    return false;
}

bool ExportFiles(const std::string& folder, const std::vector<ExportEntry>& files, std::string* error)
{
    for (const ExportEntry& entry : files) {
        std::string target = InFolder(folder, entry.name);
        if (!MakeFolders(folder, entry.name)) {
            *error = "cannot make the folders of " + target;
            return false;
        }
        if (entry.folder) {
            if (!MakeFolder(target)) {
                *error = "cannot make folder " + target + ": " + SystemError(GetLastError());
                return false;
            }
        } else if (!CopyFileTo(entry.source, target)) {
            *error = "cannot copy " + entry.source + " to " + target + ": " + SystemError(GetLastError());
            return false;
        }
        std::wstring wideTarget = WidePath(target);
        DWORD attributes = GetFileAttributesW(wideTarget.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;
        if (entry.hidden)
            attributes |= FILE_ATTRIBUTE_HIDDEN;
        if (entry.readOnly)
            attributes |= FILE_ATTRIBUTE_READONLY;
        attributes &= ~DWORD(FILE_ATTRIBUTE_NORMAL);
        if (entry.hidden || entry.readOnly)
            SetFileAttributesW(wideTarget.c_str(), attributes);
    }
    return true;
}
