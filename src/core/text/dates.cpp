#include "core/text/dates.h"

#include <optional>

#include "core/text/text.h"

namespace qnvr {
namespace {

struct Date {
    int month;
    int day;
    int year;
};

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

// The number written by the digits text[pos, pos + count).
int NumberAt(std::string_view text, std::size_t pos, std::size_t count) {
    int value = 0;
    for (char c : text.substr(pos, count)) value = value * 10 + (c - '0');
    return value;
}

std::optional<Date> ParseDate(std::string_view text) {
    if (!FollowsLayout(text, "99/99/9999")) return std::nullopt;
    const Date date{NumberAt(text, 0, 2), NumberAt(text, 3, 2), NumberAt(text, 6, 4)};
    if (date.year < kMinYear || date.day < 1 || date.day > DaysInMonth(date.month, date.year))
        return std::nullopt;
    return date;
}

}  // namespace

bool IsValidDate(std::string_view text) { return ParseDate(text).has_value(); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int month, int year) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

void SplitDate(std::string_view text, int& month, int& day, int& year) {
    const Date date = ParseDate(text).value_or(Date{0, 0, 0});
    month = date.month;
    day = date.day;
    year = date.year;
}

std::string JoinDate(int month, int day, int year) {
    return PadLeftZero(std::to_string(month), 2) + "/" + PadLeftZero(std::to_string(day), 2) + "/" +
           PadLeftZero(std::to_string(year), 4);
}

std::string AddMonths(std::string_view text, int months) {
    const std::optional<Date> date = ParseDate(text);
    if (!date) return {};
    const long long monthIndex = date->year * 12LL + (date->month - 1) + months;  // months since year 0
    if (monthIndex < kMinYear * 12LL || monthIndex >= (kMaxYear + 1) * 12LL) return {};
    const int year = static_cast<int>(monthIndex / 12);
    const int month = static_cast<int>(monthIndex % 12) + 1;
    const int lastDay = DaysInMonth(month, year);
    return JoinDate(month, date->day < lastDay ? date->day : lastDay, year);
}

}  // namespace qnvr
