#include "platform/ProcessLaunch.h"

#include <cstring>
#include <cwchar>
#include <iterator>

#include "platform/Paths.h"

namespace {

constexpr size_t FileNameCapacity = 52;  // 51 characters and the terminator
constexpr size_t CommandLineCapacity = LongestCommandLine + 1;

bool FitsPathLimit(const wchar_t* path)
{
    return wcsnlen(path, LongestPath + 1) <= LongestPath;
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

bool FileNamePart(const wchar_t* path, wchar_t* destination, size_t capacity)
{
    if (capacity == 0) {
        return false;
    }
    const wchar_t* lastBackslash = std::wcsrchr(path, L'\\');
    const wchar_t* name = lastBackslash != nullptr ? lastBackslash + 1 : path;
    size_t length = std::wcslen(name);
    if (length >= capacity) {
        destination[0] = '\0';
        return false;
    }
    std::wmemcpy(destination, name, length + 1);
    return true;
}

DWORD BuildCommandLine(const wchar_t* executable, const wchar_t* arguments, wchar_t* commandLine, size_t capacity)
{
    wchar_t fileName[FileNameCapacity];
    if (!FitsPathLimit(executable) || !FileNamePart(executable, fileName, std::size(fileName))) {
        return ERROR_FILENAME_EXCED_RANGE;
    }
    size_t nameLength = std::wcslen(fileName);
    size_t argumentsLength = std::wcslen(arguments);
    if (nameLength + 1 + argumentsLength >= capacity) {
        return ERROR_BUFFER_OVERFLOW;
    }
    std::wmemcpy(commandLine, fileName, nameLength);
    commandLine[nameLength] = L' ';
    std::wmemcpy(commandLine + nameLength + 1, arguments, argumentsLength + 1);
    return 0;
}

size_t ArgumentRoom(const wchar_t* executable)
{
    wchar_t fileName[FileNameCapacity];
    if (!FitsPathLimit(executable) || !FileNamePart(executable, fileName, std::size(fileName))) {
        return 0;
    }
    return LongestCommandLine - std::wcslen(fileName) - 1;
}

DWORD CreateModuleProcess(const wchar_t* executable, wchar_t* commandLine, PROCESS_INFORMATION& process)
{
    STARTUPINFOW startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    process = PROCESS_INFORMATION{};
    if (!CreateProcessW(executable, commandLine, nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        nullptr, &startup, &process)) {
        DWORD error = GetLastError();
        process = PROCESS_INFORMATION{};
        return error != 0 ? error : ERROR_GEN_FAILURE;
    }
    return 0;
}

DWORD StartProcess(const wchar_t* executable, const wchar_t* arguments, bool wait)
{
    if (arguments == nullptr) {
        arguments = L"";
    }
    // CreateProcessW may write into the command line, so it lives in our
    // buffer; a static one, as a stack of the host's is no place for 64 KB.
    static wchar_t commandLine[CommandLineCapacity];
    DWORD error = BuildCommandLine(executable, arguments, commandLine, std::size(commandLine));
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

std::wstring HostExecutablePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return std::wstring();
        // A cut path would start some other program: a full buffer is asked
        // for again, larger, up to the longest path there is.
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() > LongestPath)
            return std::wstring();
        path.assign(path.size() * 2, L'\0');
    }
}
