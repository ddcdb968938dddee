#include "host/ReferenceHost.h"

#include "host/DocumentSaver.h"
#include "host/HandOffRecord.h"
#include "host/ReportWriter.h"
#include "common/Environment.h"
#include "common/WideFiles.h"

#include <new>

namespace {

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

std::string PascalText(const unsigned char* text)
{
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

DocumentRecord DescribedDocument(const AcquireRecord& record, int index)
{
    DocumentRecord document;
    document.index = index;
    document.filename = PascalText(record.filename);
    document.mode = record.imageMode;
    document.width = record.imageSize.h;
    document.height = record.imageSize.v;
    document.depth = record.depth;
    document.planes = record.planes;
    document.hRes = record.imageHRes;
    document.vRes = record.imageVRes;
    return document;
}

}  // namespace

ReferenceHost::ReferenceHost(HostOptions options)
    : options_(std::move(options)), automation_(options_), callbacks_(std::make_unique<HostCallbacks>(options_))
{
    HandOffGuardLinked();
    shared_->platform.hwnd = reinterpret_cast<intptr_t>(window_.Window());
}

ReferenceHost::~ReferenceHost()
{
    Unload();
}

void ReferenceHost::Unload()
{
    module_.Unload();
    // The slot's handle goes with the module; a new one starts with none.
    callbacks_->DisposeDataSlot(shared_->slot);
    shared_->slot = 0;
}

bool ReferenceHost::Load(const std::string& modulePath)
{
    Unload();
    callbacks_ = std::make_unique<HostCallbacks>(options_);
    return module_.Load(modulePath);
}

HostReport ReferenceHost::NewReport(const char* command) const
{
    HostReport report;
    report.command = command;
    report.modulePath = module_.Path();
    report.loaded = module_.IsLoaded();
    report.loadError = module_.Error();
    report.pipl = module_.Pipl();
    if (!report.loaded)
        report.problems.push_back(module_.Path().empty() ? "no module loaded"
                                                         : "module not loaded: " + module_.Error());
    return report;
}

CallRecord ReferenceHost::Call(int16_t selector, void* block, AcquireRecord* record, int document)
{
    CallRecord call;
    call.selector = selector;
    call.name = SelectorName(selector);
    call.document = document;
    call.dialogsOpenBefore = automation_.OpenDialogs();
    callbacks_->SetSelector(selector);
    automation_.SetSelector(selector);

    int16_t result = 0;
    double start = NowMs();
    module_.Entry()(selector, block, &shared_->slot, &result);
    call.milliseconds = NowMs() - start;

    // What the host's own message loop would do between two calls.
    call.quitSeen = PumpWaitingMessages(&call.quitExitCode);
    automation_.SweepThreadWindows();
    callbacks_->SetSelector(-1);
    automation_.SetSelector(-1);

    call.result = result;
    leftRun_ = leftRun_ || selector == options_.leaveRunAfter;
    call.dialogsOpenAfter = automation_.OpenDialogs();
    if (record != nullptr) {
        call.acquireAgain = record->acquireAgain != 0;
        call.wantFinalize = record->wantFinalize != 0;
        call.dataNull = record->data == nullptr;
    }
    report_->calls.push_back(call);
    return call;
}

void ReferenceHost::FinishReport(HostReport* report, double startMs)
{
    callbacks_->ReportLeaks(shared_->slot);
    callbacks_->EndRun();
    automation_.EndRun();
    report->milliseconds = NowMs() - startMs;
    report_ = nullptr;
    if (!options_.reportPath.empty() && !WriteReport(*report, options_.reportPath))
        report->problems.push_back("the report cannot be written to " + options_.reportPath);
}

double ReferenceHost::BeginRun(HostReport* report)
{
    report_ = report;
    callbacks_->BeginRun(report);
    automation_.BeginRun(report);
    return NowMs();
}

HostReport ReferenceHost::About()
{
    HostReport report = NewReport("about");
    if (!module_.IsLoaded())
        return report;
    double start = BeginRun(&report);

    AboutRecord& about = shared_->about;
    about = AboutRecord{};
    about.platformData = &shared_->platform;
    Call(SelectorAbout, &about, nullptr, -1);
    FinishReport(&report, start);
    return report;
}

void ReferenceHost::ContinueUntilDone(AcquireRecord* record, DocumentRecord* document, DocumentAssembler* assembler)
{
    std::string problem;
    const OSErr begun = assembler->Begin(document, &problem, options_.documentMemoryLimit);
    if (begun == ResultOutOfMemory) {
        // The host's answer when it is out of memory: no Continue, the
        // document refused; the module's Finish still releases its image.
        document->error = begun;
        document->refused = problem;
        return;
    }
    if (begun != ResultSuccess) {
        report_->problems.push_back("document " + std::to_string(document->index) + " cannot be made: " + problem);
        document->error = begun;
        return;
    }
    callbacks_->SetDocument(document, assembler);
    for (int calls = 1;; ++calls) {
        OSErr result = Call(SelectorContinue, record, record, document->index).result;
        if (leftRun_)
            break;
        if (result != 0) {
            document->error = result;
            break;
        }
        if (record->data == nullptr)
            break;
        callbacks_->TakeReturnedStrip();
        if (calls >= options_.maxContinueCalls) {
            report_->problems.push_back("Continue still set data after " + std::to_string(calls) + " calls");
            document->error = ResultBadParameters;
            break;
        }
    }
    callbacks_->SetDocument(nullptr, nullptr);
    // A strip the host refused discards the document, whatever Continue said.
    for (const StripRecord& strip : document->strips)
        if (document->error == 0 && strip.answer != 0)
            document->error = strip.answer;
}

void ReferenceHost::TakeProfile(AcquireRecord* record, DocumentRecord* document)
{
    document->hasProfile = record->iCCprofileData != nullptr;
    document->profileSizeField = record->iCCprofileSize;
    if (document->hasProfile)
        document->profile = callbacks_->TakeProfile(record->iCCprofileData);
    record->iCCprofileData = nullptr;
}

void ReferenceHost::Keep(DocumentRecord* document)
{
    std::string problem;
    bool saved = true;
    if (document->complete && !options_.outputFolder.empty()) {
        try {
            saved = SaveDocument(document, options_.outputFolder, &problem);
        } catch (const std::bad_alloc&) {
            saved = false;
            problem = "no memory to write it";
        }
    }
    if (!saved)
        report_->problems.push_back("document " + std::to_string(document->index) + " not saved: " + problem);
    if (!options_.keepPixels)
        document->pixels.clear();
    report_->documents.push_back(std::move(*document));
}

bool ReferenceHost::RunCycle(AcquireRecord* record)
{
    record->data = nullptr;
    record->iCCprofileData = nullptr;
    record->iCCprofileSize = 0;
    int index = int(report_->documents.size());

    if (Call(SelectorStart, record, record, index).result != 0) {
        // No document, and no Finish after a failed Start; a profile handed
        // over all the same is still the host's to free.
        report_->calls.back().document = -1;
        DocumentRecord discarded;
        TakeProfile(record, &discarded);
        return false;
    }

    DocumentRecord document = DescribedDocument(*record, index);
    DocumentAssembler assembler;
    if (!leftRun_)
        ContinueUntilDone(record, &document, &assembler);
    if (leftRun_) {
        // No Finish: the module keeps whatever the cycle gave it.
        TakeProfile(record, &document);
        assembler.End();
        Keep(&document);
        return false;
    }
    OSErr finish = Call(SelectorFinish, record, record, index).result;
    if (document.error == 0)
        document.error = finish;
    // The profile is the host's once handed over; it frees it after Finish.
    TakeProfile(record, &document);
    assembler.End();
    // A document the host could not hold stops nothing: the next image may fit.
    bool again = record->acquireAgain != 0 && (document.error == 0 || !document.refused.empty()) && !leftRun_;
    Keep(&document);
    return again;
}

HostReport ReferenceHost::Import()
{
    HostReport report = NewReport("import");
    if (!module_.IsLoaded())
        return report;
    double start = BeginRun(&report);
    leftRun_ = false;

    ScopedEnvironment environment;
    if (!options_.outputFolder.empty()) {
        CreateDirectoryW(WidePath(options_.outputFolder).c_str(), nullptr);
        environment.Set(HandOffReportDirVariable, options_.outputFolder);
    }
    for (const auto& [name, value] : options_.environment)
        environment.Set(name, value);

    // Zero-filled and as long as the newest record, for modules written for
    // a newer interface.
    HighVector<uint64_t> storage((NewestAcquireRecordSize + 7) / 8, 0);
    auto* record = reinterpret_cast<AcquireRecord*>(storage.data());
    record->hostSig = FourCharCode("OMBX");
    record->maxData = options_.bufferSpace;
    record->platformData = &shared_->platform;
    record->canFinalize = 1;
    for (int16_t plane = 0; plane < 16; ++plane)
        record->planeMap[plane] = plane;
    callbacks_->Install(record);

    OSErr prepared = Call(SelectorPrepare, record, record, -1).result;
    bool wantFinalize = record->wantFinalize != 0;
    if (prepared == 0 && !leftRun_) {
        bool again = true;
        for (int cycle = 0; again; ++cycle) {
            if (cycle >= options_.maxCycles) {
                report.problems.push_back("acquireAgain still set after " + std::to_string(cycle) + " cycles");
                break;
            }
            again = RunCycle(record);
        }
    }
    if (!leftRun_ && wantFinalize && (prepared == 0 || options_.finalizeAfterFailedPrepare)) {
        if (options_.beforeFinalize)
            options_.beforeFinalize();
        Call(SelectorFinalize, record, record, -1);
    }

    FinishReport(&report, start);
    return report;
}
