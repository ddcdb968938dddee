#include "common/HighMemory.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#if defined(_WIN64)

void* AllocateHigh(size_t bytes)
{
    // Fresh pages come zero-filled.
    void* block = VirtualAlloc(nullptr, bytes > 0 ? bytes : 1, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN,
                               PAGE_READWRITE);
    if (block != nullptr && uint64_t(uintptr_t(block)) < HighMemoryFloor) {
        std::fprintf(stderr, "AllocateHigh: the system placed a top-down block at %p, below 4 GB\n", block);
        std::abort();
    }
    return block;
}

void FreeHigh(void* block)
{
    if (block != nullptr)
        VirtualFree(block, 0, MEM_RELEASE);
}

#else

// The 32-bit tools keep the C heap, as the address-space figures of their
// benchmarks assume.
void* AllocateHigh(size_t bytes) { return std::calloc(bytes > 0 ? bytes : 1, 1); }
void FreeHigh(void* block) { std::free(block); }

#endif
