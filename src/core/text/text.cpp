#include "core/text/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "core/base/errors.h"
#include "core/text/cp1252.h"

namespace qnvr {
namespace {

bool IsBlankOrControl(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b <= 0x20 || b == 0x7F;
}

// Byte offset of the character after the first `chars` characters (0 for chars <= 0).
std::size_t ByteOffsetOf(std::string_view text, int chars) {
    return chars <= 0 ? 0 : Utf8Left(text, static_cast<std::size_t>(chars)).size();
}

int CharCount(std::string_view text) { return static_cast<int>(Utf8Length(text)); }

// The fill characters that make text n characters long (none when it already is).
std::string PaddingFor(std::string_view text, int n, char fill) {
    return std::string(static_cast<std::size_t>(std::max(n - CharCount(text), 0)), fill);
}

// Parses the whole of text as a T with std::from_chars; false when any of it is left
// over or the value is out of range.
template <typename T>
bool ParseWhole(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// What the amount and integer readers do before parsing: only the allowed characters
// stay; nothing at all reads as "0" and a lone minus sign as "-0".
std::string NormalizedNumberText(std::string_view text, std::string_view allowed) {
    std::string kept = FilterChars(text, allowed);
    if (kept.empty()) return "0";
    if (kept == "-") return "-0";
    if (kept == ".") return "0.";
    return kept;
}

[[noreturn]] void ThrowNotANumber(std::string_view text, const char* what) {
    throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

// A finite, non-zero double as its sign, 15 significant decimal digits and the decimal
// exponent of the first digit: -1234.5678 gives true, "123456780000000", 3.
struct DecimalDigits {
    bool negative;
    std::string digits;
    int exponent;
};

constexpr int kSignificantDigits = 15;

DecimalDigits ToDecimalDigits(double x) {
    char buf[40];
    const auto result = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific,
                                      kSignificantDigits - 1);
    std::string_view text(buf, static_cast<std::size_t>(result.ptr - buf));  // "-1.23...e+03"
    DecimalDigits d{!text.empty() && text.front() == '-', {}, 0};
    if (d.negative) text.remove_prefix(1);
    const auto e = text.find('e');
    for (char c : text.substr(0, e))
        if (c != '.') d.digits += c;
    std::string_view exponent = text.substr(e + 1);
    if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
    ParseWhole(exponent, d.exponent);
    return d;
}

// Adds one to a text of decimal digits ("199" gives "200", "99" gives "100", "" gives "1").
std::string IncrementDecimal(std::string digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return digits;
        }
        *it = '0';
    }
    return "1" + digits;
}

// The decimal text of units * 10^-decimals ("1234", 2 gives "12.34"; "5", -2 gives "500").
std::string ScaledDecimalText(std::string units, int decimals) {
    if (decimals <= 0) return units + std::string(static_cast<std::size_t>(-decimals), '0');
    const auto width = static_cast<std::size_t>(decimals) + 1;
    if (units.size() < width) units.insert(0, width - units.size(), '0');
    units.insert(units.size() - static_cast<std::size_t>(decimals), ".");
    return units;
}

}  // namespace

bool IsBlank(std::string_view text) { return std::all_of(text.begin(), text.end(), IsBlankOrControl); }

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

std::string_view TrimView(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string LeftStr(std::string_view text, int n) { return std::string(text.substr(0, ByteOffsetOf(text, n))); }

std::string RightStr(std::string_view text, int n) {
    const int skip = CharCount(text) - std::max(n, 0);
    return std::string(text.substr(ByteOffsetOf(text, skip)));
}

std::string MidStr(std::string_view text, int p, int n) {
    return LeftStr(text.substr(ByteOffsetOf(text, p - 1)), n);
}

std::string TextBefore(std::string_view text, char c) {
    const auto pos = text.find(c);
    return pos == std::string_view::npos ? std::string() : std::string(text.substr(0, pos));
}

std::string FilterChars(std::string_view text, std::string_view allowed) {
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t len = std::max<std::size_t>(ByteOffsetOf(text.substr(pos), 1), 1);
        const std::string_view character = text.substr(pos, len);
        if (allowed.find(character) != std::string_view::npos) out += character;
        pos += len;
    }
    return out;
}

double StrToAmount(std::string_view text) {
    double value = 0;
    if (!ParseWhole(NormalizedNumberText(text, "0123456789-."), value)) ThrowNotANumber(text, "number");
    return value + 0.0;  // "-0" reads as 0, not as minus zero
}

long long StrToInteger(std::string_view text) {
    long long value = 0;
    if (!ParseWhole(NormalizedNumberText(text, "0123456789-"), value)) ThrowNotANumber(text, "whole number");
    return value;
}

namespace {

// Rounding to cents by arithmetic, where it gives what the decimal digits give: an amount
// below ten billion whose hundredfold lies well away from a half. The 15 digits kept of
// such an amount differ from it by far less than the margin, so both round to the same
// whole number of cents n, and n / 100.0 is, like the parsed text, the double nearest
// to n hundredths. The signed n into cents; false when the amount needs the decimal
// digits. (No std::optional here: it runs dozens of times per record written.)
bool CentsByArithmetic(double x, double& cents) {
    const double magnitude = std::fabs(x);
    if (!(magnitude < 1e10)) return false;
    const double hundredfold = magnitude * 100;
    const double whole = std::floor(hundredfold);
    const double fraction = hundredfold - whole;
    if (fraction > 0.4 && fraction < 0.6) return false;
    cents = fraction <= 0.4 ? whole : whole + 1;
    if (x < 0) cents = -cents;
    return true;
}

}  // namespace

double RoundTo(double x, int digits) {
    if (!std::isfinite(x) || x == 0) return 0;
    if (digits == 2)
        if (double cents = 0; CentsByArithmetic(x, cents)) return cents / 100 + 0.0;  // never minus zero
    digits = std::clamp(digits, -400, 400);  // beyond these every double rounds to 0 or to itself
    const DecimalDigits d = ToDecimalDigits(x);
    // Digit i is worth 10^(exponent - i); the ones worth at least 10^-digits stay.
    const int keep = d.exponent + digits + 1;
    if (keep >= static_cast<int>(d.digits.size())) return x;
    if (keep < 0) return 0;  // |x| is below a tenth of the last kept unit
    std::string units = d.digits.substr(0, static_cast<std::size_t>(keep));
    if (d.digits[static_cast<std::size_t>(keep)] >= '5') units = IncrementDecimal(std::move(units));
    const std::string text = (d.negative ? "-" : "") + ScaledDecimalText(std::move(units), digits);
    double value = 0;
    if (!ParseWhole(text, value)) return 0;
    return value + 0.0;  // never minus zero: -0.001 rounds to 0, shown as 0.00
}

bool WholeCents(double x, long long& cents) {
    cents = 0;
    if (!std::isfinite(x) || x == 0) return true;
    // Below ten billion the cents fit a double exactly, and n / 100.0 times 100 gives n again.
    if (double arithmetic = 0; CentsByArithmetic(x, arithmetic)) {
        cents = static_cast<long long>(arithmetic);
        return true;
    }
    const double rounded = RoundTo(x, 2);
    if (!(std::fabs(rounded) < 9e16)) return false;
    cents = std::llround(rounded * 100);
    return true;
}

std::string PadLeft(std::string_view text, int n) { return PaddingFor(text, n, ' ') + std::string(text); }

std::string PadRight(std::string_view text, int n) { return std::string(text) + PaddingFor(text, n, ' '); }

std::string PadLeftZero(std::string_view text, int n) { return PaddingFor(text, n, '0') + std::string(text); }

std::string DoubleAmpersands(std::string_view text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

int IndexOfText(std::string_view text, const std::vector<std::string>& list) {
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const std::string& entry) { return EqualsIgnoringAsciiCase(entry, text); });
    return it == list.end() ? 0 : static_cast<int>(it - list.begin()) + 1;
}

bool FollowsLayout(std::string_view text, std::string_view layout) {
    auto fits = [](char c, char slot) { return slot == '9' ? c >= '0' && c <= '9' : c == slot; };
    return text.size() == layout.size() && std::equal(text.begin(), text.end(), layout.begin(), fits);
}

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace qnvr
