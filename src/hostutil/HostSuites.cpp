#include "hostutil/HostSuites.h"

#include "hostutil/EmulatedHandle.h"

bool BufferSuiteUsable(const BufferProcs* procs, bool* newerVersion)
{
    if (procs == nullptr || procs->bufferProcsVersion < 2)
        return false;
    if (procs->bufferProcsVersion > 2) {
        if (newerVersion != nullptr)
            *newerVersion = true;
        return false;
    }
    if (procs->numBufferProcs < 5)
        return false;
    return procs->allocateProc != nullptr && procs->lockProc != nullptr && procs->unlockProc != nullptr &&
           procs->freeProc != nullptr && procs->spaceProc != nullptr;
}

bool HandleSuiteUsable(const HandleProcs* procs)
{
    if (procs == nullptr || procs->handleProcsVersion != 1 || procs->numHandleProcs < 7)
        return false;
    return procs->newProc != nullptr && procs->disposeProc != nullptr && procs->getSizeProc != nullptr &&
           procs->setSizeProc != nullptr;
}

int32_t BufferSpace(const BufferProcs* procs)
{
    return BufferSuiteUsable(procs) ? procs->spaceProc() : 0;
}

OSErr AllocateBuffer(const BufferProcs* procs, int32_t size, BufferID* bufferID)
{
    *bufferID = nullptr;
    if (!BufferSuiteUsable(procs))
        return ResultOutOfMemory;
    return procs->allocateProc(size, bufferID);
}

Ptr LockBuffer(const BufferProcs* procs, BufferID bufferID, Boolean moveHigh)
{
    return BufferSuiteUsable(procs) ? procs->lockProc(bufferID, moveHigh) : nullptr;
}

void FreeBuffer(const BufferProcs* procs, BufferID bufferID)
{
    if (BufferSuiteUsable(procs))
        procs->freeProc(bufferID);
}

Handle HandleNew(const HandleProcs* procs, int32_t size)
{
    return HandleSuiteUsable(procs) ? procs->newProc(size) : NewEmulatedHandle(size);
}

void HandleDispose(const HandleProcs* procs, Handle handle)
{
    if (HandleSuiteUsable(procs))
        procs->disposeProc(handle);
    else
        DisposeEmulatedHandle(handle);
}

// The suite's lock and unlock are not part of its usability test; a host
// that leaves them out gets a failed lock rather than a call through null.
Ptr HandleLock(const HandleProcs* procs, Handle handle, Boolean moveHigh)
{
    if (!HandleSuiteUsable(procs))
        return LockEmulatedHandle(handle);
    return procs->lockProc != nullptr ? procs->lockProc(handle, moveHigh) : nullptr;
}

void HandleUnlock(const HandleProcs* procs, Handle handle)
{
    if (HandleSuiteUsable(procs) && procs->unlockProc != nullptr)
        procs->unlockProc(handle);
}
