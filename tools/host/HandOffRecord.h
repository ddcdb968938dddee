// What a host instance started with file arguments (a module's DNG hand-off)
// records before it exits: its raw command line and the paths it parsed.
// Each instance writes one JSON file, handoff-<process id>.json, into the
// folder named by OMBRIX_HOST_REPORT_DIR (the module passes the host's
// environment on), or into %TEMP%\ombrix-host-handoff. Texts are UTF-8,
// taken from the wide command line: any name Windows allows comes back exactly.
#pragma once

#include <string>
#include <vector>

constexpr const char* HandOffReportDirVariable = "OMBRIX_HOST_REPORT_DIR";

struct HandOffRecord {
    std::string commandLine;  // GetCommandLineW, unchanged
    std::vector<std::string> paths;
    std::string program;      // the instance's executable
    unsigned long processId = 0;
    std::string currentDirectory;
    std::string file;         // where the record was read from
};

std::string HandOffReportFolder();

// Links the guard (HandOffGuard.cpp) into the program that calls it: started
// with a module's hand-off, the program records it and exits before main,
// so that a test program a module starts does not run its tests again. The
// reference host calls it; so does a test that hands off without one.
bool HandOffGuardLinked();

// Records the running process from its own command line. Returns the file
// written, empty on failure.
std::string RecordThisHandOff();

std::vector<HandOffRecord> ReadHandOffRecords(const std::string& folder);

// Waits (polling, without pumping messages) until folder holds at least count
// records or timeoutMs has passed; returns what is there.
std::vector<HandOffRecord> WaitForHandOffRecords(const std::string& folder, size_t count, int timeoutMs);
