#include "support/TestSupport.h"

#include <windows.h>

#include <cstdlib>

std::string ProgramFolder()
{
    // A copy of a test program run from elsewhere is told where the build is.
    if (const char* given = std::getenv(BuildFolderVariable); given != nullptr && *given != '\0')
        return given;
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

std::string BesideProgram(const char* fileName)
{
    return ProgramFolder() + fileName;
}
