// Starting the converter and waiting, with the progress dialog on screen,
// until it has exited.
#pragma once

struct PluginGlobals;

bool BeginConversion(PluginGlobals* globals);
bool WaitForConverter(PluginGlobals* globals);
void CloseProgressDialog(PluginGlobals* globals);
