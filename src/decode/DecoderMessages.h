// What the decoder's messages during a load say about the picture it
// delivers: whether every pixel is still the file's own.
#pragma once

enum class MessageOrigin {
    Decoder,      // the decoder's message callback: its own texts and its JPEG library's
    TiffWarning,  // the TIFF library's warning handler
    TiffError,    // the TIFF library's error handler
};

// True for a message known to lose no picture data. Every other message,
// one this module does not know included, means the picture may hold rows
// the file does not.
bool IsHarmlessDecoderMessage(MessageOrigin origin, const char* text);

// True for a message saying that memory ran out: nothing said of the file.
bool SaysMemoryRanOut(MessageOrigin origin, const char* text);

// True when format could have printed text: a conversion stands for any
// run of what it prints (digits for %d, %02x ..., anything for %s).
bool MatchesFormat(const char* text, const char* format);
