// The About box: the module's picture over the host's main window.
#pragma once

#include <windows.h>

#include "hostapi/HostApi.h"

// Set when OK is pressed; ends the box's loop.
extern Boolean AboutClosed;

// Shows the About dialog over the host's main window and returns once it has
// been closed with OK (or at once when it cannot be created).
void ShowAboutBox(AboutRecord* record);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
