// 100 imports in one load of the module: neither memory nor handles may
// grow. Prints the process's private bytes and handle count after the
// first import and after the last.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "BenchHost.h"
#include "shell/ModuleState.h"
#include "support/FakeBufferSuite.h"
#include "support/FakeHandleSuite.h"
#include "transfer/ImageLoading.h"

namespace {

constexpr int Imports = 100;

struct Usage {
    size_t committed;  // the process's private committed bytes
    size_t heapBytes;  // bytes in use in all of the process's heaps
    DWORD handles;
};

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
DWORD HandleCount()
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

Usage Measure()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return Usage{counters.PagefileUsage, HeapBytesInUse(), HandleCount()};
}

}  // namespace

int main()
{
    FreeImage_Initialise(TRUE);
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "ombrix-memory-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);

    // One JPEG with a profile and one 16-bit TIFF, imported in turn.
    const std::string names[2] = {"photo.jpg", "deep.tif"};
    FIBITMAP* photo = MakePhotoLikeBitmap(2000, 1500);
    char profile[4096] = {};
    profile[2] = sizeof(profile) >> 8;     // its size, big-endian
    std::memcpy(profile + 16, "RGB ", 4);  // the colour space the profile is for
    FreeImage_CreateICCProfile(photo, profile, sizeof(profile));
    FreeImage_Save(FIF_JPEG, photo, (folder + "\\" + names[0]).c_str(), JPEG_QUALITYGOOD);
    FIBITMAP* deep = FreeImage_ConvertToType(photo, FIT_RGB16);
    FreeImage_Save(FIF_TIFF, deep, (folder + "\\" + names[1]).c_str(), TIFF_NONE);
    FreeImage_Unload(deep);
    FreeImage_Unload(photo);

    BenchHost host;
    lstrcpynA(OutputFolder, folder.c_str(), sizeof(OutputFolder));
    auto import = [&](int i) {
        const std::string& name = names[i % 2];
        lstrcpynA(ScanCursor.findData.cFileName, name.c_str(), sizeof(ScanCursor.findData.cFileName));
        host.Record()->iCCprofileData = nullptr;
        if (host.Start() != 0 || host.Continue() != 0)
            std::printf("import %d failed\n", i);
        ReleaseCurrentBitmap();  // what the cycle's Finish does
        // The host frees the profile it was given.
        if (host.Record()->iCCprofileData != nullptr)
            host.Record()->handleProcs->disposeProc(host.Record()->iCCprofileData);
        FakeBufferSuite::Instance().requests = {};  // the fake host's own record of requests
    };

    import(0);
    import(1);
    const Usage first = Measure();
    for (int i = 2; i < Imports; ++i)
        import(i);
    const Usage last = Measure();

    std::printf("%d imports (2000x1500 JPEG with profile, 16-bit TIFF, in turn)\n", Imports);
    std::printf("  committed bytes after 2: %zu, after %d: %zu, growth %lld bytes\n", first.committed, Imports,
                last.committed, (long long)last.committed - (long long)first.committed);
    std::printf("  heap bytes in use after 2: %zu, after %d: %zu, growth %lld bytes\n", first.heapBytes, Imports,
                last.heapBytes, (long long)last.heapBytes - (long long)first.heapBytes);
    std::printf("  handles after 2: %lu, after %d: %lu, growth %ld\n", first.handles, Imports, last.handles,
                long(last.handles) - long(first.handles));
    std::printf("  host handles still held: %d; strip buffers still held: %d\n",
                FakeHandleSuite::Instance().LiveHandles(), FakeBufferSuite::Instance().LiveBuffers());

    DeleteFileA((folder + "\\" + names[0]).c_str());
    DeleteFileA((folder + "\\" + names[1]).c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
