#include "host/HostCallbacks.h"

#include <algorithm>
#include <cstring>

#include "common/HighMemory.h"

HostCallbacks* HostCallbacks::Active = nullptr;

// A handle points into its block, a buffer id is its block's address, and the
// data of both are above 4 GB in a 64-bit host.
struct HostCallbacks::HandleBlock : InHighMemory {
    char* data = nullptr;  // first member: a Handle points here
    int32_t size = 0;
    int locks = 0;
    int16_t selector = -1;
};

struct HostCallbacks::BufferBlock : InHighMemory {
    HighVector<char> bytes;
    int16_t selector = -1;
};

namespace {

const char* const HandleProcNames[] = {"new", "dispose", "getSize", "setSize",
                                       "lock", "unlock", "recoverSpace", "disposeRegular"};
const char* const BufferProcNames[] = {"allocate", "lock", "unlock", "free", "space"};

// Index of name in names, or -1.
template <size_t N>
int ProcIndex(const char* const (&names)[N], const std::string& name)
{
    for (size_t i = 0; i < N; ++i)
        if (name == names[i])
            return int(i);
    return -1;
}

// The suites' procedures are consecutive pointers after the two 16-bit
// fields (padded to a pointer's alignment); missing ones are nulled by index.
constexpr size_t FirstProcOffset = offsetof(HandleProcs, newProc);
static_assert(offsetof(BufferProcs, allocateProc) == FirstProcOffset);
template <typename Procs, size_t N>
void RemoveProcs(Procs* procs, const char* const (&names)[N], const std::vector<std::string>& missing,
                 const char* suite, std::vector<std::string>* unknown)
{
    auto* slots = reinterpret_cast<void**>(reinterpret_cast<char*>(procs) + FirstProcOffset);
    for (const std::string& name : missing) {
        int index = ProcIndex(names, name);
        if (index < 0)
            unknown->push_back(std::string("unknown ") + suite + " procedure '" + name + "' in the options");
        else
            slots[index] = nullptr;
    }
}

}  // namespace

HostCallbacks::HostCallbacks(const HostOptions& options) : options_(options) {}

HostCallbacks::~HostCallbacks()
{
    for (auto& entry : handles_)
        FreeHigh(entry.second->data);
    if (Active == this)
        Active = nullptr;
}

void HostCallbacks::BeginRun(HostReport* report)
{
    report_ = report;
    document_ = nullptr;
    assembler_ = nullptr;
    selector_ = -1;
    Active = this;
}

void HostCallbacks::EndRun()
{
    report_ = &scratch_;
    document_ = nullptr;
    assembler_ = nullptr;
    selector_ = -1;
}

void HostCallbacks::AddProblem(const std::string& problem)
{
    report_->problems.push_back(problem);
}

void HostCallbacks::Install(AcquireRecord* record)
{
    record_ = record;
    handleProcs_ = HandleProcs{options_.handleSuite.version,
                               options_.handleSuite.count,
                               NewHandle,
                               DisposeHandle,
                               GetHandleSize,
                               SetHandleSize,
                               LockHandle,
                               UnlockHandle,
                               RecoverSpace,
                               DisposeRegularHandle};
    bufferProcs_ = BufferProcs{options_.bufferSuite.version, options_.bufferSuite.count, AllocateBuffer,
                               LockBuffer, UnlockBuffer, FreeBuffer, BufferSpace};
    std::vector<std::string> unknown;
    RemoveProcs(&handleProcs_, HandleProcNames, options_.handleSuite.missingProcs, "handle", &unknown);
    RemoveProcs(&bufferProcs_, BufferProcNames, options_.bufferSuite.missingProcs, "buffer", &unknown);
    for (const std::string& problem : unknown)
        AddProblem(problem);

    record->handleProcs = options_.handleSuite.present ? &handleProcs_ : nullptr;
    record->bufferProcs = options_.bufferSuite.present ? &bufferProcs_ : nullptr;
    record->advanceState = options_.advanceStatePresent ? AdvanceState : nullptr;
    record->abortProc = Abort;
    record->progressProc = Progress;
    record->canUseICCProfiles = options_.canUseICCProfiles ? 1 : 0;
}

void HostCallbacks::SetDocument(DocumentRecord* document, DocumentAssembler* assembler)
{
    document_ = document;
    assembler_ = assembler;
}

// Handles --------------------------------------------------------------------

HostCallbacks::HandleBlock* HostCallbacks::FindHandle(Handle handle, const char* operation)
{
    auto found = handles_.find(handle);
    if (found != handles_.end())
        return found->second.get();
    AddProblem(std::string(operation) + " of a handle the host never made (" + SelectorName(selector_) + ")");
    return nullptr;
}

Handle __cdecl HostCallbacks::NewHandle(int32_t size)
{
    HostCallbacks* self = Active;
    if (self == nullptr || size < 0)
        return nullptr;
    auto block = std::make_unique<HandleBlock>();
    block->data = static_cast<char*>(AllocateHigh(size_t(size)));
    if (block->data == nullptr)
        return nullptr;
    block->size = size;
    block->selector = self->selector_;
    Handle handle = &block->data;
    self->handles_[handle] = std::move(block);
    ++self->report_->suites.handlesCreated;
    return handle;
}

void HostCallbacks::ReleaseHandle(Handle handle, const char* operation)
{
    if (FindHandle(handle, operation) == nullptr)
        return;
    FreeHigh(handles_[handle]->data);
    handles_.erase(handle);
    ++report_->suites.handlesDisposed;
}

void __cdecl HostCallbacks::DisposeHandle(Handle handle)
{
    if (Active != nullptr && handle != nullptr)
        Active->ReleaseHandle(handle, "dispose");
}

void __cdecl HostCallbacks::DisposeRegularHandle(Handle handle)
{
    if (Active != nullptr && handle != nullptr)
        Active->ReleaseHandle(handle, "disposeRegular");
}

int32_t __cdecl HostCallbacks::GetHandleSize(Handle handle)
{
    HandleBlock* block = Active != nullptr ? Active->FindHandle(handle, "getSize") : nullptr;
    return block != nullptr ? block->size : 0;
}

OSErr __cdecl HostCallbacks::SetHandleSize(Handle handle, int32_t size)
{
    HandleBlock* block = Active != nullptr ? Active->FindHandle(handle, "setSize") : nullptr;
    if (block == nullptr || size < 0)
        return -50;
    char* grown = static_cast<char*>(AllocateHigh(size_t(size)));
    if (grown == nullptr)
        return ResultOutOfMemory;
    std::memcpy(grown, block->data, size_t(std::min(size, block->size)));  // the rest comes zeroed
    FreeHigh(block->data);
    block->data = grown;
    block->size = size;
    return 0;
}

Ptr __cdecl HostCallbacks::LockHandle(Handle handle, Boolean)
{
    HandleBlock* block = Active != nullptr ? Active->FindHandle(handle, "lock") : nullptr;
    if (block == nullptr)
        return nullptr;
    ++block->locks;
    ++Active->report_->suites.handleLocks;
    return block->data;
}

void __cdecl HostCallbacks::UnlockHandle(Handle handle)
{
    HandleBlock* block = Active != nullptr ? Active->FindHandle(handle, "unlock") : nullptr;
    if (block == nullptr)
        return;
    if (block->locks > 0)
        --block->locks;
    ++Active->report_->suites.handleUnlocks;
}

void __cdecl HostCallbacks::RecoverSpace(int32_t) {}

// Buffers ---------------------------------------------------------------------

HostCallbacks::BufferBlock* HostCallbacks::FindBuffer(BufferID id, const char* operation)
{
    auto found = buffers_.find(id);
    if (found != buffers_.end())
        return found->second.get();
    AddProblem(std::string(operation) + " of a buffer the host never gave (" + SelectorName(selector_) + ")");
    return nullptr;
}

OSErr __cdecl HostCallbacks::AllocateBuffer(int32_t size, BufferID* id)
{
    HostCallbacks* self = Active;
    if (self == nullptr || id == nullptr)
        return -50;
    *id = nullptr;
    if (size <= 0 || size > self->options_.bufferSpace - self->bufferBytes_) {
        ++self->report_->suites.allocationsRefused;
        return ResultOutOfMemory;
    }
    auto block = std::make_unique<BufferBlock>();
    block->bytes.assign(size_t(size), 0);
    block->selector = self->selector_;
    BufferID newId = reinterpret_cast<BufferID>(block.get());
    self->buffers_[newId] = std::move(block);
    self->bufferBytes_ += size;
    ++self->report_->suites.buffersAllocated;
    *id = newId;
    return 0;
}

Ptr __cdecl HostCallbacks::LockBuffer(BufferID id, Boolean)
{
    BufferBlock* block = Active != nullptr ? Active->FindBuffer(id, "lock") : nullptr;
    if (block == nullptr)
        return nullptr;
    ++Active->report_->suites.bufferLocks;
    return block->bytes.data();
}

void __cdecl HostCallbacks::UnlockBuffer(BufferID id)
{
    if (Active != nullptr && Active->FindBuffer(id, "unlock") != nullptr)
        ++Active->report_->suites.bufferUnlocks;
}

void __cdecl HostCallbacks::FreeBuffer(BufferID id)
{
    HostCallbacks* self = Active;
    if (self == nullptr || self->FindBuffer(id, "free") == nullptr)
        return;
    self->bufferBytes_ -= int64_t(self->buffers_[id]->bytes.size());
    self->buffers_.erase(id);
    ++self->report_->suites.buffersFreed;
}

int32_t __cdecl HostCallbacks::BufferSpace()
{
    HostCallbacks* self = Active;
    if (self == nullptr)
        return 0;
    int64_t left = self->options_.bufferSpace - self->bufferBytes_;
    return int32_t(std::max<int64_t>(left, 0));
}

// Strips and the direct callbacks ---------------------------------------------

StripRecord HostCallbacks::StripFromRecord(bool viaAdvanceState) const
{
    StripRecord strip;
    strip.rect = record_->theRect;
    strip.loPlane = record_->loPlane;
    strip.hiPlane = record_->hiPlane;
    strip.colBytes = record_->colBytes;
    strip.rowBytes = record_->rowBytes;
    strip.planeBytes = record_->planeBytes;
    strip.viaAdvanceState = viaAdvanceState;
    return strip;
}

// A strip in one of the host's buffers is read only from within that buffer;
// one in the module's own memory cannot be checked.
void HostCallbacks::Assemble(StripRecord* strip)
{
    const auto* data = static_cast<const uint8_t*>(record_->data);
    for (const auto& entry : buffers_) {
        const auto* begin = reinterpret_cast<const uint8_t*>(entry.second->bytes.data());
        const ByteRange buffer{begin, begin + entry.second->bytes.size()};
        if (data >= buffer.begin && data < buffer.end) {
            assembler_->AddStrip(data, strip, &buffer);
            return;
        }
    }
    assembler_->AddStrip(data, strip);
}

OSErr __cdecl HostCallbacks::AdvanceState()
{
    HostCallbacks* self = Active;
    if (self == nullptr)
        return ResultBadParameters;
    int call = ++self->report_->suites.advanceStateCalls;
    if (self->selector_ != SelectorContinue || self->document_ == nullptr) {
        self->AddProblem("advanceState called outside Continue (" + SelectorName(self->selector_) + ")");
        return ResultBadParameters;
    }
    StripRecord strip = self->StripFromRecord(true);
    if (self->options_.advanceStateErrorAtStrip > 0 && call == self->options_.advanceStateErrorAtStrip) {
        strip.answer = self->options_.advanceStateError;
        strip.problem = "refused by the host's options";
    } else {
        self->Assemble(&strip);
        if (!strip.accepted) {
            strip.answer = ResultBadParameters;
            self->AddProblem("strip " + std::to_string(self->document_->strips.size() + 1) + " of document " +
                             std::to_string(self->document_->index) + ": " + strip.problem);
        }
    }
    self->document_->strips.push_back(strip);
    if (self->options_.afterStrip)
        self->options_.afterStrip();
    return strip.answer;
}

void HostCallbacks::TakeReturnedStrip()
{
    if (document_ == nullptr || record_->data == nullptr)
        return;
    StripRecord strip = StripFromRecord(false);
    Assemble(&strip);
    if (!strip.accepted)
        AddProblem("returned strip of document " + std::to_string(document_->index) + ": " + strip.problem);
    document_->strips.push_back(strip);
    if (options_.afterStrip)
        options_.afterStrip();
}

Boolean __cdecl HostCallbacks::Abort()
{
    HostCallbacks* self = Active;
    if (self == nullptr)
        return 0;
    int poll = ++self->report_->suites.abortPolls;
    if (self->document_ != nullptr)
        ++self->document_->abortPolls;
    return self->options_.abortAtPoll > 0 && poll >= self->options_.abortAtPoll ? 1 : 0;
}

void __cdecl HostCallbacks::Progress(int32_t done, int32_t total)
{
    HostCallbacks* self = Active;
    if (self == nullptr)
        return;
    ++self->report_->suites.progressCalls;
    if (self->document_ != nullptr)
        self->document_->progress.push_back(ProgressCall{done, total});
}

// Ownership ---------------------------------------------------------------------

std::vector<uint8_t> HostCallbacks::TakeProfile(Handle profile)
{
    std::vector<uint8_t> bytes;
    auto found = handles_.find(profile);
    if (found == handles_.end()) {
        AddProblem("the profile handed over is no handle of the host's suite");
        return bytes;
    }
    const HandleBlock& block = *found->second;
    bytes.assign(block.data, block.data + block.size);
    ReleaseHandle(profile, "dispose");
    return bytes;
}

void HostCallbacks::DisposeDataSlot(intptr_t slot)
{
    Handle handle = reinterpret_cast<Handle>(slot);
    if (slot != 0 && handles_.count(handle) != 0) {
        FreeHigh(handles_[handle]->data);
        handles_.erase(handle);
    }
}

void HostCallbacks::ReportLeaks(intptr_t slot)
{
    for (const auto& entry : buffers_)
        report_->leaks.push_back(LeakRecord{"buffer", int32_t(entry.second->bytes.size()), entry.second->selector});
    for (const auto& entry : handles_)
        if (reinterpret_cast<intptr_t>(entry.first) != slot)
            report_->leaks.push_back(LeakRecord{"handle", entry.second->size, entry.second->selector});
}
