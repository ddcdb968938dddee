#include "support/HostProgramAway.h"

#include <windows.h>

HostProgramAway::HostProgramAway()
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    program_ = program;
    moved_ = MoveFileA(program, (program_ + ".away").c_str()) != FALSE;
}

HostProgramAway::~HostProgramAway()
{
    if (moved_)
        MoveFileA((program_ + ".away").c_str(), program_.c_str());
}
