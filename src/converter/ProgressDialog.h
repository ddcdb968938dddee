#pragma once

#include <windows.h>

// The dialog procedure of the progress dialog, exported by the module.
extern "C" INT_PTR CALLBACK UIProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
