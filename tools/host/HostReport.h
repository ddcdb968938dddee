// What a reference host run saw: every call, document, strip, dialog and
// leak. Returned in memory to tests and written as JSON lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/PiplReader.h"
#include "host/PixelStore.h"
#include "hostapi/HostApi.h"

struct CallRecord {
    int16_t selector = 0;
    std::string name;  // "about", "start", "continue", "finish", "prepare", "finalize"
    OSErr result = 0;
    bool acquireAgain = false;      // the record's flag after the call
    bool wantFinalize = false;      // the record's flag after the call
    bool dataNull = true;           // the record's data pointer after the call
    int document = -1;              // index into HostReport::documents, -1 outside a cycle
    double milliseconds = 0;
    std::vector<std::string> dialogsOpenBefore;  // captions of the module's dialogs on screen
    std::vector<std::string> dialogsOpenAfter;
    // The host's quit message was waiting in its queue after the call.
    bool quitSeen = false;
    int quitExitCode = 0;
};

struct StripRecord {
    Rect rect{};
    int16_t loPlane = 0;
    int16_t hiPlane = 0;
    int32_t colBytes = 0;
    int32_t rowBytes = 0;
    int32_t planeBytes = 0;
    bool viaAdvanceState = true;  // false: handed back by the return of Continue
    bool accepted = false;        // copied into the document
    OSErr answer = 0;             // what advanceState returned
    std::string problem;          // why it was refused
};

struct ProgressCall {
    int32_t done = 0;
    int32_t total = 0;
};

struct DocumentRecord {
    int index = 0;
    std::string filename;  // the record's length-prefixed filename, in the code page as the module set it
    int16_t mode = 0;
    int32_t width = 0;
    int32_t height = 0;
    int16_t depth = 0;
    int16_t planes = 0;
    Fixed hRes = 0;
    Fixed vRes = 0;

    std::vector<StripRecord> strips;
    std::vector<ProgressCall> progress;
    int abortPolls = 0;

    bool hasProfile = false;           // a profile handle was handed over
    int32_t profileSizeField = 0;      // iCCprofileSize as the module set it
    std::vector<uint8_t> profile;      // the handle's bytes

    // Interleaved samples, planes per pixel, rows top down; 16-bit samples in
    // little-endian byte order.
    PixelStore pixels;
    int64_t samplesWritten = 0;  // distinct samples some strip delivered
    int64_t samplesTotal = 0;
    std::string checksum;        // FNV-1a 64 of pixels, hex
    OSErr error = 0;             // the first error of the cycle (Continue or host)
    std::string refused;         // why the host could not hold it (error ResultOutOfMemory)
    bool complete = false;       // every sample delivered and no error: the host keeps it

    std::string tiffPath;  // saved files (UTF-8), empty when not saved
    std::string pngPath;

    int BytesPerSample() const { return depth == 16 ? 2 : 1; }
    // The value of one sample (0..255 or 0..65535).
    uint32_t Sample(int x, int y, int plane) const;
};

struct DialogControl {
    int id = 0;
    std::string className;
    std::string text;
};

struct DialogRecord {
    std::string caption;
    bool messageBox = false;  // a system message box (its text is control 0xFFFF)
    std::string text;         // a message box's text, or the dialog's static texts joined by line breaks
    std::vector<DialogControl> controls;
    int16_t duringSelector = -1;  // the selector being called when it appeared; -1 outside calls
    std::string action;           // "pressed OK", "pressed button N", "left open", "none (no button)"
    bool closed = false;          // destroyed before the run ended
};

struct LeakRecord {
    std::string kind;  // "buffer" or "handle"
    int32_t size = 0;
    int16_t selector = -1;  // the call that obtained it
};

struct SuiteCounters {
    int handlesCreated = 0;
    int handlesDisposed = 0;
    int handleLocks = 0;
    int handleUnlocks = 0;
    int buffersAllocated = 0;
    int buffersFreed = 0;
    int bufferLocks = 0;
    int bufferUnlocks = 0;
    int allocationsRefused = 0;
    int advanceStateCalls = 0;
    int abortPolls = 0;
    int progressCalls = 0;
};

struct HostReport {
    std::string modulePath;  // UTF-8, as are loadError and problems; the
    bool loaded = false;     // module's own texts (filename, dialogs) are in
    std::string loadError;   // the code page
    PiplInfo pipl;
    std::string command;  // "about" or "import"

    std::vector<CallRecord> calls;
    std::vector<DocumentRecord> documents;
    std::vector<DialogRecord> dialogs;
    std::vector<LeakRecord> leaks;  // buffers not freed, handles not disposed (the data slot's handle excepted)
    SuiteCounters suites;
    std::vector<std::string> problems;  // protocol faults the host noticed
    double milliseconds = 0;

    std::vector<int16_t> Selectors() const;
    // The documents the host keeps (complete, no error).
    int CompleteDocuments() const;
    const DialogRecord* FindDialog(const std::string& caption) const;
};

// The selector's name as the report writes it.
std::string SelectorName(int16_t selector);
