#include "converter/ProgressDialog.h"

// Until the converter watch exists, the default dialog handling answers everything.
extern "C" INT_PTR CALLBACK UIProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}
