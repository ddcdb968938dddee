// Acquire selector 2: the whole image, top row first, in strips through the
// host's buffer suite and advanceState.
#include <algorithm>

#include "hostutil/HostSuites.h"
#include "outputs/OutputScan.h"
#include "selectors/ModuleState.h"
#include "selectors/Handlers.h"
#include "decode/ImageFormats.h"
#include "transfer/StripSizing.h"
#include "transfer/StripTransfer.h"

namespace {

struct ImageShape {
    int32_t height;
    int32_t width;
    PixelLayout layout;
};

// The bitmap must be one Start described: a host that sends Continue without
// one, or changed the size, gets no pixels rather than a read past a row.
bool ShapeOfCurrentImage(const AcquireRecord* record, ImageShape* shape)
{
    shape->height = record->imageSize.v;
    shape->width = record->imageSize.h;
    return CurrentBitmap != nullptr && HostPixelLayoutOf(CurrentBitmap, &shape->layout) && shape->height > 0 &&
           shape->width > 0 && unsigned(shape->height) == FreeImage_GetHeight(CurrentBitmap) &&
           unsigned(shape->width) == FreeImage_GetWidth(CurrentBitmap);
}

// Sends every strip; 0 when the whole image went through, else the reason
// it stopped.
OSErr SendStrips(AcquireRecord* record, uint8_t* buffer, int16_t rows, const ImageShape& shape,
                 const StripLayout& layout)
{
    const RowConverter convert = RowConverterFor(shape.layout);
    StripRect strip{0, 0, 0, int16_t(shape.width), 0, 2};
    int32_t done = 0;
    for (;;) {
        strip.bottom = int16_t(std::min(int32_t(strip.top) + rows, shape.height));
        if (strip.top >= shape.height)
            return ResultSuccess;
        // The decoder keeps the bottom row first, so the strip's rows lie in
        // its memory from the strip's last row up. They are made in that
        // order: the bitmap is then read forwards, as the processor's
        // prefetching expects (reading it backwards row by row took twice
        // as long). The host sees the same polls, progress and strips.
        for (int32_t made = 0; made < strip.bottom - strip.top; ++made) {
            if (record->abortProc != nullptr && record->abortProc())
                return ResultUserCancelled;
            if (record->progressProc != nullptr)
                record->progressProc(done, shape.height);
            ++done;
            const int32_t r = strip.bottom - 1 - made;
            convert(FreeImage_GetScanLine(CurrentBitmap, shape.height - r - 1),
                    buffer + size_t(r - strip.top) * size_t(layout.rowBytes), size_t(shape.width));
        }
        const OSErr status = SendStrip(record, buffer, strip, layout);
        if (status != ResultSuccess)
            return status;
        strip.top = strip.bottom;
    }
}

}  // namespace

void ContinueHandler(PluginGlobals* globals)
{
    AcquireRecord* record = globals->record;
    ImageShape shape;
    if (!ShapeOfCurrentImage(record, &shape)) {
        *globals->result = ResultOutOfMemory;
        return;
    }
    const int32_t pixelBytes = int32_t(HostPixelBytes(shape.layout));
    const StripLayout layout{shape.width * pixelBytes, pixelBytes, pixelBytes / 3};

    const BufferProcs* procs = record->bufferProcs;
    const int16_t maxRows = TallStripRows(BufferSpace(procs), layout.rowBytes, shape.height);
    int16_t rows = 0;
    BufferID buffer = nullptr;
    OSErr status = AllocateStripBuffer(procs, layout.rowBytes, 1, maxRows, 1, &rows, &buffer);
    // Less free space than one row gives no buffer and no error: the image
    // must not be reported complete without its pixels.
    if (status == ResultSuccess && buffer == nullptr)
        status = ResultOutOfMemory;
    if (status == ResultSuccess) {
        auto* bytes = reinterpret_cast<uint8_t*>(LockBuffer(procs, buffer, false));
        status = bytes != nullptr ? SendStrips(record, bytes, rows, shape, layout) : ResultOutOfMemory;
        if (status == ResultSuccess) {
            record->data = nullptr;
            SetHostRect(&record->theRect, 0, 0, 0, 0);
            SettleCurrentPicture();  // the host has every row: its file may go with the folder
        }
    }
    if (buffer != nullptr)
        FreeBuffer(procs, buffer);
    *globals->result = status;
}
