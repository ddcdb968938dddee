// Stands in for a program that the module starts: writes down how it was
// started, into the file named by OMBRIX_PROBE_OUTPUT.
//   OMBRIX_PROBE_DELAY  milliseconds to sleep before writing
//   OMBRIX_PROBE_GATE   a file whose appearance it awaits before writing
// The record is written under another name and then renamed, so that it
// appears whole.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name)
{
    char value[1024];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

void AwaitFile(const std::string& path)
{
    for (int i = 0; i < 1500 && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; i++) {
        Sleep(20);
    }
}

}  // namespace

int main()
{
    std::string output = Environment("OMBRIX_PROBE_OUTPUT");
    if (output.empty()) {
        return 2;
    }
    std::string gate = Environment("OMBRIX_PROBE_GATE");
    if (!gate.empty()) {
        AwaitFile(gate);
    }
    std::string delay = Environment("OMBRIX_PROBE_DELAY");
    if (!delay.empty()) {
        Sleep(static_cast<DWORD>(std::atoi(delay.c_str())));
    }

    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    STARTUPINFOA startup = {};
    GetStartupInfoA(&startup);

    std::string partial = output + ".part";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
        return 3;
    }
    std::fprintf(file, "command=%s\nmodule=%s\npid=%lu\nflags=%lu\nshow=%u\n", GetCommandLineA(),
                 module, GetCurrentProcessId(), startup.dwFlags, startup.wShowWindow);
    std::fclose(file);
    return MoveFileExA(partial.c_str(), output.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
