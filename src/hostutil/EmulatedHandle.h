// The module's own stand-in for a host handle, used when the host's handle
// suite cannot be: an 8-byte header in global memory that points to a
// zero-filled data block, both locked for the handle's whole life.
#pragma once

#include <cstdint>

#include "hostapi/HostApi.h"

struct EmulatedHandleHeader {
    char* data;
    char signature[4];  // "OTOF", no terminator
};
static_assert(sizeof(EmulatedHandleHeader) == 8);

constexpr char EmulatedHandleSignature[4] = {'O', 'T', 'O', 'F'};

Handle NewEmulatedHandle(int32_t size);
void DisposeEmulatedHandle(Handle handle);
Ptr LockEmulatedHandle(Handle handle);
