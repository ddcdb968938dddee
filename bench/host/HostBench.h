// The real module in the reference host, with the converter stand-in
// registered for the length of a benchmark; the registry keys both use are
// put back as they were afterwards.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "host/ReferenceHost.h"
#include "support/SavedRegistryKey.h"

class HostBench {
public:
    explicit HostBench(HostOptions options);
    ~HostBench();

    // False with *error when the module cannot be loaded.
    bool Ready(std::string* error) const;
    ReferenceHost& Host() { return *host_; }

    // One import; the stand-in is steered by the environment it gets.
    HostReport Import(const std::map<std::string, std::string>& converterEnvironment);

    // A fresh folder of the bench, removed with everything in it at the end.
    std::string NewFolder(const std::string& label);

private:
    SavedRegistryKey classKey_;
    SavedRegistryKey vendorKey_;
    std::string root_;
    int folders_ = 0;
    std::unique_ptr<ReferenceHost> host_;
};

// How an import of one image ended: "imported", the module's message, the
// host's refusal, or the calls' results when none of these.
std::string Outcome(const HostReport& report);

// Whether nothing is held after the run: no buffer or handle of the host's
// left with the module, and no problem noticed.
bool NothingHeld(const HostReport& report);
