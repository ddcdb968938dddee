// 100 imports in one load of the module: neither memory nor handles may
// grow. Prints the process's committed bytes, heap and handle count after
// the first two imports and after the last.
//   transfer_ImportMemoryBench [--quick]    (--quick: 10 imports)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/ProgramFolder.h"
#include "BenchHost.h"
#include "ProcessUsage.h"
#include "selectors/ModuleState.h"
#include "fakehost/FakeBufferSuite.h"
#include "fakehost/FakeHandleSuite.h"

namespace {

int Imports = 100;

}  // namespace

int main(int argc, char** argv)
{
    if (QuickMode(argc, argv))
        Imports = 10;
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
    FreeImage_Save(FIF_JPEG, photo, InFolder(folder, names[0]).c_str(), JPEG_QUALITYGOOD);
    FIBITMAP* deep = FreeImage_ConvertToType(photo, FIT_RGB16);
    FreeImage_Save(FIF_TIFF, deep, InFolder(folder, names[1]).c_str(), TIFF_NONE);
    FreeImage_Unload(deep);
    FreeImage_Unload(photo);

    BenchHost host;
    ScanCursor.folder = OutputFolder = std::wstring(folder.begin(), folder.end());  // the temporary folder, ASCII
    auto import = [&](int i) {
        const std::string& name = names[i % 2];
        lstrcpynW(ScanCursor.findData.cFileName, std::wstring(name.begin(), name.end()).c_str(), MAX_PATH);  // ASCII names
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
    const ProcessUsage first = MeasureProcess();
    for (int i = 2; i < Imports; ++i)
        import(i);
    const ProcessUsage last = MeasureProcess();

    std::printf("%d imports (2000x1500 JPEG with profile, 16-bit TIFF, in turn)\n", Imports);
    std::printf("  committed bytes after 2: %llu, after %d: %llu, growth %lld bytes\n",
                (unsigned long long)first.committed, Imports, (unsigned long long)last.committed,
                (long long)last.committed - (long long)first.committed);
    std::printf("  heap bytes in use after 2: %llu, after %d: %llu, growth %lld bytes\n",
                (unsigned long long)first.heapBytes, Imports, (unsigned long long)last.heapBytes,
                (long long)last.heapBytes - (long long)first.heapBytes);
    std::printf("  handles after 2: %u, after %d: %u, growth %d\n", first.handles, Imports, last.handles,
                int(last.handles) - int(first.handles));
    std::printf("  host handles still held: %d; strip buffers still held: %d\n",
                FakeHandleSuite::Instance().LiveHandles(), FakeBufferSuite::Instance().LiveBuffers());

    DeleteFileA(InFolder(folder, names[0]).c_str());
    DeleteFileA(InFolder(folder, names[1]).c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
