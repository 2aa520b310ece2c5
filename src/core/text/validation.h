#pragma once
// The validity rules for the identifiers a W-2 and W-3 carry. Entry, printing and
// electronic filing all decide with these, so they are the one place that says what a
// user can enter and what goes to the Social Security Administration.
//
// Each rule takes the text as stored. The length is judged on the text without
// surrounding blanks, the positions on the text as given: trailing blanks are
// tolerated, a leading blank fails.
#include <string>
#include <string_view>

namespace qnvr {

// "999-99-9999" whose first digit is not 9, with none of: area 000 or 666, group 00,
// serial 0000, or the advertising number 123-45-6789.
bool IsValidSSN(std::string_view text);

// "99-9999999" whose two-digit prefix the IRS assigns (not 00, 07 to 09, 17 to 19, 28,
// 29, 49, 69, 70, 78, 79 or 89).
bool IsValidEIN(std::string_view text);

// "99999" or "99999-9999".
bool IsValidZip(std::string_view text);

// "99999-9999" only.
bool IsValidZip4(std::string_view text);

// "999-999-9999".
bool IsValidPhone(std::string_view text);

// An e-mail address, optionally with a display name before it in angle brackets
// ("Pat Lee <pat@example.com>"). The whole text must match kEmailPattern; an address
// holding a control character (a line break, a tab) is never valid, since it would
// break the fixed-width records it is filed in.
bool IsValidEmail(std::string_view text);

// "***-**-" and the serial (last four digits) of a valid SSN; empty otherwise.
std::string MaskSSN(std::string_view text);

// The e-mail address pattern (PCRE2 syntax: atomic groups, look-around, a named group
// and a conditional on it), evaluated with "$" matching only at the very end.
inline constexpr std::string_view kEmailPattern =
    R"re(^((?>[a-zA-Z\d!#$%&'*+\-/=?^_`{|}~]+\x20*|"((?=[\x01-\x7f])[^"\\]|\\[\x01-\x7f])*"\x20*)*(?<angle><))?((?!\.)(?>\.?[a-zA-Z\d!#$%&'*+\-/=?^_`{|}~]+)+|"((?=[\x01-\x7f])[^"\\]|\\[\x01-\x7f])*")@(((?!-)[a-zA-Z\d\-]+(?<!-)\.)+[a-zA-Z]{2,}|\[(((?(?<!\[)\.)(25[0-5]|2[0-4]\d|[01]?\d?\d)){4}|[a-zA-Z\d\-]*[a-zA-Z\d]:((?=[\x01-\x7f])[^\\\[\]]|\\[\x01-\x7f])+)\])(?(angle)>)$)re";

}  // namespace qnvr
