#include "support/HostProgramAway.h"

#include <windows.h>

#include "common/ProgramFolder.h"
#include "common/WideFiles.h"

HostProgramAway::HostProgramAway() : program_(OwnProgramPath())
{
    moved_ = !program_.empty() &&
             MoveFileW(WidePath(program_).c_str(), WidePath(program_ + ".away").c_str()) != FALSE;
}

HostProgramAway::~HostProgramAway()
{
    if (moved_)
        MoveFileW(WidePath(program_ + ".away").c_str(), WidePath(program_).c_str());
}
