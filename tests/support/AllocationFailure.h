// Makes one chosen allocation of the test program fail, as it would in a
// host whose address space is used up. The program's throwing operator new
// is replaced; it behaves as usual until armed. Allocations that ask for
// no exception are left alone: the decoder does not check all of them.
#pragma once

#include <cstddef>

// Counts the throwing allocations from now on; the k-th (1 = the next one)
// throws std::bad_alloc. 0: only count.
void FailAllocation(size_t k);

// Throwing allocations since FailAllocation; disarms.
size_t AllocationsSinceArmed();
