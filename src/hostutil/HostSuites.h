// Tested access to the host's callback suites. Each wrapper checks its suite
// afresh on every call: an unusable handle suite is replaced by emulated
// handles in global memory; an unusable buffer suite has no replacement and
// answers as if it had nothing to give.
#pragma once

#include "hostapi/HostApi.h"

// newerVersion (optional) is set when the suite is refused for being newer
// than the module supports.
bool BufferSuiteUsable(const BufferProcs* procs, bool* newerVersion = nullptr);
bool HandleSuiteUsable(const HandleProcs* procs);

int32_t BufferSpace(const BufferProcs* procs);
OSErr AllocateBuffer(const BufferProcs* procs, int32_t size, BufferID* bufferID);
Ptr LockBuffer(const BufferProcs* procs, BufferID bufferID, Boolean moveHigh);
void FreeBuffer(const BufferProcs* procs, BufferID bufferID);

Handle HandleNew(const HandleProcs* procs, int32_t size);
void HandleDispose(const HandleProcs* procs, Handle handle);
Ptr HandleLock(const HandleProcs* procs, Handle handle, Boolean moveHigh);
void HandleUnlock(const HandleProcs* procs, Handle handle);
