#include "fakehost/FakeHandleSuite.h"

#include "common/HighMemory.h"

namespace {

// A handle is a pointer to a pointer to the data, like the host's own; both
// above 4 GB in a 64-bit test.
Handle __cdecl FakeNew(int32_t size)
{
    auto& suite = FakeHandleSuite::Instance();
    if (suite.failNew)
        return nullptr;
    auto* handle = static_cast<char**>(AllocateHigh(sizeof(char*)));
    *handle = static_cast<char*>(AllocateHigh(size > 0 ? size_t(size) : 1));
    suite.created++;
    suite.lockCount[handle] = 0;
    return handle;
}

void __cdecl FakeDispose(Handle handle)
{
    auto& suite = FakeHandleSuite::Instance();
    if (handle == nullptr)
        return;
    suite.disposed++;
    suite.lockCount.erase(handle);
    FreeHigh(*handle);
    FreeHigh(handle);
}

int32_t __cdecl FakeGetSize(Handle) { return 0; }
OSErr __cdecl FakeSetSize(Handle, int32_t) { return -108; }

Ptr __cdecl FakeLock(Handle handle, Boolean)
{
    auto& suite = FakeHandleSuite::Instance();
    suite.locks++;
    if (suite.failLock || handle == nullptr)
        return nullptr;
    suite.lockCount[handle]++;
    return *handle;
}

void __cdecl FakeUnlock(Handle handle)
{
    auto& suite = FakeHandleSuite::Instance();
    suite.unlocks++;
    if (suite.lockCount.count(handle) != 0)
        suite.lockCount[handle]--;
}

void __cdecl FakeRecoverSpace(int32_t) {}

}  // namespace

FakeHandleSuite& FakeHandleSuite::Instance()
{
    static FakeHandleSuite suite;
    return suite;
}

void FakeHandleSuite::Reset()
{
    for (auto& [handle, count] : lockCount) {
        FreeHigh(*handle);
        FreeHigh(handle);
    }
    *this = FakeHandleSuite{};
    procs.handleProcsVersion = 1;
    procs.numHandleProcs = 8;
    procs.newProc = FakeNew;
    procs.disposeProc = FakeDispose;
    procs.getSizeProc = FakeGetSize;
    procs.setSizeProc = FakeSetSize;
    procs.lockProc = FakeLock;
    procs.unlockProc = FakeUnlock;
    procs.recoverSpaceProc = FakeRecoverSpace;
    procs.disposeRegularHandleProc = FakeDispose;
}
