// Builds a document from the strips a module hands over, as the record
// describes each of them: any rectangle, any range of planes, any column,
// row and plane steps, 8 or 16 bits per sample. Pure code.
#pragma once

#include <cstdint>
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
    // Documents larger than this are refused (the host runs in 32 bits).
    static constexpr int64_t MaxDocumentBytes = int64_t(768) * 1024 * 1024;

    // Takes the description from document (mode, size, depth, planes) and
    // allocates its pixels. False with *problem when it cannot be made.
    bool Begin(DocumentRecord* document, std::string* problem);

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
    std::vector<uint64_t> written_;  // one bit per sample
};

// FNV-1a 64 of the bytes, as 16 hex digits.
std::string Fnv1a64Hex(const uint8_t* bytes, size_t size);
