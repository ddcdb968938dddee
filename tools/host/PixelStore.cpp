#include "host/PixelStore.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

bool PixelStore::Allocate(size_t rowBytes, size_t rows, uint64_t limit, size_t blockBytes)
{
    clear();
    if (rowBytes == 0 || rows == 0)
        return true;
    const uint64_t total = uint64_t(rowBytes) * rows;
    if (total > SIZE_MAX || (limit != 0 && total > limit))
        return false;
    const size_t perBlock = std::max<size_t>(blockBytes / rowBytes, 1);
    try {
        blocks_.reserve((rows + perBlock - 1) / perBlock);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (size_t first = 0; first < rows; first += perBlock) {
        void* block = std::calloc(std::min(perBlock, rows - first), rowBytes);
        if (block == nullptr) {
            clear();
            return false;
        }
        blocks_.push_back(static_cast<uint8_t*>(block));  // within the reserved capacity
    }
    rowBytes_ = rowBytes;
    rows_ = rows;
    rowsPerBlock_ = perBlock;
    return true;
}

void PixelStore::clear()
{
    for (uint8_t* block : blocks_)
        std::free(block);
    blocks_.clear();
    blocks_.shrink_to_fit();
    rowBytes_ = 0;
    rows_ = 0;
    rowsPerBlock_ = 1;
}

PixelStore::PixelStore(const PixelStore& other)
{
    *this = other;
}

PixelStore& PixelStore::operator=(const PixelStore& other)
{
    if (this == &other)
        return *this;
    if (!Allocate(other.rowBytes_, other.rows_, 0, other.rowsPerBlock_ * other.rowBytes_))
        throw std::bad_alloc();
    for (size_t row = 0; row < rows_; ++row)
        std::memcpy(Row(row), other.Row(row), rowBytes_);
    return *this;
}

PixelStore::PixelStore(PixelStore&& other) noexcept
{
    *this = std::move(other);
}

PixelStore& PixelStore::operator=(PixelStore&& other) noexcept
{
    if (this != &other) {
        clear();
        std::swap(rowBytes_, other.rowBytes_);
        std::swap(rows_, other.rows_);
        std::swap(rowsPerBlock_, other.rowsPerBlock_);
        blocks_.swap(other.blocks_);
    }
    return *this;
}

std::vector<uint8_t> PixelStore::Bytes() const
{
    std::vector<uint8_t> bytes(size());
    for (size_t row = 0; row < rows_; ++row)
        std::memcpy(bytes.data() + row * rowBytes_, Row(row), rowBytes_);
    return bytes;
}
