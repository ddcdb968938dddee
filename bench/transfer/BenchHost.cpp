#include "BenchHost.h"

#include <algorithm>
#include <cstring>

#include "fakehost/FakeAcquireHost.h"

namespace {

// The callbacks are plain C functions; one host is active at a time.
BenchHost* Active = nullptr;

OSErr __cdecl AdvanceState()
{
    return Active != nullptr ? Active->TakeStrip() : OSErr(-1);
}
Boolean __cdecl Abort() { return false; }
void __cdecl Progress(int32_t, int32_t) {}

}  // namespace

BenchHost::BenchHost() : record(NewestAcquireRecordSize, 0)
{
    WireFakeHost(Record(), AdvanceState, Abort, Progress);
    FakeBufferSuite::Instance().space = 1 << 30;
    Active = this;
}

BenchHost::~BenchHost()
{
    if (Active == this)
        Active = nullptr;
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
    strips = 0;
    return CallAcquireHandler(ContinueHandler, Record());
}

int BenchHost::Strips() const
{
    return strips;
}

// What a host does with a strip: its rows are copied into the document,
// each to its place; the module's buffer is not read again afterwards.
OSErr BenchHost::TakeStrip()
{
    const AcquireRecord* r = Record();
    const size_t rowBytes = size_t(r->imageSize.h) * size_t(r->colBytes);
    const size_t bytes = rowBytes * size_t(r->imageSize.v);
    if (document.size() != bytes)
        document.assign(bytes, 0);
    const Rect& rect = r->theRect;
    if (r->data == nullptr || rect.left != 0 || rect.right != r->imageSize.h || rect.top < 0 ||
        rect.bottom > r->imageSize.v || size_t(r->rowBytes) < rowBytes)
        return -1;
    if (!dropping)
        CopyStripRows(document.data(), rowBytes, static_cast<const uint8_t*>(r->data), size_t(r->rowBytes), rect.top,
                  rect.bottom);
    strips++;
    return 0;
}

void CopyStripRows(uint8_t* document, size_t documentRowBytes, const uint8_t* source, size_t sourceRowBytes, int top,
                   int bottom)
{
    for (int y = top; y < bottom; ++y, source += sourceRowBytes)
        std::memcpy(document + size_t(y) * documentRowBytes, source, documentRowBytes);
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
