#include "core/efw2/efw2_records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "core/base/errors.h"
#include "core/entry/w2_rules.h"
#include "core/text/cp1252.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

constexpr std::string_view kDigits = "0123456789";

std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// Whether text is plain ASCII, which every text field of an EFW2 record writes as it stands.
bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// 10^0 to 10^18.
constexpr long long kPowersOfTen[] = {1LL,
                                      10LL,
                                      100LL,
                                      1000LL,
                                      10000LL,
                                      100000LL,
                                      1000000LL,
                                      10000000LL,
                                      100000000LL,
                                      1000000000LL,
                                      10000000000LL,
                                      100000000000LL,
                                      1000000000000LL,
                                      10000000000000LL,
                                      100000000000000LL,
                                      1000000000000000LL,
                                      10000000000000000LL,
                                      100000000000000000LL,
                                      1000000000000000000LL};

// The refusals of WriteMoneyDigits, apart so that the writing itself stays small.
[[noreturn, gnu::cold]] void RaiseNoNumber() {
    throw EProcessException("An amount of a record is no number; the record is damaged.");
}
[[noreturn, gnu::cold]] void RaiseTooLarge(double amount, int width) {
    throw EProcessException("The amount " + FormatDollars(amount) + " is too large for its EFW2 field of " +
                            std::to_string(width) + " digits.");
}

// The cents an amount is written as, width digits with leading zeros, at `at`. Zero,
// negative and sub-cent amounts give all zeros; an amount that does not fit or is no
// number raises EProcessException.
void WriteMoneyDigits(double amount, int width, char* at) {
    if (!std::isfinite(amount)) RaiseNoNumber();
    long long whole = 0;
    const bool fits = WholeCents(amount, whole);
    std::fill(at, at + width, '0');
    if (fits ? whole <= 0 : amount < 0) return;
    // A cents count beyond 64 bits cannot be held at all.
    if (!fits || whole >= kPowersOfTen[std::clamp(width, 0, 18)]) RaiseTooLarge(amount, width);
    for (long long cents = whole, k = width - 1; cents > 0 && k >= 0; cents /= 10, --k)
        at[k] = static_cast<char>('0' + cents % 10);
}

// One record under construction, written in place into its 512 characters. Every field
// names its first and last position as the EFW2 publication counts them (1-based,
// inclusive) and must start where the previous one ended, so a wrong width cannot shift
// the fields after it unnoticed.
class RecordLine {
public:
    RecordLine(char* record, std::string_view identifier) : record_(record) {
        Put(1, static_cast<int>(identifier.size()), identifier, ' ');
    }

    // Rule T, and rule A (a value of exactly the field's width as stored; a short one
    // from a damaged file is padded like text so that the record keeps its length).
    // The file holds ASCII only: letters with diacritics are written as their base
    // letters, and any other character refuses the record, naming the field (`label`).
    RecordLine& Text(int from, int to, std::string_view utf8, std::string_view label = {}) {
        if (IsAscii(utf8)) return Put(from, to, utf8, ' ');
        return Put(from, to, AsciiFor(utf8, label), ' ');
    }
    // Rule U: upper case, then as T.
    RecordLine& Upper(int from, int to, std::string_view utf8, std::string_view label) {
        if (IsAscii(utf8)) return Put(from, to, utf8, ' ', true);
        return Put(from, to, AsciiFor(utf8, label), ' ', true);
    }
    // Rule D: only the digits, then as T.
    RecordLine& Digits(int from, int to, std::string_view text) {
        char* at = Field(from, to);
        const int width = to - from + 1;
        int written = 0;
        for (const char c : text)
            if (c >= '0' && c <= '9' && written < width) at[written++] = c;
        std::fill(at + written, at + width, ' ');
        return *this;
    }
    RecordLine& Money(int from, int to, double amount) {
        WriteMoneyDigits(amount, to - from + 1, Field(from, to));
        return *this;
    }
    RecordLine& Count(int from, int to, int count) {
        return Put(from, to, PadLeftZero(std::to_string(std::max(count, 0)), to - from + 1), ' ');
    }
    RecordLine& Zeros(int from, int to) { return Put(from, to, "", '0'); }
    RecordLine& Blank(int from, int to) { return Put(from, to, "", ' '); }
    RecordLine& Indicator(int at, bool set) { return Put(at, at, set ? "1" : "0", ' '); }

    void Finish() const {
        if (next_ != kEfw2RecordLength + 1)
            throw std::logic_error("EFW2 record of wrong length: " + std::string(record_, static_cast<std::size_t>(next_ - 1)));
    }

private:
    static std::string AsciiFor(std::string_view utf8, std::string_view label) {
        AsciiFolding folded = FoldToAscii(utf8);
        if (!folded.refused.empty()) throw EProcessException(RefusedCharacterMessage(label, folded.refused));
        return std::move(folded.text);
    }

    [[noreturn, gnu::cold]] static void RaiseOutOfPlace(int from, int to) {
        throw std::logic_error("EFW2 field " + std::to_string(from) + "-" + std::to_string(to) + " out of place");
    }

    // The field's first character; the next field starts after it.
    char* Field(int from, int to) {
        if (from != next_ || to < from || to > kEfw2RecordLength) RaiseOutOfPlace(from, to);
        next_ = to + 1;
        return record_ + (from - 1);
    }

    RecordLine& Put(int from, int to, std::string_view value, char fill, bool upper = false) {
        char* at = Field(from, to);
        const std::size_t width = static_cast<std::size_t>(to - from + 1);
        const std::size_t length = std::min(value.size(), width);
        for (std::size_t k = 0; k < length; ++k) {
            char c = value[k];
            // A line break or tab from a damaged record would split or shift the record.
            if (IsControl(c))
                c = ' ';
            else if (upper && c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
            at[k] = c;
        }
        std::fill(at + length, at + width, fill);
        return *this;
    }

    char* record_;
    int next_ = 1;
};

// The Box 12 amounts of one record for the codes the EFW2 records carry, as Box12Amount
// finds them (the first pair of each code), from one pass over the twelve pairs.
class Box12Amounts {
public:
    explicit Box12Amounts(const W2Record& w2) {
        for (std::size_t k = 0; k < w2.Box12Code.size(); ++k) {
            const std::string_view code = TrimView(w2.Box12Code[k]);
            if (code.empty() || code.size() > 2) continue;
            for (std::size_t c = 0; c < kCodes.size(); ++c)
                if (!found_[c] && EqualsIgnoringAsciiCase(code, kCodes[c])) {
                    found_[c] = true;
                    amounts_[c] = w2.Box12Amt[k];
                    break;
                }
        }
    }
    // code is one of kCodes (one or two letters).
    double operator()(std::string_view code) const {
        for (std::size_t c = 0; c < kCodes.size(); ++c)
            if (kCodes[c].size() == code.size() && kCodes[c][0] == code[0] && kCodes[c].back() == code.back())
                return amounts_[c];
        return 0.0;
    }
    // The amount of kCodes[c].
    double At(std::size_t c) const { return amounts_[c]; }

private:
    static constexpr const auto& kCodes = EmployeeSums::kCodes;
    std::array<double, EmployeeSums::kCodes.size()> amounts_{};
    std::array<bool, EmployeeSums::kCodes.size()> found_{};
};

// A record of 512 blanks that write fills in place.
template <typename Write>
std::string BuildRecord(Write write) {
    std::string record(kEfw2RecordLength, ' ');
    write(record.data());
    return record;
}

// The text fields of the W-2 and W-3 records that the EFW2 records carry, named as the
// entry windows show them.
template <typename Record>
struct TextField {
    std::string Record::*field;
    const char* label;
    bool upper;  // written in upper case
};
constexpr TextField<W2Record> kW2TextFields[] = {
    {&W2Record::Boxe1, "Box e, Employee's first name", true},
    {&W2Record::Boxe2, "Box e, Employee's middle initial", false},
    {&W2Record::Boxe3, "Box e, Employee's last name", true},
    {&W2Record::Suffix, "Box e, Suffix", true},
    {&W2Record::Boxf_a, "Box f, Employee's address", true},
    {&W2Record::Boxf_b, "Box f, Employee's city", true},
};
constexpr const char* kW2StateLabel = "Box f, Employee's state";
constexpr const char* kW2ZipLabel = "Box f, Employee's ZIP code";
constexpr TextField<W3Record> kW3TextFields[] = {
    {&W3Record::Boxf_a, "Box f, Employer's name", true}, {&W3Record::Boxg_a, "Box g, Employer's address", true},
    {&W3Record::Boxg_b, "Box g, Employer's city", true}, {&W3Record::Contact, "Contact person", true},
    {&W3Record::Email, "E-mail address", false},
};
constexpr const char* kW3EstablishmentLabel = "Box d, Establishment number";
constexpr const char* kW3StateLabel = "Box g, Employer's state";
constexpr const char* kW3ZipLabel = "Box g, Employer's ZIP code";

template <typename Record, std::size_t N>
std::vector<Efw2TextChange> TextChanges(const Record& record, const TextField<Record> (&fields)[N]) {
    std::vector<Efw2TextChange> changes;
    for (const TextField<Record>& f : fields) {
        const std::string& value = record.*(f.field);
        AsciiFolding folded = FoldToAscii(value);
        if (!folded.changed && folded.refused.empty()) continue;
        if (f.upper) folded.text = UpperAscii(std::move(folded.text));
        changes.push_back({f.label, value, std::move(folded.text), std::move(folded.refused)});
    }
    return changes;
}

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

std::string RefusedCharacterMessage(std::string_view field, std::string_view character) {
    return std::string(field) + ": the character \"" + std::string(character) +
           "\" cannot be written to an EFW2 file, which holds plain ASCII only. Replace it, then Process again.";
}

std::vector<Efw2TextChange> Efw2TextChanges(const W2Record& w2) { return TextChanges(w2, kW2TextFields); }
std::vector<Efw2TextChange> Efw2TextChanges(const W3Record& w3) { return TextChanges(w3, kW3TextFields); }

std::string Efw2TextChange::Warning() const {
    if (!refused.empty()) return RefusedCharacterMessage(field, refused);
    return field + " \"" + value + "\" is written as \"" + written + "\" in the EFW2 file, which holds plain ASCII only.";
}

std::string MoneyField(double amount, int width) {
    std::string field(static_cast<std::size_t>(std::max(width, 0)), '0');
    WriteMoneyDigits(amount, width, field.data());
    return field;
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

namespace {

// The cents MoneyField writes for an amount: zero for zero and negative amounts.
// Called for amounts that were written (WriteMoneyDigits refuses one beyond 64 bits).
long long WrittenCents(double amount) {
    long long cents = 0;
    WholeCents(amount, cents);
    return std::max(0LL, cents);
}

constexpr double W2Record::*kTotalledBoxes[] = {&W2Record::Amount1, &W2Record::Amount2, &W2Record::Amount3,
                                                &W2Record::Amount4, &W2Record::Amount5, &W2Record::Amount6,
                                                &W2Record::Amount7, &W2Record::Amount10};
constexpr double W3Record::*kTotalBoxes[] = {&W3Record::Amount1, &W3Record::Amount2, &W3Record::Amount3,
                                             &W3Record::Amount4, &W3Record::Amount5, &W3Record::Amount6,
                                             &W3Record::Amount7, &W3Record::Amount10};

}  // namespace

void EmployeeSums::Add(const W2Record& w2) {
    const Box12Amounts box12(w2);
    for (std::size_t k = 0; k < kCodes.size(); ++k) box12_[k] += WrittenCents(box12.At(k));
    amount11_ += WrittenCents(w2.Amount11);
    for (std::size_t k = 0; k < boxes_.size(); ++k) boxes_[k] += WrittenCents(w2.*kTotalledBoxes[k]);
}

double EmployeeSums::Box12Total(std::string_view code) const {
    for (std::size_t k = 0; k < kCodes.size(); ++k)
        if (UpperCase(code) == kCodes[k]) return Dollars(box12_[k]);
    return 0;
}

W3Record EmployeeSums::WithTotals(W3Record w3) const {
    for (std::size_t k = 0; k < boxes_.size(); ++k) w3.*kTotalBoxes[k] = Dollars(boxes_[k]);
    return w3;
}

std::string BuildSubmitterRecord(const SubmitterRecord& s) {
    return BuildRecord([&](char* record) {
        RecordLine(record, "RA")
            .Digits(3, 11, s.EIN)
            .Text(12, 19, s.UserID, "BSO User ID")
            .Blank(20, 23)
            .Blank(24, 28)
            .Indicator(29, s.Resubmitted())
            .Text(30, 35, s.Resubmitted() ? s.ResubID : "", "Wage File Identifier")
            .Text(36, 37, "98")
            .Text(38, 94, s.CompanyName, "Company Name")
            .Text(95, 116, s.LocationAddr, "Company Location address")
            .Text(117, 138, s.DeliveryAddr, "Company Delivery address")
            .Text(139, 160, s.City, "Company City")
            .Text(161, 162, s.StateCode, "Company State")
            .Text(163, 167, s.ZipCode, "Company Zip Code")
            .Text(168, 171, s.ZipCodeExt, "Company Zip Code extension")
            .Blank(172, 176)
            .Text(177, 199, s.ForeignState, "Company Foreign State/Province")
            .Text(200, 214, s.ForeignZip, "Company Foreign Postal Code")
            .Text(215, 216, s.CountryCode, "Company Country Code")
            .Text(217, 273, s.SubmitName, "Submitter Name")
            .Text(274, 295, s.SubmitAddr1, "Submitter's Location address")
            .Text(296, 317, s.SubmitAddr2, "Submitter's Delivery address")
            .Text(318, 339, s.SubmitCity, "Submitter's City")
            .Text(340, 341, s.SubmitState, "Submitter's State")
            .Text(342, 346, s.SubmitZip, "Submitter's Zip Code")
            .Text(347, 350, s.SubmitZipExt, "Submitter's Zip Code extension")
            .Blank(351, 355)
            .Text(356, 378, s.SubmitFSP, "Submitter's Foreign State/Province")
            .Text(379, 393, s.SubmitFPC, "Submitter's Foreign Postal Code")
            .Text(394, 395, s.SubmitCC, "Submitter's Country Code")
            .Text(396, 422, s.ContactName, "Person to be contacted by SSA")
            .Digits(423, 437, s.ContactPhone)
            .Text(438, 442, s.ContactExt, "Contact Person's telephone extension")
            .Blank(443, 445)
            .Text(446, 485, s.ContactEmail, "Contact Person's e-mail/internet address")
            .Blank(486, 488)
            .Digits(489, 498, s.ContactFax)
            .Blank(499, 499)
            .Text(500, 500, s.PreparerCode, "Preparer Code")
            .Blank(501, 512)
            .Finish();
    });
}

std::string BuildEmployerRecord(const W3Record& w3) {
    return BuildRecord([&](char* record) {
        RecordLine(record, "RE")
            .Text(3, 6, kEfw2TaxYear)
            .Blank(7, 7)
            .Digits(8, 16, w3.Boxe)
            .Blank(17, 25)
            .Indicator(26, w3.FinalReturn)
            .Text(27, 30, w3.Boxd, kW3EstablishmentLabel)
            .Digits(31, 39, w3.Boxh)
            .Upper(40, 96, w3.Boxf_a, kW3TextFields[0].label)
            .Blank(97, 118)
            .Upper(119, 140, w3.Boxg_a, kW3TextFields[1].label)
            .Upper(141, 162, w3.Boxg_b, kW3TextFields[2].label)
            .Text(163, 164, w3.Boxg_c, kW3StateLabel)
            .Text(165, 169, ZipOf(w3.Boxg_d), kW3ZipLabel)
            .Text(170, 173, ZipExtensionOf(w3.Boxg_d), kW3ZipLabel)
            .Text(174, 174, FirstCheckedLetter(w3, kKindOfEmployer))
            .Blank(175, 178)
            .Blank(179, 201)
            .Blank(202, 216)
            .Blank(217, 218)
            .Text(219, 219, FirstCheckedLetter(w3, kEmploymentCode))
            .Blank(220, 220)
            .Indicator(221, w3.Boxb13)
            .Upper(222, 248, w3.Contact, kW3TextFields[3].label)
            .Digits(249, 263, w3.TelNum)
            .Blank(264, 268)
            .Digits(269, 278, w3.FaxNum)
            .Text(279, 318, w3.Email, kW3TextFields[4].label)
            .Blank(319, 512)
            .Finish();
    });
}

void WriteEmployeeRecord(const W2Record& w2, char* record) {
    const Box12Amounts box12(w2);
    RecordLine(record, "RW")
        .Digits(3, 11, w2.Boxa)
        .Upper(12, 26, w2.Boxe1, kW2TextFields[0].label)
        .Text(27, 41, w2.Boxe2, kW2TextFields[1].label)
        .Upper(42, 61, w2.Boxe3, kW2TextFields[2].label)
        .Upper(62, 65, w2.Suffix, kW2TextFields[3].label)
        .Blank(66, 87)
        .Upper(88, 109, w2.Boxf_a, kW2TextFields[4].label)
        .Upper(110, 131, w2.Boxf_b, kW2TextFields[5].label)
        .Text(132, 133, w2.Boxf_c, kW2StateLabel)
        .Text(134, 138, ZipOf(w2.Boxf_d), kW2ZipLabel)
        .Text(139, 142, ZipExtensionOf(w2.Boxf_d), kW2ZipLabel)
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
        .Money(287, 297, box12("D"))
        .Money(298, 308, box12("E"))
        .Money(309, 319, box12("F"))
        .Money(320, 330, box12("G"))
        .Money(331, 341, box12("H"))
        .Blank(342, 352)
        .Money(353, 363, w2.Amount11)
        .Money(364, 374, box12("W"))
        .Zeros(375, 385)
        .Money(386, 396, box12("Q"))
        .Blank(397, 407)
        .Money(408, 418, box12("C"))
        .Money(419, 429, box12("V"))
        .Money(430, 440, box12("Y"))
        .Money(441, 451, box12("AA"))
        .Money(452, 462, box12("BB"))
        .Money(463, 473, box12("DD"))
        .Money(474, 484, box12("FF"))
        .Blank(485, 485)
        .Indicator(486, w2.Box13a)
        .Blank(487, 487)
        .Indicator(488, w2.Box13b)
        .Indicator(489, w2.Box13c)
        .Blank(490, 512)
        .Finish();
}

std::string BuildEmployeeRecord(const W2Record& w2) {
    return BuildRecord([&](char* record) { WriteEmployeeRecord(w2, record); });
}

std::string BuildTotalRecord(const W3Record& w3, int clientRWCount, const EmployeeSums& sums) {
    return BuildRecord([&](char* record) {
        RecordLine(record, "RT")
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
    });
}

std::string BuildFinalRecord(int count) {
    return BuildRecord([&](char* record) { RecordLine(record, "RF").Blank(3, 7).Count(8, 16, count).Blank(17, 512).Finish(); });
}

}  // namespace qnvr
