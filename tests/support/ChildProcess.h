// A program of the build started from a test the way the module starts one:
// its full path as the application, a command line of its file name and the
// arguments, and the test's environment with some variables added. Started
// wide (CreateProcessW): paths, arguments and variables are UTF-8 and may
// hold any character.
#pragma once

#include <windows.h>

#include <map>
#include <string>

// A program anywhere (a copy in a folder of a test's), by its full path.
struct ProgramPath {
    std::string path;
};

class ChildProcess {
public:
    ChildProcess(const char* programBesideTests, const std::string& arguments,
                 const std::map<std::string, std::string>& environment = {});
    ChildProcess(const ProgramPath& program, const std::string& arguments,
                 const std::map<std::string, std::string>& environment = {});
    ~ChildProcess();  // ends the program if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    bool Running() const;
    // The exit code, or -1 when the program still runs after timeoutMs.
    long Wait(int timeoutMs = 30000);

private:
    PROCESS_INFORMATION process_{};
};

// Runs the program to its end; its exit code, or -1 after 30 seconds.
long RunChild(const char* programBesideTests, const std::string& arguments,
              const std::map<std::string, std::string>& environment = {});
long RunChild(const ProgramPath& program, const std::string& arguments,
              const std::map<std::string, std::string>& environment = {});
