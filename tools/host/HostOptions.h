// What a reference host run offers the module, and how it behaves. The
// defaults are those of the real host: complete suites, space to spare,
// profiles accepted, every box answered with OK.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "hostapi/HostApi.h"

// Procedure names for SuiteOptions::missingProcs, in the suites' order.
//   handle suite: "new" "dispose" "getSize" "setSize" "lock" "unlock" "recoverSpace" "disposeRegular"
//   buffer suite: "allocate" "lock" "unlock" "free" "space"
struct SuiteOptions {
    bool present = true;  // false: the record's suite pointer is null
    int16_t version = 0;
    int16_t count = 0;
    std::vector<std::string> missingProcs;  // these procedures are null
};

enum class DialogMode {
    PressOk,             // record every dialog and message box, then press its OK (or default) button
    LeaveForPerson,      // record them and leave them for a person to answer
    PauseForScreenshot,  // record them, announce them on stdout, press OK after screenshotPauseMs
};

struct HostOptions {
    SuiteOptions handleSuite{true, 1, 8, {}};
    SuiteOptions bufferSuite{true, 2, 5, {}};

    // What the buffer suite's space procedure reports; allocations beyond
    // what is left of it fail with -108.
    int32_t bufferSpace = 64 * 1024 * 1024;

    bool advanceStatePresent = true;
    // 0: never. k: abortProc answers true from its k-th poll of the run on.
    int abortAtPoll = 0;
    // 0: never. k: the k-th advanceState call of the run fails with
    // advanceStateError and its strip is not taken.
    int advanceStateErrorAtStrip = 0;
    OSErr advanceStateError = -36;  // the host's I/O error

    bool canUseICCProfiles = true;

    // Bytes of pixels the host holds for one document; 0: whatever the
    // address space gives. A document beyond it is refused with -108, as one
    // the host finds no memory for.
    uint64_t documentMemoryLimit = 0;

    // Called after each strip the host takes, while the module's image and
    // the document are both held (benchmarks measure the process there).
    std::function<void()> afterStrip;
    // Called once the host has no more images to take and before it sends
    // Finalize (tests make the world change there, at a known moment).
    std::function<void()> beforeFinalize;

    DialogMode dialogs = DialogMode::PressOk;
    // A dialog with this caption, when it appears, is answered by the
    // host's quit message (its window closed from the taskbar) instead.
    std::string quitOnDialog;
    int quitExitCode = 0;
    int screenshotPauseMs = 4000;

    // Documents are saved here (TIFF with the module's profile, plus an 8-bit
    // PNG preview); empty: kept in memory only. It is also where started host
    // instances (the DNG hand-off) write their reports during the run, unless
    // environment names another OMBRIX_HOST_REPORT_DIR.
    std::string outputFolder;
    // False: a document's pixels are dropped once summed and saved (long runs
    // of large images would not fit the host's memory otherwise).
    bool keepPixels = true;

    // The run's report as JSON lines; empty: in memory only.
    std::string reportPath;

    // Set in the host's process for the length of a run; the module passes
    // the host's environment on to the processes it starts (the converter,
    // the hand-off instance).
    std::map<std::string, std::string> environment;

    // The real host sends Finalize only after a Prepare that succeeded; some
    // hosts send it after any Prepare that set wantFinalize.
    bool finalizeAfterFailedPrepare = false;

    // The host leaves the run after its first call of this selector
    // (Prepare, Start, Continue or Finish): no call follows, not even
    // Finalize, and the module stays loaded for the next run. -1: never.
    int16_t leaveRunAfter = -1;

    // End a module that never sets data to null or never stops asking again.
    int maxContinueCalls = 100000;
    int maxCycles = 10000;
};
