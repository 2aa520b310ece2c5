#pragma once
// What a rule set reports when a record is not acceptable: the first rule that fails,
// as the control to focus and the message the user reads. The windows move the focus
// and raise; the command-line tool prints the field and the message.
#include <optional>
#include <string>

namespace qnvr {

struct RuleFailure {
    std::string field;    // objectName of the control at fault ("Amount1", "Box12Code8")
    std::string message;  // the text the user reads, line breaks in place

    bool operator==(const RuleFailure&) const = default;
};

// Raises EFieldException(failure.field, failure.message).
[[noreturn]] void RaiseRuleFailure(const RuleFailure& failure);

// Raises the failure when there is one; returns normally otherwise.
void RaiseIfFailed(const std::optional<RuleFailure>& failure);

}  // namespace qnvr
