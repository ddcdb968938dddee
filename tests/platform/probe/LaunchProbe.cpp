// Stands in for a program that the module starts: writes down how it was
// started (UTF-8), into the file named by OMBRIX_PROBE_OUTPUT.
//   OMBRIX_PROBE_DELAY  milliseconds to sleep before writing
//   OMBRIX_PROBE_GATE   a file whose appearance it awaits before writing
// The record is written under another name and then renamed, so that it
// appears whole. Every name is taken wide: the probe may live, and be
// started, under any name.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[32768];
    DWORD length = GetEnvironmentVariableW(name, value, 32768);
    return length > 0 && length < 32768 ? std::wstring(value, length) : std::wstring();
}

std::string Utf8(const wchar_t* text)
{
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

void AwaitFile(const std::wstring& path)
{
    for (int i = 0; i < 1500 && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES; i++) {
        Sleep(20);
    }
}

}  // namespace

int main()
{
    std::wstring output = Environment(L"OMBRIX_PROBE_OUTPUT");
    if (output.empty()) {
        return 2;
    }
    std::wstring gate = Environment(L"OMBRIX_PROBE_GATE");
    if (!gate.empty()) {
        AwaitFile(gate);
    }
    std::wstring delay = Environment(L"OMBRIX_PROBE_DELAY");
    if (!delay.empty()) {
        Sleep(static_cast<DWORD>(std::wcstoul(delay.c_str(), nullptr, 10)));
    }

    static wchar_t module[32768] = L"";
    GetModuleFileNameW(nullptr, module, 32768);
    STARTUPINFOW startup = {};
    GetStartupInfoW(&startup);

    std::wstring partial = output + L".part";
    FILE* file = _wfopen(partial.c_str(), L"wb");
    if (file == nullptr) {
        return 3;
    }
    std::fprintf(file, "command=%s\nmodule=%s\npid=%lu\nflags=%lu\nshow=%u\n", Utf8(GetCommandLineW()).c_str(),
                 Utf8(module).c_str(), GetCurrentProcessId(), startup.dwFlags, startup.wShowWindow);
    std::fclose(file);
    return MoveFileExW(partial.c_str(), output.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
