// Everything that outlives a single call of the host, for as long as the
// module stays loaded. Each room declares the state it owns; this header
// gathers them for the handlers (and the tests) that see the whole import.
//
//   platform/ModuleInstance.h   ModuleInstance
//   ui/AboutBox.h               AboutClosed
//   converter/ConverterState.h  ConverterPath, ConverterProcess, ConverterState,
//                               CleanupDone, DialogGlobals, HostPlatformData, SavedFocus
//   outputs/OutputState.h       OutputFolder, ScanCursor (with its folder's marks),
//                               MoreEntries, HandOffList
//   selectors/RunState.h        RefusalShown
//   transfer/TransferState.h    CurrentImagePath, CurrentBitmap
#pragma once

#include "converter/ConverterState.h"
#include "outputs/OutputState.h"
#include "platform/ModuleInstance.h"
#include "selectors/RunState.h"
#include "transfer/TransferState.h"
#include "ui/AboutBox.h"
