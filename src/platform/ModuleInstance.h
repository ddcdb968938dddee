// The instance of the loaded module, whose resources hold its dialogs,
// bitmap and texts. Set by the library's entry function.
#pragma once

#include <windows.h>

extern HINSTANCE ModuleInstance;
