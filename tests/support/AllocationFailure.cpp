#include "support/AllocationFailure.h"

#include <cstdlib>
#include <new>

namespace {
size_t Counted = 0;
size_t FailAt = 0;
}  // namespace

void FailAllocation(size_t k)
{
    Counted = 0;
    FailAt = k;
}

size_t AllocationsSinceArmed()
{
    FailAt = 0;
    return Counted;
}

void* operator new(size_t size)
{
    if (++Counted == FailAt) {
        FailAt = 0;
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size != 0 ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size != 0 ? size : 1);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size != 0 ? size : 1);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, size_t) noexcept
{
    std::free(memory);
}
