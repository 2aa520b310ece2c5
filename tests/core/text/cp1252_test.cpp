#include <gtest/gtest.h>

#include "core/text/cp1252.h"

namespace qnvr {
namespace {

TEST(Cp1252, RoundTripsEveryAssignedCharacter) {
    EXPECT_EQ(Utf8ToCp1252("Ren\xC3\xA9\xE2\x82\xAC"), "Ren\xE9\x80");  // René€
    EXPECT_EQ(Cp1252ToUtf8("Ren\xE9\x80"), "Ren\xC3\xA9\xE2\x82\xAC");
    for (int b = 1; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
        std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(byte)), byte) << b;
    }
}

TEST(Cp1252, StoresCharactersOutsideTheCodePageAndBrokenUtf8AsQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("\xE6\x97\xA5x"), "?x");     // a CJK character
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");              // truncated sequence
    EXPECT_EQ(Utf8ToCp1252("\xFF" "b"), "?b");            // not UTF-8 at all
}

TEST(Cp1252, CountsAndCutsByCharacterNotByte) {
    EXPECT_EQ(Utf8Length("Jos\xC3\xA9"), 4u);
    EXPECT_EQ(Utf8Left("Jos\xC3\xA9 Luis", 4), "Jos\xC3\xA9");
    EXPECT_EQ(Utf8Left("ab", 5), "ab");
}

}  // namespace
}  // namespace qnvr
