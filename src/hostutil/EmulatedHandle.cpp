#include "hostutil/EmulatedHandle.h"

#include <windows.h>

#include <cstring>

namespace {

void* AllocateLocked(SIZE_T size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (memory == nullptr)
        return nullptr;
    void* address = GlobalLock(memory);
    if (address == nullptr)
        GlobalFree(memory);
    return address;
}

void FreeLocked(void* address)
{
    HGLOBAL memory = GlobalHandle(address);
    if (memory == nullptr)
        return;
    GlobalUnlock(memory);
    GlobalFree(memory);
}

}  // namespace

Handle NewEmulatedHandle(int32_t size)
{
    if (size < 0)
        return nullptr;
    auto* header = static_cast<EmulatedHandleHeader*>(AllocateLocked(sizeof(EmulatedHandleHeader)));
    if (header == nullptr)
        return nullptr;
    header->data = static_cast<char*>(AllocateLocked(static_cast<SIZE_T>(size)));
    if (header->data == nullptr) {
        FreeLocked(header);
        return nullptr;
    }
    std::memcpy(header->signature, EmulatedHandleSignature, sizeof header->signature);
    return reinterpret_cast<Handle>(header);
}

void DisposeEmulatedHandle(Handle handle)
{
    if (handle == nullptr)
        return;
    auto* header = reinterpret_cast<EmulatedHandleHeader*>(handle);
    if (header->data != nullptr)
        FreeLocked(header->data);
    FreeLocked(header);
}

Ptr LockEmulatedHandle(Handle handle)
{
    if (handle == nullptr)
        return nullptr;
    return reinterpret_cast<EmulatedHandleHeader*>(handle)->data;
}
