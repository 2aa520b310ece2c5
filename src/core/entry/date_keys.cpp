#include "core/entry/date_keys.h"

#include "core/text/dates.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

using std::chrono::day;
using std::chrono::days;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::weekday;
using std::chrono::year;
using std::chrono::year_month_day;
using std::chrono::year_month_day_last;

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

std::optional<year_month_day> ParseDateText(std::string_view text) {
    int m = 0, d = 0, y = 0;
    SplitDate(text, m, d, y);
    if (m == 0) return std::nullopt;
    return year_month_day{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
}

year_month_day LastOfMonth(year_month_day date) {
    return year_month_day{year_month_day_last{date.year(), std::chrono::month_day_last{date.month()}}};
}

// Days from date back to the Sunday before it (a week from a Sunday).
int DaysBackToSunday(year_month_day date) {
    const unsigned wd = weekday{sys_days{date}}.c_encoding();  // 0 = Sunday
    return wd == 0 ? 7 : static_cast<int>(wd);
}

// Days from date on to the Saturday after it (a week from a Saturday).
int DaysOnToSaturday(year_month_day date) {
    const unsigned wd = weekday{sys_days{date}}.c_encoding();
    return wd == 6 ? 7 : static_cast<int>(6 - wd);
}

year_month_day AddDays(year_month_day date, int n) { return year_month_day{sys_days{date} + days{n}}; }

// The date a shortcut makes of a valid date; the key is already upper case.
std::optional<year_month_day> Shortcut(year_month_day date, char32_t key, year_month_day today) {
    const year y = date.year();
    switch (key) {
        case U'+': return AddDays(date, 1);
        case U'-': return AddDays(date, -1);
        case U'T': return today;
        case U'M':
            if (date.day() == day{1}) return year_month_day{(y / date.month() / 1) - std::chrono::months{1}};
            return y / date.month() / 1;
        case U'H':
            if (date == LastOfMonth(date)) {
                const year_month_day next{(y / date.month() / 1) + std::chrono::months{1}};
                return LastOfMonth(next);
            }
            return LastOfMonth(date);
        case U'Y':
            if (date.month() == month{1} && date.day() == day{1}) return (y - std::chrono::years{1}) / 1 / 1;
            return y / 1 / 1;
        case U'R':
            if (date.month() == month{12} && date.day() == day{31}) return (y + std::chrono::years{1}) / 12 / 31;
            return y / 12 / 31;
        case U'W': return AddDays(date, -DaysBackToSunday(date));
        case U'K': return AddDays(date, DaysOnToSaturday(date));
        default: return std::nullopt;
    }
}

char32_t UpperKey(char32_t key) { return key >= U'a' && key <= U'z' ? key - (U'a' - U'A') : key; }

bool InYearRange(year_month_day date) {
    return date.ok() && int(date.year()) >= kFirstYear && int(date.year()) <= kLastYear;
}

}  // namespace

std::optional<std::string> DateShortcut(std::string_view text, char32_t key, year_month_day today) {
    key = UpperKey(key);
    if (key == U'T') return DateText(today);
    // An empty field starts from today; anything else must already be a date.
    const std::optional<year_month_day> date = text == kEmptyDateText ? today : ParseDateText(text);
    if (!date) return std::nullopt;
    const std::optional<year_month_day> result = Shortcut(*date, key, today);
    if (!result || !InYearRange(*result)) return std::nullopt;
    return DateText(*result);
}

bool IsCalendarKey(char32_t key) { return UpperKey(key) == U'C'; }

bool IsCompleteInvalidDate(std::string_view text) {
    const std::string trimmed = Trim(text);
    return trimmed.size() == 10 && !IsValidDate(trimmed);
}

std::string InvalidDateMessage(std::string_view text) { return std::string(text) + " is not a valid date."; }

std::string DateText(year_month_day date) {
    return JoinDate(static_cast<int>(unsigned(date.month())), static_cast<int>(unsigned(date.day())),
                    int(date.year()));
}

}  // namespace qnvr
