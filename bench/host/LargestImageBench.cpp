// The largest 8-bit JPEG and 16-bit TIFF that import through the reference
// host (up to 32,767 pixels a side), what happens one step beyond, and the
// peak memory of one import against what it must hold: the module's bitmap,
// one strip and the host's document. In a 64-bit host the address space is no
// limit: the record's 16-bit sizes are, and the 8-bit and 16-bit images of
// 32,767 x 32,767 pixels are imported instead of searched for.
//   LargestImageBench [--quick]    (--quick: small images, no search)
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "HostBench.h"
#include "ProcessUsage.h"
#include "StreamedImages.h"
#include "common/TempFolder.h"
#include "transfer/StripSizing.h"

namespace {

constexpr int LargestSide = 32767;  // the most the host's record can describe
constexpr int SearchStep = 256;     // pixels of the long side between two probes

struct Probe {
    bool deep;  // 16-bit TIFF, else 8-bit JPEG
    int width;
    int height;
    TiffTiles tiles = {};  // a 16-bit TIFF in tiles; none: in strips
};

// Tiles taller than 2^32 bytes of 32767 16-bit pixels' rows: the decoder once
// stepped over a row of such tiles with a 32-bit product, and the rows below
// it arrived black.
constexpr TiffTiles TallTiles{1024, 21856};

struct Result {
    std::string outcome;
    bool imported = false;  // complete, and every pixel as the reference has it
    uint64_t peak = 0;      // committed bytes over the start, at the highest strip
    uint64_t left = 0;      // committed bytes over the start, after the import
    bool held = false;      // a buffer, handle or problem left by the run
};

uint64_t Committed()
{
    return CommittedBytes();
}

class Bench {
public:
    Bench() : host_(Options()) {}

    bool Ready(std::string* error) const { return host_.Ready(error); }

    Result Run(const Probe& probe)
    {
        Result result;
        const std::string folder = host_.NewFolder(probe.deep ? "deep" : "photo");
        const std::string path = folder + (probe.deep ? "\\image.tif" : "\\image.jpg");
        const std::vector<uint8_t> profile = MakeRgbProfile(3144);
        uint64_t expected = 0;
        std::string error;
        const bool written = probe.deep ? WriteTiff16(path, probe.width, probe.height, profile, &expected, &error,
                                                      probe.tiles)
                                        : WriteJpeg(path, probe.width, probe.height, profile, &error);
        if (!written) {
            result.outcome = "not written: " + error;
            RemoveTree(folder);
            return result;
        }

        const uint64_t start = Committed();
        peak_ = start;
        HostReport report = host_.Import({{"OMBRIX_CONVERTER_VALUE", "given:" + folder}});
        result.peak = peak_ - start;
        const uint64_t after = Committed();
        result.left = after > start ? after - start : 0;
        result.held = !NothingHeld(report);
        result.outcome = Outcome(report);

        if (report.documents.size() == 1 && report.documents[0].complete) {
            const DocumentRecord& document = report.documents[0];
            if (!probe.deep && !JpegChecksum(path, &expected, &error))
                result.outcome += ", but the reference decode failed: " + error;
            else if (document.checksum != Hex64(expected))
                result.outcome += ", but its pixels differ from the reference";
            else if (document.width != probe.width || document.height != probe.height ||
                     document.depth != (probe.deep ? 16 : 8) || document.profile != profile)
                result.outcome += ", but its size, depth or profile is wrong";
            else
                result.imported = true;
            if (result.imported)
                result.outcome += ", pixels and profile as the file's";
        }
        RemoveTree(folder);
        return result;
    }

private:
    HostOptions Options()
    {
        HostOptions options;
        options.keepPixels = false;  // summed, then dropped: the bench needs only the checksum
        options.afterStrip = [this] { peak_ = std::max(peak_, Committed()); };
        return options;
    }

    uint64_t peak_ = 0;
    HostBench host_;
};

// What one import must hold at its height.
struct Needed {
    uint64_t bitmap;    // the module's decoded image, rows padded to 4 bytes
    uint64_t strip;     // one strip buffer
    uint64_t document;  // the host's document
    uint64_t map;       // the reference host's own record of delivered samples, a bit each
};

Needed NeededFor(const Probe& probe)
{
    const uint64_t pixelBytes = probe.deep ? 6 : 3;
    const uint64_t rowBytes = uint64_t(probe.width) * pixelBytes;
    const uint64_t stripRows = std::min<uint64_t>(std::max<uint64_t>(StripBufferCap / rowBytes, 1), probe.height);
    return Needed{(rowBytes + 3) / 4 * 4 * probe.height, stripRows * rowBytes, rowBytes * probe.height,
                  uint64_t(probe.width) * probe.height * 3 / 8};
}

std::string Name(const Probe& probe)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s %5d x %5d (%.1f MP)%s", probe.deep ? "16-bit TIFF" : "8-bit JPEG ",
                  probe.width, probe.height, double(probe.width) * probe.height / 1e6,
                  probe.tiles.width != 0 ? ", in tiles" : "");
    return text;
}

void Print(const Probe& probe, const Result& result)
{
    std::printf("  %s: %s\n", Name(probe).c_str(), result.outcome.c_str());
    const Needed need = NeededFor(probe);
    const uint64_t sum = need.bitmap + need.strip + need.document;
    if (result.peak == 0)
        std::printf("      no strip taken: bitmap %.1f + strip %.2f + document %.1f = %.1f MB would have been held\n",
                    Mb(need.bitmap), Mb(need.strip), Mb(need.document), Mb(sum));
    else
        std::printf("      peak %.1f MB over the start; bitmap %.1f + strip %.2f + document %.1f = %.1f MB; "
                    "ratio %.3f (the host's sample map adds %.1f MB)\n",
                    Mb(result.peak), Mb(need.bitmap), Mb(need.strip), Mb(need.document), Mb(sum),
                    double(result.peak) / double(sum), Mb(need.map));
    std::printf("      after the import: %+.1f MB committed, %s\n", Mb(result.left),
                result.held ? "something left held or a problem reported" : "nothing held");
}

Probe Photo(int longSide, bool deep)
{
    return Probe{deep, longSide, longSide * 2 / 3};
}

// The longest side (3:2 pictures) that imports, by halving between one that
// does and one that does not; prints both ends.
void Search(Bench* bench, bool deep, int low, int high)
{
    std::printf("%s, 3:2, long side searched in steps of %d pixels:\n", deep ? "16-bit TIFF" : "8-bit JPEG",
                SearchStep);
    Result top = bench->Run(Photo(high, deep));
    if (top.imported) {
        std::printf("  the largest the record describes imports:\n");
        Print(Photo(high, deep), top);
        return;
    }
    Result lowest = bench->Run(Photo(low, deep));
    if (!lowest.imported) {
        std::printf("  not even the smallest of the search imports:\n");
        Print(Photo(low, deep), lowest);
        return;
    }
    Result beyond = top;
    while (high - low > SearchStep) {
        const int middle = low + (high - low) / 2;
        Result result = bench->Run(Photo(middle, deep));
        std::printf("    probe %s: %s\n", Name(Photo(middle, deep)).c_str(),
                    result.imported ? "imports" : result.outcome.c_str());
        if (result.imported) {
            low = middle;
            lowest = result;
        } else {
            high = middle;
            beyond = result;
        }
    }
    std::printf("  largest that imports:\n");
    Print(Photo(low, deep), lowest);
    std::printf("  one step beyond:\n");
    Print(Photo(high, deep), beyond);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = QuickMode(argc, argv);
    Bench bench;
    std::string error;
    if (!bench.Ready(&error)) {
        std::printf("the module does not load: %s\n", error.c_str());
        return 1;
    }
    const bool host64 = sizeof(void*) == 8;
    std::printf("Largest image through the reference host (%s) and the module\n",
                host64 ? "64-bit" : "32-bit, large-address-aware");
    std::printf("address space with the module loaded (searched up to %.0f MB): largest free block %.0f MB, "
                "%.0f MB in all\n",
                Mb(SearchCeiling), Mb(LargestFreeBlock()), Mb(ReservableBytes()));

    std::vector<Probe> probes = {{false, 3000, 2000}, {true, 3000, 2000}, {true, 3000, 2000, {256, 1024}}};
    if (!quick && host64)
        probes = {{false, LargestSide, LargestSide}, {true, LargestSide, LargestSide},
                  {true, LargestSide, LargestSide, TallTiles}};
    else if (!quick)
        probes = {{false, 14000, 13500}, {true, 12000, 7800}, {true, 12000, 8400}};
    std::printf("Single imports:\n");
    for (const Probe& probe : probes)
        Print(probe, bench.Run(probe));
    if (!quick && !host64) {
        Search(&bench, false, 12000, LargestSide);
        Search(&bench, true, 12000, LargestSide);
    }
    std::printf("address space after the imports: largest free block %.0f MB, %.0f MB in all\n",
                Mb(LargestFreeBlock()), Mb(ReservableBytes()));
    return 0;
}
