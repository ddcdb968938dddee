// The handlers of the acquire selectors, found by selector in SelectorTable.
#pragma once

#include "hostutil/PluginGlobals.h"

// The acquire handlers; each reports through the result and the record.
typedef void (*SelectorHandler)(PluginGlobals* globals);

void StartHandler(PluginGlobals* globals);
void ContinueHandler(PluginGlobals* globals);
void FinishHandler(PluginGlobals* globals);
void PrepareHandler(PluginGlobals* globals);
void FinalizeHandler(PluginGlobals* globals);

// Indexed by selector; entry 0 (About) is not an acquire handler.
extern const SelectorHandler SelectorTable[6];
