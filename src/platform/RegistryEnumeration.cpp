#include "platform/RegistryEnumeration.h"

#include <vector>

LONG ReadValueAt(HKEY key, DWORD index, EnumeratedValue& value)
{
    // Room for the longest name and its terminator, and one unit past the
    // largest data for a terminator that the data need not carry.
    std::vector<wchar_t> name(LongestValueName + 1);
    std::vector<wchar_t> data(LargestValueData / sizeof(wchar_t) + 1);
    DWORD nameLength = LongestValueName + 1;
    value.dataSize = LargestValueData;
    LONG status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, nullptr,
                                reinterpret_cast<BYTE*>(data.data()), &value.dataSize);
    if (status != ERROR_SUCCESS) {
        value.name.clear();
        value.data.clear();
        return status;
    }
    value.name.assign(name.data(), nameLength);
    const size_t units = value.dataSize / sizeof(wchar_t);
    data[units] = L'\0';
    value.data.assign(data.data());
    return status;
}
