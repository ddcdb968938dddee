#include "host/PiplReader.h"

#include "hostapi/HostApi.h"

namespace {

class ByteCursor {
public:
    ByteCursor(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    bool Read16(uint16_t* value)
    {
        if (size_ - offset_ < 2)
            return false;
        *value = uint16_t(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        offset_ += 2;
        return true;
    }
    bool Read32(uint32_t* value)
    {
        if (size_ - offset_ < 4)
            return false;
        *value = uint32_t(bytes_[offset_]) | (uint32_t(bytes_[offset_ + 1]) << 8) |
                 (uint32_t(bytes_[offset_ + 2]) << 16) | (uint32_t(bytes_[offset_ + 3]) << 24);
        offset_ += 4;
        return true;
    }
    size_t Remaining() const { return size_ - offset_; }
    const uint8_t* Here() const { return bytes_ + offset_; }
    void Skip(size_t count) { offset_ += count; }
    size_t Offset() const { return offset_; }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t offset_ = 0;
};

// A C string within the property's data; stops at the data's end.
std::string CString(const uint8_t* data, size_t length)
{
    size_t end = 0;
    while (end < length && data[end] != 0)
        ++end;
    return std::string(reinterpret_cast<const char*>(data), end);
}

// A length-prefixed string within the property's data.
std::string PascalString(const uint8_t* data, size_t length)
{
    if (length == 0)
        return std::string();
    size_t count = data[0];
    if (count > length - 1)
        count = length - 1;
    return std::string(reinterpret_cast<const char*>(data + 1), count);
}

uint32_t Little32(const uint8_t* data)
{
    return uint32_t(data[0]) | (uint32_t(data[1]) << 8) | (uint32_t(data[2]) << 16) | (uint32_t(data[3]) << 24);
}

}  // namespace

std::string FourCharText(uint32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = char((code >> shift) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return text;
}

bool ParsePipl(const uint8_t* bytes, size_t size, PiplInfo* info, std::string* error)
{
    *info = PiplInfo();
    ByteCursor cursor(bytes, size);
    uint16_t leadingWord = 0;
    uint32_t listVersion = 0;
    uint32_t count = 0;
    if (!cursor.Read16(&leadingWord) || !cursor.Read32(&listVersion) || !cursor.Read32(&count)) {
        *error = "the PiPL resource is shorter than its header (" + std::to_string(size) + " bytes)";
        return false;
    }
    if (leadingWord != 1) {
        *error = "the PiPL resource starts with " + std::to_string(leadingWord) + " instead of 1";
        return false;
    }
    for (uint32_t index = 0; index < count; ++index) {
        uint32_t vendor = 0, key = 0, id = 0, length = 0;
        if (!cursor.Read32(&vendor) || !cursor.Read32(&key) || !cursor.Read32(&id) || !cursor.Read32(&length)) {
            *error = "the PiPL resource ends inside the header of property " + std::to_string(index + 1) +
                     " of " + std::to_string(count);
            return false;
        }
        if (length > cursor.Remaining()) {
            *error = "property '" + FourCharText(key) + "' claims " + std::to_string(length) +
                     " bytes, only " + std::to_string(cursor.Remaining()) + " remain";
            return false;
        }
        const uint8_t* data = cursor.Here();
        if (vendor == FourCharCode("8BIM")) {
            if (key == FourCharCode("kind") && length >= 4) {
                info->hasKind = true;
                info->kind = Little32(data);
            } else if (key == FourCharCode("name")) {
                info->name = PascalString(data, length);
            } else if (key == FourCharCode("vers") && length >= 4) {
                info->hasVersion = true;
                info->version = Little32(data);
            } else if (key == OwnCodeProperty) {
                info->hasEntryPoint = true;
                info->entryPoint = CString(data, length);
            } else if (key == OtherCodeProperty) {
                info->hasOtherEntryPoint = true;
            }
        }
        // Data is padded to a multiple of four; the length may or may not
        // count the padding.
        size_t padded = (size_t(length) + 3) & ~size_t(3);
        cursor.Skip(padded <= cursor.Remaining() ? padded : cursor.Remaining());
        info->propertyCount = int(index + 1);
    }
    return true;
}
