// Warnings for a host that lacks a facility the module needs.
#pragma once

#include <windows.h>

#include "hostapi/HostApi.h"
#include "resources/ResourceIds.h"

constexpr int16_t HostAlertId = HOST_TEXT_ALERT;
constexpr int16_t HostTooOldMessage = HOST_TEXT_HOST_TOO_OLD;
constexpr int16_t HostTooNewMessage = HOST_TEXT_HOST_INCOMPATIBLE;

bool CheckBufferSuite(const BufferProcs* procs, HINSTANCE instance);
bool CheckAdvanceState(AdvanceStateProc advanceState, HINSTANCE instance);

// Shows the text of string `messageNumber` with its ^1 and ^2 filled in, in a
// warning box with the system's default title. Returns the box's result, or 0
// when nothing was shown (alert identifier 0).
int16_t ShowHostWarning(HINSTANCE instance, HWND owner, int16_t alertId, int16_t messageNumber,
                        const unsigned char* text1, const unsigned char* text2);
