#pragma once

#include <windows.h>

// Places a dialog over its owner (or the desktop), a third of the way down.
void CenterDialog(HWND dialog);
