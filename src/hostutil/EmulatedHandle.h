// The module's own stand-in for a host handle, used when the host's handle
// suite cannot be: a header in global memory (8 bytes on 32-bit, 16 on x86-64) that points to a
// zero-filled data block, both locked for the handle's whole life.
#pragma once

#include <cstddef>
#include <cstdint>

#include "hostapi/HostApi.h"

struct EmulatedHandleHeader {
    char* data;
    char signature[4];  // "OTOF", no terminator
};
static_assert(offsetof(EmulatedHandleHeader, signature) == sizeof(char*) &&
              sizeof(EmulatedHandleHeader) == 2 * sizeof(char*));

constexpr char EmulatedHandleSignature[4] = {'O', 'T', 'O', 'F'};

Handle NewEmulatedHandle(int32_t size);
void DisposeEmulatedHandle(Handle handle);
Ptr LockEmulatedHandle(Handle handle);
