#include "common/WideFiles.h"

#include <windows.h>

#include <algorithm>

#include "common/WideText.h"

namespace {

// A value that Windows writes into a buffer it sizes first (length with
// the terminator when the buffer is short, without it once written).
template <typename Fill>
std::wstring Sized(Fill fill)
{
    std::wstring text(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD length = fill(text.data(), DWORD(text.size()));
        if (length == 0)
            return std::wstring();
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.assign(length, L'\0');
    }
    return std::wstring();
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

}  // namespace

std::wstring WidePath(const std::string& path)
{
    std::wstring wide = Utf8ToWide(path);
    if (wide.empty() || wide.rfind(L"\\\\?\\", 0) == 0 || wide.rfind(L"\\\\.\\", 0) == 0)
        return wide;
    std::wstring full = Sized([&](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(wide.c_str(), size, buffer, nullptr);
    });
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\')
        return L"\\\\?\\" + full;
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return full.empty() ? wide : full;
}

bool ReadFileData(const std::string& path, std::string* bytes)
{
    FileHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7fffffff)
        return false;
    std::string content(size_t(size.QuadPart), '\0');
    DWORD read = 0;
    if (!content.empty() && (!ReadFile(file.Get(), content.data(), DWORD(content.size()), &read, nullptr) ||
                             read != content.size()))
        return false;
    *bytes = std::move(content);
    return true;
}

bool WriteFileData(const std::string& path, const std::string& bytes)
{
    std::wstring target = WidePath(path);
    std::wstring temporary = target + L".tmp";
    {
        FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file.Valid() ||
            !WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) || written != bytes.size()) {
            if (file.Valid())
                DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

bool CopyFileTo(const std::string& source, const std::string& target)
{
    return CopyFileW(WidePath(source).c_str(), WidePath(target).c_str(), FALSE) != FALSE;
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    std::wstring pattern = WidePath(folder);
    if (!pattern.empty() && pattern.back() != L'\\')
        pattern += L'\\';
    HANDLE search = FindFirstFileW((pattern + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(WideToUtf8(name));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string TemporaryFolder()
{
    return WideToUtf8(Sized([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); }));
}

std::string CurrentFolder()
{
    return WideToUtf8(Sized([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); }));
}
