#pragma once
// Date texts. Every date the program stores, shows and prints is "mm/dd/yyyy".
//
// A valid date is exactly that form: ten characters, a two-digit month 01 to 12, a
// two-digit day that exists in that month of that year, a four-digit year 0001 to 9999,
// separated by "/". Nothing else is accepted (no one-digit month or day, no other
// separator, no blanks around it), so a valid text always splits by position and is
// stored, printed and filed exactly as it reads.
#include <string>
#include <string_view>

namespace qnvr {

bool IsValidDate(std::string_view text);

// Gregorian: divisible by 4 and not by 100, or divisible by 400.
bool IsLeapYear(int year);

// 28 to 31; 0 for a month outside 1 to 12.
int DaysInMonth(int month, int year);

// The month, day and year of a valid date; all three 0 when the text is no valid date.
void SplitDate(std::string_view text, int& month, int& day, int& year);

// "mm/dd/yyyy" with leading zeros: JoinDate(3, 7, 2026) is "03/07/2026".
std::string JoinDate(int month, int day, int year);

// The date moved by n calendar months (negative n moves back), the day clamped to the
// last day of the target month: 01/31/2026 plus one month is 02/28/2026. Empty when the
// text is no valid date or the result would leave the years 0001 to 9999.
std::string AddMonths(std::string_view text, int months);

}  // namespace qnvr
