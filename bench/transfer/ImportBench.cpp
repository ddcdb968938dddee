// One whole import of a large JPEG (Start + Continue + Finish's release)
// against the least any importer must do: decode it and copy its pixels
// once. Prints the overhead.
//   transfer_ImportBench [--quick]    (--quick: a 0.6-megapixel image, 2 rounds)
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/ProgramFolder.h"
#include "BenchHost.h"
#include "ProcessUsage.h"
#include "selectors/ModuleState.h"

namespace {

int Width = 6000;
int Height = 4000;
int Rounds = 5;

}  // namespace

int main(int argc, char** argv)
{
    if (QuickMode(argc, argv))
        Width = 1000, Height = 600, Rounds = 2;
    FreeImage_Initialise(TRUE);
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "ombrix-import-bench-" + std::to_string(GetCurrentProcessId());
    const std::string name = "large.jpg";
    const std::string path = InFolder(folder, name);
    CreateDirectoryA(folder.c_str(), nullptr);
    FIBITMAP* photo = MakePhotoLikeBitmap(Width, Height);
    const bool saved = FreeImage_Save(FIF_JPEG, photo, path.c_str(), JPEG_QUALITYGOOD) != FALSE;
    FreeImage_Unload(photo);
    if (!saved) {
        std::printf("could not write %s\n", path.c_str());
        return 1;
    }

    BenchHost host;
    lstrcpynA(OutputFolder, folder.c_str(), sizeof(OutputFolder));
    lstrcpynA(ScanCursor.findData.cFileName, name.c_str(), sizeof(ScanCursor.findData.cFileName));
    std::vector<uint8_t> copy(size_t(Width) * 3 * Height + 4 * Height);

    auto bare = [&] {
        FIBITMAP* bitmap = FreeImage_Load(FIF_JPEG, path.c_str(), JPEG_ACCURATE);
        std::memcpy(copy.data(), FreeImage_GetBits(bitmap), size_t(FreeImage_GetPitch(bitmap)) * Height);
        FreeImage_Unload(bitmap);
    };
    auto import = [&] {
        if (host.Start() != 0 || host.Continue() != 0)
            std::printf("import failed\n");
        ReleaseCurrentBitmap();  // what the cycle's Finish does
    };

    // Alternating, so that both see the same state of the machine.
    double bestBare = 1e30, bestImport = 1e30;
    for (int round = 0; round < Rounds; ++round) {
        bestBare = std::min(bestBare, BestOf(1, bare));
        bestImport = std::min(bestImport, BestOf(1, import));
    }
    std::printf("Import of a %dx%d JPEG (best of %d rounds)\n", Width, Height, Rounds);
    std::printf("  decode + one memcpy:         %8.2f ms\n", bestBare * 1000);
    std::printf("  Start + Continue + release:  %8.2f ms\n", bestImport * 1000);
    std::printf("  overhead: %+.1f %%\n", (bestImport / bestBare - 1) * 100);

    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
