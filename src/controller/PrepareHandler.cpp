#include "shell/PluginGlobals.h"

void PrepareHandler(PluginGlobals* /*globals*/) {}
