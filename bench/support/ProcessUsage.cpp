#include "ProcessUsage.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

size_t HeapBytesInUse()
{
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    size_t total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry{};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry))
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0)
                total += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return total;
}

// The system's count where it keeps one, else the handle values that name
// a live object (Wine reports no count).
uint32_t HandleCount()
{
    DWORD handles = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles) && handles != 0)
        return handles;
    for (uintptr_t value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            handles++;
    }
    return handles;
}

bool CanReserve(size_t bytes)
{
    void* block = VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS);
    if (block == nullptr)
        return false;
    VirtualFree(block, 0, MEM_RELEASE);
    return true;
}

}  // namespace

uint64_t CommittedBytes()
{
    uint64_t committed = 0;
    MEMORY_BASIC_INFORMATION region;
    uintptr_t at = 0;
    while (VirtualQuery(reinterpret_cast<void*>(at), &region, sizeof region) != 0) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            committed += region.RegionSize;
        const uintptr_t next = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return committed;
}

ProcessUsage MeasureProcess()
{
    return ProcessUsage{CommittedBytes(), HeapBytesInUse(), HandleCount()};
}

uint64_t LargestFreeBlock()
{
    size_t low = 0;
    size_t high = size_t(std::min<uint64_t>(SearchCeiling, ~size_t(0) - 0xFFFF));
    while (high - low > 0x10000) {
        const size_t middle = (low + (high - low) / 2) & ~size_t(0xFFFF);
        (CanReserve(middle) ? low : high) = middle;
    }
    return low;
}

uint64_t ReservableBytes()
{
    // Room for the list first: with the address space taken, the heap cannot grow.
    std::vector<void*> held;
    held.reserve(4096);
    uint64_t total = 0;
    while (held.size() < held.capacity() && total < SearchCeiling) {
        const size_t largest = size_t(std::min<uint64_t>(LargestFreeBlock(), SearchCeiling - total));
        void* block = largest >= (1u << 20) ? VirtualAlloc(nullptr, largest, MEM_RESERVE, PAGE_NOACCESS) : nullptr;
        if (block == nullptr)
            break;
        held.push_back(block);
        total += largest;
    }
    for (void* block : held)
        VirtualFree(block, 0, MEM_RELEASE);
    return total;
}

bool QuickMode(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--quick") == 0)
            return true;
    return false;
}
