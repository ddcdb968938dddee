#include "fakehost/FakeBufferSuite.h"

namespace {

OSErr __cdecl FakeAllocate(int32_t size, BufferID* id)
{
    auto& suite = FakeBufferSuite::Instance();
    suite.requests.push_back(size);
    if (size < 0 || size > suite.largestGranted)
        return suite.refusal;
    // A distinct, never reused id per grant, so that stale ids are caught;
    // above 4 GB in a 64-bit test, so that an id cut to 32 bits is too.
    static uintptr_t nextId = uintptr_t(HighMemoryFloor) + 0x10000;
    nextId += 0x10;
    *id = reinterpret_cast<BufferID>(nextId);
    suite.live[*id].resize(size_t(size));
    suite.granted++;
    return 0;
}

Ptr __cdecl FakeLock(BufferID id, Boolean)
{
    auto& suite = FakeBufferSuite::Instance();
    suite.locks++;
    auto found = suite.live.find(id);
    return found == suite.live.end() ? nullptr : found->second.data();
}

void __cdecl FakeUnlock(BufferID) { FakeBufferSuite::Instance().unlocks++; }

void __cdecl FakeFree(BufferID id)
{
    auto& suite = FakeBufferSuite::Instance();
    if (suite.live.erase(id) == 0)
        suite.unknownFrees++;
    else
        suite.freed++;
}

int32_t __cdecl FakeSpace() { return FakeBufferSuite::Instance().space; }

}  // namespace

FakeBufferSuite& FakeBufferSuite::Instance()
{
    static FakeBufferSuite suite;
    return suite;
}

void FakeBufferSuite::Reset()
{
    *this = FakeBufferSuite{};
    procs.bufferProcsVersion = 2;
    procs.numBufferProcs = 5;
    procs.allocateProc = FakeAllocate;
    procs.lockProc = FakeLock;
    procs.unlockProc = FakeUnlock;
    procs.freeProc = FakeFree;
    procs.spaceProc = FakeSpace;
}

size_t FakeBufferSuite::SizeOf(BufferID id) const
{
    auto found = live.find(id);
    return found == live.end() ? 0 : found->second.size();
}
