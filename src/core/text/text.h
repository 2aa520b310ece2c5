#pragma once
// Text and number helpers shared by the whole program.
//
// Text is UTF-8. Helpers that take or give counts (LeftStr, PadRight, ...) count
// characters, not bytes, so a name with an accented letter is cut and padded like any
// other. Counts are int: a negative count means "none".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qnvr {

// True when the text holds nothing but blanks and control characters.
bool IsBlank(std::string_view text);

// The text without leading and trailing blanks and control characters.
std::string Trim(std::string_view text);
// The same part of text without a copy.
std::string_view TrimView(std::string_view text);

// Equal but for the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// The first n characters, the last n characters, and n characters from position p
// (1-based; a position before 1 counts as 1). Shorter results when the text is shorter.
std::string LeftStr(std::string_view text, int n);
std::string RightStr(std::string_view text, int n);
std::string MidStr(std::string_view text, int p, int n);

// The part of the text before the first occurrence of c; empty when c does not occur.
std::string TextBefore(std::string_view text, char c);

// The text with every character that is not in allowed removed (order kept).
std::string FilterChars(std::string_view text, std::string_view allowed);

// The amount a user typed: keeps only the digits, "-" and "." (so "$1,234.50" reads as
// 1234.5); empty text and a lone "-" read as 0, a lone "." as 0. Throws EConvertError
// ("'1.2.3' is not a valid number") when what is left is still no number.
double StrToAmount(std::string_view text);

// A whole number a user typed: keeps only the digits and "-"; empty text and a lone "-"
// read as 0. Throws EConvertError when what is left is no whole number or too large.
long long StrToInteger(std::string_view text);

// x rounded to `digits` decimals, halves away from zero: RoundTo(0.005, 2) is 0.01 and
// RoundTo(-0.005, 2) is -0.01. RoundTo(x, 2) is the program's rounding to cents.
//
// The half is judged on x written with 15 significant digits, the precision a double
// holds for every decimal: the amount 2.675 (stored in binary just below 2.675) rounds
// to 2.68 as its user expects. Digits beyond the 15th are left alone. A negative digit
// count rounds to tens, hundreds, ... Never throws: NaN and infinities give 0, and the
// result is never minus zero.
double RoundTo(double x, int digits);

// RoundTo(x, 2) as a whole number of cents into cents, std::llround(RoundTo(x, 2) * 100),
// without the detour through a double of dollars where arithmetic gives the same; false
// (cents 0) when they do not fit 64 bits (9e16 dollars and more either way). No
// std::optional: this runs dozens of times per record written.
bool WholeCents(double x, long long& cents);

// Blanks before / blanks after / zeros before the text until it is at least n
// characters long; longer texts come back unchanged.
std::string PadLeft(std::string_view text, int n);
std::string PadRight(std::string_view text, int n);
std::string PadLeftZero(std::string_view text, int n);

// Every "&" doubled, so that a caption shows the character instead of an accelerator.
std::string DoubleAmpersands(std::string_view text);

// 1-based position of the first entry equal to text, ignoring ASCII letter case;
// 0 when there is none.
int IndexOfText(std::string_view text, const std::vector<std::string>& list);

// True when text is exactly as long as layout and follows it position by position:
// "9" stands for a digit 0 to 9, any other character for itself ("99/99/9999").
bool FollowsLayout(std::string_view text, std::string_view layout);

// ASCII letters in upper case; every other character unchanged.
std::string UpperCase(std::string_view text);

}  // namespace qnvr
