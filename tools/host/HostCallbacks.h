// The host's side of the callback suites (handles, buffers) and of the
// direct callbacks (advanceState, abortProc, progressProc). The module calls
// plain C functions, so one HostCallbacks is active at a time; it counts
// every call into the current run's report and hands strips to the document
// being acquired. It lives as long as the module is loaded: the module keeps
// its handles from one run to the next.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/DocumentAssembler.h"
#include "host/HostOptions.h"
#include "host/HostReport.h"

class HostCallbacks {
public:
    explicit HostCallbacks(const HostOptions& options);
    ~HostCallbacks();  // frees whatever the module left behind
    HostCallbacks(const HostCallbacks&) = delete;
    HostCallbacks& operator=(const HostCallbacks&) = delete;

    // Makes this the active host and counts into report until the next run.
    void BeginRun(HostReport* report);

    // Counts nowhere in particular again; the run's report is complete.
    void EndRun();

    // Fills the record's callback fields as the options say.
    void Install(AcquireRecord* record);

    void SetSelector(int16_t selector) { selector_ = selector; }
    // Strips go to this document between Start and Finish; null otherwise.
    void SetDocument(DocumentRecord* document, DocumentAssembler* assembler);

    // Takes the strip the record describes (the old way of handing strips
    // over: returned from Continue with data set).
    void TakeReturnedStrip();

    // Reads and disposes of a profile handle the module handed over; the
    // host owns it once it is in the record.
    std::vector<uint8_t> TakeProfile(Handle profile);

    // The handle in the module's data slot is the host's to keep, not a leak.
    void DisposeDataSlot(intptr_t slot);
    // Buffers and handles still held, the data slot's excepted.
    void ReportLeaks(intptr_t slot);

    void AddProblem(const std::string& problem);

private:
    struct HandleBlock;
    struct BufferBlock;

    static HostCallbacks* Active;

    static Handle __cdecl NewHandle(int32_t size);
    static void __cdecl DisposeHandle(Handle handle);
    static int32_t __cdecl GetHandleSize(Handle handle);
    static OSErr __cdecl SetHandleSize(Handle handle, int32_t size);
    static Ptr __cdecl LockHandle(Handle handle, Boolean moveHigh);
    static void __cdecl UnlockHandle(Handle handle);
    static void __cdecl RecoverSpace(int32_t size);
    static void __cdecl DisposeRegularHandle(Handle handle);

    static OSErr __cdecl AllocateBuffer(int32_t size, BufferID* id);
    static Ptr __cdecl LockBuffer(BufferID id, Boolean moveHigh);
    static void __cdecl UnlockBuffer(BufferID id);
    static void __cdecl FreeBuffer(BufferID id);
    static int32_t __cdecl BufferSpace();

    static OSErr __cdecl AdvanceState();
    static Boolean __cdecl Abort();
    static void __cdecl Progress(int32_t done, int32_t total);

    HandleBlock* FindHandle(Handle handle, const char* operation);
    BufferBlock* FindBuffer(BufferID id, const char* operation);
    // Copies the strip the record describes into the document.
    void Assemble(StripRecord* strip);
    void ReleaseHandle(Handle handle, const char* operation);
    StripRecord StripFromRecord(bool viaAdvanceState) const;

    const HostOptions& options_;
    HostReport scratch_;  // counts calls made outside a run
    HostReport* report_ = &scratch_;
    AcquireRecord* record_ = nullptr;
    HandleProcs handleProcs_{};
    BufferProcs bufferProcs_{};
    int16_t selector_ = -1;
    DocumentRecord* document_ = nullptr;
    DocumentAssembler* assembler_ = nullptr;
    int64_t bufferBytes_ = 0;
    std::map<Handle, std::unique_ptr<HandleBlock>> handles_;
    std::map<BufferID, std::unique_ptr<BufferBlock>> buffers_;
};
