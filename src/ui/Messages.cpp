#include "ui/Messages.h"

#include <windows.h>

#include "platform/ModuleInstance.h"

int ShowMessage(int16_t id)
{
    char text[256] = "";  // at most 255 characters and the terminator
    LoadStringA(ModuleInstance, static_cast<UINT>(id), text, sizeof text);
    return MessageBoxA(nullptr, text, "Ombrix", MB_OK | MB_ICONWARNING);
}
