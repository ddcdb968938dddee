// One whole import (Start + Continue + Finish's release) of each kind of file
// against the decoding libraries' own fastest decode of the same file
// (TurboJPEG to RGB, libtiff's strips into one buffer): Start's decode over
// the library's, and the import over the library's decode plus one copy to
// the host. Rounds alternate, so that both see the same state of the machine;
// each figure is the best of its rounds. The host's document is compared with
// the library's pixels.
//   transfer_ImportBench [--quick]    (--quick: a 0.6-megapixel picture, 2 rounds)
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/ProgramFolder.h"
#include "BenchHost.h"
#include "LibraryDecode.h"
#include "ProcessUsage.h"
#include "StreamedImages.h"
#include "selectors/ModuleState.h"

namespace {

int Width = 6000;
int Height = 4000;
int Rounds = 7;

struct Kind {
    const char* name;
    bool jpeg;
    JpegStyle jpegStyle;
    TiffStyle tiffStyle;
};

const Kind Kinds[] = {
    {"jpeg-420", true, {false, false}, {}},
    {"jpeg-444", true, {true, false}, {}},
    {"jpeg-progressive", true, {false, true}, {}},
    {"tiff8-none", false, {}, {8, false, {}}},
    {"tiff16-none", false, {}, {16, false, {}}},
    {"tiff16-deflate-pred", false, {}, {16, true, {}}},
};

struct Timings {
    double decode = 1e30;  // the library's decode, or Start
    double import = 1e30;  // the decode, one copy and the release, or Start + Continue + release
};

class KindBench {
public:
    KindBench(BenchHost& host, const std::string& folder, const Kind& kind, std::vector<uint8_t>& copy)
        : host_(host), kind_(kind), name_(std::string(kind.name) + (kind.jpeg ? ".jpg" : ".tif")),
          path_(InFolder(folder, name_)), copy_(copy)
    {
    }

    bool Write(std::string* error)
    {
        uint64_t checksum = 0;
        return kind_.jpeg ? WriteJpeg(path_, Width, Height, {}, error, kind_.jpegStyle)
                          : WriteTiff(path_, Width, Height, {}, kind_.tiffStyle, &checksum, error);
    }

    bool LibraryDecode(DecodedPixels* pixels, std::string* error) const
    {
        return kind_.jpeg ? DecodeJpegWithTurbo(path_, pixels, error) : DecodeTiffWithLibtiff(path_, pixels, error);
    }

    bool LibraryRound(std::string* error)
    {
        const double start = Now();
        DecodedPixels pixels;
        if (!LibraryDecode(&pixels, error))
            return false;
        const double decoded = Now();
        std::memcpy(copy_.data(), pixels.bytes.get(), std::min(pixels.size, copy_.size()));
        pixels.bytes.reset();
        Note(&library, start, decoded, Now());
        return true;
    }

    bool ModuleRound(std::string* error)
    {
        lstrcpynW(ScanCursor.findData.cFileName, std::wstring(name_.begin(), name_.end()).c_str(), MAX_PATH);  // ASCII names
        const double start = Now();
        const bool started = host_.Start() == 0;
        const double decoded = Now();
        const bool continued = started && host_.Continue() == 0;
        ReleaseCurrentBitmap();  // what the cycle's Finish does
        Note(&module, start, decoded, Now());
        if (!continued)
            *error = "the module's import failed";
        return continued;
    }

    // The host's document holds what the library decoded.
    bool SamePixels(std::string* error) const
    {
        DecodedPixels pixels;
        if (!LibraryDecode(&pixels, error))
            return false;
        const std::vector<uint8_t>& document = host_.Document();
        return document.size() == pixels.size && std::memcmp(document.data(), pixels.bytes.get(), pixels.size) == 0;
    }

    void Remove() const { DeleteFileA(path_.c_str()); }

    Timings library;
    Timings module;

private:
    static void Note(Timings* timings, double start, double decoded, double end)
    {
        timings->decode = std::min(timings->decode, decoded - start);
        timings->import = std::min(timings->import, end - start);
    }

    BenchHost& host_;
    const Kind& kind_;
    std::string name_;
    std::string path_;
    std::vector<uint8_t>& copy_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (QuickMode(argc, argv))
        Width = 1000, Height = 600, Rounds = 2;
    FreeImage_Initialise(TRUE);
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "ombrix-import-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);

    BenchHost host;
    ScanCursor.folder = OutputFolder = std::wstring(folder.begin(), folder.end());  // the temporary folder, ASCII
    // The target of the library's copy, its pages touched once, as the host's
    // document is kept from one import to the next.
    std::vector<uint8_t> copy(size_t(Width) * 6 * size_t(Height), 1);

    std::printf("Import of %dx%d pictures against the decoding libraries (ms, best of %d alternating rounds)\n",
                Width, Height, Rounds);
    std::printf("  %-20s %12s %12s %12s %12s  %s\n", "kind", "library", "Start", "lib + copy", "import",
                "same pixels");
    int status = 0;
    std::vector<std::string> ratios;
    for (const Kind& kind : Kinds) {
        KindBench bench(host, folder, kind, copy);
        std::string error;
        bool ok = bench.Write(&error);
        host.ForgetDocument();
        for (int round = 0; round < Rounds && ok; ++round)
            ok = bench.LibraryRound(&error) && bench.ModuleRound(&error);
        const bool same = ok && bench.SamePixels(&error);
        bench.Remove();
        if (!ok) {
            std::printf("  %-20s failed: %s\n", kind.name, error.c_str());
            status = 1;
            continue;
        }
        if (!same)
            status = 1;
        std::printf("  %-20s %12.2f %12.2f %12.2f %12.2f  %s\n", kind.name, bench.library.decode * 1000,
                    bench.module.decode * 1000, bench.library.import * 1000, bench.module.import * 1000,
                    same ? "yes" : ("NO " + error).c_str());
        char line[160];
        std::snprintf(line, sizeof(line), "decode vs library: %s %.3f\nimport vs library: %s %.3f", kind.name,
                      bench.module.decode / bench.library.decode, kind.name,
                      bench.module.import / bench.library.import);
        ratios.push_back(line);
    }
    for (const std::string& line : ratios)
        std::printf("%s\n", line.c_str());

    RemoveDirectoryA(folder.c_str());
    return status;
}
