#include "transfer/StripSizing.h"

#include <algorithm>

#include "hostutil/HostSuites.h"

int16_t TallStripRows(int32_t freeSpace, int32_t rowBytes, int32_t height)
{
    if (rowBytes <= 0 || height <= 0)
        return 1;
    int32_t rows = freeSpace / rowBytes - HostReserveRows;
    rows = std::min({rows, height, int32_t(INT16_MAX), std::max(StripBufferCap / rowBytes, int32_t(1))});
    return int16_t(std::max(rows, int32_t(1)));
}

OSErr AllocateStripBuffer(const BufferProcs* procs, int32_t rowSize, int16_t minRows, int16_t maxRows,
                          int16_t divisor, int16_t* rows, BufferID* bufferID)
{
    *bufferID = nullptr;
    if (rowSize <= 0 || divisor <= 0)
        return ResultSuccess;
    const int32_t fit = BufferSpace(procs) / divisor / rowSize;
    int32_t count = std::min(fit, int32_t(maxRows)) + 1;
    // Never fewer than one row, whatever minRows says.
    const int32_t fewest = std::max(int32_t(minRows), int32_t(1));
    OSErr status = ResultSuccess;
    while (*bufferID == nullptr && count > fewest) {
        count--;
        // count rows fit the free space, so the size fits 32 bits.
        status = AllocateBuffer(procs, rowSize * count, bufferID);
    }
    if (*bufferID != nullptr)
        *rows = int16_t(count);
    return status;
}
