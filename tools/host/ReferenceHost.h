// The reference host: loads an import module as the real host does and
// drives it through the host's protocol, with real suites, a main window,
// dialog automation and a report of everything it saw.
//
//     HostOptions options;
//     options.outputFolder = folder;            // documents saved here (optional)
//     ReferenceHost host(options);
//     if (!host.Load(BesideProgram("OmbrixImport.8ba"))) FAIL() << host.LoadError();
//     HostReport report = host.Import();
//     EXPECT_EQ(report.Selectors(), (std::vector<int16_t>{4, 1, 2, 3, 5}));
//
// One host at a time per thread; the module stays loaded (and keeps its data
// slot) from one run to the next until the host is destroyed.
#pragma once

#include <windows.h>

#include "common/HighMemory.h"

#include <memory>
#include <string>

#include "host/DialogAutomation.h"
#include "host/HostCallbacks.h"
#include "host/HostOptions.h"
#include "host/HostReport.h"
#include "host/MainWindow.h"
#include "host/ModuleLoader.h"

class ReferenceHost {
public:
    explicit ReferenceHost(HostOptions options = HostOptions());
    ~ReferenceHost();
    ReferenceHost(const ReferenceHost&) = delete;
    ReferenceHost& operator=(const ReferenceHost&) = delete;

    // Reads the file's PiPL and loads it. False, with LoadError(), for a file
    // that is no import module or whose entry point cannot be found.
    bool Load(const std::string& modulePath);
    const std::string& LoadError() const { return module_.Error(); }
    const PiplInfo& Pipl() const { return module_.Pipl(); }
    bool IsLoaded() const { return module_.IsLoaded(); }

    // Selector 0 with an AboutRecord; returns when the module returns.
    HostReport About();
    // One import run: Prepare; while it succeeds, cycles of Start, Continue
    // (again while data is set and no error) and Finish (after every
    // successful Start), again while acquireAgain and no error; Finalize when
    // Prepare succeeded and set wantFinalize.
    HostReport Import();

    // Unloads the module (its data slot goes with it); Load starts again.
    void Unload();

    // Options may be changed between runs.
    HostOptions& Options() { return options_; }
    HWND MainWindowHandle() const { return window_.Window(); }
    intptr_t DataSlot() const { return shared_->slot; }

private:
    HostReport NewReport(const char* command) const;
    // Counts into report from now on; returns the start time.
    double BeginRun(HostReport* report);
    CallRecord Call(int16_t selector, void* block, AcquireRecord* record, int document);
    // One cycle of Start, Continue and Finish; true when another follows.
    bool RunCycle(AcquireRecord* record);
    void ContinueUntilDone(AcquireRecord* record, DocumentRecord* document, DocumentAssembler* assembler);
    void TakeProfile(AcquireRecord* record, DocumentRecord* document);
    void Keep(DocumentRecord* document);
    void FinishReport(HostReport* report, double startMs);

    HostOptions options_;
    MainWindow window_;
    // What the module is given a pointer to, above 4 GB in a 64-bit host.
    struct Shared : InHighMemory {
        PlatformData platform{};
        intptr_t slot = 0;  // the data slot
        AboutRecord about{};
    };
    std::unique_ptr<Shared> shared_ = std::make_unique<Shared>();
    DialogAutomation automation_;
    LoadedModule module_;
    std::unique_ptr<HostCallbacks> callbacks_;
    HostReport* report_ = nullptr;
    bool leftRun_ = false;  // the run reached options_.leaveRunAfter
};
