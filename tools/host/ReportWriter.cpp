#include "host/ReportWriter.h"

#include "host/AnsiText.h"

#include <nlohmann/json.hpp>

#include "common/WideFiles.h"

using nlohmann::json;

namespace {

constexpr size_t StripsShown = 4;

std::string Hex32(uint32_t value)
{
    static const char digits[] = "0123456789abcdef";
    std::string text = "0x00000000";
    for (int i = 9; i >= 2; --i) {
        text[size_t(i)] = digits[value & 15];
        value >>= 4;
    }
    return text;
}

// Milliseconds to the microsecond.
double Rounded(double ms)
{
    return double(int64_t(ms * 1000.0 + 0.5)) / 1000.0;
}

std::vector<std::string> Utf8(const std::vector<std::string>& texts)
{
    std::vector<std::string> converted;
    for (const std::string& text : texts)
        converted.push_back(AnsiToUtf8(text));
    return converted;
}

json StripJson(const StripRecord& strip)
{
    json object = {
        {"rect", {strip.rect.top, strip.rect.left, strip.rect.bottom, strip.rect.right}},
        {"planes", {strip.loPlane, strip.hiPlane}},
        {"colBytes", strip.colBytes},
        {"rowBytes", strip.rowBytes},
        {"planeBytes", strip.planeBytes},
        {"via", strip.viaAdvanceState ? "advanceState" : "return"},
        {"accepted", strip.accepted},
    };
    if (strip.answer != 0)
        object["answer"] = strip.answer;
    if (!strip.problem.empty())
        object["problem"] = strip.problem;
    return object;
}

json CallJson(const CallRecord& call)
{
    json object = {
        {"event", "call"},
        {"selector", call.selector},
        {"name", call.name},
        {"result", call.result},
        {"ms", Rounded(call.milliseconds)},
        {"dialogsOpenBefore", Utf8(call.dialogsOpenBefore)},
        {"dialogsOpenAfter", Utf8(call.dialogsOpenAfter)},
    };
    if (call.selector != SelectorAbout) {
        object["acquireAgain"] = call.acquireAgain;
        object["wantFinalize"] = call.wantFinalize;
        object["dataNull"] = call.dataNull;
    }
    if (call.document >= 0)
        object["document"] = call.document;
    if (call.quitSeen)
        object["quitExitCode"] = call.quitExitCode;
    return object;
}

json DocumentJson(const DocumentRecord& document)
{
    json strips = json::array();
    for (size_t i = 0; i < document.strips.size(); ++i)
        if (i < StripsShown || i + 1 == document.strips.size())
            strips.push_back(StripJson(document.strips[i]));
    json progress = json::object({{"calls", document.progress.size()}});
    if (!document.progress.empty()) {
        progress["first"] = {document.progress.front().done, document.progress.front().total};
        progress["last"] = {document.progress.back().done, document.progress.back().total};
    }
    return json{
        {"event", "document"},
        {"index", document.index},
        {"filename", AnsiToUtf8(document.filename)},
        {"mode", document.mode},
        {"width", document.width},
        {"height", document.height},
        {"depth", document.depth},
        {"planes", document.planes},
        {"hRes", Hex32(uint32_t(document.hRes))},
        {"vRes", Hex32(uint32_t(document.vRes))},
        {"stripCount", document.strips.size()},
        {"strips", strips},
        {"progress", progress},
        {"abortPolls", document.abortPolls},
        {"profile", document.hasProfile},
        {"profileSizeField", document.profileSizeField},
        {"profileBytes", document.profile.size()},
        {"samplesWritten", document.samplesWritten},
        {"samplesTotal", document.samplesTotal},
        {"checksum", document.checksum},
        {"error", document.error},
        {"refused", document.refused},
        {"complete", document.complete},
        {"tiff", document.tiffPath},
        {"png", document.pngPath},
    };
}

json DialogJson(const DialogRecord& dialog)
{
    json controls = json::array();
    for (const DialogControl& control : dialog.controls)
        controls.push_back({{"id", control.id}, {"class", control.className}, {"text", AnsiToUtf8(control.text)}});
    return json{
        {"event", "dialog"},
        {"caption", AnsiToUtf8(dialog.caption)},
        {"messageBox", dialog.messageBox},
        {"text", AnsiToUtf8(dialog.text)},
        {"controls", controls},
        {"during", dialog.duringSelector < 0 ? std::string("no call") : SelectorName(dialog.duringSelector)},
        {"action", dialog.action},
        {"closed", dialog.closed},
    };
}

json SummaryJson(const HostReport& report)
{
    const SuiteCounters& s = report.suites;
    return json{
        {"event", "summary"},
        {"calls", report.calls.size()},
        {"documents", report.documents.size()},
        {"completeDocuments", report.CompleteDocuments()},
        {"dialogs", report.dialogs.size()},
        {"leaks", report.leaks.size()},
        {"problems", report.problems.size()},
        {"ms", Rounded(report.milliseconds)},
        {"handles", {{"created", s.handlesCreated}, {"disposed", s.handlesDisposed},
                     {"locks", s.handleLocks}, {"unlocks", s.handleUnlocks}}},
        {"buffers", {{"allocated", s.buffersAllocated}, {"freed", s.buffersFreed}, {"locks", s.bufferLocks},
                     {"unlocks", s.bufferUnlocks}, {"refused", s.allocationsRefused}}},
        {"advanceStateCalls", s.advanceStateCalls},
        {"abortPolls", s.abortPolls},
        {"progressCalls", s.progressCalls},
    };
}

// Module texts are in the system's code page; JSON wants UTF-8.
std::string Dump(const json& object)
{
    return object.dump(-1, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace

std::string ReportAsJsonLines(const HostReport& report)
{
    std::string text;
    text += Dump({
        {"event", "run"},
        {"command", report.command},
        {"module", report.modulePath},
        {"loaded", report.loaded},
        {"loadError", report.loadError},
        {"pipl", {{"kind", FourCharText(report.pipl.kind)}, {"name", report.pipl.name},
                  {"version", Hex32(report.pipl.version)}, {"entryPoint", report.pipl.entryPoint}}},
    });
    for (const CallRecord& call : report.calls)
        text += Dump(CallJson(call));
    for (const DocumentRecord& document : report.documents)
        text += Dump(DocumentJson(document));
    for (const DialogRecord& dialog : report.dialogs)
        text += Dump(DialogJson(dialog));
    for (const LeakRecord& leak : report.leaks)
        text += Dump({{"event", "leak"}, {"kind", leak.kind}, {"size", leak.size},
                      {"obtainedIn", leak.selector < 0 ? std::string("no call") : SelectorName(leak.selector)}});
    for (const std::string& problem : report.problems)
        text += Dump({{"event", "problem"}, {"text", problem}});
    text += Dump(SummaryJson(report));
    return text;
}

bool WriteReport(const HostReport& report, const std::string& path)
{
    return WriteFileData(path, ReportAsJsonLines(report));
}
