#include "common/WindowReading.h"

std::string WindowText(HWND window)
{
    char text[1024] = "";
    int length = GetWindowTextA(window, text, sizeof text);
    return std::string(text, length > 0 ? size_t(length) : 0);
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? size_t(length) : 0);
}

bool IsPushButton(HWND window)
{
    if (_stricmp(ClassOf(window).c_str(), "Button") != 0)
        return false;
    LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}
