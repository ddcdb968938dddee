#include "StandInProcess.h"

#include "host/ScopedEnvironment.h"

StandInProcess::StandInProcess(const std::string& arguments, const std::map<std::string, std::string>& environment)
{
    ScopedEnvironment scoped(environment);
    std::string application = BesideProgram("ombrix-converter.exe");
    std::string commandLine = "ombrix-converter.exe " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                        nullptr, nullptr, &startup, &process_))
        process_ = PROCESS_INFORMATION{};
}

StandInProcess::~StandInProcess()
{
    if (process_.hProcess == nullptr)
        return;
    if (Running())
        TerminateProcess(process_.hProcess, 99);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool StandInProcess::Running() const
{
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

long StandInProcess::Wait(int timeoutMs)
{
    if (process_.hProcess == nullptr || WaitForSingleObject(process_.hProcess, DWORD(timeoutMs)) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return long(code);
}

long RunStandIn(const std::string& arguments, const std::map<std::string, std::string>& environment)
{
    StandInProcess process(arguments, environment);
    return process.Wait();
}
