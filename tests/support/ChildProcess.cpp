#include "support/ChildProcess.h"

#include <vector>

#include "common/ProgramFolder.h"

namespace {

// The current environment block with the given variables set (names compare
// without case, as Windows does).
std::vector<char> EnvironmentWith(const std::map<std::string, std::string>& variables)
{
    std::vector<char> block;
    char* current = GetEnvironmentStringsA();
    for (const char* entry = current; *entry != '\0'; entry += strlen(entry) + 1) {
        std::string text = entry;
        size_t equals = text.find('=', 1);
        std::string name = text.substr(0, equals);
        bool replaced = false;
        for (const auto& variable : variables)
            replaced = replaced || _stricmp(variable.first.c_str(), name.c_str()) == 0;
        if (!replaced)
            block.insert(block.end(), text.c_str(), text.c_str() + text.size() + 1);
    }
    FreeEnvironmentStringsA(current);
    for (const auto& [name, value] : variables) {
        std::string text = name + "=" + value;
        block.insert(block.end(), text.c_str(), text.c_str() + text.size() + 1);
    }
    block.push_back('\0');
    return block;
}

}  // namespace

ChildProcess::ChildProcess(const char* programBesideTests, const std::string& arguments,
                           const std::map<std::string, std::string>& environment)
{
    std::string application = BesideProgram(programBesideTests);
    std::string commandLine = std::string(programBesideTests) + " " + arguments;
    std::vector<char> block = EnvironmentWith(environment);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                        block.data(), nullptr, &startup, &process_))
        process_ = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess()
{
    if (process_.hProcess == nullptr)
        return;
    if (Running())
        TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool ChildProcess::Running() const
{
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

long ChildProcess::Wait(int timeoutMs)
{
    if (process_.hProcess == nullptr || WaitForSingleObject(process_.hProcess, DWORD(timeoutMs)) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return long(code);
}

long RunChild(const char* programBesideTests, const std::string& arguments,
              const std::map<std::string, std::string>& environment)
{
    ChildProcess child(programBesideTests, arguments, environment);
    return child.Wait();
}
