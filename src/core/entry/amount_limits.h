#pragma once
// The amounts the program can enter: a W-2 box holds at most 9 dollar digits, a W-3
// total at most 12. A record read from a file may hold anything a double can (a huge
// value, an infinity, not a number); the rule sets refuse such a record before it is
// printed, totalled or filed.
#include <optional>
#include <string>
#include <string_view>

#include "core/entry/rule_failure.h"
#include "core/store/records.h"

namespace qnvr {

inline constexpr double kMaxW2Amount = 999999999.99;
inline constexpr double kMaxW3Amount = 999999999999.99;

// The box an amount field stands for, as the forms name it: "Box 1", "Box 12c",
// "Box 14 line 2", "Box 16 line 1" (the W-2's two state lines), "Box 12a".
std::string AmountBoxName(std::string_view fieldName);

// True for a number whose value rounded to cents lies within -limit .. limit.
bool IsAmountInRange(double amount, double limit);

// The first amount of the record (in file order) that is no number or out of range, as
// a failure on its field whose message names the box and the employee (or the W-3).
std::optional<RuleFailure> CheckW2AmountLimits(const W2Record& w2);
std::optional<RuleFailure> CheckW3AmountLimits(const W3Record& w3);

}  // namespace qnvr
