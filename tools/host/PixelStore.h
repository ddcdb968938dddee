// A document's samples, kept as blocks of whole rows rather than one block:
// a 32-bit host's address space is too broken up by the time a large
// document arrives (the module's own bitmap is one block already) to hold
// hundreds of megabytes in one piece. Pure code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class PixelStore {
public:
    // Rows per block are chosen so that a block stays near this size.
    static constexpr size_t BlockBytes = size_t(16) * 1024 * 1024;

    PixelStore() = default;
    PixelStore(const PixelStore& other);
    PixelStore& operator=(const PixelStore& other);
    PixelStore(PixelStore&& other) noexcept;
    PixelStore& operator=(PixelStore&& other) noexcept;
    ~PixelStore() { clear(); }

    // Zero-filled rows. False, holding nothing, when the memory cannot be had
    // or when the bytes would be more than limit (0: no limit but memory).
    // Blocks hold as many rows as fit blockBytes, at least one.
    bool Allocate(size_t rowBytes, size_t rows, uint64_t limit = 0, size_t blockBytes = BlockBytes);
    void clear();

    size_t size() const { return rowBytes_ * rows_; }
    bool empty() const { return size() == 0; }
    size_t RowBytes() const { return rowBytes_; }
    size_t Rows() const { return rows_; }
    uint8_t* Row(size_t row) { return blocks_[row / rowsPerBlock_] + row % rowsPerBlock_ * rowBytes_; }
    const uint8_t* Row(size_t row) const { return blocks_[row / rowsPerBlock_] + row % rowsPerBlock_ * rowBytes_; }

    // All bytes, rows in order, in one vector (for small documents).
    std::vector<uint8_t> Bytes() const;

private:
    size_t rowBytes_ = 0;
    size_t rows_ = 0;
    size_t rowsPerBlock_ = 1;
    // calloc'd: fresh pages come zeroed from the system, untouched until written.
    std::vector<uint8_t*> blocks_;
};
