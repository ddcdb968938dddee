#include "support/RuntimeHeap.h"

#include <windows.h>

#include <malloc.h>

size_t RuntimeHeapInUse()
{
    HANDLE heap = reinterpret_cast<HANDLE>(_get_heap_handle());
    size_t busy = 0;
    PROCESS_HEAP_ENTRY entry{};
    HeapLock(heap);
    while (HeapWalk(heap, &entry))
        if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0)
            busy += entry.cbData;
    HeapUnlock(heap);
    return busy;
}
