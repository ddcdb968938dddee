#include "transfer/StripTransfer.h"

#include "ui/HostWarnings.h"
#include "platform/ModuleInstance.h"

bool SetHostRect(Rect* rect, int16_t left, int16_t top, int16_t right, int16_t bottom)
{
    if (rect == nullptr)
        return false;
    rect->top = top;
    rect->left = left;
    rect->bottom = bottom;
    rect->right = right;
    return true;
}

OSErr SendStrip(AcquireRecord* record, void* data, const StripRect& strip, const StripLayout& layout)
{
    if (!CheckAdvanceState(record->advanceState, ModuleInstance))
        return ResultUserCancelled;
    record->data = data;
    SetHostRect(&record->theRect, strip.left, strip.top, strip.right, strip.bottom);
    record->loPlane = strip.loPlane;
    record->hiPlane = strip.hiPlane;
    record->rowBytes = layout.rowBytes;
    record->colBytes = int16_t(layout.colBytes);
    record->planeBytes = layout.planeBytes;
    record->wantReadBack = false;
    const OSErr status = record->advanceState();
    record->data = nullptr;
    return status;
}
