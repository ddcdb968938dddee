#include "BenchHost.h"

#include <algorithm>

#include "fakehost/FakeAcquireHost.h"

namespace {

int StripCount = 0;

OSErr __cdecl AdvanceState()
{
    StripCount++;
    return 0;
}
Boolean __cdecl Abort() { return false; }
void __cdecl Progress(int32_t, int32_t) {}

}  // namespace

BenchHost::BenchHost() : record(NewestAcquireRecordSize, 0)
{
    WireFakeHost(Record(), AdvanceState, Abort, Progress);
    FakeBufferSuite::Instance().space = 1 << 30;
}

void BenchHost::SetFreeSpace(int32_t bytes)
{
    FakeBufferSuite::Instance().space = bytes;
}

int16_t BenchHost::Start()
{
    return CallAcquireHandler(StartHandler, Record());
}

int16_t BenchHost::Continue()
{
    StripCount = 0;
    return CallAcquireHandler(ContinueHandler, Record());
}

int BenchHost::Strips() const
{
    return StripCount;
}

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

FIBITMAP* MakePhotoLikeBitmap(int width, int height)
{
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
    uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 28) - 8;
            line[3 * x + FI_RGBA_RED] = BYTE(std::clamp(x * 255 / width + n, 0, 255));
            line[3 * x + FI_RGBA_GREEN] = BYTE(std::clamp(y * 255 / height + n, 0, 255));
            line[3 * x + FI_RGBA_BLUE] = BYTE(std::clamp(((x + y) / 7) % 256 + n, 0, 255));
        }
    }
    return bitmap;
}
