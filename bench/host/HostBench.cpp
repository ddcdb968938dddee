#include "HostBench.h"

#include <windows.h>

#include "converter/StandInRegistry.h"
#include "support/TempFolder.h"
#include "support/TestSupport.h"

HostBench::HostBench(HostOptions options)
    : classKey_(HKEY_CLASSES_ROOT, ConverterDocumentKey), vendorKey_(HKEY_CURRENT_USER, "Software\\Korvel")
{
    RegisterStandIn(BesideProgram("ombrix-converter.exe"));
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "ombrix-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root_.c_str(), nullptr);
    host_ = std::make_unique<ReferenceHost>(std::move(options));
    host_->Load(BesideProgram("OmbrixImport.8ba"));
}

HostBench::~HostBench()
{
    host_.reset();
    RemoveTree(root_);
}

bool HostBench::Ready(std::string* error) const
{
    if (!host_->IsLoaded())
        *error = host_->LoadError();
    return host_->IsLoaded();
}

HostReport HostBench::Import(const std::map<std::string, std::string>& converterEnvironment)
{
    host_->Options().environment = converterEnvironment;
    return host_->Import();
}

std::string HostBench::NewFolder(const std::string& label)
{
    std::string folder = root_ + "\\" + label + "-" + std::to_string(++folders_);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string Outcome(const HostReport& report)
{
    for (const DocumentRecord& document : report.documents) {
        if (!document.refused.empty())
            return "refused by the host with " + std::to_string(document.error) + " (" + document.refused + ")";
        if (!document.complete)
            return "document not complete (error " + std::to_string(document.error) + ")";
    }
    for (const DialogRecord& dialog : report.dialogs) {
        if (!dialog.messageBox)
            continue;
        std::string text;  // on one line
        for (char c : dialog.text)
            if (c != '\r')
                text += c == '\n' ? (text.empty() || text.back() == ' ' ? "" : " ") : std::string(1, c);
        return "message \"" + text + "\"";
    }
    if (!report.documents.empty())
        return "imported";
    std::string calls;
    for (const CallRecord& call : report.calls)
        calls += (calls.empty() ? "" : ", ") + call.name + " " + std::to_string(call.result);
    return "no document (" + calls + ")";
}

bool NothingHeld(const HostReport& report)
{
    return report.leaks.empty() && report.problems.empty();
}
