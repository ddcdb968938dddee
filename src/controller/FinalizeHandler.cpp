#include "shell/PluginGlobals.h"

void FinalizeHandler(PluginGlobals* /*globals*/) {}
