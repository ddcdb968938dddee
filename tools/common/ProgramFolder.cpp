#include "common/ProgramFolder.h"

#include <windows.h>

#include <shellapi.h>

#include "common/Environment.h"
#include "common/WideText.h"

std::string OwnProgramPath()
{
    // A cut path would name another file: the buffer grows until the
    // whole path fits.
    for (DWORD size = MAX_PATH; size <= 32768 * 2; size *= 2) {
        std::wstring path(size, L'\0');
        DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
        if (length == 0)
            return std::string();
        if (length < size) {
            path.resize(length);
            return WideToUtf8(path);
        }
    }
    return std::string();
}

std::vector<std::string> ProgramArguments()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> texts;
    for (int i = 0; arguments != nullptr && i < count; ++i)
        texts.push_back(WideToUtf8(arguments[i]));
    LocalFree(arguments);
    return texts;
}

std::string ProgramFolder()
{
    // A copy of a program run from elsewhere is told where the build is.
    std::string given = EnvironmentVariable(BuildFolderVariable);
    if (!given.empty())
        return given;
    std::string folder = OwnProgramPath();
    size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string BesideProgram(const char* fileName)
{
    return ProgramFolder() + fileName;
}

std::string InFolder(const std::string& folder, const std::string& name)
{
    return folder + "\\" + name;
}
