#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "core/text/dates.h"

namespace qnvr {
namespace {

TEST(Dates, OnlyRealCalendarDatesInTheStoredFormAreValid) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"12/31/2026", true},  {"02/29/2024", true},   {"02/29/2000", true},  {"01/01/0001", true},
        {"02/29/2026", false}, {"02/29/1900", false},  {"04/31/2026", false}, {"13/01/2026", false},
        {"00/10/2026", false}, {"01/00/2026", false},  {"01/02/0000", false}, {"1/2/2026", false},
        {"01-02-2026", false}, {"  /  /    ", false},  {"", false},           {"01/02/2026 ", false},
        {" 1/02/2026", false}, {"01/02/20261", false}, {"ab/cd/efgh", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidDate(c.text), c.valid) << '"' << c.text << '"';
}

TEST(Dates, LeapYears) {
    for (int year : {2024, 2000, 2400}) EXPECT_TRUE(IsLeapYear(year)) << year;
    for (int year : {2026, 1900, 2100}) EXPECT_FALSE(IsLeapYear(year)) << year;
    EXPECT_EQ(DaysInMonth(2, 2024), 29);
    EXPECT_EQ(DaysInMonth(2, 2026), 28);
    EXPECT_EQ(DaysInMonth(13, 2026), 0);
}

TEST(Dates, SplitGivesZerosForAnythingButAValidDate) {
    int month = -1, day = -1, year = -1;
    SplitDate("03/07/2026", month, day, year);
    EXPECT_EQ((std::array{month, day, year}), (std::array{3, 7, 2026}));
    for (const char* text : {"1/2/2026", "02/30/2026", ""}) {
        SplitDate(text, month, day, year);
        EXPECT_EQ((std::array{month, day, year}), (std::array{0, 0, 0})) << text;
    }
}

TEST(Dates, JoinWritesTheStoredForm) {
    EXPECT_EQ(JoinDate(12, 31, 2026), "12/31/2026");
    EXPECT_EQ(JoinDate(3, 7, 2026), "03/07/2026");
    EXPECT_EQ(JoinDate(1, 1, 1), "01/01/0001");
    EXPECT_TRUE(IsValidDate(JoinDate(1, 1, 1)));
}

TEST(Dates, AddMonthsClampsTheDayToTheTargetMonth) {
    const struct {
        const char* text;
        int months;
        const char* expected;
    } cases[] = {
        {"01/31/2026", 1, "02/28/2026"},   {"01/31/2026", 3, "04/30/2026"},  {"01/31/2026", 25, "02/29/2028"},
        {"01/31/2026", -2, "11/30/2025"},  {"01/31/2026", -12, "01/31/2025"}, {"12/15/2026", 1, "01/15/2027"},
        {"03/07/2026", 0, "03/07/2026"},   {"12/15/9999", 1, ""},            {"01/15/0001", -1, ""},
        {"01/15/2026", INT_MIN, ""},       {"01/15/2026", INT_MAX, ""},      {"1/2/2026", 1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddMonths(c.text, c.months), c.expected) << c.text << " + " << c.months;
}

}  // namespace
}  // namespace qnvr
