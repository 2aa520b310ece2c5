#include "core/entry/filter_keys.h"

#include <gtest/gtest.h>

#include <string>

namespace qnvr {
namespace {

// The characters of the set among the printable ASCII characters, in code order.
std::string Members(const CharSet& set) {
    std::string out;
    for (int c = 1; c < 256; ++c)
        if (set.test(static_cast<std::size_t>(c))) out += static_cast<char>(c);
    return out;
}

TEST(FilterKeys, ValidCharsGrammar) {
    const struct {
        const char* value;
        const char* members;
    } cases[] = {
        {"[]", ""},
        {"[ ]", " "},
        {"[0..9]", "0123456789"},
        {"[0..9,-]", "-0123456789"},
        {"[A..Z]", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {"[J,I,R,V,X]", "IJRVX"},
        {"[A,L,S,P,O]", "ALOPS"},
        {"[A..I, J..N, P..T,V,W,Y,Z]", "ABCDEFGHIJKLMNPQRSTVWYZ"},  // blanks after "," are overwritten
        {"[A..Z,a..z, ]", " ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"},
        {"[A..Z,a..z,-, ]", " -ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"},
        {"[',']", ","},       // a quoted comma
        {"['.',0..2]", ".012"},  // a quoted point
        {"[']']", "]"},       // a quoted bracket
        {"[x..]", "x"},       // a range without a high end reaches its low end
        {"[AB]", "B"},        // the last character read is the element
    };
    for (const auto& c : cases) {
        const auto set = ParseValidChars(c.value);
        ASSERT_TRUE(set.has_value()) << c.value;
        EXPECT_EQ(Members(*set), c.members) << c.value;
    }
}

TEST(FilterKeys, ValuesWithoutBracketsAreInvalid) {
    for (const char* value : {"", "[", "A..Z", "[A..Z", "A..Z]", "(0..9)"})
        EXPECT_FALSE(ParseValidChars(value).has_value()) << value;
    EXPECT_EQ(InvalidValidCharsText("A..Z"), "Invalid format A..Z");
}

TEST(FilterKeys, ARangeWithoutALowEndStartsAtCodeZero) {
    const CharSet set = *ParseValidChars("[..B]");
    EXPECT_TRUE(set.test(0));
    EXPECT_TRUE(set.test('A'));
    EXPECT_FALSE(set.test('C'));
}

TEST(FilterKeys, KeysPassTheFilter) {
    const CharSet digits = *ParseValidChars("[0..9]");
    EXPECT_TRUE(CharPassesFilter(digits, U'5'));
    EXPECT_FALSE(CharPassesFilter(digits, U'a'));
    EXPECT_TRUE(CharPassesFilter(digits, U'\b'));
    const CharSet all = *ParseValidChars("[]");
    EXPECT_TRUE(CharPassesFilter(all, U'\u20AC'));  // no filter: everything passes
    const CharSet latin = *ParseValidChars("[\xE9]");  // a single byte 0xE9
    EXPECT_TRUE(CharPassesFilter(latin, 0xE9));
    EXPECT_FALSE(CharPassesFilter(latin, 0x1E9));  // codes above 255 never pass a filter
}

TEST(FilterKeys, LetterCase) {
    EXPECT_EQ(KeyInCase(CharCase::Upper, U'q'), U'Q');
    EXPECT_EQ(KeyInCase(CharCase::Upper, U'Q'), U'Q');
    EXPECT_EQ(KeyInCase(CharCase::Lower, U'Q'), U'q');
    EXPECT_EQ(KeyInCase(CharCase::Normal, U'q'), U'q');
    EXPECT_EQ(KeyInCase(CharCase::Upper, U'5'), U'5');
}

TEST(FilterKeys, NameCase) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"mary ann", "Mary Ann"},
        {"  o'neil  jr ", "O'neil  Jr"},
        {"mary-ann", "Mary-ann"},
        {"\xC3\xA9lise \xC3\xBFves", "\xC3\x89lise \xC5\xB8ves"},  // élise ÿves
        {"\xC3\xB7x", "\xC3\xB7x"},                                 // ÷ is no letter
        {"1st street", "1st Street"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(CapitalizeFirst(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace qnvr
