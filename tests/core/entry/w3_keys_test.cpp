#include "core/entry/w3_keys.h"

#include <gtest/gtest.h>

#include "core/entry/money_keys.h"

namespace qnvr {
namespace {

// Keys typed one after another into a state field that starts as text.
std::string TypeState(std::string text, std::u32string_view keys) {
    for (const char32_t key : keys) text = W3StateKey(text, key).text;
    return text;
}

TEST(W3Keys, StateLettersCycleThroughTheirCodes) {
    const struct {
        const char* start;
        std::u32string_view keys;
        const char* text;
    } cases[] = {
        {"", U"M", "MA"},     {"", U"MM", "MD"},   {"", U"MMM", "ME"},   {"TX", U"T", "TN"},
        {"WY", U"W", "WA"},   {"CA", U"N", "NC"},  {"", U"F", "FL"},     {"FL", U"F", "FL"},
        {"CA", U"B", "CA"},   // no code begins with B: nothing changes
        {"CA", U"X", "X"},    // more than one state, whatever was there
        {"X", U"A", "AK"},    {"", U"x", "X"},
    };
    for (const auto& c : cases) EXPECT_EQ(TypeState(c.start, c.keys), c.text) << c.start;
}

TEST(W3Keys, OnlyBackspaceGoesOnToTheFieldAfterEmptyingIt) {
    EXPECT_EQ(W3StateKey("NY", kBackspaceKey).text, "");
    EXPECT_TRUE(W3StateKey("NY", kBackspaceKey).passKey);
    for (const char32_t key : {U'N', U'X', U'B', U'5'}) EXPECT_FALSE(W3StateKey("NY", key).passKey);
}

TEST(W3Keys, TInAnEmptyBox13FillsTheSickPayRecap) {
    EXPECT_EQ(Box13Key("", U't'), "Third-Party Sick Pay Recap");
    EXPECT_EQ(Box13Key("  ", U'T'), "Third-Party Sick Pay Recap");
    EXPECT_EQ(Box13Key("Recap", U't'), std::nullopt);  // typed as usual
    EXPECT_EQ(Box13Key("", U'r'), std::nullopt);
}

}  // namespace
}  // namespace qnvr
