// Memory that the test hosts hand to the module: handles, buffers, records.
// In a 64-bit process it comes from above 4 GB (allocated top-down), where a
// pointer the module cut to 32 bits points at nothing and the test crashes;
// Wine's heaps and ordinary VirtualAlloc stay below 4 GB and would let such a
// cut pass. In a 32-bit process it is ordinary committed memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

// The lowest address AllocateHigh hands out: 4 GB in a 64-bit process.
#if defined(_WIN64)
constexpr uint64_t HighMemoryFloor = uint64_t(1) << 32;
#else
constexpr uint64_t HighMemoryFloor = 0;
#endif

// Zero-filled, committed memory at or above HighMemoryFloor; nullptr when the
// system refuses. Ends the process with a message if the system answers a
// top-down request with a lower address (the check would prove nothing).
void* AllocateHigh(size_t bytes);
void FreeHigh(void* block);

// For containers whose storage the module sees.
template <typename T>
struct HighAllocator {
    using value_type = T;
    HighAllocator() = default;
    template <typename U>
    HighAllocator(const HighAllocator<U>&) {}
    T* allocate(size_t count)
    {
        void* block = count > SIZE_MAX / sizeof(T) ? nullptr : AllocateHigh(count * sizeof(T));
        if (block == nullptr)
            throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* block, size_t) { FreeHigh(block); }
    template <typename U>
    bool operator==(const HighAllocator<U>&) const { return true; }
};

template <typename T>
using HighVector = std::vector<T, HighAllocator<T>>;

// Gives a class whose address the module sees (a handle's block) its place
// in high memory: derive from it.
struct InHighMemory {
    static void* operator new(size_t bytes) { return HighAllocator<char>().allocate(bytes); }
    static void operator delete(void* block) { FreeHigh(block); }
};
