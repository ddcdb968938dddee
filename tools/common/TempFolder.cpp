#include "common/ProgramFolder.h"
#include "common/TempFolder.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <stdexcept>

#include "common/WideFiles.h"

namespace {

DWORD Attributes(const std::string& path)
{
    return GetFileAttributesW(WidePath(path).c_str());
}

}  // namespace

TempFolder::TempFolder(const char* label)
{
    static std::atomic<unsigned> counter{0};
    std::string temp = TemporaryFolder();
    if (temp.empty()) {
        throw std::runtime_error("no temporary folder");
    }
    char name[96];
    std::snprintf(name, sizeof name, "%s-%lu-%u", label, GetCurrentProcessId(), counter++);
    path_ = temp + name;
    RemoveTree(path_);
    if (!CreateDirectoryW(WidePath(path_).c_str(), nullptr)) {
        throw std::runtime_error("cannot create " + path_);
    }
}

TempFolder::~TempFolder()
{
    RemoveTree(path_);
}

std::string TempFolder::Inside(const std::string& relative) const
{
    return InFolder(path_, relative);
}

std::string TempFolder::MakeFolder(const std::string& relative) const
{
    std::string path = Inside(relative);
    if (!CreateDirectoryW(WidePath(path).c_str(), nullptr)) {
        throw std::runtime_error("cannot create folder " + path);
    }
    return path;
}

std::string TempFolder::MakeFile(const std::string& relative, const std::string& content) const
{
    std::string path = Inside(relative);
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot create file " + path);
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != content.size()) {
        throw std::runtime_error("cannot write file " + path);
    }
    return path;
}

bool PathExists(const std::string& path)
{
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool FolderExists(const std::string& path)
{
    DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RemoveTree(const std::string& path)
{
    std::wstring wide = WidePath(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileW(wide.c_str());
        return;
    }
    // A link to a folder goes, never what it points at.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        for (const std::string& name : FolderEntries(path)) {
            RemoveTree(InFolder(path, name));
        }
    }
    RemoveDirectoryW(wide.c_str());
}
