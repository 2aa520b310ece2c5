#pragma once
// The date field's keyboard shortcuts and its invalid-date message. Pure logic; the
// TDateEdit widget applies it.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace qnvr {

// The text of a date field nobody has typed into.
inline constexpr const char* kEmptyDateText = "  /  /    ";

// The date a shortcut key (either case) makes of the field's text, "mm/dd/yyyy":
// "+"/"-" next/previous day, "T" today, "M" first of the month (from the 1st: the 1st of
// the month before), "H" last of the month (from the last: the last of the next month),
// "Y" January 1 (from January 1: the year before), "R" December 31 (from December 31:
// the year after), "W" the Sunday before, "K" the Saturday after. An empty field counts
// as today. Nothing when the key is no shortcut or the text is no valid date: the key
// then goes on to the mask like any other key. "C" (the calendar) is no shortcut here.
std::optional<std::string> DateShortcut(std::string_view text, char32_t key, std::chrono::year_month_day today);

// "C" in either case: the key that opens the calendar.
bool IsCalendarKey(char32_t key);

// True when the text, trimmed, is ten characters long but no valid date: the moment
// the field tells the user while typing.
bool IsCompleteInvalidDate(std::string_view text);

// "<text> is not a valid date."
std::string InvalidDateMessage(std::string_view text);

// A date as "mm/dd/yyyy".
std::string DateText(std::chrono::year_month_day date);

}  // namespace qnvr
