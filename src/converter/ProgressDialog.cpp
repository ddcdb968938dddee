#include "converter/ProgressDialog.h"

#include "converter/CenterDialog.h"
#include "converter/ConverterWatch.h"
#include "converter/Messages.h"
#include "controller/ProcessLaunch.h"
#include "shell/ModuleState.h"
#include "shell/PluginGlobals.h"

#include <cstring>

namespace {

constexpr size_t ConverterNameCapacity = 52;
constexpr size_t ConverterCommandCapacity = 200;
constexpr char EmbeddingSwitch[] = " -embedding";

HWND HostMainWindow()
{
    return HostPlatformData != nullptr ? reinterpret_cast<HWND>(HostPlatformData->hwnd) : nullptr;
}

// The host's main window is not to be used while the converter runs: its
// activation is turned back to the dialog.
void OnActivate(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    HWND host = HostMainWindow();
    if (LOWORD(wParam) == WA_INACTIVE && ConverterState == ConverterRunning && host != nullptr &&
        reinterpret_cast<HWND>(lParam) == host) {
        SavedFocus = GetFocus();
        PostMessageA(host, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(dialog));
        PostMessageA(dialog, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(host));
        MessageBeep(0);
        return;
    }
    if (SavedFocus != nullptr) {
        SetFocus(SavedFocus);
        SavedFocus = nullptr;
    }
}

// The command line is the converter's file name and the switch; a name that
// does not fit is not cut (a cut name could start another program).
bool BuildConverterCommandLine(char* commandLine)
{
    char fileName[ConverterNameCapacity];
    if (!FileNamePart(ConverterPath, fileName, sizeof fileName))
        return false;
    size_t nameLength = std::strlen(fileName);
    std::memcpy(commandLine, fileName, nameLength);
    std::memcpy(commandLine + nameLength, EmbeddingSwitch, sizeof EmbeddingSwitch);
    static_assert(ConverterNameCapacity - 1 + sizeof EmbeddingSwitch <= ConverterCommandCapacity);
    return true;
}

void LaunchConverter(HWND dialog)
{
    char commandLine[ConverterCommandCapacity];
    STARTUPINFOA startup;
    PrepareStartupInfo(startup);
    bool started = BuildConverterCommandLine(commandLine) &&
                   CreateProcessA(ConverterPath, commandLine, nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                                  nullptr, nullptr, &startup, &ConverterProcess);
    if (started)
        return;
    ConverterProcess = PROCESS_INFORMATION{};
    // No tick may arrive while the message box runs its own loop.
    KillTimer(dialog, ConverterWatchTimer);
    ShowMessage(MessageConverterLaunchFailed);
    ConverterState = ConverterLaunchFailed;
}

void PollConverter(HWND dialog)
{
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(ConverterProcess.hProcess, &exitCode);
    if (exitCode == STILL_ACTIVE && !ProcessHasExited(ConverterProcess.hProcess))
        return;
    CloseHandle(ConverterProcess.hProcess);
    CloseHandle(ConverterProcess.hThread);
    ConverterProcess = PROCESS_INFORMATION{};
    ConverterState = ConverterExited;
    KillTimer(dialog, ConverterWatchTimer);
}

}  // namespace

// Answers 0 to everything, so that the default dialog handling always follows.
extern "C" INT_PTR CALLBACK UIProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        DialogGlobals = reinterpret_cast<PluginGlobals*>(lParam);
        HostPlatformData = DialogGlobals != nullptr && DialogGlobals->record != nullptr
                               ? DialogGlobals->record->platformData
                               : nullptr;
        CenterDialog(dialog);
        break;
    case WM_ACTIVATE:
        OnActivate(dialog, wParam, lParam);
        break;
    case WM_TIMER:
        if (ConverterProcess.hProcess == nullptr)
            LaunchConverter(dialog);
        else
            PollConverter(dialog);
        break;
    default:
        break;
    }
    return 0;
}
