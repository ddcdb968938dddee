// Warnings for a host that lacks a facility the module needs.
#pragma once

#include <windows.h>

#include "hostapi/HostApi.h"

bool CheckBufferSuite(const BufferProcs* procs, HINSTANCE instance);
bool CheckAdvanceState(AdvanceStateProc advanceState, HINSTANCE instance);
