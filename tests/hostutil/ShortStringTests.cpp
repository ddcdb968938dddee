// The length-prefixed string toolkit: appending within the limits, number
// formatting and placeholder substitution.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "hostutil/ShortString.h"

namespace {

// The characters, after checking the zero byte that follows them.
std::string Text(const unsigned char* s)
{
    EXPECT_EQ(s[s[0] + 1], 0) << "zero byte after the last character";
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

void Set(unsigned char* s, const std::string& text)
{
    ClearShortString(s);
    AppendToShortString(s, text.data(), 0, static_cast<int16_t>(text.size()));
}

std::string Decimal(double value, int16_t decimals)
{
    ShortString out;
    std::memset(out, 0x55, sizeof out);
    FormatDecimal(out, value, decimals);
    return Text(out);
}

std::string Substituted(const std::string& templ, const char* t0, const char* t1, const char* t2)
{
    ShortString text, s0, s1, s2;
    Set(text, templ);
    if (t0 != nullptr)
        Set(s0, t0);
    if (t1 != nullptr)
        Set(s1, t1);
    if (t2 != nullptr)
        Set(s2, t2);
    SubstituteCarets(text, t0 ? s0 : nullptr, t1 ? s1 : nullptr, t2 ? s2 : nullptr);
    return Text(text);
}

TEST(AppendToShortString, FillsUpTo254AndDropsThe255thCharacter)
{
    ShortString s;
    Set(s, std::string(250, 'a'));
    AppendToShortString(s, "0123456789", 0, 10);
    EXPECT_EQ(s[0], 254);
    EXPECT_EQ(Text(s), std::string(250, 'a') + "0123");
}

TEST(AppendToShortString, KeepsEverythingThatEndsAt254)
{
    ShortString s;
    Set(s, std::string(244, 'a'));
    AppendToShortString(s, "0123456789", 0, 10);
    EXPECT_EQ(Text(s), std::string(244, 'a') + "0123456789");

    Set(s, std::string(245, 'a'));
    AppendToShortString(s, "0123456789", 0, 10);
    EXPECT_EQ(Text(s), std::string(245, 'a') + "012345678");
}

TEST(AppendToShortString, StartsAtTheGivenSourceIndexAndReturnsTheDestination)
{
    ShortString s;
    Set(s, "ab");
    EXPECT_EQ(AppendToShortString(s, "0123456789", 3, 4), s);
    EXPECT_EQ(Text(s), "ab3456");
}

TEST(AppendToShortString, FullStringLosesItsLastCharacterOnAnyAppend)
{
    ShortString s;
    std::memset(s + 1, 'z', 255);
    s[0] = 255;
    AppendToShortString(s, "x", 0, 0);
    EXPECT_EQ(Text(s), std::string(254, 'z'));
}

TEST(AppendToShortString, NothingToAppendOnlyTerminates)
{
    ShortString s;
    Set(s, "abc");
    s[4] = '!';
    AppendToShortString(s, "x", 0, 0);
    AppendToShortString(s, "x", 0, -3);
    EXPECT_EQ(Text(s), "abc");
}

TEST(ClearShortString, LeavesAnEmptyTerminatedString)
{
    ShortString s;
    Set(s, "abc");
    ClearShortString(s);
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(s[1], 0);
}

TEST(FormatInteger, WritesSignAndDigitsWithoutLeadingZeros)
{
    ShortString s;
    Set(s, "old text");
    for (auto [value, text] : {std::pair<int32_t, const char*>{0, "0"}, {7, "7"}, {-7, "-7"}, {1000, "1000"},
                               {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"}}) {
        FormatInteger(value, s);
        EXPECT_EQ(Text(s), text);
    }
}

TEST(RaiseToPower, MultipliesTheBaseExponentTimes)
{
    EXPECT_EQ(RaiseToPower(10, 0), 1.0);
    EXPECT_EQ(RaiseToPower(10, 2), 100.0);
    EXPECT_EQ(RaiseToPower(0, 0), 1.0);
    EXPECT_EQ(RaiseToPower(2, 32), 4294967296.0);
    EXPECT_EQ(RaiseToPower(4294967295u, 1), 4294967295.0);
    EXPECT_EQ(RaiseToPower(2, 1023), std::ldexp(1.0, 1023));
    EXPECT_TRUE(std::isinf(RaiseToPower(10, 32767)));
}

TEST(FormatDecimal, RoundsAndKeepsAtMostOneTrailingZero)
{
    struct Case {
        double value;
        int16_t decimals;
        const char* text;
    };
    for (const Case& c : {Case{2.5, 1, "2.5"}, Case{3.0, 1, "3.0"}, Case{2.46, 1, "2.5"}, Case{2.44, 1, "2.4"},
                          Case{3.14159, 3, "3.142"}, Case{1.5, 3, "1.5"}, Case{0.999, 2, "1.0"}, Case{7, 0, "7.0"},
                          Case{-2.5, 1, "-2.5"}, Case{-0.3, 1, "-0.3"}, Case{0.0, 1, "0.0"}, Case{12.25, 2, "12.25"},
                          Case{9.96, 1, "10.0"}, Case{1234567.5, 1, "1234567.5"}}) {
        EXPECT_EQ(Decimal(c.value, c.decimals), c.text) << c.value << " with " << c.decimals << " decimals";
    }
}

TEST(FormatDecimal, NoDecimalsRoundsToAWholeNumberWithOneZeroAfterThePoint)
{
    EXPECT_EQ(Decimal(7.6, 0), "8.0");
    EXPECT_EQ(Decimal(7.4, 0), "7.0");
    EXPECT_EQ(Decimal(-0.96, 0), "-1.0");
    EXPECT_EQ(Decimal(7.6, -1), "8.0") << "a negative count counts as none";
}

TEST(FormatDecimal, MostDecimalsStopAtTheStringLimit)
{
    // The smallest double has hundreds of zeros after the point.
    EXPECT_EQ(Decimal(std::ldexp(1.0, -1074), 32766), "0." + std::string(252, '0'));
    EXPECT_EQ(Decimal(0.5, 32766), "0.5");
    EXPECT_EQ(Decimal(1.0 / 3.0, 2), "0.33");
}

TEST(FormatDecimal, IntegerPartsBeyond32BitsAreHeldAtTheLargestValue)
{
    EXPECT_EQ(Decimal(2147483647.0, 1), "2147483647.0");
    EXPECT_EQ(Decimal(1e12, 1).substr(0, 11), "2147483647.");
}

TEST(SubstituteCarets, ReplacesEachPlaceholderByItsText)
{
    EXPECT_EQ(Substituted("between ^1 and ^2.", nullptr, "1", "10"), "between 1 and 10.");
    EXPECT_EQ(Substituted("^0^0 ^2", "ab", nullptr, "z"), "abab z");
    EXPECT_EQ(Substituted("version ^1", nullptr, "3.0", nullptr), "version 3.0");
}

TEST(SubstituteCarets, MissingOrEmptyTextRemovesThePlaceholder)
{
    EXPECT_EQ(Substituted("suite '^0' is unavailable", nullptr, nullptr, nullptr), "suite '' is unavailable");
    EXPECT_EQ(Substituted("a ^1 b", nullptr, "", nullptr), "a  b");
}

TEST(SubstituteCarets, OtherCaretsStayInTheText)
{
    EXPECT_EQ(Substituted("^^1", nullptr, "X", nullptr), "^X");
    EXPECT_EQ(Substituted("^3 and ^", "a", "b", "c"), "^3 and ^");
    EXPECT_EQ(Substituted("no placeholder here", "a", "b", "c"), "no placeholder here");
    EXPECT_EQ(Substituted("^ 1", "a", "b", "c"), "^ 1");
}

TEST(SubstituteCarets, LongReplacementIsCutAtTheStringLimit)
{
    std::string result = Substituted(std::string(200, '.') + "^1 end", nullptr, std::string(100, 'x').c_str(), nullptr);
    EXPECT_EQ(result, std::string(200, '.') + std::string(54, 'x'));
}

}  // namespace
