#include "converter/ProgressDialog.h"

#include <iterator>

#include "ui/CenterDialog.h"
#include "converter/ConverterWatch.h"
#include "ui/Messages.h"
#include "platform/ProcessLaunch.h"
#include "converter/ConverterState.h"
#include "hostutil/PluginGlobals.h"

namespace {

constexpr size_t ConverterCommandCapacity = 200;  // any file name that fits, a blank and the switch

HWND HostMainWindow()
{
    return HostPlatformData != nullptr ? reinterpret_cast<HWND>(HostPlatformData->hwnd) : nullptr;
}

// The host's main window is not to be used while the converter runs: its
// activation is turned back to the dialog.
void OnActivate(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    // The host's platform data is read only while the converter runs: once
    // it has exited, the import that owned that data may be over.
    HWND host = LOWORD(wParam) == WA_INACTIVE && ConverterState == ConverterRunning ? HostMainWindow() : nullptr;
    if (host != nullptr && reinterpret_cast<HWND>(lParam) == host) {
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

void LaunchConverter(HWND dialog)
{
    wchar_t commandLine[ConverterCommandCapacity];
    if (BuildCommandLine(ConverterPath.c_str(), L"-embedding", commandLine, std::size(commandLine)) == 0 &&
        CreateModuleProcess(ConverterPath.c_str(), commandLine, ConverterProcess) == 0)
        return;
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
        ProgressDialog = dialog;
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
    case WM_NCDESTROY:
        if (ProgressDialog == dialog)
            ProgressDialog = nullptr;
        break;
    default:
        break;
    }
    return 0;
}

// The dialog is cut off from UIProc first, so that none of the messages its
// end brings (activation, destruction) reads the module's state, which may
// point into records the host has already freed. Destroying it sends those
// messages to this thread's own windows only (its owner is the host's main
// window), so nothing waits on another thread under the loader lock. A
// window of another thread cannot be destroyed from here: it is hidden and
// handed to the system's default window procedure, which destroys it when
// its thread reads the close message posted to it.
void CloseProgressDialogAtUnload()
{
    HWND dialog = ProgressDialog;
    ProgressDialog = nullptr;
    if (dialog == nullptr || !IsWindow(dialog))
        return;
    SetWindowLongPtrA(dialog, DWLP_DLGPROC, 0);
    if (GetWindowThreadProcessId(dialog, nullptr) == GetCurrentThreadId()) {
        DestroyWindow(dialog);
        return;
    }
    ShowWindowAsync(dialog, SW_HIDE);
    SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
    PostMessageW(dialog, WM_CLOSE, 0, 0);
}
