// The judgement of decoder messages: a message refuses the file unless it is
// known to lose no pixel, and only from the library that prints it.
#include <gtest/gtest.h>

#include "decode/DecoderMessages.h"

namespace {

struct Heard {
    MessageOrigin origin;
    const char* text;
    bool expected;  // what the judgement under test answers
};

TEST(DecoderMessages, HarmlessOnlyWhenKnownSoFromItsOwnLibrary)
{
    const Heard cases[] = {
        // Stray bytes and odd scan parameters are how damaged picture data
        // shows; metadata oddities lose no pixel.
        {MessageOrigin::Decoder, "Corrupt JPEG data: 3 extraneous bytes before marker 0xc0", false},
        {MessageOrigin::Decoder, "Corrupt JPEG data: 9501 extraneous bytes before marker 0xd9", false},
        {MessageOrigin::Decoder, "Invalid SOS parameters for sequential JPEG", false},
        {MessageOrigin::Decoder, "Unknown Adobe color transform code 3", false},
        {MessageOrigin::Decoder, "Corrupt JPEG data: bad ICC marker", true},
        {MessageOrigin::Decoder, "Warning: non-standard JFXX segment", true},
        // The same text from the TIFF library's JPEG codec is a strip's data.
        {MessageOrigin::TiffWarning, "Corrupt JPEG data: 3 extraneous bytes before marker 0xd9", false},
        {MessageOrigin::Decoder, "Warning: unknown JFIF revision number 2.01", true},
        {MessageOrigin::Decoder, "Warning: unknown JFIF revision number 2.01 and more", false},
        {MessageOrigin::Decoder, "Premature end of JPEG file", false},
        {MessageOrigin::Decoder, "Corrupt JPEG data: premature end of data segment", false},
        {MessageOrigin::Decoder, "A message nobody wrote into the table", false},
        {MessageOrigin::Decoder, "", false},
        {MessageOrigin::Decoder, nullptr, false},
        {MessageOrigin::TiffWarning, "Unknown field with tag 51009 (0xc741) encountered", true},
        {MessageOrigin::TiffError, "Unknown field with tag 51009 (0xc741) encountered", false},
        {MessageOrigin::TiffError, "Internal error, unknown tag 0x9003", true},
        {MessageOrigin::TiffError, "Invalid strip byte count 0, strip 5", false},
        {MessageOrigin::TiffWarning, "ASCII value for tag \"Software\" does not end in null byte", true},
        {MessageOrigin::TiffWarning, "Incorrect count for \"Software\"; tag ignored", true},
        {MessageOrigin::TiffWarning, "Incorrect count for \"StripOffsets\"; tag ignored", false},
        {MessageOrigin::TiffWarning, "Incorrect count for \"StripOffsetsX\"; tag ignored", true},
        {MessageOrigin::TiffWarning, "Incorrect count for \"Strip\"; tag ignored", true},
        {MessageOrigin::TiffWarning, "Improper JPEG strip/tile size, expected 157x16, got 157x8", false},
    };
    for (const Heard& heard : cases)
        EXPECT_EQ(IsHarmlessDecoderMessage(heard.origin, heard.text), heard.expected)
            << (heard.text != nullptr ? heard.text : "(null)");
}

// Memory that ran out refuses the picture for now and says nothing of the
// file; only its own library's words for it count.
TEST(DecoderMessages, MemoryRunningOutIsToldFromEveryLibrary)
{
    const Heard cases[] = {
        {MessageOrigin::Decoder, "DIB allocation failed, maybe caused by an invalid image size or by a lack of memory",
         true},
        {MessageOrigin::Decoder, "Memory allocation failed", true},
        {MessageOrigin::Decoder, "Insufficient memory (case 4)", true},
        {MessageOrigin::TiffError, "No space for strip buffer", true},
        {MessageOrigin::TiffError, "photo.tif: Out of memory (TIFF structure)", true},
        {MessageOrigin::TiffError, "Failed to allocate memory for to read TIFF directory (3 elements of 12 bytes each)",
         true},
        {MessageOrigin::TiffWarning, "No space for strip buffer", false},
        {MessageOrigin::Decoder, "Premature end of JPEG file", false},
        {MessageOrigin::TiffError, "Invalid strip byte count 0, strip 5", false},
        {MessageOrigin::Decoder, nullptr, false},
    };
    for (const Heard& heard : cases)
        EXPECT_EQ(SaysMemoryRanOut(heard.origin, heard.text), heard.expected)
            << (heard.text != nullptr ? heard.text : "(null)");
}

TEST(DecoderMessages, FormatsMatchWhatTheyCouldPrint)
{
    EXPECT_TRUE(MatchesFormat("tag 5 (0x5) seen", "tag %u (0x%x) seen"));
    EXPECT_TRUE(MatchesFormat("tag -12 (0xfd) seen", "tag %d (0x%02x) seen"));
    EXPECT_FALSE(MatchesFormat("tag 5 and (0x5) seen", "tag %u (0x%x) seen")) << "a number prints digits only";
    EXPECT_TRUE(MatchesFormat("tag  seen", "tag %s seen")) << "a conversion may print nothing";
    EXPECT_TRUE(MatchesFormat("100% done", "%d%% done"));
    EXPECT_FALSE(MatchesFormat("100 done", "%d%% done"));
    EXPECT_FALSE(MatchesFormat("tag 5 (0x5) seen!", "tag %u (0x%x) seen"));
    EXPECT_FALSE(MatchesFormat("tag 5", "tag %u (0x%x)"));
    EXPECT_TRUE(MatchesFormat("count 7", "count %" "llu"));
}

}  // namespace
