// Continue for a 24-megapixel image, 8 and 16 bits per channel, against a
// bare memcpy of the same bytes in the same process. Prints the ratios.
// Continue is timed with the host's part in it: every strip is copied into
// the host's document, and the document is checked against the bitmap.
// Beside them, the least any strip transfer costs with this host: the
// bitmap's rows copied as they are into a strip buffer, and the host's copy
// of each strip into its document; no conversion, no callbacks.
//   transfer_ContinueBench [--quick]    (--quick: a 0.6-megapixel image, 2 runs)
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchHost.h"
#include "ProcessUsage.h"
#include "selectors/ModuleState.h"
#include "decode/RowConversion.h"
#include "transfer/StripSizing.h"

namespace {

int Width = 6000;
int Height = 4000;
int Runs = 15;

struct Figures {
    double memcpyWhole;  // one memcpy of the bitmap's bytes into a buffer of their size
    double tall;         // Continue with the strips the module asks for
    double oneRow;       // Continue with strips of one row
    double dropped;      // Continue with tall strips, the host dropping them: the module's part alone
    double bareStrips;   // rows copied into a strip buffer, then by the host into its document
    bool documentRight;  // both kinds of strip made the document the bitmap shows
};

// Row y of the document against scan line height - 1 - y, converted by the
// plain converters.
bool DocumentHoldsBitmap(const std::vector<uint8_t>& document, FIBITMAP* bitmap, size_t rowBytes)
{
    if (document.size() != rowBytes * Height)
        return false;
    const bool deep = FreeImage_GetImageType(bitmap) == FIT_RGB16;
    std::vector<uint8_t> row(rowBytes);
    for (int y = 0; y < Height; ++y) {
        const BYTE* line = FreeImage_GetScanLine(bitmap, Height - 1 - y);
        (deep ? CopyRgb16Row : ConvertBgrRowScalar)(line, row.data(), size_t(Width));
        if (std::memcmp(row.data(), document.data() + y * rowBytes, rowBytes) != 0)
            return false;
    }
    return true;
}

Figures Measure(FIBITMAP* bitmap, int hostPixelBytes)
{
    const size_t rowBytes = size_t(Width) * hostPixelBytes;
    const BYTE* bits = FreeImage_GetBits(bitmap);
    const size_t bitmapBytes = size_t(FreeImage_GetPitch(bitmap)) * Height;
    std::vector<uint8_t> whole(bitmapBytes, 1);

    BenchHost host;
    CurrentBitmap = bitmap;
    host.Record()->imageSize = Point{int16_t(Height), int16_t(Width)};
    auto transfer = [&](int32_t freeSpace) {
        host.SetFreeSpace(freeSpace);
        if (host.Continue() != 0)
            std::printf("Continue failed\n");
    };

    // The bare transfer, in strips as tall as Continue's, bitmap read
    // forwards; its document is the memcpy's target.
    const int stripRows = TallStripRows(1 << 30, int32_t(rowBytes), Height);
    std::vector<uint8_t> strip(rowBytes * size_t(stripRows));
    const int pitch = int(FreeImage_GetPitch(bitmap));
    auto bare = [&] {
        for (int top = 0; top < Height; top += stripRows) {
            const int bottom = std::min(top + stripRows, Height);
            for (int y = bottom - 1; y >= top; --y)
                std::memcpy(strip.data() + size_t(y - top) * rowBytes, bits + size_t(Height - 1 - y) * pitch, rowBytes);
            CopyStripRows(whole.data(), rowBytes, strip.data(), rowBytes, top, bottom);
        }
    };

    // Rounds alternate between the five, so that each sees the same machine.
    Figures f{1e30, 1e30, 1e30, 1e30, 1e30, true};
    int tallStrips = 0;
    for (int round = 0; round < Runs; ++round) {
        f.memcpyWhole = std::min(f.memcpyWhole, BestOf(1, [&] { std::memcpy(whole.data(), bits, bitmapBytes); }));
        f.bareStrips = std::min(f.bareStrips, BestOf(1, bare));
        host.DropStrips(true);
        f.dropped = std::min(f.dropped, BestOf(1, [&] { transfer(1 << 30); }));
        host.DropStrips(false);
        f.tall = std::min(f.tall, BestOf(1, [&] { transfer(1 << 30); }));
        tallStrips = host.Strips();
        f.oneRow = std::min(f.oneRow, BestOf(1, [&] { transfer(int32_t(rowBytes * (HostReserveRows + 1))); }));
    }
    // Outside the clock: a fresh document from each kind of strip.
    for (int32_t freeSpace : {1 << 30, int32_t(rowBytes * (HostReserveRows + 1))}) {
        host.ForgetDocument();
        transfer(freeSpace);
        f.documentRight = f.documentRight && DocumentHoldsBitmap(host.Document(), bitmap, rowBytes);
    }
    std::printf("  the host's document holds the bitmap's pixels: %s\n", f.documentRight ? "yes" : "NO");
    std::printf("  %zu bytes per image; %d tall strips of at most %d KiB, %d one-row strips\n", rowBytes * Height,
                tallStrips, StripBufferCap / 1024, host.Strips());
    for (size_t kib : {64, 256, 1024, 4096}) {
        const size_t rows = std::max<size_t>(kib * 1024 / rowBytes, 1);
        const double t = BestOf(Runs, [&] { transfer(int32_t(rowBytes * (HostReserveRows + rows))); });
        std::printf("  for comparison, strips of %4zu rows (%4zu KiB): %7.2f ms\n", rows, rows * rowBytes / 1024,
                    t * 1000);
    }
    CurrentBitmap = nullptr;
    return f;
}

void Report(const Figures& f)
{
    std::printf("  memcpy of the same bytes:  %7.2f ms\n", f.memcpyWhole * 1000);
    std::printf("  Continue, tall strips:     %7.2f ms  ratio %.2f\n", f.tall * 1000, f.tall / f.memcpyWhole);
    std::printf("  Continue, one-row strips:  %7.2f ms  ratio %.2f\n", f.oneRow * 1000, f.oneRow / f.memcpyWhole);
    std::printf("  Continue, tall strips, the host dropping them (the module's part alone): %7.2f ms  ratio %.2f\n",
                f.dropped * 1000, f.dropped / f.memcpyWhole);
    std::printf("  bare strips (copy, host's copy): %7.2f ms  ratio %.2f; Continue, tall strips, over bare strips %.2f\n",
                f.bareStrips * 1000, f.bareStrips / f.memcpyWhole, f.tall / f.bareStrips);
}

void ReportConverters(FIBITMAP* bitmap)
{
    std::vector<uint8_t> row(size_t(Width) * 3);
    auto over = [&](RowConverter convert) {
        return BestOf(Runs, [&] {
            for (int y = 0; y < Height; ++y)
                convert(FreeImage_GetScanLine(bitmap, y), row.data(), Width);
        });
    };
    const double scalar = over(ConvertBgrRowScalar);
    std::printf("8-bit row conversion alone: scalar %.2f ms", scalar * 1000);
    if (ProcessorHasSse2()) {
        const double sse2 = over(ConvertBgrRowSse2);
        std::printf(", SSE2 %.2f ms (%.2fx faster)", sse2 * 1000, scalar / sse2);
    }
    if (ProcessorHasSsse3()) {
        const double vector = over(ConvertBgrRowSsse3);
        std::printf(", SSSE3 %.2f ms (%.2fx faster)", vector * 1000, scalar / vector);
    }
    const RowConverter used = RowConverterFor(PixelLayout::Bgr8);
    std::printf("; the module uses %s\n",
                used == ConvertBgrRowSsse3 ? "SSSE3" : used == ConvertBgrRowSse2 ? "SSE2" : "scalar");
}

}  // namespace

int main(int argc, char** argv)
{
    if (QuickMode(argc, argv))
        Width = 1000, Height = 600, Runs = 2;
    FreeImage_Initialise(TRUE);
    std::printf("Continue of a %dx%d image against memcpy of the same bytes (best of %d runs)\n", Width, Height, Runs);

    FIBITMAP* eight = MakePhotoLikeBitmap(Width, Height);
    std::printf("8-bit RGB\n");
    const Figures eightFigures = Measure(eight, 3);
    Report(eightFigures);
    ReportConverters(eight);
    FreeImage_Unload(eight);

    FIBITMAP* sixteen = FreeImage_AllocateT(FIT_RGB16, Width, Height);
    for (int y = 0; y < Height; ++y) {
        auto* samples = reinterpret_cast<uint16_t*>(FreeImage_GetScanLine(sixteen, y));
        for (int i = 0; i < Width * 3; ++i)
            samples[i] = uint16_t(i * 7919 + y * 104729);
    }
    std::printf("16-bit RGB\n");
    const Figures sixteenFigures = Measure(sixteen, 6);
    Report(sixteenFigures);
    FreeImage_Unload(sixteen);

    FreeImage_DeInitialise();
    return eightFigures.documentRight && sixteenFigures.documentRight ? 0 : 1;
}
