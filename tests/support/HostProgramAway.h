// The running program, which is the host executable that a hand-off starts
// (a test program, or a host loading the module), moved away for a while:
// a hand-off cannot start.
#pragma once

#include <string>

class HostProgramAway {
public:
    HostProgramAway();
    ~HostProgramAway();
    HostProgramAway(const HostProgramAway&) = delete;
    HostProgramAway& operator=(const HostProgramAway&) = delete;
    bool Moved() const { return moved_; }

private:
    std::string program_;
    bool moved_ = false;
};
