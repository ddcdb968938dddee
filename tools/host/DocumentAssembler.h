// Builds a document from the strips a module hands over, as the record
// describes each of them: any rectangle, any range of planes, any column,
// row and plane steps, 8 or 16 bits per sample. Pure code.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/HostReport.h"

// Bytes the host may read a strip from: the buffer of its own that holds it.
struct ByteRange {
    const uint8_t* begin;
    const uint8_t* end;
};

class DocumentAssembler {
public:
    // Takes the description from document (mode, size, depth, planes) and
    // allocates its pixels, at most memoryLimit bytes of them (0: as much as
    // the process can get). 0; ResultBadParameters with *problem for a
    // description no document can have; ResultOutOfMemory with *problem
    // when the host cannot hold it. Nothing is held after a failure.
    OSErr Begin(DocumentRecord* document, std::string* problem, uint64_t memoryLimit = 0);

    // Copies the strip into the document. Sets strip->accepted, or
    // strip->problem when the strip does not fit the document, or when
    // readable is given and the strip's samples do not all lie within it.
    void AddStrip(const void* data, StripRecord* strip, const ByteRange* readable = nullptr);

    // Counts the delivered samples, sums the pixels, decides completeness.
    void End();

private:
    void MarkRange(int64_t first, int64_t count);
    void Mark(int64_t sample);

    DocumentRecord* document_ = nullptr;
    // One bit per sample, in blocks of WordsPerBlock words (one block would
    // be a tenth of the document's size).
    static constexpr size_t WordsPerBlock = size_t(1) << 20;
    uint64_t& Word(int64_t sample)
    {
        const size_t word = size_t(sample >> 6);
        return written_[word / WordsPerBlock][word % WordsPerBlock];
    }
    std::vector<std::unique_ptr<uint64_t[]>> written_;
    size_t writtenWords_ = 0;
};

// FNV-1a 64 of bytes, continued from hash (Fnv1a64Start for the first
// bytes); Hex64 writes it as 16 hex digits.
constexpr uint64_t Fnv1a64Start = 0xcbf29ce484222325ull;
uint64_t Fnv1a64(uint64_t hash, const uint8_t* bytes, size_t size);
std::string Hex64(uint64_t value);
