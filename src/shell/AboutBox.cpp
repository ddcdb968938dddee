#include "shell/AboutBox.h"

// The About dialog arrives with its resources; until then the call returns at once.
void ShowAboutBox(AboutRecord* /*record*/) {}

INT_PTR CALLBACK AboutDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
