#include "converter/ConverterWatch.h"

#include "ui/Messages.h"
#include "converter/ProgressDialog.h"
#include "converter/RegistryState.h"
#include "converter/ConverterState.h"
#include "platform/ModuleInstance.h"
#include "hostutil/PluginGlobals.h"

namespace {

constexpr UINT WatchPeriodMs = 500;

HWND HostMainWindow(const AcquireRecord* record)
{
    return record->platformData != nullptr ? reinterpret_cast<HWND>(record->platformData->hwnd) : nullptr;
}

// The wait ended without the converter's exit: it is no longer watched, so
// that the next import starts a converter of its own rather than polling
// this one (which runs on by itself).
void ReleaseConverter(HWND dialog)
{
    KillTimer(dialog, ConverterWatchTimer);
    if (ConverterProcess.hProcess != nullptr) {
        CloseHandle(ConverterProcess.hProcess);
        CloseHandle(ConverterProcess.hThread);
    }
    ConverterProcess = PROCESS_INFORMATION{};
}

}  // namespace

bool BeginConversion(PluginGlobals* globals)
{
    ConverterState = ConverterRunning;

    // The whole status: a failure code whose low half is zero is no success.
    if (ReadConverterPath(ConverterPath) != 0) {
        ShowMessage(MessageConverterNotFound);
        return false;
    }
    // Old output folders go before this import's converter runs, once per load.
    if (!CleanupDone) {
        CleanupOldOutputFolders();
        CleanupDone = true;
    }
    ResetOutputFolderValue();

    // A dialog destroyed behind our back (with its owner) is made anew: a
    // stale window could carry no timer, and the wait would never end.
    if (globals->progressDialog != nullptr && IsWindow(globals->progressDialog)) {
        // The dialog serves this import now: its activation handling must
        // read this import's window, not the one of the import that made it.
        DialogGlobals = globals;
        HostPlatformData = globals->record->platformData;
        SetActiveWindow(globals->progressDialog);
        return true;
    }

    globals->progressDialog = CreateDialogParamA(ModuleInstance, "UIPARAM", HostMainWindow(globals->record), UIProc,
                                                 reinterpret_cast<LPARAM>(globals));
    if (globals->progressDialog == nullptr)
        return false;
    ShowWindow(globals->progressDialog, SW_SHOWNORMAL);
    UpdateWindow(globals->progressDialog);
    return true;
}

bool WaitForConverter(PluginGlobals* globals)
{
    HWND dialog = globals->progressDialog;
    if (SetTimer(dialog, ConverterWatchTimer, WatchPeriodMs, nullptr) == 0)
        return false;  // without ticks nothing would ever end the wait

    // Every message of the thread is dispatched, the host's own included, so
    // that its windows keep painting while the converter runs.
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The quit message is the host's: its own loop must still see it.
            if (got == 0)
                PostQuitMessage(int(message.wParam));
            ReleaseConverter(dialog);
            return false;
        }
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (ConverterState == ConverterExited)
            return true;
        if (ConverterState == ConverterLaunchFailed)
            return false;
    }
}

void CloseProgressDialog(PluginGlobals* globals)
{
    if (globals->progressDialog != nullptr) {
        DestroyWindow(globals->progressDialog);
        globals->progressDialog = nullptr;
    }
}
