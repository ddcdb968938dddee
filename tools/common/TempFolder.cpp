#include "common/ProgramFolder.h"
#include "common/TempFolder.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <stdexcept>

namespace {

// The wide form with the "\\?\" prefix reaches paths of any length; paths
// are UTF-8 in the tools, so any name Windows allows can be made.
std::wstring LongPath(const std::string& path)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) {
        MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), length);
    }
    return L"\\\\?\\" + wide;
}

DWORD Attributes(const std::string& path)
{
    return GetFileAttributesW(LongPath(path).c_str());
}

}  // namespace

TempFolder::TempFolder(const char* label)
{
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH] = L"";
    DWORD length = GetTempPathW(MAX_PATH, temp);
    char folder[4 * MAX_PATH] = "";
    if (length == 0 || length >= MAX_PATH ||
        WideCharToMultiByte(CP_UTF8, 0, temp, -1, folder, sizeof folder, nullptr, nullptr) == 0) {
        throw std::runtime_error("no temporary folder");
    }
    char name[96];
    std::snprintf(name, sizeof name, "%s-%lu-%u", label, GetCurrentProcessId(), counter++);
    path_ = std::string(folder) + name;
    RemoveTree(path_);
    if (!CreateDirectoryW(LongPath(path_).c_str(), nullptr)) {
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
    if (!CreateDirectoryW(LongPath(path).c_str(), nullptr)) {
        throw std::runtime_error("cannot create folder " + path);
    }
    return path;
}

std::string TempFolder::MakeFile(const std::string& relative, const std::string& content) const
{
    std::string path = Inside(relative);
    HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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
    std::wstring wide = LongPath(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileW(wide.c_str());
        return;
    }
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((wide + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            char narrow[MAX_PATH * 2];
            int length = WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
            if (length > 0) {
                RemoveTree(InFolder(path, narrow));
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(wide.c_str());
}
