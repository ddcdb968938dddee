// Continue for a 24-megapixel image, 8 and 16 bits per channel, against a
// bare memcpy of the same bytes in the same process. Prints the ratios.
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
int Runs = 7;

struct Figures {
    double memcpyWhole;  // one memcpy of the bitmap's bytes into a buffer of their size
    double tall;         // Continue with the strips the module asks for
    double oneRow;       // Continue with strips of one row
};

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

    // Rounds alternate between the three, so that each sees the same machine.
    Figures f{1e30, 1e30, 1e30};
    int tallStrips = 0;
    for (int round = 0; round < Runs; ++round) {
        f.memcpyWhole = std::min(f.memcpyWhole, BestOf(1, [&] { std::memcpy(whole.data(), bits, bitmapBytes); }));
        f.tall = std::min(f.tall, BestOf(1, [&] { transfer(1 << 30); }));
        tallStrips = host.Strips();
        f.oneRow = std::min(f.oneRow, BestOf(1, [&] { transfer(int32_t(rowBytes * (HostReserveRows + 1))); }));
    }
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
    if (ProcessorHasSsse3()) {
        const double vector = over(ConvertBgrRowSsse3);
        std::printf(", SSSE3 %.2f ms (%.2fx faster)", vector * 1000, scalar / vector);
    }
    std::printf("; the module uses %s\n", RowConverterFor(PixelLayout::Bgr8) == ConvertBgrRowScalar ? "scalar" : "SSSE3");
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
    Report(Measure(eight, 3));
    ReportConverters(eight);
    FreeImage_Unload(eight);

    FIBITMAP* sixteen = FreeImage_AllocateT(FIT_RGB16, Width, Height);
    for (int y = 0; y < Height; ++y)
        std::memset(FreeImage_GetScanLine(sixteen, y), y & 0xFF, size_t(Width) * 6);
    std::printf("16-bit RGB\n");
    Report(Measure(sixteen, 6));
    FreeImage_Unload(sixteen);

    FreeImage_DeInitialise();
    return 0;
}
