#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/base/errors.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

// "José" in UTF-8: four characters, five bytes.
const std::string kJose = "Jos\xC3\xA9";

TEST(Text, BlankMeansOnlyBlanksAndControlCharacters) {
    for (const char* blank : {"", "   ", "\t\r\n", " \x01 \x7F"}) EXPECT_TRUE(IsBlank(blank)) << blank;
    for (const char* text : {" a ", "0", "\xC3\xA9"}) EXPECT_FALSE(IsBlank(text)) << text;
    EXPECT_EQ(Trim(" \t Pat Lee \r\n"), "Pat Lee");
    EXPECT_EQ(Trim("  "), "");
}

TEST(Text, CutsCountCharactersNotBytes) {
    const std::string name = kJose + " Luis";
    EXPECT_EQ(LeftStr(name, 4), kJose);
    EXPECT_EQ(RightStr(kJose, 1), "\xC3\xA9");
    EXPECT_EQ(MidStr(name, 4, 3), "\xC3\xA9 L");
    // Counts beyond the text give what there is; negative counts give nothing.
    EXPECT_EQ(LeftStr("ab", 5), "ab");
    EXPECT_EQ(RightStr("ab", 5), "ab");
    EXPECT_EQ(MidStr("abc", 3, 9), "c");
    EXPECT_EQ(MidStr("abc", 4, 1), "");
    EXPECT_EQ(MidStr("abc", 0, 2), "ab");
    EXPECT_EQ(LeftStr("abc", -1), "");
    EXPECT_EQ(RightStr("abc", -1), "");
}

TEST(Text, TextBeforeAndFilterChars) {
    EXPECT_EQ(TextBefore("Springfield, IL", ','), "Springfield");
    EXPECT_EQ(TextBefore("Springfield", ','), "");
    EXPECT_EQ(FilterChars("(555) 123-4567", "0123456789"), "5551234567");
    EXPECT_EQ(FilterChars(kJose + "!", "\xC3\xA9s!"), "s\xC3\xA9!");  // a character kept whole
}

TEST(Text, StrToAmountReadsWhatAUserTypes) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"$1,234.50", 1234.5}, {"", 0},      {"-", 0},         {".", 0},    {"-12.5", -12.5},
        {"12.", 12},           {".5", 0.5},  {"(1.00)", 1},    {"0.07", 0.07},
        {" 999,999,999,999.99 ", 999999999999.99},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToAmount(c.text), c.value) << c.text;
    EXPECT_FALSE(std::signbit(StrToAmount("-"))) << "a lone minus must not show as -0.00";
}

TEST(Text, StrToAmountRefusesTextThatIsNoNumber) {
    for (const char* text : {"1.2.3", "5-", "--5", "-.", "1-2"})
        EXPECT_THROW(StrToAmount(text), EConvertError) << text;
    try {
        StrToAmount("1.2.3");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'1.2.3' is not a valid number");
    }
}

TEST(Text, StrToInteger) {
    EXPECT_EQ(StrToInteger("1,234"), 1234);
    EXPECT_EQ(StrToInteger(""), 0);
    EXPECT_EQ(StrToInteger("-"), 0);
    EXPECT_EQ(StrToInteger("-42"), -42);
    EXPECT_EQ(StrToInteger("12.5"), 125);  // the point is not kept
    for (const char* text : {"4-2", "--1", "99999999999999999999"})
        EXPECT_THROW(StrToInteger(text), EConvertError) << text;
}

TEST(RoundTo, RoundsHalvesAwayFromZero) {
    const struct {
        double x;
        int digits;
        double expected;
    } cases[] = {
        {0.005, 2, 0.01},
        {-0.005, 2, -0.01},
        {-1.234, 2, -1.23},
        {1234.5678, 2, 1234.57},
        {0.125, 2, 0.13},   // exactly half in binary: not rounded to even
        {2.675, 2, 2.68},   // stored just below the half
        {1.005, 2, 1.01},
        {0.1 + 0.2, 2, 0.3},
        {0.004999, 2, 0},
        {1e-20, 2, 0},
        {2.5, 0, 3},
        {-2.5, 0, -3},
        {999999999999.995, 2, 1000000000000.0},  // carry through every digit
        {155, -1, 160},
        {0.123456789, 4, 0.1235},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundTo(c.x, c.digits), c.expected) << c.x << " to " << c.digits;
}

TEST(RoundTo, EveryHalfCentGoesUpAndEveryCentStays) {
    for (int cents = 0; cents < 200000; ++cents) {
        const double halfAbove = (2.0 * cents + 1) / 200;
        ASSERT_EQ(RoundTo(halfAbove, 2), (cents + 1) / 100.0) << halfAbove;
        ASSERT_EQ(RoundTo(-halfAbove, 2), -(cents + 1) / 100.0) << -halfAbove;
        ASSERT_EQ(RoundTo(cents / 100.0, 2), cents / 100.0) << cents;
    }
}

// Amounts of every size, a little above a whole cent or a little below the next one, on
// both sides of where rounding by arithmetic gives way to the decimal digits.
TEST(RoundTo, AmountsAwayFromAHalfCentGoToTheNearestCent) {
    const long long cents[] = {0, 1, 7, 99, 12345, 5234567, 99999999, 123456789012, 999999999999, 1000000000000,
                               1000000000123};
    const double offsets[] = {0.0004, 0.001, 0.0031, 0.0039, 0.0041, 0.0049, 0.0051, 0.0059, 0.0061, 0.0099};
    for (const long long c : cents)
        for (const double offset : offsets) {
            const double x = static_cast<double>(c) / 100 + offset;
            const double expected = static_cast<double>(offset < 0.005 ? c : c + 1) / 100;
            EXPECT_EQ(RoundTo(x, 2), expected) << c << " + " << offset;
            EXPECT_EQ(RoundTo(-x, 2), -expected + 0.0) << "-(" << c << " + " << offset << ")";
        }
}

TEST(RoundTo, NeverFailsAndNeverGivesMinusZero) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(RoundTo(std::nan(""), 2), 0);
    EXPECT_EQ(RoundTo(inf, 2), 0);
    EXPECT_EQ(RoundTo(-inf, 2), 0);
    EXPECT_FALSE(std::signbit(RoundTo(-0.001, 2)));
    EXPECT_FALSE(std::signbit(RoundTo(-0.0, 2)));
    EXPECT_EQ(RoundTo(1e300, 2), 1e300);
    EXPECT_EQ(RoundTo(std::numeric_limits<double>::max(), -308), 0) << "2e308 is beyond the double range";
    EXPECT_EQ(RoundTo(1234.5, 1000), 1234.5);
    EXPECT_EQ(RoundTo(1234.5, -1000), 0);
}

TEST(Text, PaddingCountsCharacters) {
    EXPECT_EQ(PadRight(kJose, 6), kJose + "  ");
    EXPECT_EQ(PadLeft("7", 3), "  7");
    EXPECT_EQ(PadLeftZero("42", 5), "00042");
    EXPECT_EQ(PadLeftZero("123456", 5), "123456");
    EXPECT_EQ(PadRight("abc", -1), "abc");
}

TEST(Text, DoubleAmpersands) {
    EXPECT_EQ(DoubleAmpersands("Smith & Sons"), "Smith && Sons");
    EXPECT_EQ(DoubleAmpersands("A&&B"), "A&&&&B");
    EXPECT_EQ(DoubleAmpersands("none"), "none");
}

TEST(Text, IndexOfTextIgnoresLetterCase) {
    const std::vector<std::string> states = {"AL", "ak", "Az"};
    EXPECT_EQ(IndexOfText("AL", states), 1);
    EXPECT_EQ(IndexOfText("AK", states), 2);
    EXPECT_EQ(IndexOfText("az", states), 3);
    EXPECT_EQ(IndexOfText("A", states), 0);
    EXPECT_EQ(IndexOfText("AL", {}), 0);
    EXPECT_EQ(UpperCase("ab" + kJose), "ABJOS\xC3\xA9");
}

TEST(Text, FollowsLayout) {
    EXPECT_TRUE(FollowsLayout("03/07/2026", "99/99/9999"));
    EXPECT_FALSE(FollowsLayout("03/07/202", "99/99/9999"));
    EXPECT_FALSE(FollowsLayout("03-07-2026", "99/99/9999"));
    EXPECT_FALSE(FollowsLayout("0a/07/2026", "99/99/9999"));
}

}  // namespace
}  // namespace qnvr
