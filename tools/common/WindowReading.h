// What a dialog shows, read from its windows: shared by the reference host's
// dialog automation and the tests' dialog watcher.
#pragma once

#include <windows.h>

#include <string>

std::string WindowText(HWND window);
std::string ClassOf(HWND window);
// A visible or hidden push button (plain or default) of class Button.
bool IsPushButton(HWND window);
