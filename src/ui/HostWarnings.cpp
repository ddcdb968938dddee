#include "ui/HostWarnings.h"

#include "hostutil/HostSuites.h"
#include "hostutil/ShortString.h"

namespace {

// The host version the module needs, as the text that fills ^1.
void WarnHostLacks(HINSTANCE instance, int16_t messageNumber, double requiredVersion)
{
    ShortString version;
    ClearShortString(version);
    FormatDecimal(version, requiredVersion, 1);
    ShowHostWarning(instance, nullptr, HostAlertId, messageNumber, version, nullptr);
}

}  // namespace

bool CheckBufferSuite(const BufferProcs* procs, HINSTANCE instance)
{
    bool newerVersion = false;
    if (BufferSuiteUsable(procs, &newerVersion))
        return true;
    WarnHostLacks(instance, newerVersion ? HostTooNewMessage : HostTooOldMessage, 2.5);
    return false;
}

bool CheckAdvanceState(AdvanceStateProc advanceState, HINSTANCE instance)
{
    if (advanceState != nullptr)
        return true;
    WarnHostLacks(instance, HostTooOldMessage, 3.0);
    return false;
}

int16_t ShowHostWarning(HINSTANCE instance, HWND owner, int16_t alertId, int16_t messageNumber,
                        const unsigned char* text1, const unsigned char* text2)
{
    ShortString text;
    ClearShortString(text);
    if (alertId == 0)
        return 0;
    if (messageNumber > 0) {
        char loaded[255] = "";  // at most 254 characters and the terminator
        int length = LoadStringA(instance, static_cast<UINT>(messageNumber), loaded, sizeof loaded);
        if (length > 0)
            AppendToShortString(text, loaded, 0, static_cast<int16_t>(length));
    }
    SubstituteCarets(text, nullptr, text1, text2);
    return static_cast<int16_t>(MessageBoxA(owner, ShortStringText(text), nullptr, MB_OK | MB_ICONWARNING));
}
