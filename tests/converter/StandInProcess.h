// Starts the stand-in as the module does: the full path as the application,
// a command line of its file name and the arguments.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "support/TestSupport.h"

class StandInProcess {
public:
    // Starts ombrix-converter.exe with the variables set in its environment.
    StandInProcess(const std::string& arguments, const std::map<std::string, std::string>& environment = {});
    ~StandInProcess();
    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    bool Running() const;
    // The exit code, or -1 when the process is still running after timeoutMs.
    long Wait(int timeoutMs = 30000);

private:
    PROCESS_INFORMATION process_{};
};

// Runs the stand-in to its end and returns its exit code.
long RunStandIn(const std::string& arguments, const std::map<std::string, std::string>& environment = {});
