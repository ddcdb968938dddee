// What the C runtime's heap holds: where the module, the decoder and its
// libraries allocate, in a test program or a host that loads the module.
#pragma once

#include <cstddef>

// Bytes in blocks in use on the C runtime's heap.
size_t RuntimeHeapInUse();
