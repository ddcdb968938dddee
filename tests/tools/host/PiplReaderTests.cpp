// The PiPL resource's bytes as a host reads them.
#include <gtest/gtest.h>

#include <vector>

#include "host/PiplReader.h"
#include "hostapi/HostApi.h"

namespace {

class PiplBytes {
public:
    PiplBytes(uint16_t leading, uint32_t count)
    {
        Put16(leading);
        Put32(0);
        Put32(count);
    }
    PiplBytes& Property(const char (&key)[5], const std::vector<uint8_t>& data, uint32_t length)
    {
        return Property(FourCharCode(key), data, length);
    }
    PiplBytes& Property(uint32_t key, const std::vector<uint8_t>& data, uint32_t length)
    {
        Put32(FourCharCode("8BIM"));
        Put32(key);
        Put32(0);
        Put32(length);
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    void Put16(uint16_t value)
    {
        bytes.push_back(uint8_t(value));
        bytes.push_back(uint8_t(value >> 8));
    }
    void Put32(uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(uint8_t(value >> shift));
    }
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Code(const char (&code)[5])
{
    uint32_t value = FourCharCode(code);
    return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}

std::vector<uint8_t> Text(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

TEST(PiplReader, ReadsKindNameVersionAndEntryPoint)
{
    PiplBytes pipl(1, 4);
    pipl.Property("kind", Code("8BAM"), 4)
        .Property("name", Text(std::string("\x09Ombrix...\0\0", 12)), 12)
        .Property("vers", {0x00, 0x00, 0x04, 0x00}, 4)
        .Property(OwnCodeProperty, Text(std::string("ENTRYPOINT\0\0", 12)), 12);
    PiplInfo info;
    std::string error;
    ASSERT_TRUE(ParsePipl(pipl.bytes.data(), pipl.bytes.size(), &info, &error)) << error;
    EXPECT_EQ(info.kind, FourCharCode("8BAM"));
    EXPECT_EQ(info.name, "Ombrix...");
    EXPECT_EQ(info.version, 0x00040000u);
    EXPECT_EQ(info.entryPoint, "ENTRYPOINT");
    EXPECT_EQ(info.propertyCount, 4);
}

TEST(PiplReader, LengthWithoutPaddingIsReadToo)
{
    PiplBytes pipl(1, 2);
    pipl.Property("name", Text(std::string("\x03" "abc", 4)), 4)
        .Property(OwnCodeProperty, Text(std::string("Go\0\0", 4)), 3);  // padding not counted
    pipl.Put32(0);  // what a following property would need
    PiplInfo info;
    std::string error;
    ASSERT_TRUE(ParsePipl(pipl.bytes.data(), pipl.bytes.size(), &info, &error)) << error;
    EXPECT_EQ(info.entryPoint, "Go");
}

TEST(PiplReader, TruncatedResourcesAreMalformed)
{
    PiplBytes pipl(1, 2);
    pipl.Property("kind", Code("8BAM"), 4);
    PiplInfo info;
    std::string error;
    EXPECT_FALSE(ParsePipl(pipl.bytes.data(), pipl.bytes.size(), &info, &error));
    EXPECT_NE(error.find("property 2 of 2"), std::string::npos) << error;
    EXPECT_FALSE(ParsePipl(pipl.bytes.data(), 5, &info, &error));
}

TEST(PiplReader, PropertyLongerThanTheResourceIsMalformed)
{
    PiplBytes pipl(1, 1);
    pipl.Property(OwnCodeProperty, Text("ENTRYPOINT"), 400);
    PiplInfo info;
    std::string error;
    EXPECT_FALSE(ParsePipl(pipl.bytes.data(), pipl.bytes.size(), &info, &error));
    EXPECT_NE(error.find("400"), std::string::npos) << error;
}

TEST(PiplReader, WrongLeadingWordIsMalformed)
{
    PiplBytes pipl(2, 0);
    PiplInfo info;
    std::string error;
    EXPECT_FALSE(ParsePipl(pipl.bytes.data(), pipl.bytes.size(), &info, &error));
}

// The host takes the entry point from the code property of its own
// architecture and notes one named for the other only.
TEST(PiplReader, EntryPointComesFromTheOwnArchitecturesProperty)
{
    const std::vector<uint8_t> entry = Text(std::string("ENTRYPOINT\0\0", 12));
    struct Case {
        std::vector<uint32_t> codes;
        bool own, other;
    } cases[] = {
        {{OwnCodeProperty}, true, false},
        {{OtherCodeProperty}, false, true},
        {{OtherCodeProperty, OwnCodeProperty}, true, true},
    };
    for (const Case& c : cases) {
        PiplBytes pipl(1, uint32_t(c.codes.size()));
        for (uint32_t code : c.codes)
            pipl.Property(code, entry, 12);
        PiplInfo info;
        std::string error;
        ASSERT_TRUE(ParsePipl(pipl.bytes.data(), pipl.bytes.size(), &info, &error)) << error;
        EXPECT_EQ(info.hasEntryPoint, c.own) << c.codes.size();
        EXPECT_EQ(info.entryPoint, c.own ? "ENTRYPOINT" : "") << c.codes.size();
        EXPECT_EQ(info.hasOtherEntryPoint, c.other) << c.codes.size();
    }
    EXPECT_EQ(FourCharText(OwnCodeProperty), sizeof(void*) == 8 ? "8664" : "wx86");
}

TEST(PiplReader, MissingPropertiesAreNotInvented)
{
    PiplBytes pipl(1, 1);
    pipl.Property("name", Text(std::string("\x01X\0\0", 4)), 4);
    PiplInfo info;
    std::string error;
    ASSERT_TRUE(ParsePipl(pipl.bytes.data(), pipl.bytes.size(), &info, &error));
    EXPECT_FALSE(info.hasKind);
    EXPECT_FALSE(info.hasEntryPoint);
    EXPECT_EQ(FourCharText(FourCharCode("8BFM")), "8BFM");
}

}  // namespace
