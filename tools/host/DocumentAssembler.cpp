#include "host/DocumentAssembler.h"

#include <algorithm>
#include <cstring>
#include <new>

OSErr DocumentAssembler::Begin(DocumentRecord* document, std::string* problem, uint64_t memoryLimit)
{
    document_ = nullptr;
    written_.clear();
    writtenWords_ = 0;
    if (document->width <= 0 || document->height <= 0) {
        *problem = "document size " + std::to_string(document->width) + " x " + std::to_string(document->height) +
                   " is empty";
        return ResultBadParameters;
    }
    if (document->depth != 8 && document->depth != 16) {
        *problem = "depth " + std::to_string(document->depth) + " is not supported (8 or 16)";
        return ResultBadParameters;
    }
    if (document->planes < 1 || document->planes > 16) {
        *problem = "plane count " + std::to_string(document->planes) + " is not supported (1 to 16)";
        return ResultBadParameters;
    }
    const int64_t samples = int64_t(document->width) * document->height * document->planes;
    const size_t rowBytes = size_t(document->width) * size_t(document->planes) * size_t(document->BytesPerSample());
    const uint64_t bytes = uint64_t(rowBytes) * uint64_t(document->height);
    const size_t words = size_t((samples + 63) / 64);
    bool held = document->pixels.Allocate(rowBytes, size_t(document->height), memoryLimit);
    try {
        for (size_t first = 0; held && first < words; first += WordsPerBlock) {
            const size_t count = std::min(WordsPerBlock, words - first);
            written_.emplace_back(new uint64_t[count]);
            std::memset(written_.back().get(), 0, count * sizeof(uint64_t));
        }
    } catch (const std::bad_alloc&) {
        held = false;
    }
    if (!held) {
        document->pixels.clear();
        written_.clear();
        written_.shrink_to_fit();
        *problem = memoryLimit != 0 && bytes > memoryLimit
                       ? "a document of " + std::to_string(bytes) + " bytes is more than the " +
                             std::to_string(memoryLimit) + " the host holds for one"
                       : "no memory for a document of " + std::to_string(bytes) + " bytes";
        return ResultOutOfMemory;
    }
    writtenWords_ = words;
    document->samplesTotal = samples;
    document->samplesWritten = 0;
    document_ = document;
    return ResultSuccess;
}

void DocumentAssembler::Mark(int64_t sample)
{
    Word(sample) |= uint64_t(1) << (sample & 63);
}

void DocumentAssembler::MarkRange(int64_t first, int64_t count)
{
    int64_t end = first + count;
    while (first < end && (first & 63) != 0)
        Mark(first++);
    while (end - first >= 64) {
        Word(first) = ~uint64_t(0);
        first += 64;
    }
    while (first < end)
        Mark(first++);
}

namespace {

// Whether every sample the strip describes lies within readable. The steps
// may be negative (rows stored bottom up), so the strip's bytes run from the
// most negative offset to one past the largest.
bool StripWithin(const uint8_t* data, const StripRecord& strip, int bytesPerSample, const ByteRange& readable)
{
    const Rect& r = strip.rect;
    const int64_t steps[3][2] = {{r.bottom - r.top - 1, strip.rowBytes},
                                 {r.right - r.left - 1, strip.colBytes},
                                 {strip.hiPlane - strip.loPlane, strip.planeBytes}};
    int64_t first = 0;
    int64_t end = bytesPerSample;
    for (const auto& [count, step] : steps)
        (count * step < 0 ? first : end) += count * step;
    return data >= readable.begin && data <= readable.end && -first <= data - readable.begin &&
           end <= readable.end - data;
}

}  // namespace

void DocumentAssembler::AddStrip(const void* data, StripRecord* strip, const ByteRange* readable)
{
    strip->accepted = false;
    if (document_ == nullptr) {
        strip->problem = "no document is being acquired";
        return;
    }
    DocumentRecord& doc = *document_;
    const Rect& r = strip->rect;
    if (r.top >= r.bottom || r.left >= r.right) {
        strip->accepted = true;  // nothing to take
        return;
    }
    if (data == nullptr) {
        strip->problem = "strip without data";
        return;
    }
    if (r.top < 0 || r.left < 0 || r.bottom > doc.height || r.right > doc.width) {
        strip->problem = "rectangle (" + std::to_string(r.top) + ", " + std::to_string(r.left) + ", " +
                         std::to_string(r.bottom) + ", " + std::to_string(r.right) + ") lies outside the " +
                         std::to_string(doc.width) + " x " + std::to_string(doc.height) + " document";
        return;
    }
    if (strip->loPlane < 0 || strip->hiPlane < strip->loPlane || strip->hiPlane >= doc.planes) {
        strip->problem = "planes " + std::to_string(strip->loPlane) + " to " + std::to_string(strip->hiPlane) +
                         " do not fit a document of " + std::to_string(doc.planes) + " planes";
        return;
    }

    const int bytes = doc.BytesPerSample();
    const int planes = doc.planes;
    const auto* source = static_cast<const uint8_t*>(data);
    if (readable != nullptr && !StripWithin(source, *strip, bytes, *readable)) {
        strip->problem = "rowBytes " + std::to_string(strip->rowBytes) + ", colBytes " +
                         std::to_string(strip->colBytes) + " and planeBytes " + std::to_string(strip->planeBytes) +
                         " reach outside the host's buffer of " + std::to_string(readable->end - readable->begin) +
                         " bytes that holds the strip";
        return;
    }
    const int columns = r.right - r.left;
    const bool wholePixels = strip->loPlane == 0 && strip->hiPlane == planes - 1 &&
                             strip->colBytes == planes * bytes && strip->planeBytes == bytes;
    for (int y = r.top; y < r.bottom; ++y) {
        const uint8_t* row = source + intptr_t(y - r.top) * strip->rowBytes;
        uint8_t* target = doc.pixels.Row(size_t(y)) + size_t(r.left) * planes * bytes;
        int64_t firstSample = (int64_t(y) * doc.width + r.left) * planes;
        if (wholePixels) {
            // The usual layout: interleaved pixels, copied a row at a time.
            std::memcpy(target, row, size_t(columns) * planes * bytes);
            MarkRange(firstSample, int64_t(columns) * planes);
            continue;
        }
        for (int x = 0; x < columns; ++x) {
            const uint8_t* pixel = row + intptr_t(x) * strip->colBytes;
            for (int plane = strip->loPlane; plane <= strip->hiPlane; ++plane) {
                const uint8_t* sample = pixel + intptr_t(plane - strip->loPlane) * strip->planeBytes;
                const int64_t offset = int64_t(x) * planes + plane;
                std::memcpy(target + offset * bytes, sample, size_t(bytes));
                Mark(firstSample + offset);
            }
        }
    }
    strip->accepted = true;
}

void DocumentAssembler::End()
{
    if (document_ == nullptr)
        return;
    int64_t written = 0;
    for (size_t word = 0; word < writtenWords_; ++word)
        written += __builtin_popcountll(written_[word / WordsPerBlock][word % WordsPerBlock]);
    document_->samplesWritten = written;
    const PixelStore& pixels = document_->pixels;
    uint64_t hash = Fnv1a64Start;
    for (size_t row = 0; row < pixels.Rows(); ++row)
        hash = Fnv1a64(hash, pixels.Row(row), pixels.RowBytes());
    document_->checksum = Hex64(hash);
    document_->complete = document_->error == 0 && written == document_->samplesTotal;
    written_.clear();
    writtenWords_ = 0;
    written_.shrink_to_fit();
    document_ = nullptr;
}

uint64_t Fnv1a64(uint64_t hash, const uint8_t* bytes, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

std::string Hex64(uint64_t value)
{
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i) {
        text[size_t(i)] = digits[value & 15];
        value >>= 4;
    }
    return text;
}
