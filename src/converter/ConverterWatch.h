// Starting the converter and waiting, with the progress dialog on screen,
// until it has exited.
#pragma once

#include <windows.h>

struct PluginGlobals;

// The progress dialog's timer: launches, then polls, the converter.
constexpr UINT_PTR ConverterWatchTimer = 1;

bool BeginConversion(PluginGlobals* globals);
bool WaitForConverter(PluginGlobals* globals);
void CloseProgressDialog(PluginGlobals* globals);
