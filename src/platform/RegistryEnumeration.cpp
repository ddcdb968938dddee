#include "platform/RegistryEnumeration.h"

namespace {

constexpr DWORD EnumerationCapacity = 259;

}  // namespace

LONG ReadValueAt(HKEY key, DWORD index, EnumeratedValue& value)
{
    DWORD nameLength = EnumerationCapacity;
    value.dataSize = EnumerationCapacity;
    LONG status = RegEnumValueA(key, index, value.name, &nameLength, nullptr, nullptr,
                                reinterpret_cast<BYTE*>(value.data), &value.dataSize);
    if (status == ERROR_SUCCESS) {
        // String data need not carry its own terminator; the buffer has room
        // for one past the capacity.
        value.data[value.dataSize] = '\0';
    }
    return status;
}
