#pragma once

#include <windows.h>

// The dialog procedure of the progress dialog, exported by the module.
extern "C" INT_PTR CALLBACK UIProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// At unload (under the loader lock): the dialog a run left on screen no
// longer reaches UIProc, and goes: at once on the thread that owns it (the
// host's, which unloads the module), else at that thread's next message.
void CloseProgressDialogAtUnload();
