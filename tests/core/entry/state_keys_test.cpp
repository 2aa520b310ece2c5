#include "core/entry/state_keys.h"

#include <gtest/gtest.h>

#include <string>

namespace qnvr {
namespace {

TEST(StateKeys, FiftyFourCodesInOrder) {
    const auto& codes = StateCodes();
    ASSERT_EQ(codes.size(), 54u);
    EXPECT_EQ(codes.front(), "AK");
    EXPECT_EQ(codes[7], "DC");
    EXPECT_EQ(codes[11], "GU");
    EXPECT_EQ(codes.back(), "WY");
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
}

// Pressing one letter over and over from a field holding start.
std::string Press(std::string start, char32_t letter, int times) {
    std::string shown;
    for (int i = 0; i < times; ++i) {
        start = StateCodeForLetter(start, letter).value_or(start);
        shown += (shown.empty() ? "" : " ") + start;
    }
    return shown;
}

TEST(StateKeys, LettersCycleThroughTheirCodes) {
    const struct {
        const char* start;
        char32_t letter;
        int times;
        const char* shown;
    } cases[] = {
        {"", U'a', 5, "AK AL AR AZ AK"},
        {"", U'm', 3, "MA MD ME"},
        {"TX", U't', 1, "TN"},
        {"NY", U'n', 1, "NC"},
        {"NY", U'W', 5, "WA WI WV WY WA"},
        {"", U'F', 2, "FL FL"},
        {"", U'V', 4, "VA VI VT VA"},
        {"CA", U'X', 1, "CA"},  // "X" is for "more than one state", not a code
    };
    for (const auto& c : cases) EXPECT_EQ(Press(c.start, c.letter, c.times), c.shown) << c.start;
}

TEST(StateKeys, KeysThatBeginNoCodeSelectNothing) {
    for (char32_t key : {U'b', U'B', U'E', U'j', U'q', U'Y', U'z', U'1', U' ', U'\b'})
        EXPECT_FALSE(StateCodeForLetter("NY", key).has_value()) << static_cast<char>(key);
}

}  // namespace
}  // namespace qnvr
