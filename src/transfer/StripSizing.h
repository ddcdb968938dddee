// How tall the strips handed to the host are, and getting their buffer.
#pragma once

#include "hostapi/HostApi.h"

// Largest single strip buffer asked for, whatever the host offers. A strip
// that fits the processor's second-level cache is still there when the host
// reads it; measured, taller strips (up to 4 MiB) made the transfer up to
// twice as slow, and only hold memory back.
constexpr int32_t StripBufferCap = 256 * 1024;

// Rows left to the host: it keeps this many rows of free space for itself.
constexpr int32_t HostReserveRows = 300;

// The strip height to ask for: the rows that fit the free space less the
// host's reserve, at least 1, at most the image height, and no more rows
// than fit StripBufferCap (but always at least one row).
int16_t TallStripRows(int32_t freeSpace, int32_t rowBytes, int32_t height);

// Asks the host for a buffer of maxRows rows (fewer if the free space divided
// by divisor holds fewer), then one row fewer after each refusal, down to
// minRows. Returns the status of the last attempt (0 when none was made).
// bufferID is null unless a buffer was granted; rows is written only then.
OSErr AllocateStripBuffer(const BufferProcs* procs, int32_t rowSize, int16_t minRows, int16_t maxRows,
                          int16_t divisor, int16_t* rows, BufferID* bufferID);
