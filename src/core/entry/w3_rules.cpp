#include "core/entry/w3_rules.h"

#include <stdexcept>
#include <string>

#include "core/entry/amount_limits.h"
#include "core/text/text.h"
#include "core/text/validation.h"

namespace qnvr {
namespace {

using Failure = std::optional<RuleFailure>;

constexpr int kBoxbCount = 13;

bool IsFilled(std::string_view text) { return !IsBlank(text); }

void CheckBoxbNumber(int number) {
    if (number < 1 || number > kBoxbCount) throw std::out_of_range("box b has no box " + std::to_string(number));
}

// Boxb1..Boxb13 as named in the record layout.
bool& BoxbMember(W3Record& w3, int number) {
    CheckBoxbNumber(number);
    const std::string name = "Boxb" + std::to_string(number);
    for (const auto& field : W3Layout())
        if (field.name == name) return *std::get<bool*>(field.Of(w3));
    throw std::out_of_range("the W-3 record has no field " + name);
}

bool AnyChecked(const W3Record& w3, BoxbGroup group) {
    for (int number = group.first; number <= group.last; ++number)
        if (Boxb(w3, number)) return true;
    return false;
}

Failure CheckKindOfPayer(const W3Record& w3) {
    if (AnyChecked(w3, kKindOfPayer)) return std::nullopt;
    return RuleFailure{"Boxb1", "The Kind of Payer box has not been checked."};
}

Failure CheckKindOfEmployer(const W3Record& w3) {
    if (AnyChecked(w3, kKindOfEmployer)) return std::nullopt;
    return RuleFailure{"Boxb8", "The Kind of Employer box has not been checked."};
}

// The payer's identity, address, state and contact, in rule order.
constexpr const char* kLeftBlank = "Required field has been left blank.";
struct PayerRule {
    const char* field;
    bool (*isValid)(const W3Record&);
    const char* message;
};
const PayerRule kPayerRules[] = {
    {"Boxe", [](const W3Record& w3) { return IsValidEIN(w3.Boxe); }, kLeftBlank},
    {"Boxf_a", [](const W3Record& w3) { return IsFilled(w3.Boxf_a); }, kLeftBlank},
    {"Boxg_a", [](const W3Record& w3) { return IsFilled(w3.Boxg_a); }, kLeftBlank},
    {"Boxg_b", [](const W3Record& w3) { return IsFilled(w3.Boxg_b); }, kLeftBlank},
    {"Boxg_c", [](const W3Record& w3) { return IsFilled(w3.Boxg_c); }, kLeftBlank},
    {"Boxg_d", [](const W3Record& w3) { return IsValidZip(w3.Boxg_d); }, "Employer's Zip Code is invalid."},
    {"Box15", [](const W3Record& w3) { return IsFilled(w3.Box15); }, kLeftBlank},
    {"StateID", [](const W3Record& w3) { return IsFilled(w3.StateID) || IsMoreThanOneState(w3.Box15); },
     kLeftBlank},
    {"Contact", [](const W3Record& w3) { return IsFilled(w3.Contact); },
     "Employer's contact person name is missing."},
};

Failure CheckPayer(const W3Record& w3) {
    for (const PayerRule& rule : kPayerRules)
        if (!rule.isValid(w3)) return RuleFailure{rule.field, rule.message};
    return std::nullopt;
}

// The e-mail address is optional, so it is judged last.
Failure CheckEmail(const W3Record& w3) {
    if (IsBlank(w3.Email) || IsValidEmail(w3.Email)) return std::nullopt;
    return RuleFailure{"Email", "Employer's email address is invalid."};
}

using W3Rule = Failure (*)(const W3Record&);
const W3Rule kW3Rules[] = {CheckW3AmountLimits, CheckKindOfPayer, CheckKindOfEmployer, CheckPayer, CheckEmail};

}  // namespace

BoxbGroup BoxbGroupOf(int number) {
    CheckBoxbNumber(number);
    for (BoxbGroup group : {kKindOfPayer, kKindOfEmployer})
        if (number >= group.first && number <= group.last) return group;
    return {number, number};
}

bool& Boxb(W3Record& w3, int number) { return BoxbMember(w3, number); }
bool Boxb(const W3Record& w3, int number) {
    return BoxbMember(const_cast<W3Record&>(w3), number);  // only read here
}

void CheckBoxb(W3Record& w3, int number) {
    const BoxbGroup group = BoxbGroupOf(number);
    for (int other = group.first; other <= group.last; ++other) Boxb(w3, other) = other == number;
}

bool IsMoreThanOneState(std::string_view box15) { return UpperCase(Trim(box15)) == "X"; }

std::optional<RuleFailure> ValidateW3(const W3Record& w3) {
    for (W3Rule rule : kW3Rules)
        if (Failure failure = rule(w3)) return failure;
    return std::nullopt;
}

void ValidateW3Fields(const W3Record& w3) { RaiseIfFailed(ValidateW3(w3)); }

}  // namespace qnvr
