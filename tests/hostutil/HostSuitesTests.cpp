// What the suite wrappers answer for the hosts the module may meet.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "hostutil/EmulatedHandle.h"
#include "hostutil/HostSuites.h"
#include "support/FakeHandleSuite.h"

namespace {

int allocations = 0;
int frees = 0;

OSErr __cdecl Allocate(int32_t, BufferID* id)
{
    allocations++;
    *id = reinterpret_cast<BufferID>(0x1000);
    return 0;
}
Ptr __cdecl Lock(BufferID, Boolean) { return reinterpret_cast<Ptr>(0x2000); }
void __cdecl Unlock(BufferID) {}
void __cdecl Free(BufferID) { frees++; }
int32_t __cdecl Space() { return 123456; }

BufferProcs BufferSuite(int16_t version, int16_t count)
{
    return BufferProcs{version, count, Allocate, Lock, Unlock, Free, Space};
}

class BufferWrappersTest : public ::testing::Test {
protected:
    void SetUp() override { allocations = frees = 0; }
};

TEST_F(BufferWrappersTest, VersionTwoWithFiveProcsIsUsedAsIs)
{
    BufferProcs procs = BufferSuite(2, 5);
    bool newer = false;
    EXPECT_TRUE(BufferSuiteUsable(&procs, &newer));
    EXPECT_FALSE(newer);
    EXPECT_EQ(BufferSpace(&procs), 123456);
    BufferID id = nullptr;
    EXPECT_EQ(AllocateBuffer(&procs, 100, &id), 0);
    EXPECT_EQ(id, reinterpret_cast<BufferID>(0x1000));
    EXPECT_EQ(LockBuffer(&procs, id, false), reinterpret_cast<Ptr>(0x2000));
    FreeBuffer(&procs, id);
    EXPECT_EQ(allocations, 1);
    EXPECT_EQ(frees, 1);
}

TEST_F(BufferWrappersTest, UnusableSuitesAnswerWithoutCallingTheHost)
{
    struct Case {
        const char* what;
        BufferProcs procs;
        bool newer;
    } cases[] = {
        {"version 1", BufferSuite(1, 5), false},
        {"version 2 with four procs", BufferSuite(2, 4), false},
        {"version 3", BufferSuite(3, 5), true},
    };
    for (auto& c : cases) {
        bool newer = false;
        EXPECT_FALSE(BufferSuiteUsable(&c.procs, &newer)) << c.what;
        EXPECT_EQ(newer, c.newer) << c.what;
        EXPECT_EQ(BufferSpace(&c.procs), 0) << c.what;
        BufferID id = reinterpret_cast<BufferID>(0x77);
        EXPECT_EQ(AllocateBuffer(&c.procs, 100, &id), -108) << c.what;
        EXPECT_EQ(id, nullptr) << c.what;
        EXPECT_EQ(LockBuffer(&c.procs, id, false), nullptr) << c.what;
        FreeBuffer(&c.procs, reinterpret_cast<BufferID>(0x1000));
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(frees, 0);
}

TEST_F(BufferWrappersTest, MissingSuiteOrNullProcIsUnusable)
{
    EXPECT_FALSE(BufferSuiteUsable(nullptr));
    for (int i = 0; i < 5; ++i) {
        BufferProcs procs = BufferSuite(2, 5);
        void** slots[] = {reinterpret_cast<void**>(&procs.allocateProc), reinterpret_cast<void**>(&procs.lockProc),
                          reinterpret_cast<void**>(&procs.unlockProc), reinterpret_cast<void**>(&procs.freeProc),
                          reinterpret_cast<void**>(&procs.spaceProc)};
        *slots[i] = nullptr;
        EXPECT_FALSE(BufferSuiteUsable(&procs)) << "proc " << i;
    }
}

TEST(HandleWrappers, UsableSuiteIsCalled)
{
    auto& suite = FakeHandleSuite::Instance();
    suite.Reset();
    Handle handle = HandleNew(&suite.procs, 32);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(suite.created, 1);
    Ptr data = HandleLock(&suite.procs, handle, true);
    EXPECT_EQ(data, *handle);
    HandleUnlock(&suite.procs, handle);
    HandleDispose(&suite.procs, handle);
    EXPECT_EQ(suite.locks, 1);
    EXPECT_EQ(suite.unlocks, 1);
    EXPECT_EQ(suite.disposed, 1);
}

TEST(HandleWrappers, UnusableSuitesGetEmulatedHandles)
{
    auto& suite = FakeHandleSuite::Instance();
    struct Case {
        const char* what;
        void (*spoil)(HandleProcs&);
    } cases[] = {
        {"version 2", [](HandleProcs& p) { p.handleProcsVersion = 2; }},
        {"six procs", [](HandleProcs& p) { p.numHandleProcs = 6; }},
        {"no newProc", [](HandleProcs& p) { p.newProc = nullptr; }},
        {"no setSizeProc", [](HandleProcs& p) { p.setSizeProc = nullptr; }},
    };
    for (auto& c : cases) {
        suite.Reset();
        c.spoil(suite.procs);
        Handle handle = HandleNew(&suite.procs, 16);
        ASSERT_NE(handle, nullptr) << c.what;
        EXPECT_EQ(suite.created, 0) << c.what;
        auto* header = reinterpret_cast<EmulatedHandleHeader*>(handle);
        EXPECT_EQ(std::memcmp(header->signature, "OTOF", 4), 0) << c.what;
        Ptr data = HandleLock(&suite.procs, handle, true);
        ASSERT_EQ(data, header->data) << c.what;
        const char zeros[16] = {};
        EXPECT_EQ(std::memcmp(data, zeros, 16), 0) << c.what;
        HandleUnlock(&suite.procs, handle);
        EXPECT_EQ(HandleLock(&suite.procs, handle, false), data) << "unlocking changes nothing";
        HandleDispose(&suite.procs, handle);
        EXPECT_EQ(suite.locks + suite.unlocks + suite.disposed, 0) << c.what;
    }
}

TEST(HandleWrappers, EmulatedHandleMemoryIsReturnedToTheSystem)
{
    Handle handle = NewEmulatedHandle(64);
    ASSERT_NE(handle, nullptr);
    auto* header = reinterpret_cast<EmulatedHandleHeader*>(handle);
    HGLOBAL dataMemory = GlobalHandle(header->data);
    HGLOBAL headerMemory = GlobalHandle(header);
    ASSERT_NE(dataMemory, nullptr);
    ASSERT_NE(headerMemory, nullptr);
    EXPECT_GE(GlobalSize(dataMemory), 64u);
    DisposeEmulatedHandle(handle);
    EXPECT_EQ(GlobalSize(dataMemory), 0u) << "the data block is freed";
    EXPECT_EQ(GlobalSize(headerMemory), 0u) << "the header block is freed";
    DisposeEmulatedHandle(nullptr);
}

TEST(HandleWrappers, SuiteWithoutLockProcGivesFailedLockNotACrash)
{
    auto& suite = FakeHandleSuite::Instance();
    suite.Reset();
    suite.procs.lockProc = nullptr;
    suite.procs.unlockProc = nullptr;
    Handle handle = HandleNew(&suite.procs, 8);
    EXPECT_EQ(HandleLock(&suite.procs, handle, true), nullptr);
    HandleUnlock(&suite.procs, handle);
    HandleDispose(&suite.procs, handle);
    EXPECT_EQ(suite.LiveHandles(), 0);
}

}  // namespace
