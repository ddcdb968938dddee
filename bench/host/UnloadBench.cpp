// Loads and unloads: the module loaded and unloaded 10,000 times in one host
// process, with an import at every tenth load. The imports take turns: a
// whole run, a run the host leaves after Start (the module is unloaded
// holding the run's bitmap and its search of the folder) and one it leaves
// after Prepare (the search stopped at the first image). After the last
// unload the host loads the module once more and imports.
//
// Nothing may be kept across all of it: no TLS slot (a process has 1,088),
// no handle, and the heap in use grows by less than 64 KB (a kept thread
// record alone is about a kilobyte a load). Prints what was kept at every
// tenth of the run and at its end, with the time taken, and fails over
// those limits, when a load or a run goes wrong, or when the host cannot
// import at the end.
//   UnloadBench [--quick] [LOADS [LOADS_PER_IMPORT]]
// --quick: 1,200 loads, past the 1,085th at which a TLS slot kept a load
// ended the host, with an import at every 40th (an import takes a second
// under Wine: the progress dialog's timer sees the converter's exit at its
// second tick).
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "HostBench.h"
#include "ProcessUsage.h"
#include "StreamedImages.h"
#include "common/ProgramFolder.h"

namespace {

constexpr int Width = 1500;
constexpr int Height = 1000;
constexpr int FullLoads = 10000;
constexpr int FullLoadsPerImport = 10;
constexpr int QuickLoads = 1200;
constexpr int QuickLoadsPerImport = 40;
constexpr int WarmUpLoads = 6;  // the host's own first-use allocations settle, each kind of run once
constexpr double MostHeapGrowth = 64 * 1024;
constexpr DWORD SettleMs = 6000;

// TLS slots free in the process now: all taken, counted and given back.
int FreeTlsSlots()
{
    std::vector<DWORD> taken;
    for (DWORD slot; taken.size() < 4096 && (slot = TlsAlloc()) != TLS_OUT_OF_INDEXES;)
        taken.push_back(slot);
    for (DWORD slot : taken)
        TlsFree(slot);
    return int(taken.size());
}

// The handle values of the process that name an object now.
std::vector<uintptr_t> OpenHandles()
{
    std::vector<uintptr_t> open;
    for (uintptr_t value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            open.push_back(value);
    }
    return open;
}

std::string ObjectType(uintptr_t value)
{
    alignas(8) char buffer[512] = {};
    ULONG length = 0;
    if (NtQueryObject(reinterpret_cast<HANDLE>(value), ObjectTypeInformation, buffer, sizeof buffer, &length) != 0)
        return "?";
    const UNICODE_STRING& name = reinterpret_cast<PUBLIC_OBJECT_TYPE_INFORMATION*>(buffer)->TypeName;
    std::string text;
    for (USHORT i = 0; i < name.Length / sizeof(WCHAR); ++i)
        text += char(name.Buffer[i]);
    return text;
}

// What the handles open now and not at the start are, to tell the module's
// from the host's and the system's.
std::string NewHandles(const std::vector<uintptr_t>& before)
{
    std::string list;
    for (uintptr_t value : OpenHandles())
        if (!std::binary_search(before.begin(), before.end(), value))
            list += (list.empty() ? "" : ", ") + ObjectType(value);
    return list;
}

struct Kept {
    int tlsSlots;
    double handles;
    double heapBytes;
    double committedBytes;
};

struct Baseline {
    int freeSlots;
    ProcessUsage usage;
    std::vector<uintptr_t> handles;

    static Baseline Now() { return Baseline{FreeTlsSlots(), MeasureProcess(), OpenHandles()}; }
    Kept Since() const
    {
        const ProcessUsage now = MeasureProcess();
        return Kept{freeSlots - FreeTlsSlots(), double(now.handles) - double(usage.handles),
                    double(now.heapBytes) - double(usage.heapBytes),
                    double(now.committed) - double(usage.committed)};
    }
};

enum class RunKind { Whole, LeftAfterStart, LeftAfterPrepare };

const char* Name(RunKind kind)
{
    switch (kind) {
    case RunKind::Whole:
        return "a whole run";
    case RunKind::LeftAfterStart:
        return "a run left after Start";
    default:
        return "a run left after Prepare";
    }
}

// Why the run went other than planned; empty when it did not.
std::string Fault(const HostReport& report, RunKind kind)
{
    if (!NothingHeld(report))
        return "the host's buffers or handles were left with the module, or the host saw a problem";
    const size_t calls = kind == RunKind::LeftAfterPrepare ? 1 : kind == RunKind::LeftAfterStart ? 2 : 0;
    if (calls != 0) {
        if (report.calls.size() != calls || report.calls.back().result != 0)
            return std::string(Name(kind)) + " did not end as planned: " + Outcome(report);
        return "";
    }
    if (report.CompleteDocuments() != 2)
        return "a whole run gave " + std::to_string(report.CompleteDocuments()) + " documents: " + Outcome(report);
    return "";
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void PrintKept(int loads, const Kept& kept, double seconds, const Baseline& before)
{
    std::printf("  after %5d loads: TLS slots %+d, handles %+.0f, heap %+.0f bytes, committed %+.1f MB, %6.1f s",
                loads, kept.tlsSlots, kept.handles, kept.heapBytes, kept.committedBytes / (1024.0 * 1024.0),
                seconds);
    if (kept.handles > 0)
        std::printf(" (new: %s)", NewHandles(before.handles).c_str());
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = QuickMode(argc, argv);
    int counts[2] = {quick ? QuickLoads : FullLoads, quick ? QuickLoadsPerImport : FullLoadsPerImport};
    for (int i = 1, given = 0; i < argc && given < 2; ++i)
        if (argv[i][0] != '-')
            counts[given++] = std::atoi(argv[i]);
    const int loads = counts[0];
    const int loadsPerImport = counts[1];
    if (loadsPerImport < 1 || loads < loadsPerImport) {
        std::printf("usage: UnloadBench [--quick] [LOADS [LOADS_PER_IMPORT]], at least one import\n");
        return 1;
    }
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
    int imports = 0;
    double importSeconds = 0;
    const auto import = [&](int number) {
        const auto started = std::chrono::steady_clock::now();
        const RunKind kind = RunKind(imports++ % 3);
        bench.Host().Options().leaveRunAfter = kind == RunKind::LeftAfterStart     ? SelectorStart
                                               : kind == RunKind::LeftAfterPrepare ? SelectorPrepare
                                                                                   : -1;
        const std::string fault = Fault(bench.Import(environment), kind);
        if (!fault.empty() && firstFault.empty())
            firstFault = "load " + std::to_string(number) + ", " + Name(kind) + ": " + fault;
        importSeconds += SecondsSince(started);
    };

    std::printf("Unload: the module loaded and unloaded %d times in one host, an import of two %dx%d JPEGs at "
                "every %dth load (in turn a whole run, one left after Start, one left after Prepare)\n",
                loads, Width, Height, loadsPerImport);
    bench.Host().Unload();
    for (int number = 1; number <= WarmUpLoads; ++number) {
        load(number);
        import(number);
        bench.Host().Unload();
    }
    imports = 0;
    importSeconds = 0;
    const Baseline before = Baseline::Now();
    const auto start = std::chrono::steady_clock::now();
    const int checkpoint = loads >= 10 ? loads / 10 : loads;
    for (int number = 1; number <= loads; ++number) {
        load(number);
        if (number % loadsPerImport == 0)
            import(number);
        bench.Host().Unload();
        if (number % checkpoint == 0)
            PrintKept(number, before.Since(), SecondsSince(start), before);
    }
    const double seconds = SecondsSince(start);
    // The system's worker threads of the last import end after a few idle
    // seconds; what stays then is kept.
    Sleep(SettleMs);
    const Kept kept = before.Since();

    // The host goes on: one more load and a whole run.
    load(loads + 1);
    bench.Host().Options().leaveRunAfter = -1;
    const HostReport last = bench.Import(environment);
    bench.Host().Unload();
    const std::string lastFault = Fault(last, RunKind::Whole);

    std::printf("  %d loads and unloads, %d imports: %.1f s; a load and unload %.1f ms, an import %.0f ms\n", loads,
                imports, seconds, 1000.0 * (seconds - importSeconds) / loads, 1000.0 * importSeconds / imports);
    std::printf("  kept, %.0f s after the last unload: TLS slots %d, handles %.0f, heap %.0f bytes (limit %.0f), "
                "committed %+.1f MB\n",
                SettleMs / 1000.0, kept.tlsSlots, kept.handles, kept.heapBytes, MostHeapGrowth,
                kept.committedBytes / (1024.0 * 1024.0));
    if (kept.handles > 0)
        std::printf("  handles kept: %s\n", NewHandles(before.handles).c_str());
    std::printf("  the host imports after them: %s\n", lastFault.empty() ? "2 documents" : lastFault.c_str());

    int status = 0;
    if (!firstFault.empty()) {
        std::printf("FAIL: %s\n", firstFault.c_str());
        status = 1;
    }
    if (!lastFault.empty()) {
        std::printf("FAIL: the host cannot import after the loads\n");
        status = 1;
    }
    if (kept.tlsSlots > 0 || kept.handles > 0 || kept.heapBytes >= MostHeapGrowth) {
        std::printf("FAIL: the loads kept TLS slots, handles or %.0f KB of heap or more\n", MostHeapGrowth / 1024);
        status = 1;
    }
    if (status == 0)
        std::printf("  nothing kept across %d loads\n", loads);
    return status;
}
