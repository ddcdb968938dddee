#include "support/ChildProcess.h"

#include <cwchar>
#include <vector>

#include "common/ProgramFolder.h"
#include "common/WideText.h"

namespace {

// The current environment block with the given variables set (names compare
// without case, as Windows does).
std::vector<wchar_t> EnvironmentWith(const std::map<std::string, std::string>& variables)
{
    std::vector<std::wstring> names;
    for (const auto& variable : variables)
        names.push_back(Utf8ToWide(variable.first));
    std::vector<wchar_t> block;
    wchar_t* current = GetEnvironmentStringsW();
    for (const wchar_t* entry = current; *entry != L'\0'; entry += wcslen(entry) + 1) {
        std::wstring text = entry;
        std::wstring name = text.substr(0, text.find(L'=', 1));
        bool replaced = false;
        for (const std::wstring& given : names)
            replaced = replaced || _wcsicmp(given.c_str(), name.c_str()) == 0;
        if (!replaced)
            block.insert(block.end(), text.c_str(), text.c_str() + text.size() + 1);
    }
    FreeEnvironmentStringsW(current);
    for (const auto& [name, value] : variables) {
        std::wstring text = Utf8ToWide(name + "=" + value);
        block.insert(block.end(), text.c_str(), text.c_str() + text.size() + 1);
    }
    block.push_back(L'\0');
    return block;
}

std::string FileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ChildProcess::ChildProcess(const char* programBesideTests, const std::string& arguments,
                           const std::map<std::string, std::string>& environment)
    : ChildProcess(ProgramPath{BesideProgram(programBesideTests)}, arguments, environment)
{
}

ChildProcess::ChildProcess(const ProgramPath& program, const std::string& arguments,
                           const std::map<std::string, std::string>& environment)
{
    std::wstring application = Utf8ToWide(program.path);
    std::wstring commandLine = Utf8ToWide(FileNameOf(program.path) + " " + arguments);
    std::vector<wchar_t> block = EnvironmentWith(environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE | CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup,
                        &process_))
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
    return RunChild(ProgramPath{BesideProgram(programBesideTests)}, arguments, environment);
}

long RunChild(const ProgramPath& program, const std::string& arguments,
              const std::map<std::string, std::string>& environment)
{
    ChildProcess child(program, arguments, environment);
    return child.Wait();
}
