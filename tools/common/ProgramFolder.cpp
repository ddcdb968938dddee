#include "common/ProgramFolder.h"

#include <windows.h>

#include "common/Environment.h"

std::string OwnProgramPath()
{
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, length < sizeof path ? length : 0);
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
