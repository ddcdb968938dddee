#include "shell/PluginGlobals.h"

void ContinueHandler(PluginGlobals* /*globals*/) {}
