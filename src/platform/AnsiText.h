// The ANSI code page, where the host's 8-bit records or an older version of
// the module need it. Never for a path the module opens: a name the code
// page cannot hold becomes some other name there.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// text in the ANSI code page for the host to show, best fit or "?" for what
// the code page lacks, cut after the last whole character that fits in
// capacity - 1 bytes (capacity: 256 at most, as the host's names are).
// Writes the bytes without a terminator; returns how many. Allocates nothing.
size_t DisplayText(std::wstring_view text, char* target, size_t capacity);

// Whether text reads back exactly from the ANSI code page, in at most
// maxBytes bytes: what a reader of 8-bit text gets is then this very text.
bool AnsiHoldsExactly(std::wstring_view text, size_t maxBytes);
