// The host's side of Start and Continue, in the test process: a record with
// the test's own handle and buffer suites, and an advanceState, abortProc
// and progressProc that remember everything the module gave them.
#pragma once

#include <string>
#include <vector>

#include "common/HighMemory.h"
#include "common/TempFolder.h"
#include "hostapi/HostApi.h"
#include "fakehost/FakeBufferSuite.h"
#include "fakehost/DialogWatcher.h"
#include "fakehost/FakeHandleSuite.h"
#include "support/TestImages.h"

// The texts of the message boxes the user saw, in order.
std::vector<std::string> MessageTexts(const DialogWatcher& watcher);

// The text the module's message box shows for one of its messages (3, 4).
std::string ModuleMessageText(int id);

// What the record said when advanceState was called.
struct StripSeen {
    Rect rect;
    int16_t loPlane;
    int16_t hiPlane;
    int16_t colBytes;
    int32_t rowBytes;
    int32_t planeBytes;
    Boolean wantReadBack;
    bool dataInLiveBuffer;  // data pointed into a locked buffer of the suite, with room for the strip
};

class TransferHost {
public:
    TransferHost();
    ~TransferHost();  // releases the module's bitmap, as the cycle's Finish would
    TransferHost(const TransferHost&) = delete;
    TransferHost& operator=(const TransferHost&) = delete;

    AcquireRecord* Record() { return reinterpret_cast<AcquireRecord*>(record.data()); }
    std::vector<char> RecordBytes() const { return {record.begin(), record.end()}; }
    FakeBufferSuite& Buffers() { return FakeBufferSuite::Instance(); }
    FakeHandleSuite& Handles() { return FakeHandleSuite::Instance(); }

    // The scan's current entry: folder and file name.
    void SetCurrentFile(const std::string& folder, const std::string& name);
    // Writes the bitmap (and unloads it) as name into folder, and makes it
    // the current entry. False when it cannot be written.
    bool PlaceCurrentFile(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, const TempFolder& folder,
                          const std::string& name, int flags = 0);

    // The selectors, called as the dispatch calls them; each returns the result.
    int16_t Start();
    int16_t Continue();

    // Strips of one row each: the free space the host reports leaves room
    // for exactly one row beyond the host's reserve.
    void AskForOneRowStrips(int32_t rowBytes);

    // What the host received.
    std::vector<StripSeen> strips;
    std::vector<std::pair<int32_t, int32_t>> progress;  // (done, total) per call
    int abortPolls = 0;
    HostImage received;  // the rows of every strip, in place

    // What the host answers.
    int abortAtPoll = 0;        // abortProc answers true at this poll (1 = first); 0: never
    int failAtStrip = 0;        // advanceState fails at this strip (1 = first); 0: never
    OSErr stripFailure = -30;   // ... with this status

private:
    static OSErr __cdecl AdvanceState();
    static Boolean __cdecl Abort();
    static void __cdecl Progress(int32_t done, int32_t total);

    HighVector<char> record;  // above 4 GB in a 64-bit test
};
