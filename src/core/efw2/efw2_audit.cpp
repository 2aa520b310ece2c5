#include "core/efw2/efw2_audit.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>

#include "core/base/errors.h"
#include "core/efw2/country_codes.h"
#include "core/efw2/efw2_files.h"
#include "core/efw2/efw2_records.h"
#include "core/efw2/tax_year_limits.h"
#include "core/entry/state_keys.h"

namespace qnvr {
namespace {

constexpr std::size_t kLength = kEfw2RecordLength;
constexpr const TaxYearLimits& kLimits = kTaxYear2026;

enum class Kind {
    Blank,       // blanks only
    Text,        // alphanumeric: left-justified, blank-filled
    PersonName,  // as Text; letters, digits, blanks, hyphens, apostrophes and periods
    OrgName,     // as Text; the signs a business name may hold
    UserId,      // eight characters, no blank
    Money,       // digits only, right-justified and zero-filled
    Count,       // as Money
    Digits,      // a telephone or fax number: digits, left-justified, blank-filled
    Ssn,
    Ein,
    State,
    Zip,
    ZipExt,
    Country,
    Indicator,  // "0" or "1"
    Code,       // one of the letters of `codes`; blank when not required
    TaxYear,
    SoftwareCode,
};

struct FieldSpec {
    int from;
    int to;
    const char* name;
    Kind kind;
    bool required = false;
    const char* codes = nullptr;
    int rwFrom = 0;  // RT: the RW money field that this total sums
};

constexpr const char* kBlank = "Blank";

constexpr FieldSpec kRaFields[] = {
    {3, 11, "Submitter's EIN", Kind::Ein, true},
    {12, 19, "User ID", Kind::UserId, true},
    {20, 23, "Software vendor code", Kind::Digits},
    {24, 28, kBlank, Kind::Blank},
    {29, 29, "Resub indicator", Kind::Indicator, true},
    {30, 35, "Resub wage file identifier", Kind::Text},
    {36, 37, "Software code", Kind::SoftwareCode, true},
    {38, 94, "Company name", Kind::OrgName},
    {95, 116, "Company location address", Kind::Text},
    {117, 138, "Company delivery address", Kind::Text},
    {139, 160, "Company city", Kind::Text},
    {161, 162, "Company state", Kind::State},
    {163, 167, "Company ZIP code", Kind::Zip},
    {168, 171, "Company ZIP code extension", Kind::ZipExt},
    {172, 176, kBlank, Kind::Blank},
    {177, 199, "Company foreign state/province", Kind::Text},
    {200, 214, "Company foreign postal code", Kind::Text},
    {215, 216, "Company country code", Kind::Country},
    {217, 273, "Submitter name", Kind::OrgName, true},
    {274, 295, "Submitter location address", Kind::Text},
    {296, 317, "Submitter delivery address", Kind::Text, true},
    {318, 339, "Submitter city", Kind::Text, true},
    {340, 341, "Submitter state", Kind::State},
    {342, 346, "Submitter ZIP code", Kind::Zip},
    {347, 350, "Submitter ZIP code extension", Kind::ZipExt},
    {351, 355, kBlank, Kind::Blank},
    {356, 378, "Submitter foreign state/province", Kind::Text},
    {379, 393, "Submitter foreign postal code", Kind::Text},
    {394, 395, "Submitter country code", Kind::Country},
    {396, 422, "Contact name", Kind::Text, true},
    {423, 437, "Contact phone number", Kind::Digits, true},
    {438, 442, "Contact phone extension", Kind::Digits},
    {443, 445, kBlank, Kind::Blank},
    {446, 485, "Contact e-mail", Kind::Text, true},
    {486, 488, kBlank, Kind::Blank},
    {489, 498, "Contact fax", Kind::Digits},
    {499, 499, kBlank, Kind::Blank},
    {500, 500, "Preparer code", Kind::Code, false, "ALSPO"},
    {501, 512, kBlank, Kind::Blank},
};

constexpr FieldSpec kReFields[] = {
    {3, 6, "Tax year", Kind::TaxYear, true},
    {7, 7, "Agent indicator code", Kind::Code, false, "123"},
    {8, 16, "Employer/agent EIN", Kind::Ein, true},
    {17, 25, "Agent for EIN", Kind::Ein},
    {26, 26, "Terminating business indicator", Kind::Indicator, true},
    {27, 30, "Establishment number", Kind::Text},
    {31, 39, "Other EIN", Kind::Ein},
    {40, 96, "Employer name", Kind::OrgName, true},
    {97, 118, "Location address", Kind::Text},
    {119, 140, "Delivery address", Kind::Text, true},
    {141, 162, "City", Kind::Text, true},
    {163, 164, "State", Kind::State},
    {165, 169, "ZIP code", Kind::Zip},
    {170, 173, "ZIP code extension", Kind::ZipExt},
    {174, 174, "Kind of employer", Kind::Code, true, "FSTYN"},
    {175, 178, kBlank, Kind::Blank},
    {179, 201, "Foreign state/province", Kind::Text},
    {202, 216, "Foreign postal code", Kind::Text},
    {217, 218, "Country code", Kind::Country},
    {219, 219, "Employment code", Kind::Code, true, "AHMQRXF"},
    {220, 220, "Tax jurisdiction code", Kind::Code, false, "VGSPN"},
    {221, 221, "Third-party sick pay indicator", Kind::Indicator, true},
    {222, 248, "Employer contact name", Kind::Text},
    {249, 263, "Employer contact phone number", Kind::Digits},
    {264, 268, "Employer contact phone extension", Kind::Digits},
    {269, 278, "Employer contact fax", Kind::Digits},
    {279, 318, "Employer contact e-mail", Kind::Text},
    {319, 512, kBlank, Kind::Blank},
};

// RW money fields by their first position.
constexpr int kWages = 188, kSsWages = 210, kSsTax = 221, kMedicareWages = 232, kMedicareTax = 243, kSsTips = 254;
constexpr int kDeferral401k = 287, kDeferral403b = 298, kDeferral408k6 = 309, kDeferral457b = 320,
              kDeferral501c18 = 331, kRoth401k = 441, kRoth403b = 452;

constexpr FieldSpec kRwFields[] = {
    {3, 11, "Social security number", Kind::Ssn, true},
    {12, 26, "Employee first name", Kind::PersonName, true},
    {27, 41, "Employee middle name or initial", Kind::PersonName},
    {42, 61, "Employee last name", Kind::PersonName, true},
    {62, 65, "Suffix", Kind::PersonName},
    {66, 87, "Location address", Kind::Text},
    {88, 109, "Delivery address", Kind::Text},
    {110, 131, "City", Kind::Text},
    {132, 133, "State", Kind::State},
    {134, 138, "ZIP code", Kind::Zip},
    {139, 142, "ZIP code extension", Kind::ZipExt},
    {143, 147, kBlank, Kind::Blank},
    {148, 170, "Foreign state/province", Kind::Text},
    {171, 185, "Foreign postal code", Kind::Text},
    {186, 187, "Country code", Kind::Country},
    {188, 198, "Wages, tips and other compensation", Kind::Money},
    {199, 209, "Federal income tax withheld", Kind::Money},
    {210, 220, "Social security wages", Kind::Money},
    {221, 231, "Social security tax withheld", Kind::Money},
    {232, 242, "Medicare wages and tips", Kind::Money},
    {243, 253, "Medicare tax withheld", Kind::Money},
    {254, 264, "Social security tips", Kind::Money},
    {265, 275, kBlank, Kind::Blank},
    {276, 286, "Dependent care benefits", Kind::Money},
    {287, 297, "Deferred compensation, 401(k) (Box 12 D)", Kind::Money},
    {298, 308, "Deferred compensation, 403(b) (Box 12 E)", Kind::Money},
    {309, 319, "Deferred compensation, 408(k)(6) (Box 12 F)", Kind::Money},
    {320, 330, "Deferred compensation, 457(b) (Box 12 G)", Kind::Money},
    {331, 341, "Deferred compensation, 501(c)(18)(D) (Box 12 H)", Kind::Money},
    {342, 352, kBlank, Kind::Blank},
    {353, 363, "Nonqualified plan, section 457", Kind::Money},
    {364, 374, "Employer contributions to a health savings account (Box 12 W)", Kind::Money},
    {375, 385, "Nonqualified plan, not section 457", Kind::Money},
    {386, 396, "Nontaxable combat pay (Box 12 Q)", Kind::Money},
    {397, 407, kBlank, Kind::Blank},
    {408, 418, "Cost of group-term life insurance over $50,000 (Box 12 C)", Kind::Money},
    {419, 429, "Income from nonstatutory stock options (Box 12 V)", Kind::Money},
    {430, 440, "Deferrals under a section 409A plan (Box 12 Y)", Kind::Money},
    {441, 451, "Designated Roth contributions, 401(k) (Box 12 AA)", Kind::Money},
    {452, 462, "Designated Roth contributions, 403(b) (Box 12 BB)", Kind::Money},
    {463, 473, "Cost of employer-sponsored health coverage (Box 12 DD)", Kind::Money},
    {474, 484, "Permitted benefits under a QSEHRA (Box 12 FF)", Kind::Money},
    {485, 485, kBlank, Kind::Blank},
    {486, 486, "Statutory employee indicator", Kind::Indicator, true},
    {487, 487, kBlank, Kind::Blank},
    {488, 488, "Retirement plan indicator", Kind::Indicator, true},
    {489, 489, "Third-party sick pay indicator", Kind::Indicator, true},
    {490, 512, kBlank, Kind::Blank},
};

constexpr FieldSpec kRtFields[] = {
    {3, 9, "Number of RW records", Kind::Count, true},
    {10, 24, "Wages, tips and other compensation", Kind::Money, false, nullptr, 188},
    {25, 39, "Federal income tax withheld", Kind::Money, false, nullptr, 199},
    {40, 54, "Social security wages", Kind::Money, false, nullptr, 210},
    {55, 69, "Social security tax withheld", Kind::Money, false, nullptr, 221},
    {70, 84, "Medicare wages and tips", Kind::Money, false, nullptr, 232},
    {85, 99, "Medicare tax withheld", Kind::Money, false, nullptr, 243},
    {100, 114, "Social security tips", Kind::Money, false, nullptr, 254},
    {115, 129, kBlank, Kind::Blank},
    {130, 144, "Dependent care benefits", Kind::Money, false, nullptr, 276},
    {145, 159, "Deferred compensation, 401(k) (Box 12 D)", Kind::Money, false, nullptr, 287},
    {160, 174, "Deferred compensation, 403(b) (Box 12 E)", Kind::Money, false, nullptr, 298},
    {175, 189, "Deferred compensation, 408(k)(6) (Box 12 F)", Kind::Money, false, nullptr, 309},
    {190, 204, "Deferred compensation, 457(b) (Box 12 G)", Kind::Money, false, nullptr, 320},
    {205, 219, "Deferred compensation, 501(c)(18)(D) (Box 12 H)", Kind::Money, false, nullptr, 331},
    {220, 234, kBlank, Kind::Blank},
    {235, 249, "Nonqualified plan, section 457", Kind::Money, false, nullptr, 353},
    {250, 264, "Employer contributions to a health savings account (Box 12 W)", Kind::Money, false, nullptr, 364},
    {265, 279, "Nonqualified plan, not section 457", Kind::Money, false, nullptr, 375},
    {280, 294, "Nontaxable combat pay (Box 12 Q)", Kind::Money, false, nullptr, 386},
    {295, 309, "Cost of employer-sponsored health coverage (Box 12 DD)", Kind::Money, false, nullptr, 463},
    {310, 324, "Cost of group-term life insurance over $50,000 (Box 12 C)", Kind::Money, false, nullptr, 408},
    {325, 339, "Income tax withheld by payer of third-party sick pay", Kind::Money},
    {340, 354, "Income from nonstatutory stock options (Box 12 V)", Kind::Money, false, nullptr, 419},
    {355, 369, "Deferrals under a section 409A plan (Box 12 Y)", Kind::Money, false, nullptr, 430},
    {370, 384, "Designated Roth contributions, 401(k) (Box 12 AA)", Kind::Money, false, nullptr, 441},
    {385, 399, "Designated Roth contributions, 403(b) (Box 12 BB)", Kind::Money, false, nullptr, 452},
    {400, 414, "Permitted benefits under a QSEHRA (Box 12 FF)", Kind::Money, false, nullptr, 474},
    {415, 512, kBlank, Kind::Blank},
};

constexpr FieldSpec kRfFields[] = {
    {3, 7, kBlank, Kind::Blank},
    {8, 16, "Number of RW records", Kind::Count, true},
    {17, 512, kBlank, Kind::Blank},
};

std::span<const FieldSpec> FieldsOf(std::string_view type) {
    if (type == "RA") return kRaFields;
    if (type == "RE") return kReFields;
    if (type == "RW") return kRwFields;
    if (type == "RT") return kRtFields;
    if (type == "RF") return kRfFields;
    return {};
}

const FieldSpec* FieldAt(std::span<const FieldSpec> fields, int position) {
    for (const FieldSpec& f : fields)
        if (position >= f.from && position <= f.to) return &f;
    return nullptr;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool AllDigits(std::string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit); }
bool AllBlank(std::string_view s) { return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; }); }

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}
std::string_view TrimBoth(std::string_view s) {
    s = TrimRight(s);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

// What a finding quotes from the file, with every byte outside printable ASCII shown as
// "?", so that findings are always plain text.
std::string Printable(std::string_view s) {
    std::string text(s);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = '?';
    return text;
}

std::string Quoted(std::string_view s) { return "\"" + Printable(s) + "\""; }

// Whole cents as the messages show amounts: "$12,345.60".
std::string Cents(long long cents) { return FormatDollars(static_cast<double>(cents) / 100); }

std::string CentWord(long long cents) { return std::to_string(cents) + (cents == 1 ? " cent" : " cents"); }

// round(amount * rate / 10000) for non-negative amounts: a rate in hundredths of a percent.
long long AtRate(long long cents, int rate) { return (cents * rate + 5000) / 10000; }

std::string ByteName(unsigned char b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b);
    std::string name = text;
    if (b == '\t') name += " (tab)";
    else if (b == '\r') name += " (carriage return)";
    else if (b == 0) name += " (NUL)";
    return name;
}

bool ValidSsn(std::string_view ssn) {
    if (ssn.size() != 9 || !AllDigits(ssn)) return false;
    const std::string_view area = ssn.substr(0, 3), group = ssn.substr(3, 2), serial = ssn.substr(5, 4);
    return area != "000" && area != "666" && area[0] != '9' && group != "00" && serial != "0000";
}

bool ValidEinPrefix(std::string_view prefix) {
    static constexpr std::array<std::string_view, 17> kUnassigned = {"00", "07", "08", "09", "17", "18",
                                                                      "19", "28", "29", "49", "69", "70",
                                                                      "78", "79", "89", "96", "97"};
    return std::find(kUnassigned.begin(), kUnassigned.end(), prefix) == kUnassigned.end();
}

bool KnownState(std::string_view code) {
    const auto& states = StateCodes();
    return std::find(states.begin(), states.end(), code) != states.end();
}

bool KnownCountry(std::string_view code) {
    const auto& countries = Efw2CountryCodes();
    return std::any_of(countries.begin(), countries.end(), [&](const CountryCode& c) { return c.code == code; });
}

// One line of the file as read.
struct Line {
    int number = 0;
    std::string_view text;  // without its line end
    bool endsWithCrLf = true;
    bool endsWithLf = true;
    std::string_view type;  // the first two characters
};

class Auditor {
public:
    Auditor(const AuditOptions& options) : options_(options) {}

    Efw2AuditResult Run(std::string_view bytes) {
        std::vector<Line> lines = SplitLines(bytes);
        result_.records = static_cast<int>(lines.size());
        for (const Line& line : lines) AuditLine(line);
        FinishFile(lines);
        std::stable_sort(result_.findings.begin(), result_.findings.end(),
                         [](const AuditFinding& a, const AuditFinding& b) {
                             return (a.line == 0 ? 1 << 30 : a.line) < (b.line == 0 ? 1 << 30 : b.line);
                         });
        return std::move(result_);
    }

private:
    // The employer whose records are being read: its RE, RW sums and whether its RT came.
    struct Block {
        int reLine = 0;
        std::string employer;
        char employmentCode = ' ';
        int rwCount = 0;
        bool sumsKnown = true;  // every RW's money fields could be read
        std::array<long long, kLength + 1> sums{};  // by RW field start position
        bool closed = false;
    };

    std::vector<Line> SplitLines(std::string_view bytes) {
        std::vector<Line> lines;
        std::size_t at = 0;
        while (at < bytes.size()) {
            Line line;
            line.number = static_cast<int>(lines.size()) + 1;
            const std::size_t lf = bytes.find('\n', at);
            const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
            std::size_t textEnd = end;
            line.endsWithLf = lf != std::string_view::npos;
            line.endsWithCrLf = line.endsWithLf && end > at && bytes[end - 1] == '\r';
            if (line.endsWithCrLf) --textEnd;
            line.text = bytes.substr(at, textEnd - at);
            line.type = line.text.substr(0, std::min<std::size_t>(2, line.text.size()));
            lines.push_back(line);
            at = lf == std::string_view::npos ? bytes.size() : lf + 1;
        }
        return lines;
    }

    AuditFinding& Add(AuditSeverity severity, const Line* line, const FieldSpec* field, std::string message) {
        AuditFinding f;
        f.severity = severity;
        if (line) {
            f.line = line->number;
            f.recordType = Printable(line->type);
            if (line->type == "RW" && line->text.size() == kLength) {
                std::string name = std::string(TrimBoth(line->text.substr(11, 15)));
                for (std::string_view part : {line->text.substr(26, 15), line->text.substr(41, 20)}) {
                    const std::string_view trimmed = TrimBoth(part);
                    if (!trimmed.empty()) name += (name.empty() ? "" : " ") + std::string(trimmed);
                }
                f.employee = Printable(name);
                f.ssnLast4 = Printable(line->text.substr(7, 4));
            } else if (line->type == "RA") {
                f.employer = "submitter";
            } else if ((line->type == "RE" || line->type == "RT") && block_) {
                f.employer = Printable(block_->employer);
            }
        }
        if (field) {
            f.field = field->name;
            f.from = field->from;
            f.to = field->to;
        }
        f.message = std::move(message);
        result_.findings.push_back(std::move(f));
        return result_.findings.back();
    }
    void Error(const Line* line, const FieldSpec* field, std::string message) {
        Add(AuditSeverity::Error, line, field, std::move(message));
    }
    void Warn(const Line* line, const FieldSpec* field, std::string message) {
        Add(AuditSeverity::Warning, line, field, std::move(message));
    }

    void AuditLine(const Line& line) {
        if (!line.endsWithCrLf)
            Error(&line, nullptr,
                  line.endsWithLf ? "The record ends with a line feed alone; each record must be followed by CR LF."
                                  : "The record is not followed by CR LF: the file ends inside it.");
        const bool fullLength = line.text.size() == kLength;
        if (!fullLength)
            Error(&line, nullptr,
                  "The record is " + std::to_string(line.text.size()) + " characters long; every record must be 512.");

        // Bytes outside printable ASCII; the fields that hold one are not checked further.
        const std::span<const FieldSpec> fields = FieldsOf(line.type);
        std::vector<const FieldSpec*> unreadable;
        for (std::size_t k = 0; k < line.text.size(); ++k) {
            const auto b = static_cast<unsigned char>(line.text[k]);
            if (b >= 0x20 && b <= 0x7E) continue;
            const int position = static_cast<int>(k) + 1;
            const FieldSpec* field = fullLength ? FieldAt(fields, position) : nullptr;
            if (field && std::find(unreadable.begin(), unreadable.end(), field) != unreadable.end()) continue;
            unreadable.push_back(field);
            Error(&line, field,
                  "The byte " + ByteName(b) + " at position " + std::to_string(position) +
                      " is not printable ASCII; the file may hold only the characters 0x20 to 0x7E.");
            if (!field && !fullLength) break;
        }

        const bool known = !fields.empty() || line.type == "RO" || line.type == "RS" || line.type == "RU" ||
                           line.type == "RV";
        if (!known) Error(&line, nullptr, "The record identifier " + Quoted(line.type) + " is not an EFW2 record type.");

        Order(line);
        if (!fullLength || fields.empty()) {
            if (line.type == "RW" && block_) block_->sumsKnown = false;
            return;
        }
        std::vector<std::optional<long long>> money(kLength + 1);
        for (const FieldSpec& field : fields) {
            if (std::find(unreadable.begin(), unreadable.end(), &field) != unreadable.end()) {
                if (field.kind == Kind::Money && line.type == "RW" && block_) block_->sumsKnown = false;
                continue;
            }
            const std::string_view value = line.text.substr(static_cast<std::size_t>(field.from - 1),
                                                            static_cast<std::size_t>(field.to - field.from + 1));
            CheckField(line, field, value);
            if ((field.kind == Kind::Money || field.kind == Kind::Count) && AllDigits(value))
                money[static_cast<std::size_t>(field.from)] = std::stoll(std::string(value));
            else if (field.kind == Kind::Money && line.type == "RW" && block_)
                block_->sumsKnown = false;
        }
        if (line.type == "RA") CheckSubmitter(line);
        if (line.type == "RE") CheckEmployer(line);
        if (line.type == "RW") CheckEmployee(line, money);
        if (line.type == "RT") CheckTotals(line, money);
        if (line.type == "RF") CheckFinal(line, money);
    }

    // The place of each record: RA, then for each employer RE, its RW (RO, RS) records and
    // RT (RU, RV), then RF last.
    void Order(const Line& line) {
        const std::string_view t = line.type;
        if (afterFinal_) {
            Error(&line, nullptr, "The record follows the RF record, which must be the last record of the file.");
            return;
        }
        if (t == "RA") {
            if (line.number != 1 || seenSubmitter_)
                Error(&line, nullptr, "The RA record must be the first record of the file, and the only one.");
            seenSubmitter_ = true;
        } else if (t == "RE") {
            if (block_ && !block_->closed)
                Error(&line, nullptr,
                      "An RT record is missing: the employer of the RE record at line " +
                          std::to_string(block_->reLine) + " is not closed by its RT record before this RE record.");
            blocks_.emplace_back();
            block_ = &blocks_.back();
            block_->reLine = line.number;
            if (line.text.size() == kLength) {
                block_->employer = std::string(TrimBoth(line.text.substr(39, 57)));
                block_->employmentCode = line.text[218];
            }
            ++result_.employers;
        } else if (t == "RW" || t == "RO" || t == "RS") {
            if (!block_ || block_->closed) {
                Error(&line, nullptr,
                      "The " + std::string(t) + " record is outside an employer: it must follow an RE record and come "
                      "before that employer's RT record.");
                return;
            }
            if (t == "RW") {
                ++block_->rwCount;
                ++totalRw_;
                ++result_.employees;
            }
        } else if (t == "RT") {
            if (!block_ || block_->closed) {
                Error(&line, nullptr, "The RT record has no employer: it must follow an RE record and its RW records.");
                return;
            }
            block_->closed = true;
        } else if (t == "RU" || t == "RV") {
            if (!block_ || !block_->closed)
                Error(&line, nullptr, "The " + std::string(t) + " record must follow an RT record.");
        } else if (t == "RF") {
            if (block_ && !block_->closed)
                Error(&line, nullptr,
                      "An RT record is missing: the employer of the RE record at line " +
                          std::to_string(block_->reLine) + " is not closed by its RT record before the RF record.");
            afterFinal_ = true;
            seenFinal_ = true;
        }
    }

    void FinishFile(const std::vector<Line>& lines) {
        if (lines.empty()) {
            Error(nullptr, nullptr, "The file is empty.");
            return;
        }
        if (!seenSubmitter_ && !options_.partial)
            Error(&lines.front(), nullptr, "The file does not begin with an RA record.");
        if (!seenFinal_ && !options_.partial) {
            if (block_ && !block_->closed)
                Error(&lines.back(), nullptr,
                      "An RT record is missing: the employer of the RE record at line " +
                          std::to_string(block_->reLine) + " is not closed by its RT record.");
            Error(&lines.back(), nullptr, "The file does not end with an RF record.");
        }
        if (blocks_.empty()) Error(nullptr, nullptr, "The file holds no RE record, so no employer and no wages.");
    }

    void CheckField(const Line& line, const FieldSpec& field, std::string_view value) {
        const std::string_view trimmed = TrimRight(value);
        const bool blank = trimmed.empty();
        const auto requiredMissing = [&] {
            if (field.required && blank) {
                Error(&line, &field, std::string(field.name) + " is required and is blank.");
                return true;
            }
            return false;
        };
        const auto leftJustified = [&] {
            if (!blank && value.front() == ' ') {
                Error(&line, &field, std::string(field.name) + " " + Quoted(TrimBoth(value)) +
                                         " is not left-justified: it begins with a blank.");
                return false;
            }
            return true;
        };
        switch (field.kind) {
            case Kind::Blank:
                if (!blank) Error(&line, &field, "The field must be blank; it holds " + Quoted(TrimBoth(value)) + ".");
                return;
            case Kind::Text:
                if (!requiredMissing()) leftJustified();
                return;
            case Kind::UserId:
                if (requiredMissing()) return;
                if (value.find(' ') != std::string_view::npos)
                    Error(&line, &field, "The User ID " + Quoted(trimmed) + " must be 8 characters without blanks.");
                return;
            case Kind::PersonName: {
                if (requiredMissing() || !leftJustified()) return;
                const auto bad = std::find_if(trimmed.begin(), trimmed.end(), [](char c) {
                    return !IsLetter(c) && !IsDigit(c) && c != ' ' && c != '-' && c != '\'' && c != '.';
                });
                if (bad != trimmed.end())
                    Error(&line, &field, std::string(field.name) + " " + Quoted(trimmed) + " holds " +
                                             Quoted(std::string(1, *bad)) +
                                             "; a name may hold only letters, digits, blanks, hyphens, apostrophes and periods.");
                return;
            }
            case Kind::OrgName: {
                if (requiredMissing() || !leftJustified()) return;
                const auto bad = std::find_if(trimmed.begin(), trimmed.end(), [](char c) {
                    return !IsLetter(c) && !IsDigit(c) && std::string_view(" &-,.'/#()%").find(c) == std::string_view::npos;
                });
                if (bad != trimmed.end())
                    Warn(&line, &field, std::string(field.name) + " " + Quoted(trimmed) + " holds " +
                                            Quoted(std::string(1, *bad)) +
                                            "; SSA expects letters, digits, blanks and & - , . ' / # ( ) % only.");
                return;
            }
            case Kind::Money:
            case Kind::Count:
                if (!AllDigits(value))
                    Error(&line, &field, std::string(field.name) + " " + Quoted(value) +
                                             " must hold digits only, right-justified and zero-filled.");
                return;
            case Kind::Digits:
                if (requiredMissing() || blank) return;
                if (!leftJustified()) return;
                if (!AllDigits(trimmed))
                    Error(&line, &field, std::string(field.name) + " " + Quoted(trimmed) +
                                             " must hold digits only, left-justified and blank-filled.");
                return;
            case Kind::Ssn:
                if (!AllDigits(value) || value.size() != 9)
                    Error(&line, &field, "The social security number " + Quoted(value) + " must be nine digits.");
                else if (!ValidSsn(value))
                    Error(&line, &field, "The social security number " + std::string(value.substr(0, 3)) + "-" +
                                             std::string(value.substr(3, 2)) + "-" + std::string(value.substr(5)) +
                                             " is not valid: its area may not be 000, 666 or 900 to 999, its group "
                                             "not 00 and its serial not 0000.");
                return;
            case Kind::Ein:
                if (requiredMissing() || blank) return;
                if (!AllDigits(value) || value.size() != 9)
                    Error(&line, &field, std::string(field.name) + " " + Quoted(trimmed) + " must be nine digits.");
                else if (!ValidEinPrefix(value.substr(0, 2)))
                    Error(&line, &field, std::string(field.name) + " " + std::string(value) + " begins with " +
                                             std::string(value.substr(0, 2)) +
                                             ", a prefix the IRS does not assign to employer identification numbers.");
                return;
            case Kind::State:
                if (!blank && !KnownState(value))
                    Error(&line, &field, std::string(field.name) + " " + Quoted(value) + " is not a state code.");
                return;
            case Kind::Zip:
            case Kind::ZipExt:
                if (!blank && !AllDigits(value))
                    Error(&line, &field, std::string(field.name) + " " + Quoted(trimmed) + " must be " +
                                             std::to_string(value.size()) + " digits.");
                return;
            case Kind::Country:
                if (!blank && !KnownCountry(value))
                    Error(&line, &field, std::string(field.name) + " " + Quoted(value) + " is not a country code.");
                return;
            case Kind::Indicator:
                if (value != "0" && value != "1")
                    Error(&line, &field, std::string(field.name) + " " + Quoted(value) + " must be 0 or 1.");
                return;
            case Kind::Code:
                if (requiredMissing() || blank) return;
                if (std::string_view(field.codes).find(value.front()) == std::string_view::npos)
                    Error(&line, &field, std::string(field.name) + " " + Quoted(value) + " is not one of the codes " +
                                             std::string(field.codes) + ".");
                return;
            case Kind::TaxYear:
                if (value != std::to_string(kLimits.year))
                    Error(&line, &field, "The tax year is " + Quoted(value) + "; this file must report tax year " +
                                             std::to_string(kLimits.year) + ".");
                return;
            case Kind::SoftwareCode:
                if (value != "98" && value != "99")
                    Error(&line, &field, "The software code " + Quoted(value) + " must be 98 (in-house) or 99 (off-the-shelf).");
                return;
        }
    }

    // An address in the United States needs its state and ZIP code.
    void CheckUsAddress(const Line& line, std::span<const FieldSpec> fields, int state, int zip, int country) {
        const auto at = [&](int from) { return FieldAt(fields, from); };
        const auto value = [&](int from) {
            const FieldSpec* f = at(from);
            return line.text.substr(static_cast<std::size_t>(f->from - 1), static_cast<std::size_t>(f->to - f->from + 1));
        };
        if (!AllBlank(value(country))) return;
        if (AllBlank(value(state)))
            Error(&line, at(state), std::string(at(state)->name) + " is required for an address in the United States.");
        if (AllBlank(value(zip)))
            Error(&line, at(zip), std::string(at(zip)->name) + " is required for an address in the United States.");
    }

    void CheckSubmitter(const Line& line) {
        if (line.text[28] == '1' && AllBlank(line.text.substr(29, 6)))
            Error(&line, FieldAt(kRaFields, 30), "The resub wage file identifier is required when the resub indicator is 1.");
        if (line.text.substr(35, 2) == "99" && !AllDigits(line.text.substr(19, 4)))
            Warn(&line, FieldAt(kRaFields, 20), "The software vendor code is required with software code 99.");
        CheckUsAddress(line, kRaFields, 340, 342, 394);
    }

    void CheckEmployer(const Line& line) { CheckUsAddress(line, kReFields, 163, 165, 217); }

    void CheckEmployee(const Line& line, const std::vector<std::optional<long long>>& money) {
        if (!block_ || block_->closed) return;
        const auto amount = [&](int from) { return money[static_cast<std::size_t>(from)]; };
        for (const FieldSpec& field : kRwFields)
            if (field.kind == Kind::Money) {
                if (const auto cents = amount(field.from)) block_->sums[static_cast<std::size_t>(field.from)] += *cents;
            }
        const auto field = [](int from) { return FieldAt(kRwFields, from); };

        const char code = block_->employmentCode;
        const auto ssWages = amount(kSsWages), ssTax = amount(kSsTax), tips = amount(kSsTips);
        const auto mcWages = amount(kMedicareWages), mcTax = amount(kMedicareTax);
        // Railroad (X) and Medicare-qualified government (Q) employment pay no social
        // security tax through these fields.
        const bool socialSecurity = code != 'X' && code != 'Q';
        if (socialSecurity && ssWages && tips) {
            const long long subject = *ssWages + *tips;
            bool overMax = false;
            if (subject > kLimits.socialSecurityWageBase)
                Error(&line, field(kSsWages),
                      "Social security wages and tips of " + Cents(subject) + " are above the " +
                          std::to_string(kLimits.year) + " wage base of " + Cents(kLimits.socialSecurityWageBase) +
                          " by " + Cents(subject - kLimits.socialSecurityWageBase) + ".");
            if (ssTax && *ssTax > kLimits.socialSecurityTaxMax) {
                overMax = true;
                Error(&line, field(kSsTax),
                      "Social security tax of " + Cents(*ssTax) + " is above the " + std::to_string(kLimits.year) +
                          " maximum of " + Cents(kLimits.socialSecurityTaxMax) + ".");
            }
            if (ssTax && !overMax) {
                const long long expected =
                    AtRate(std::min(subject, kLimits.socialSecurityWageBase), kLimits.socialSecurityRate);
                if (std::llabs(*ssTax - expected) > kLimits.taxTolerance)
                    Warn(&line, field(kSsTax),
                         "Social security tax of " + Cents(*ssTax) + " is not 6.2 % of the social security wages and "
                         "tips of " + Cents(subject) + ", which is " + Cents(expected) + ".");
            }
        }
        if (mcWages && mcTax) {
            const long long least = AtRate(*mcWages, kLimits.medicareRate);
            const long long above = std::max(0LL, *mcWages - kLimits.additionalMedicareThreshold);
            const long long most = least + AtRate(above, kLimits.additionalMedicareRate);
            if (*mcTax + kLimits.taxTolerance < least)
                Warn(&line, field(kMedicareTax),
                     "Medicare tax of " + Cents(*mcTax) + " is below 1.45 % of the Medicare wages and tips of " +
                         Cents(*mcWages) + ", which is " + Cents(least) + ".");
            else if (*mcTax > most + kLimits.taxTolerance)
                Warn(&line, field(kMedicareTax),
                     "Medicare tax of " + Cents(*mcTax) + " is above 1.45 % of the Medicare wages and tips of " +
                         Cents(*mcWages) +
                         (above > 0 ? " plus the additional 0.9 % of the part above " +
                                          Cents(kLimits.additionalMedicareThreshold)
                                    : std::string()) +
                         ", which is " + Cents(most) + ".");
        }
        if (socialSecurity && mcWages && ssWages && tips && *mcWages < *ssWages + *tips)
            Error(&line, field(kMedicareWages),
                  "Medicare wages and tips of " + Cents(*mcWages) + " are below the social security wages and tips of " +
                      Cents(*ssWages + *tips) + ".");

        CheckDeferrals(line, money);
    }

    // Box 12 deferrals against the year's limits, with the largest catch-up any employee
    // may add (ages 60 to 63): the file does not say how old the employee is.
    void CheckDeferrals(const Line& line, const std::vector<std::optional<long long>>& money) {
        const auto amount = [&](int from) { return money[static_cast<std::size_t>(from)].value_or(0); };
        const auto field = [](int from) { return FieldAt(kRwFields, from); };
        const long long catchUp = std::max(kLimits.catchUpAge50, kLimits.catchUpAge60To63);
        const int electiveFields[] = {kDeferral401k, kDeferral403b, kDeferral408k6, kRoth401k, kRoth403b};
        long long elective = 0;
        int first = 0;
        for (int from : electiveFields) {
            elective += amount(from);
            if (!first && amount(from) > 0) first = from;
        }
        const long long electiveLimit = kLimits.electiveDeferralLimit + catchUp;
        if (elective > electiveLimit)
            Warn(&line, field(first),
                 "Elective deferrals (Box 12 D, E, F, AA and BB) of " + Cents(elective) + " are above the " +
                     std::to_string(kLimits.year) + " limit of " + Cents(kLimits.electiveDeferralLimit) +
                     " plus the largest catch-up of " + Cents(catchUp) + ", " + Cents(electiveLimit) + ".");
        // A 457(b) plan's final three years before retirement may double the limit.
        const long long limit457 = std::max(kLimits.section457Limit + catchUp, 2 * kLimits.section457Limit);
        if (amount(kDeferral457b) > limit457)
            Warn(&line, field(kDeferral457b),
                 "Section 457(b) deferrals of " + Cents(amount(kDeferral457b)) + " are above the " +
                     std::to_string(kLimits.year) + " limit with catch-up of " + Cents(limit457) + ".");
        if (amount(kDeferral501c18) > kLimits.section501c18Limit)
            Warn(&line, field(kDeferral501c18),
                 "Section 501(c)(18)(D) deferrals of " + Cents(amount(kDeferral501c18)) + " are above the limit of " +
                     Cents(kLimits.section501c18Limit) + ".");
    }

    void CheckTotals(const Line& line, const std::vector<std::optional<long long>>& money) {
        if (!block_ || !block_->closed || &blocks_.back() != block_) return;
        const Block& b = *block_;
        if (const auto count = money[3]; count && *count != b.rwCount)
            Error(&line, FieldAt(kRtFields, 3),
                  "The RT record counts " + std::to_string(*count) + " RW records; its employer has " +
                      std::to_string(b.rwCount) + ".");
        if (!b.sumsKnown) return;
        for (const FieldSpec& field : kRtFields) {
            if (!field.rwFrom) continue;
            const auto total = money[static_cast<std::size_t>(field.from)];
            if (!total) continue;
            const long long sum = b.sums[static_cast<std::size_t>(field.rwFrom)];
            if (*total == sum) continue;
            const long long difference = *total - sum;
            Error(&line, &field,
                  "The total " + Cents(*total) + " is not the sum of the employer's RW records, " + Cents(sum) +
                      ": it is " + CentWord(std::llabs(difference)) + (difference > 0 ? " more." : " less."));
        }
    }

    void CheckFinal(const Line& line, const std::vector<std::optional<long long>>& money) {
        // The RF of a master file's last client counts the employees of every client.
        if (options_.partial) return;
        if (const auto count = money[8]; count && *count != totalRw_)
            Error(&line, FieldAt(kRfFields, 8),
                  "The RF record counts " + std::to_string(*count) + " RW records; the file holds " +
                      std::to_string(totalRw_) + ".");
    }

    AuditOptions options_;
    Efw2AuditResult result_;
    std::deque<Block> blocks_;  // block_ points into it
    Block* block_ = nullptr;
    int totalRw_ = 0;
    bool seenSubmitter_ = false;
    bool seenFinal_ = false;
    bool afterFinal_ = false;
};

}  // namespace

int Efw2AuditResult::Errors() const {
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [](const AuditFinding& f) { return f.severity == AuditSeverity::Error; }));
}

int Efw2AuditResult::Warnings() const { return static_cast<int>(findings.size()) - Errors(); }

Efw2AuditResult AuditEfw2(std::string_view bytes, const AuditOptions& options) {
    return Auditor(options).Run(bytes);
}

Efw2AuditResult AuditEfw2File(const std::string& path, const AuditOptions& options) {
    std::ifstream in(path, std::ios::binary);
    if (!in) RaiseFileError("read", path, "The file cannot be opened.");
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) RaiseFileError("read", path, "The file cannot be read.");
    return AuditEfw2(bytes, options);
}

std::string FindingText(const AuditFinding& f) {
    std::string text = f.severity == AuditSeverity::Error ? "Error" : "Warning";
    if (f.line > 0) text += ", line " + std::to_string(f.line);
    if (!f.recordType.empty()) text += " " + f.recordType;
    if (!f.employee.empty() || !f.ssnLast4.empty())
        text += ", employee " + (f.employee.empty() ? std::string("(no name)") : f.employee) + " (SSN ending " +
                f.ssnLast4 + ")";
    else if (f.employer == "submitter")
        text += ", submitter";
    else if (!f.employer.empty())
        text += ", employer " + f.employer;
    if (!f.field.empty()) text += ", " + f.field + " (positions " + std::to_string(f.from) + "-" + std::to_string(f.to) + ")";
    return text + ": " + f.message;
}

std::string AuditSummary(const Efw2AuditResult& result) {
    const std::string records = std::to_string(result.records) + (result.records == 1 ? " record" : " records");
    if (result.findings.empty()) return "No problems found in " + records + ".";
    const int errors = result.Errors(), warnings = result.Warnings();
    std::string text;
    if (errors) text += std::to_string(errors) + (errors == 1 ? " error" : " errors");
    if (errors && warnings) text += " and ";
    if (warnings) text += std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings");
    return text + " in " + records + ".";
}

std::string AuditReportText(const std::string& path, const Efw2AuditResult& result) {
    std::string text = "Audit of " + path + "\n";
    for (const AuditFinding& f : result.findings) text += FindingText(f) + "\n";
    return text + AuditSummary(result) + "\n";
}

}  // namespace qnvr
