// A long soak: 1,000 imports in one load of the module through the reference
// host, JPEG and 16-bit TIFF in turn, both with a profile, every document
// checked against an independent reference. Prints committed memory, heap
// and handles after 10 imports and after the last.
//   SoakBench [--quick]    (--quick: 20 imports)
#include <windows.h>

#include <cstdio>

#include "HostBench.h"
#include "ProcessUsage.h"
#include "StreamedImages.h"

namespace {

constexpr int Width = 1500;
constexpr int Height = 1000;
constexpr int ImportsPerRun = 10;  // what the stand-in exports for one run

struct Source {
    std::string path;
    std::string extension;
    int depth;
    std::string checksum;
};

// Why the document differs from its source; empty when it does not.
std::string Fault(const DocumentRecord& document, const Source& source, const std::vector<uint8_t>& profile)
{
    if (!document.complete)
        return "not complete (error " + std::to_string(document.error) + ")";
    if (document.width != Width || document.height != Height || document.planes != 3)
        return "size " + std::to_string(document.width) + " x " + std::to_string(document.height);
    if (document.depth != source.depth)
        return "depth " + std::to_string(document.depth);
    if (document.profile != profile)
        return "profile of " + std::to_string(document.profile.size()) + " bytes differs";
    if (document.checksum != source.checksum)
        return "pixels differ from the reference";
    return "";
}

void PrintUsage(const char* label, const ProcessUsage& usage)
{
    std::printf("  %-18s committed %8.1f MB   heap in use %8.1f MB   handles %5u\n", label, Mb(usage.committed),
                Mb(usage.heapBytes), usage.handles);
}

}  // namespace

int main(int argc, char** argv)
{
    const int imports = QuickMode(argc, argv) ? 2 * ImportsPerRun : 1000;
    HostOptions options;
    options.keepPixels = false;  // summed, then dropped, as a host closing each document
    HostBench bench(options);
    std::string error;
    if (!bench.Ready(&error)) {
        std::printf("the module does not load: %s\n", error.c_str());
        return 1;
    }

    const std::string sources = bench.NewFolder("sources");
    const std::vector<uint8_t> profile = MakeRgbProfile(3144);
    Source jpeg{sources + "\\photo.jpg", ".jpg", 8, ""};
    Source tiff{sources + "\\deep.tif", ".tif", 16, ""};
    uint64_t checksum = 0;
    if (!WriteJpeg(jpeg.path, Width, Height, profile, &error) || !JpegChecksum(jpeg.path, &checksum, &error)) {
        std::printf("%s\n", error.c_str());
        return 1;
    }
    jpeg.checksum = Hex64(checksum);
    if (!WriteTiff16(tiff.path, Width, Height, profile, &checksum, &error)) {
        std::printf("%s\n", error.c_str());
        return 1;
    }
    tiff.checksum = Hex64(checksum);

    // Each run the stand-in exports five of each, names telling them apart.
    std::string files;
    for (int i = 0; i < ImportsPerRun; ++i) {
        const Source& source = i % 2 == 0 ? jpeg : tiff;
        files += (files.empty() ? "" : ";") + source.path + ">image-" + std::to_string(i) + source.extension;
    }
    const std::map<std::string, std::string> environment = {
        {"OMBRIX_CONVERTER_FILES", files}, {"OMBRIX_CONVERTER_PARENT", bench.NewFolder("exports")}};

    std::printf("Soak: %d imports in one load of the module (%dx%d JPEG and 16-bit TIFF in turn, with profiles)\n",
                imports, Width, Height);
    int done = 0, correct = 0, held = 0;
    ProcessUsage early, last;
    std::string firstFault;
    while (done < imports) {
        HostReport report = bench.Import(environment);
        held += NothingHeld(report) ? 0 : 1;
        if (report.documents.size() != ImportsPerRun && firstFault.empty())
            firstFault = "a run gave " + std::to_string(report.documents.size()) + " documents: " + Outcome(report);
        for (const DocumentRecord& document : report.documents) {
            const Source& source = document.filename.find(".jpg") != std::string::npos ? jpeg : tiff;
            std::string fault = Fault(document, source, profile);
            correct += fault.empty() ? 1 : 0;
            if (!fault.empty() && firstFault.empty())
                firstFault = document.filename + ": " + fault;
        }
        done += ImportsPerRun;
        if (done == ImportsPerRun)
            early = MeasureProcess();
    }
    last = MeasureProcess();

    PrintUsage(("after " + std::to_string(ImportsPerRun) + ":").c_str(), early);
    PrintUsage(("after " + std::to_string(done) + ":").c_str(), last);
    std::printf("  growth: committed %+.2f MB, heap %+.2f MB, handles %+d; ratio last/early committed %.3f\n",
                Mb(last.committed) - Mb(early.committed), Mb(last.heapBytes) - Mb(early.heapBytes),
                int(last.handles) - int(early.handles), double(last.committed) / double(early.committed));
    std::printf("  documents correct: %d of %d; runs leaving something held: %d\n", correct, done, held);
    if (!firstFault.empty())
        std::printf("  first fault: %s\n", firstFault.c_str());
    return correct == done && held == 0 ? 0 : 1;
}
