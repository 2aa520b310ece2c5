#include "core/efw2/efw2_records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "core/base/errors.h"
#include "core/entry/w2_rules.h"
#include "core/text/cp1252.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

constexpr std::string_view kDigits = "0123456789";

// Windows-1252 upper case: ASCII letters and the accented letters of the code page.
char UpperCp1252(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') return static_cast<char>(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<char>(b - 0x20);
    switch (b) {
        case 0x9A: return static_cast<char>(0x8A);  // s caron
        case 0x9C: return static_cast<char>(0x8C);  // oe
        case 0x9E: return static_cast<char>(0x8E);  // z caron
        case 0xFF: return static_cast<char>(0x9F);  // y diaeresis
        default: return c;
    }
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// One record under construction. Every field names its first and last position as the
// EFW2 publication counts them (1-based, inclusive) and must start where the previous
// one ended, so a wrong width cannot shift the fields after it unnoticed.
class RecordLine {
public:
    explicit RecordLine(std::string_view identifier) : line_(identifier) { line_.reserve(kEfw2RecordLength); }

    // Rule T, and rule A (a value of exactly the field's width as stored; a short one
    // from a damaged file is padded like text so that the record keeps its length).
    RecordLine& Text(int from, int to, std::string_view utf8) { return Put(from, to, Utf8ToCp1252(utf8), ' '); }
    // Rule U: upper case, then as T.
    RecordLine& Upper(int from, int to, std::string_view utf8) {
        std::string text = Utf8ToCp1252(utf8);
        std::transform(text.begin(), text.end(), text.begin(), UpperCp1252);
        return Put(from, to, std::move(text), ' ');
    }
    // Rule D: only the digits, then as T.
    RecordLine& Digits(int from, int to, std::string_view text) {
        return Put(from, to, FilterChars(text, kDigits), ' ');
    }
    RecordLine& Money(int from, int to, double amount) { return Put(from, to, MoneyField(amount, to - from + 1), ' '); }
    RecordLine& Count(int from, int to, int count) {
        return Put(from, to, PadLeftZero(std::to_string(std::max(count, 0)), to - from + 1), ' ');
    }
    RecordLine& Zeros(int from, int to) { return Put(from, to, "", '0'); }
    RecordLine& Blank(int from, int to) { return Put(from, to, "", ' '); }
    RecordLine& Indicator(int at, bool set) { return Put(at, at, set ? "1" : "0", ' '); }

    std::string Finish() {
        if (line_.size() != kEfw2RecordLength) throw std::logic_error("EFW2 record of wrong length: " + line_);
        return std::move(line_);
    }

private:
    RecordLine& Put(int from, int to, std::string value, char fill) {
        if (from != static_cast<int>(line_.size()) + 1 || to < from)
            throw std::logic_error("EFW2 field " + std::to_string(from) + "-" + std::to_string(to) + " out of place");
        const std::size_t width = static_cast<std::size_t>(to - from + 1);
        value.resize(std::min(value.size(), width));
        // A line break or tab from a damaged record would split or shift the record.
        std::replace_if(value.begin(), value.end(), IsControl, ' ');
        value.resize(width, fill);
        line_ += value;
        return *this;
    }

    std::string line_;
};

// The first checked box of a group gives the letter; a blank when none is checked.
struct BoxLetter {
    bool W3Record::*box;
    char letter;
};
constexpr BoxLetter kKindOfEmployer[] = {
    {&W3Record::Boxb8, 'N'}, {&W3Record::Boxb9, 'T'}, {&W3Record::Boxb10, 'S'}, {&W3Record::Boxb11, 'Y'},
    {&W3Record::Boxb12, 'F'},
};
constexpr BoxLetter kEmploymentCode[] = {
    {&W3Record::Boxb1, 'R'}, {&W3Record::Boxb2, 'M'}, {&W3Record::Boxb3, 'A'}, {&W3Record::Boxb4, 'F'},
    {&W3Record::Boxb5, 'X'}, {&W3Record::Boxb6, 'H'}, {&W3Record::Boxb7, 'Q'},
};

template <std::size_t N>
std::string FirstCheckedLetter(const W3Record& w3, const BoxLetter (&group)[N]) {
    for (const BoxLetter& entry : group)
        if (w3.*entry.box) return std::string(1, entry.letter);
    return " ";
}

// A ZIP code as "12345" or "12345-6789": the extension only from a full 10-character value.
std::string ZipOf(std::string_view zip) { return LeftStr(zip, 5); }
std::string ZipExtensionOf(std::string_view zip) { return Utf8Length(zip) == 10 ? RightStr(zip, 4) : ""; }

}  // namespace

std::string MoneyField(double amount, int width) {
    if (!std::isfinite(amount)) throw EProcessException("An amount of a record is no number; the record is damaged.");
    const double rounded = RoundTo(amount, 2);
    if (rounded <= 0) return std::string(static_cast<std::size_t>(width), '0');
    // Compared before converting: a cents count beyond 64 bits cannot be held at all.
    if (rounded * 100 >= std::pow(10.0, std::min(width, 18)))
        throw EProcessException("The amount " + FormatDollars(amount) + " is too large for its EFW2 field of " +
                                std::to_string(width) + " digits.");
    return PadLeftZero(std::to_string(std::llround(rounded * 100)), width);
}

std::string FormatDollars(double amount) {
    if (!std::isfinite(amount)) return "(no number)";
    const double rounded = std::fabs(RoundTo(amount, 2));
    // Beyond what 64 bits of cents hold, the amount is shown in full from its decimal text.
    std::string dollars;
    long long centPart = 0;
    if (rounded < 9e16) {
        const long long cents = std::llround(rounded * 100);
        dollars = std::to_string(cents / 100);
        centPart = cents % 100;
    } else {
        char text[400];
        std::snprintf(text, sizeof text, "%.0f", rounded);
        dollars = text;
    }
    for (int at = static_cast<int>(dollars.size()) - 3; at > 0; at -= 3) dollars.insert(at, ",");
    const std::string centText = PadLeftZero(std::to_string(centPart), 2);
    return (amount < 0 && rounded > 0 ? "-$" : "$") + dollars + "." + centText;
}

void EmployeeSums::Add(const W2Record& w2) {
    for (std::size_t k = 0; k < kCodes.size(); ++k) box12_[k] += Box12Amount(w2, kCodes[k]);
    amount11_ += w2.Amount11;
}

double EmployeeSums::Box12Total(std::string_view code) const {
    for (std::size_t k = 0; k < kCodes.size(); ++k)
        if (UpperCase(code) == kCodes[k]) return box12_[k];
    return 0;
}

std::string BuildSubmitterRecord(const SubmitterRecord& s) {
    return RecordLine("RA")
        .Digits(3, 11, s.EIN)
        .Text(12, 19, s.UserID)
        .Blank(20, 23)
        .Blank(24, 28)
        .Indicator(29, s.Resubmitted())
        .Text(30, 35, s.Resubmitted() ? s.ResubID : "")
        .Text(36, 37, "98")
        .Text(38, 94, s.CompanyName)
        .Text(95, 116, s.LocationAddr)
        .Text(117, 138, s.DeliveryAddr)
        .Text(139, 160, s.City)
        .Text(161, 162, s.StateCode)
        .Text(163, 167, s.ZipCode)
        .Text(168, 171, s.ZipCodeExt)
        .Blank(172, 176)
        .Text(177, 199, s.ForeignState)
        .Text(200, 214, s.ForeignZip)
        .Text(215, 216, s.CountryCode)
        .Text(217, 273, s.SubmitName)
        .Text(274, 295, s.SubmitAddr1)
        .Text(296, 317, s.SubmitAddr2)
        .Text(318, 339, s.SubmitCity)
        .Text(340, 341, s.SubmitState)
        .Text(342, 346, s.SubmitZip)
        .Text(347, 350, s.SubmitZipExt)
        .Blank(351, 355)
        .Text(356, 378, s.SubmitFSP)
        .Text(379, 393, s.SubmitFPC)
        .Text(394, 395, s.SubmitCC)
        .Text(396, 422, s.ContactName)
        .Digits(423, 437, s.ContactPhone)
        .Text(438, 442, s.ContactExt)
        .Blank(443, 445)
        .Text(446, 485, s.ContactEmail)
        .Blank(486, 488)
        .Digits(489, 498, s.ContactFax)
        .Blank(499, 499)
        .Text(500, 500, s.PreparerCode)
        .Blank(501, 512)
        .Finish();
}

std::string BuildEmployerRecord(const W3Record& w3) {
    return RecordLine("RE")
        .Text(3, 6, kEfw2TaxYear)
        .Blank(7, 7)
        .Digits(8, 16, w3.Boxe)
        .Blank(17, 25)
        .Indicator(26, w3.FinalReturn)
        .Text(27, 30, w3.Boxd)
        .Digits(31, 39, w3.Boxh)
        .Upper(40, 96, w3.Boxf_a)
        .Blank(97, 118)
        .Upper(119, 140, w3.Boxg_a)
        .Upper(141, 162, w3.Boxg_b)
        .Text(163, 164, w3.Boxg_c)
        .Text(165, 169, ZipOf(w3.Boxg_d))
        .Text(170, 173, ZipExtensionOf(w3.Boxg_d))
        .Text(174, 174, FirstCheckedLetter(w3, kKindOfEmployer))
        .Blank(175, 178)
        .Blank(179, 201)
        .Blank(202, 216)
        .Blank(217, 218)
        .Text(219, 219, FirstCheckedLetter(w3, kEmploymentCode))
        .Blank(220, 220)
        .Indicator(221, w3.Boxb13)
        .Upper(222, 248, w3.Contact)
        .Digits(249, 263, w3.TelNum)
        .Blank(264, 268)
        .Digits(269, 278, w3.FaxNum)
        .Text(279, 318, w3.Email)
        .Blank(319, 512)
        .Finish();
}

std::string BuildEmployeeRecord(const W2Record& w2) {
    return RecordLine("RW")
        .Digits(3, 11, w2.Boxa)
        .Upper(12, 26, w2.Boxe1)
        .Text(27, 41, w2.Boxe2)
        .Upper(42, 61, w2.Boxe3)
        .Upper(62, 65, w2.Suffix)
        .Blank(66, 87)
        .Upper(88, 109, w2.Boxf_a)
        .Upper(110, 131, w2.Boxf_b)
        .Text(132, 133, w2.Boxf_c)
        .Text(134, 138, ZipOf(w2.Boxf_d))
        .Text(139, 142, ZipExtensionOf(w2.Boxf_d))
        .Blank(143, 147)
        .Blank(148, 170)
        .Blank(171, 185)
        .Blank(186, 187)
        .Money(188, 198, w2.Amount1)
        .Money(199, 209, w2.Amount2)
        .Money(210, 220, w2.Amount3)
        .Money(221, 231, w2.Amount4)
        .Money(232, 242, w2.Amount5)
        .Money(243, 253, w2.Amount6)
        .Money(254, 264, w2.Amount7)
        .Blank(265, 275)
        .Money(276, 286, w2.Amount10)
        .Money(287, 297, Box12Amount(w2, "D"))
        .Money(298, 308, Box12Amount(w2, "E"))
        .Money(309, 319, Box12Amount(w2, "F"))
        .Money(320, 330, Box12Amount(w2, "G"))
        .Money(331, 341, Box12Amount(w2, "H"))
        .Blank(342, 352)
        .Money(353, 363, w2.Amount11)
        .Money(364, 374, Box12Amount(w2, "W"))
        .Zeros(375, 385)
        .Money(386, 396, Box12Amount(w2, "Q"))
        .Blank(397, 407)
        .Money(408, 418, Box12Amount(w2, "C"))
        .Money(419, 429, Box12Amount(w2, "V"))
        .Money(430, 440, Box12Amount(w2, "Y"))
        .Money(441, 451, Box12Amount(w2, "AA"))
        .Money(452, 462, Box12Amount(w2, "BB"))
        .Money(463, 473, Box12Amount(w2, "DD"))
        .Money(474, 484, Box12Amount(w2, "FF"))
        .Blank(485, 485)
        .Indicator(486, w2.Box13a)
        .Blank(487, 487)
        .Indicator(488, w2.Box13b)
        .Indicator(489, w2.Box13c)
        .Blank(490, 512)
        .Finish();
}

std::string BuildTotalRecord(const W3Record& w3, int clientRWCount, const EmployeeSums& sums) {
    return RecordLine("RT")
        .Count(3, 9, clientRWCount)
        .Money(10, 24, w3.Amount1)
        .Money(25, 39, w3.Amount2)
        .Money(40, 54, w3.Amount3)
        .Money(55, 69, w3.Amount4)
        .Money(70, 84, w3.Amount5)
        .Money(85, 99, w3.Amount6)
        .Money(100, 114, w3.Amount7)
        .Blank(115, 129)
        .Money(130, 144, w3.Amount10)
        .Money(145, 159, sums.Box12Total("D"))
        .Money(160, 174, sums.Box12Total("E"))
        .Money(175, 189, sums.Box12Total("F"))
        .Money(190, 204, sums.Box12Total("G"))
        .Money(205, 219, sums.Box12Total("H"))
        .Blank(220, 234)
        .Money(235, 249, sums.Amount11Total())
        .Money(250, 264, sums.Box12Total("W"))
        .Zeros(265, 279)
        .Money(280, 294, sums.Box12Total("Q"))
        .Money(295, 309, sums.Box12Total("DD"))
        .Money(310, 324, sums.Box12Total("C"))
        .Money(325, 339, w3.Box14)
        .Money(340, 354, sums.Box12Total("V"))
        .Money(355, 369, sums.Box12Total("Y"))
        .Money(370, 384, sums.Box12Total("AA"))
        .Money(385, 399, sums.Box12Total("BB"))
        .Money(400, 414, sums.Box12Total("FF"))
        .Blank(415, 512)
        .Finish();
}

std::string BuildFinalRecord(int count) {
    return RecordLine("RF").Blank(3, 7).Count(8, 16, count).Blank(17, 512).Finish();
}

}  // namespace qnvr
