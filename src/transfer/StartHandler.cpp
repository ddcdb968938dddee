#include "shell/PluginGlobals.h"

void StartHandler(PluginGlobals* /*globals*/) {}
