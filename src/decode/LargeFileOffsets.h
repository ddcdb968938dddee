#pragma once

#include <cstdint>
#include <cstdio>

// Seeks and tells past 2 GB: the C library's fseek and ftell take a long,
// which has 32 bits on Windows in 64-bit programs too; the 64-bit calls go
// by other names there.
inline int SeekInLargeFile(std::FILE* file, int64_t offset, int origin)
{
#ifdef _WIN32
    return _fseeki64(file, offset, origin);
#else
    return fseeko(file, off_t(offset), origin);
#endif
}

inline int64_t TellInLargeFile(std::FILE* file)
{
#ifdef _WIN32
    return _ftelli64(file);
#else
    return int64_t(ftello(file));
#endif
}
