#include "platform/ProcessLaunch.h"

#include <cstring>

#include "platform/Paths.h"

namespace {

constexpr size_t FileNameCapacity = 52;  // 51 characters and the terminator
constexpr size_t CommandLineCapacity = LongestCommandLine + 1;

bool FitsPathLimit(const char* path)
{
    return strnlen(path, PathCapacity) < PathCapacity;
}

// Polls rather than blocking, like every wait on another process here.
void WaitForExit(HANDLE process)
{
    DWORD exitCode = STILL_ACTIVE;
    if (!GetExitCodeProcess(process, &exitCode)) {
        return;
    }
    while (exitCode == STILL_ACTIVE && !ProcessHasExited(process)) {
        if (!GetExitCodeProcess(process, &exitCode)) {
            return;
        }
        Sleep(500);
    }
}

}  // namespace

bool ProcessHasExited(HANDLE process)
{
    // A process may exit with the very code that means "still running"; only
    // its signalled state tells then. Asked without waiting.
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

bool FileNamePart(const char* path, char* destination, size_t capacity)
{
    if (capacity == 0) {
        return false;
    }
    const char* lastBackslash = std::strrchr(path, '\\');
    const char* name = lastBackslash != nullptr ? lastBackslash + 1 : path;
    size_t length = std::strlen(name);
    if (length >= capacity) {
        destination[0] = '\0';
        return false;
    }
    std::memcpy(destination, name, length + 1);
    return true;
}

DWORD BuildCommandLine(const char* executable, const char* arguments, char* commandLine, size_t capacity)
{
    char fileName[FileNameCapacity];
    if (!FitsPathLimit(executable) || !FileNamePart(executable, fileName, sizeof fileName)) {
        return ERROR_FILENAME_EXCED_RANGE;
    }
    size_t nameLength = std::strlen(fileName);
    size_t argumentsLength = std::strlen(arguments);
    if (nameLength + 1 + argumentsLength >= capacity) {
        return ERROR_BUFFER_OVERFLOW;
    }
    std::memcpy(commandLine, fileName, nameLength);
    commandLine[nameLength] = ' ';
    std::memcpy(commandLine + nameLength + 1, arguments, argumentsLength + 1);
    return 0;
}

size_t ArgumentRoom(const char* executable)
{
    char fileName[FileNameCapacity];
    if (!FitsPathLimit(executable) || !FileNamePart(executable, fileName, sizeof fileName)) {
        return 0;
    }
    return LongestCommandLine - std::strlen(fileName) - 1;
}

DWORD CreateModuleProcess(const char* executable, char* commandLine, PROCESS_INFORMATION& process)
{
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    process = PROCESS_INFORMATION{};
    if (!CreateProcessA(executable, commandLine, nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        nullptr, &startup, &process)) {
        DWORD error = GetLastError();
        process = PROCESS_INFORMATION{};
        return error != 0 ? error : ERROR_GEN_FAILURE;
    }
    return 0;
}

DWORD StartProcess(const char* executable, const char* arguments, bool wait)
{
    if (arguments == nullptr) {
        arguments = "";
    }
    // CreateProcessA may write into the command line, so it lives in our buffer.
    char commandLine[CommandLineCapacity];
    DWORD error = BuildCommandLine(executable, arguments, commandLine, sizeof commandLine);
    PROCESS_INFORMATION process;
    if (error == 0) {
        error = CreateModuleProcess(executable, commandLine, process);
    }
    if (error != 0) {
        return error;
    }
    if (wait) {
        WaitForExit(process.hProcess);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

void HostExecutablePath(char* destination)
{
    destination[0] = '\0';
    DWORD length = GetModuleFileNameA(nullptr, destination, PathCapacity);
    // A cut path would start some other program.
    if (length == 0 || length >= PathCapacity) {
        destination[0] = '\0';
    }
}
