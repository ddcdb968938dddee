// Loads, imports and unloads: the module loaded 100 times into one host
// process, one import in each load, then unloaded. Every other run the host
// leaves after Start, so that the module is unloaded still holding the
// run's bitmap and its search of the folder.
//
// A load costs what the static runtime's threads library keeps of it (a
// thread record, four handles and a TLS slot, which it never gives back;
// printed, not failed: it is the toolchain's, see docs/ARCHITECTURE.md).
// That cost is measured first, over loads and unloads with no call between
// them; the loads with imports must cost no more. Prints both, per load,
// and fails when the imports leave anything behind or a bare load costs
// more than that library's share.
//   UnloadBench [--quick]    (--quick: 16 loads with imports, 8 without)
#include <windows.h>

#include <cstdio>
#include <functional>

#include "HostBench.h"
#include "ProcessUsage.h"
#include "StreamedImages.h"
#include "common/ProgramFolder.h"

namespace {

constexpr int Width = 1500;
constexpr int Height = 1000;
constexpr int WarmUpLoads = 4;  // the host's own first-use allocations settle

// The threads library's share of a bare load, as measured: 805 bytes in the
// 32-bit build, 1,513 in the 64-bit one, and four handles. The C++
// runtime's reserve for exceptions (18 KB or more) is given back at unload.
constexpr double MostBareHeapBytesPerLoad = 2048;
constexpr double MostBareHandlesPerLoad = 4;
// An import may leave nothing: the smallest leak this must catch is the
// decoder's table of formats, 4.5 KB a load in the 32-bit build. The host's
// and Wine's own tables grow in steps meanwhile: 6 KB over 100 loads in the
// 32-bit build, 10 KB in the 64-bit one.
constexpr double MostImportHeapBytesPerLoad = 256;
// A bitmap left behind would be 4.5 MB a load.
constexpr double MostImportCommittedBytesPerLoad = 64 * 1024;

struct PerLoad {
    double heapBytes;
    double committedBytes;
    double handles;
    double tlsSlots;
};

constexpr DWORD ProcessTlsSlots = 1088;

// The lowest TLS slot free now: slots are handed out lowest first, so it
// rises by one for each slot held.
DWORD LowestFreeTlsSlot()
{
    const DWORD slot = TlsAlloc();
    if (slot != TLS_OUT_OF_INDEXES)
        TlsFree(slot);
    return slot;
}

// Runs count loads, each given to step, and returns what each left behind.
PerLoad Measure(int count, const std::function<void(int)>& step)
{
    const DWORD slotBefore = LowestFreeTlsSlot();
    const ProcessUsage before = MeasureProcess();
    for (int load = 1; load <= count; ++load)
        step(load);
    const ProcessUsage after = MeasureProcess();
    return PerLoad{(double(after.heapBytes) - double(before.heapBytes)) / count,
                   (double(after.committed) - double(before.committed)) / count,
                   (double(after.handles) - double(before.handles)) / count,
                   (double(LowestFreeTlsSlot()) - double(slotBefore)) / count};
}

void PrintPerLoad(const char* label, int count, const PerLoad& cost)
{
    std::printf("  %-28s %3d loads: heap %+7.0f bytes, committed %+8.0f bytes, handles %+5.2f, TLS slots %+5.2f "
                "a load\n",
                label, count, cost.heapBytes, cost.committedBytes, cost.handles, cost.tlsSlots);
}

// Why the run went other than planned; empty when it did not.
std::string Fault(const HostReport& report, bool leftAfterStart)
{
    if (!NothingHeld(report))
        return "the host's buffers or handles were left with the module, or the host saw a problem";
    if (leftAfterStart) {
        if (report.calls.size() != 2 || report.calls[1].selector != SelectorStart || report.calls[1].result != 0)
            return "the run left after Start did not start an image: " + Outcome(report);
        return "";
    }
    if (report.CompleteDocuments() != 2)
        return "a whole run gave " + std::to_string(report.CompleteDocuments()) + " documents: " + Outcome(report);
    return "";
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = QuickMode(argc, argv);
    const int importLoads = quick ? 16 : 100;
    const int bareLoads = quick ? 8 : 20;
    HostOptions options;
    options.keepPixels = false;
    HostBench bench(options);
    std::string error;
    if (!bench.Ready(&error)) {
        std::printf("the module does not load: %s\n", error.c_str());
        return 1;
    }
    const std::string module = BesideProgram("OmbrixImport.8ba");
    const std::string photo = bench.NewFolder("sources") + "\\photo.jpg";
    if (!WriteJpeg(photo, Width, Height, MakeRgbProfile(3144), &error)) {
        std::printf("%s\n", error.c_str());
        return 1;
    }
    const std::map<std::string, std::string> environment = {
        {"OMBRIX_CONVERTER_FILES", photo + ">a.jpg;" + photo + ">b.jpg"},
        {"OMBRIX_CONVERTER_PARENT", bench.NewFolder("exports")}};

    std::string firstFault;
    const auto load = [&](int number) {
        if (!bench.Host().Load(module) && firstFault.empty())
            firstFault = "load " + std::to_string(number) + ": " + bench.Host().LoadError();
    };
    const auto loadAndImport = [&](int number) {
        const bool leaveAfterStart = number % 2 == 0;
        bench.Host().Options().leaveRunAfter = leaveAfterStart ? SelectorStart : -1;
        load(number);
        const std::string fault = Fault(bench.Import(environment), leaveAfterStart);
        if (!fault.empty() && firstFault.empty())
            firstFault = "load " + std::to_string(number) + ": " + fault;
        bench.Host().Unload();
    };

    std::printf("Unload: the module loaded, used and unloaded in one host; imports of two %dx%d JPEGs, every "
                "other run left after Start\n",
                Width, Height);
    bench.Host().Unload();
    for (int number = 1; number <= WarmUpLoads; ++number)
        loadAndImport(number);
    const PerLoad bare = Measure(bareLoads, [&](int number) {
        load(number);
        bench.Host().Unload();
    });
    const PerLoad imports = Measure(importLoads, loadAndImport);
    PrintPerLoad("without a call:", bareLoads, bare);
    PrintPerLoad("with an import:", importLoads, imports);
    const double heapBeyond = imports.heapBytes - bare.heapBytes;
    const double handlesBeyond = imports.handles - bare.handles;
    const double committedBeyond = imports.committedBytes - bare.committedBytes;
    std::printf("  imports beyond a bare load: heap %+.0f bytes, committed %+.0f bytes, handles %+.2f a load; "
                "ratio import/bare heap %.3f\n",
                heapBeyond, committedBeyond, handlesBeyond,
                imports.heapBytes / (bare.heapBytes != 0 ? bare.heapBytes : 1));

    int status = 0;
    if (!firstFault.empty()) {
        std::printf("FAIL: %s\n", firstFault.c_str());
        status = 1;
    }
    if (bare.heapBytes > MostBareHeapBytesPerLoad || bare.handles > MostBareHandlesPerLoad) {
        std::printf("FAIL: a load and unload with no call keeps more than the threads library's share (%.0f bytes, "
                    "%.0f handles)\n",
                    MostBareHeapBytesPerLoad, MostBareHandlesPerLoad);
        status = 1;
    }
    if (heapBeyond > MostImportHeapBytesPerLoad || committedBeyond > MostImportCommittedBytesPerLoad ||
        handlesBeyond > 0 || imports.tlsSlots > bare.tlsSlots) {
        std::printf("FAIL: each import leaves memory or handles behind after the unload (at most %.0f bytes of heap "
                    "and %.0f committed a load, no handle)\n",
                    MostImportHeapBytesPerLoad, MostImportCommittedBytesPerLoad);
        status = 1;
    }
    if (status == 0)
        std::printf("  imports leave nothing behind across %d loads\n", importLoads);
    // Not a failure of this module's code, but of its runtime: a process has
    // 1,088 TLS slots, and winpthreads ends the host when it finds none.
    if (bare.tlsSlots > 0)
        std::printf("  NOTE: the threads library keeps a TLS slot at every load: %.0f more loads and this host "
                    "finds none and is ended\n",
                    (double(ProcessTlsSlots) - double(LowestFreeTlsSlot())) / bare.tlsSlots);
    return status;
}
