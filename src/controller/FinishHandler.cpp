#include "shell/PluginGlobals.h"

void FinishHandler(PluginGlobals* /*globals*/) {}
