#include "ui/AboutBox.h"

#include "ui/CenterDialog.h"
#include "platform/ModuleInstance.h"

Boolean AboutClosed = false;

void ShowAboutBox(AboutRecord* record)
{
    HWND owner = nullptr;
    if (record != nullptr && record->platformData != nullptr)
        owner = reinterpret_cast<HWND>(record->platformData->hwnd);

    HWND dialog = CreateDialogParamA(ModuleInstance, "ABOUT", owner, AboutDialogProc, 0);
    if (dialog == nullptr)
        return;
    ShowWindow(dialog, SW_SHOWNORMAL);
    UpdateWindow(dialog);
    AboutClosed = false;

    // The host's own windows are served by this loop too while the box is up.
    // A quit message ends it at once; the box goes, and the quit message is
    // posted again for the host's own loop.
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            DestroyWindow(dialog);
            if (got == 0)
                PostQuitMessage(int(message.wParam));
            return;
        }
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (AboutClosed) {
            DestroyWindow(dialog);
            return;
        }
        // Destroyed with its owner: nothing could ever close it.
        if (!IsWindow(dialog))
            return;
    }
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        CenterDialog(dialog);
        return FALSE;
    case WM_COMMAND:
        // Only OK closes the box: Cancel, from Escape or the close box, is ignored.
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == 0) {
            AboutClosed = true;
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
