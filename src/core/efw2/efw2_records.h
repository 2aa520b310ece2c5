#pragma once
// The five records of an EFW2 wage report as this program writes them: RA (submitter),
// RE (employer), RW (one per employee), RT (totals of an employer) and RF (final). Each
// is 512 single-byte Windows-1252 characters, without its line end; the file writer adds
// CR LF after every record.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/efw2/submitter_record.h"
#include "core/store/records.h"

namespace qnvr {

inline constexpr int kEfw2RecordLength = 512;
inline constexpr const char* kEfw2TaxYear = "2026";

// An amount as whole cents, zeros prefixed to width: 1234.5 gives "00000123450" at width
// 11. Zero, negative and sub-cent amounts give all zeros. An amount that does not fit
// (or is no number, as in a damaged file) raises EProcessException instead of writing a
// wrong figure.
std::string MoneyField(double amount, int width);

// An amount as the EFW2 messages show it: "$12,345.60", "-$5.00".
std::string FormatDollars(double amount);

// The sums of one employer's W-2 records that its RT record carries, as the sums of the
// whole cents the RW records carry (an amount of 0.005 dollars more or less in each record
// cannot make a total differ from its RW records by a cent). Each record counts the first
// Box 12 pair of each code only, as in its RW record.
class EmployeeSums {
public:
    // The Box 12 codes that the RW and RT records carry.
    static constexpr std::array<std::string_view, 14> kCodes = {"D", "E",  "F", "G", "H", "W",  "Q",
                                                                "C", "V",  "Y", "AA", "BB", "DD", "FF"};

    void Add(const W2Record& w2);
    double Box12Total(std::string_view code) const;  // 0 for a code the records do not carry
    double Amount11Total() const { return Dollars(amount11_); }
    // The W-3 totals of boxes 1 to 7 and 10 replaced by these sums.
    W3Record WithTotals(W3Record w3) const;

private:
    static double Dollars(long long cents) { return static_cast<double>(cents) / 100; }

    std::array<long long, kCodes.size()> box12_{};
    long long amount11_ = 0;
    std::array<long long, 8> boxes_{};  // Amount1 to Amount7, Amount10
};

// A text field of a W-2 or W-3 record that is not written as it stands: a letter with a
// diacritic is folded (`written`), or a character cannot be written at all (`refused`).
struct Efw2TextChange {
    std::string field;  // as the entry window names it: "Box e, Employee's last name"
    std::string value;
    std::string written;
    std::string refused;
    // The sentence the checks show: "... \"MÜLLER\" is written as \"MULLER\" ..." or the refusal.
    std::string Warning() const;
};
std::vector<Efw2TextChange> Efw2TextChanges(const W2Record& w2);
std::vector<Efw2TextChange> Efw2TextChanges(const W3Record& w3);

// "<field>: the character "€" cannot be written to an EFW2 file, ...".
std::string RefusedCharacterMessage(std::string_view field, std::string_view character);

std::string BuildSubmitterRecord(const SubmitterRecord& settings);
std::string BuildEmployerRecord(const W3Record& w3);
std::string BuildEmployeeRecord(const W2Record& w2);
// The RW record written in place into record's 512 characters.
void WriteEmployeeRecord(const W2Record& w2, char* record);
// The W-3 totals of boxes 1 to 7, 10 and 14 come from w3; Box 11 and Box 12 from sums.
std::string BuildTotalRecord(const W3Record& w3, int clientRWCount, const EmployeeSums& sums);
std::string BuildFinalRecord(int count);

}  // namespace qnvr
