#include "core/entry/date_keys.h"

#include <gtest/gtest.h>

#include <string>

namespace qnvr {
namespace {

using namespace std::chrono;

constexpr year_month_day kToday = 2026y / March / 18;  // a Wednesday

TEST(DateKeys, ShortcutsOnAValidDate) {
    const struct {
        const char* text;
        char32_t key;
        const char* expected;
    } cases[] = {
        {"01/31/2026", U'h', "02/28/2026"},
        {"02/28/2026", U'H', "03/31/2026"},  // already the last day: the next month's
        {"02/10/2024", U'h', "02/29/2024"},
        {"12/31/2026", U'H', "01/31/2027"},
        {"03/01/2026", U'm', "02/01/2026"},  // already the 1st: the month before
        {"03/15/2026", U'M', "03/01/2026"},
        {"01/01/2026", U'M', "12/01/2025"},
        {"01/01/2026", U'y', "01/01/2025"},
        {"07/04/2026", U'Y', "01/01/2026"},
        {"07/04/2026", U'r', "12/31/2026"},
        {"12/31/2026", U'R', "12/31/2027"},
        {"03/08/2026", U'w', "03/01/2026"},  // from a Sunday, the Sunday a week before
        {"03/11/2026", U'W', "03/08/2026"},
        {"03/07/2026", U'k', "03/14/2026"},  // from a Saturday, the Saturday a week later
        {"03/11/2026", U'K', "03/14/2026"},
        {"12/31/2026", U'+', "01/01/2027"},
        {"03/01/2024", U'-', "02/29/2024"},
        {"05/05/1999", U't', "03/18/2026"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateShortcut(c.text, c.key, kToday).value_or("none"), c.expected)
            << c.text << " " << static_cast<char>(c.key);
}

TEST(DateKeys, AnEmptyFieldStartsFromToday) {
    const struct {
        char32_t key;
        const char* expected;
    } cases[] = {
        {U'+', "03/19/2026"}, {U'-', "03/17/2026"}, {U'H', "03/31/2026"}, {U'K', "03/21/2026"},
        {U'M', "03/01/2026"}, {U'R', "12/31/2026"}, {U'W', "03/15/2026"}, {U'Y', "01/01/2026"},
        {U'T', "03/18/2026"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateShortcut(kEmptyDateText, c.key, kToday).value_or("none"), c.expected) << static_cast<char>(c.key);
}

TEST(DateKeys, KeysThatAreNoShortcutHereGoOnToTheMask) {
    const struct {
        const char* text;
        char32_t key;
    } cases[] = {
        {"03/1 /    ", U'+'},   // half typed
        {"02/30/2026", U'H'},   // complete but invalid
        {"03/18/2026", U'5'},   // digits are typed
        {"03/18/2026", U'C'},   // the calendar is the widget's
        {"03/18/2026", U'x'},
        {"01/01/0001", U'-'},   // no year 0
        {"12/31/9999", U'+'},
    };
    for (const auto& c : cases) EXPECT_FALSE(DateShortcut(c.text, c.key, kToday).has_value()) << c.text;
}

TEST(DateKeys, CompleteInvalidDates) {
    EXPECT_TRUE(IsCompleteInvalidDate("02/30/2026"));
    EXPECT_TRUE(IsCompleteInvalidDate("13/01/2026"));
    EXPECT_FALSE(IsCompleteInvalidDate("02/28/2026"));
    EXPECT_FALSE(IsCompleteInvalidDate("02/30/202 "));  // still being typed
    EXPECT_FALSE(IsCompleteInvalidDate(kEmptyDateText));
    EXPECT_EQ(InvalidDateMessage("02/30/2026"), "02/30/2026 is not a valid date.");
    EXPECT_TRUE(IsCalendarKey(U'c'));
    EXPECT_FALSE(IsCalendarKey(U'x'));
}

}  // namespace
}  // namespace qnvr
