// A program that links the reference host (a test program, the host
// executable) is the "host executable" a module hands DNG files to: the
// module starts a new instance of it with the quoted paths as arguments.
// Such an instance records its command line and exits before main runs, so
// that a test program started this way does not run its tests again.
#include <windows.h>

#include "common/ProgramFolder.h"
#include "common/WideText.h"
#include "host/HandOffCommandLine.h"
#include "host/HandOffRecord.h"

namespace {

bool ExitIfHandOff()
{
    std::string program = OwnProgramPath();
    if (!IsHandOffCommandLine(WideToUtf8(GetCommandLineW()), program))
        return false;
    std::string written = RecordThisHandOff();
    ExitProcess(written.empty() ? 1 : 0);
}

const bool HandOffChecked = ExitIfHandOff();

}  // namespace

// Referenced by the reference host so that this file is always linked in.
bool HandOffGuardLinked()
{
    return !HandOffChecked;
}
