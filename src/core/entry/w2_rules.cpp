#include "core/entry/w2_rules.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <type_traits>

#include "core/base/prompter.h"
#include "core/efw2/efw2_records.h"
#include "core/entry/amount_limits.h"
#include "core/store/w2_fields.h"
#include "core/text/text.h"
#include "core/text/validation.h"

namespace qnvr {
namespace {

using Failure = std::optional<RuleFailure>;

// Amounts are compared as the fields show them: rounded to cents.
bool IsPresent(double amount) { return RoundTo(amount, 2) > 0; }
bool IsZero(double amount) { return RoundTo(amount, 2) == 0; }
bool IsFilled(std::string_view text) { return !IsBlank(text); }

std::string Box12Letter(int pair) { return std::string(1, static_cast<char>('a' + pair - 1)); }
std::string Box12CodeField(int pair) { return "Box12Code" + std::to_string(pair); }
std::string Box12AmtField(int pair) { return "Box12Amt" + std::to_string(pair); }

Failure CheckWagesOrCodeII(const W2Record& w2) {
    if (HasWagesOrCodeII(w2)) return std::nullopt;
    return RuleFailure{"Amount1", TildeToBreak("Box 1 on Form W-2 must have a value greater than zero~"
                                               "or one of the box 12 codes must be \"II\"")};
}

// The employee's identity and address, in rule order.
struct RequiredText {
    const char* field;
    std::string W2Record::*member;
    bool (*isValid)(std::string_view);
    const char* message;
};
const RequiredText kRequiredTexts[] = {
    {"Boxa", &W2Record::Boxa, IsValidSSN, "Social security number is invalid."},
    {"Boxe1", &W2Record::Boxe1, IsFilled, "Employee's first name is missing."},
    {"Boxe3", &W2Record::Boxe3, IsFilled, "Employee's last name is missing."},
    {"Boxf_a", &W2Record::Boxf_a, IsFilled, "Employee's street address is missing."},
    {"Boxf_b", &W2Record::Boxf_b, IsFilled, "Employee's city name is missing."},
    {"Boxf_c", &W2Record::Boxf_c, IsFilled, "Employee's state name is missing."},
    {"Boxf_d", &W2Record::Boxf_d, IsValidZip, "Employee's Zip Code is not valid."},
};

Failure CheckEmployee(const W2Record& w2) {
    for (const RequiredText& rule : kRequiredTexts)
        if (!rule.isValid(w2.*rule.member)) return RuleFailure{rule.field, rule.message};
    return std::nullopt;
}

// All twelve codes are checked before any amount.
Failure CheckBox12Codes(const W2Record& w2) {
    for (int pair = 1; pair <= 12; ++pair)
        if (IsBlank(w2.Box12Code[pair - 1]) && IsPresent(w2.Box12Amt[pair - 1]))
            return RuleFailure{Box12CodeField(pair), "Box 12" + Box12Letter(pair) + " code is missing."};
    return std::nullopt;
}

Failure CheckBox12Amounts(const W2Record& w2) {
    for (int pair = 1; pair <= 12; ++pair)
        if (IsFilled(w2.Box12Code[pair - 1]) && IsZero(w2.Box12Amt[pair - 1]))
            return RuleFailure{Box12AmtField(pair), "Box 12" + Box12Letter(pair) + " amount is missing."};
    return std::nullopt;
}

struct Box14Line {
    const char* descField;
    std::string W2Record::*desc;
    const char* amountField;
    double W2Record::*amount;
};
const Box14Line kBox14Lines[] = {
    {"Box14Desc_a", &W2Record::Box14Desc_a, "Box14Amt_a", &W2Record::Box14Amt_a},
    {"Box14Desc_b", &W2Record::Box14Desc_b, "Box14Amt_b", &W2Record::Box14Amt_b},
    {"Box14Desc_c", &W2Record::Box14Desc_c, "Box14Amt_c", &W2Record::Box14Amt_c},
};

// All three descriptions are checked before any amount.
Failure CheckBox14Descriptions(const W2Record& w2) {
    for (int n = 1; const Box14Line& line : kBox14Lines) {
        if (IsBlank(w2.*line.desc) && IsPresent(w2.*line.amount))
            return RuleFailure{line.descField, "Box 14 description " + std::to_string(n) + " is missing."};
        ++n;
    }
    return std::nullopt;
}

Failure CheckBox14Amounts(const W2Record& w2) {
    for (int n = 1; const Box14Line& line : kBox14Lines) {
        if (IsFilled(w2.*line.desc) && IsZero(w2.*line.amount))
            return RuleFailure{line.amountField, "Box 14 amount " + std::to_string(n) + " is missing."};
        ++n;
    }
    return std::nullopt;
}

// Tips reported in box 12 (codes TP, TS) need the employee's tipped occupation; only the
// first occupation code is required.
Failure CheckTippedOccupation(const W2Record& w2) {
    if ((HasBox12Code(w2, "TP") || HasBox12Code(w2, "TS")) && IsBlank(w2.Box14bTTOC))
        return RuleFailure{"Box14bTTOC", "Box 14b requires an entry when the employee has tip income"};
    return std::nullopt;
}

// A state line is all or nothing: state, state ID and state wages together, and state
// tax only with all three.
struct StateLine {
    const char* stateField;
    std::string W2Record::*state;
    const char* idField;
    std::string W2Record::*id;
    double W2Record::*wages;
    double W2Record::*tax;
    const char* message;
};
const StateLine kStateLines[] = {
    {"Box15a", &W2Record::Box15a, "StateID_a", &W2Record::StateID_a, &W2Record::Box16a, &W2Record::Box17a,
     "State 1 data is incomplete."},
    {"Box15b", &W2Record::Box15b, "StateID_b", &W2Record::StateID_b, &W2Record::Box16b, &W2Record::Box17b,
     "State 2 data is incomplete."},
};

Failure CheckStateLines(const W2Record& w2) {
    for (const StateLine& line : kStateLines) {
        const int given = IsFilled(w2.*line.state) + IsFilled(w2.*line.id) + IsPresent(w2.*line.wages);
        const bool incomplete = (given == 1 || given == 2) || (IsPresent(w2.*line.tax) && given != 3);
        if (incomplete) return RuleFailure{IsBlank(w2.*line.state) ? line.stateField : line.idField, line.message};
    }
    return std::nullopt;
}

// A local line: local wages and locality name together, local tax only with both.
struct LocalLine {
    const char* wagesField;
    double W2Record::*wages;
    const char* nameField;
    std::string W2Record::*name;
    double W2Record::*tax;
    const char* message;
};
const LocalLine kLocalLines[] = {
    {"Box18a", &W2Record::Box18a, "Box20a", &W2Record::Box20a, &W2Record::Box19a, "Local data 1 is incomplete."},
    {"Box18b", &W2Record::Box18b, "Box20b", &W2Record::Box20b, &W2Record::Box19b, "Local data 2 is incomplete."},
};

Failure CheckLocalLines(const W2Record& w2) {
    for (const LocalLine& line : kLocalLines) {
        const int given = IsPresent(w2.*line.wages) + IsFilled(w2.*line.name);
        const bool incomplete = given == 1 || (IsPresent(w2.*line.tax) && given != 2);
        if (incomplete) return RuleFailure{IsPresent(w2.*line.wages) ? line.nameField : line.wagesField, line.message};
    }
    return std::nullopt;
}

// The money fields refuse a minus sign, so only a record that came from elsewhere holds
// a negative amount; it is refused rather than printed or filed. Box 9 has no field.
Failure CheckNoNegativeAmounts(const W2Record& w2) {
    std::string_view negative;  // the first field, in file order
    ForEachW2Field(w2, [&](std::string_view name, int, int, const auto& value) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, double>) {
            // Only an amount below zero can round to one below zero.
            if (negative.empty() && value < 0 && name != "Amount9" && RoundTo(value, 2) < 0) negative = name;
        }
    });
    if (negative.empty()) return std::nullopt;
    return RuleFailure{std::string(negative), "Amounts cannot be negative."};
}

using W2Rule = Failure (*)(const W2Record&);
// Amounts beyond what a field can hold come first: every later rule compares amounts.
const W2Rule kW2Rules[] = {
    CheckW2AmountLimits,    CheckWagesOrCodeII,     CheckEmployee,     CheckBox12Codes,       CheckBox12Amounts,
    CheckBox14Descriptions, CheckBox14Amounts, CheckTippedOccupation, CheckStateLines,
    CheckLocalLines,        CheckNoNegativeAmounts,
};

}  // namespace

// Called for every code of every record written to an EFW2 file: compared in place.
int FindBox12Code(const W2Record& w2, std::string_view code) {
    const std::string_view wanted = TrimView(code);
    if (wanted.empty()) return 0;
    for (int pair = 1; pair <= 12; ++pair)
        if (EqualsIgnoringAsciiCase(TrimView(w2.Box12Code[pair - 1]), wanted)) return pair;
    return 0;
}

bool HasBox12Code(const W2Record& w2, std::string_view code) { return FindBox12Code(w2, code) != 0; }

double Box12Amount(const W2Record& w2, std::string_view code) {
    const int pair = FindBox12Code(w2, code);
    return pair == 0 ? 0.0 : w2.Box12Amt[pair - 1];
}

bool HasWagesOrCodeII(const W2Record& w2) { return IsPresent(w2.Amount1) || HasBox12Code(w2, "II"); }

int Box12PairOf(std::string_view fieldName) {
    for (std::string_view prefix : {"Box12Code", "Box12Amt"}) {
        if (!fieldName.starts_with(prefix)) continue;
        const std::string_view digits = fieldName.substr(prefix.size());
        int pair = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pair);
        if (error == std::errc() && end == digits.data() + digits.size() && pair >= 1 && pair <= 12 &&
            digits.front() != '0')
            return pair;
    }
    return 0;
}

std::optional<RuleFailure> ValidateW2(const W2Record& w2) {
    for (W2Rule rule : kW2Rules)
        if (Failure failure = rule(w2)) return failure;
    return std::nullopt;
}

std::vector<std::string> W2Warnings(const W2Record& w2) {
    std::vector<std::string> warnings;
    for (const Efw2TextChange& change : Efw2TextChanges(w2)) warnings.push_back(change.Warning());
    return warnings;
}

void ValidateW2Fields(const W2Record& w2) { RaiseIfFailed(ValidateW2(w2)); }

}  // namespace qnvr
