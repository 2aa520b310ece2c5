#pragma once
// The rule set a W-2 record must pass before the user may leave it (navigating, closing
// the window, printing), and the Box 12 code look-ups that the rules, printing and
// electronic filing share.
//
// The record passed in is the window's fields as they stand: state fields hold the code
// of the selected entry, empty when none is selected.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/entry/rule_failure.h"
#include "core/store/records.h"

namespace qnvr {

// 1-based number of the first Box 12 pair whose code is code, compared without regard
// to letter case or surrounding blanks; 0 when no pair holds it.
int FindBox12Code(const W2Record& w2, std::string_view code);

// True when any of the 12 Box 12 pairs holds code (as FindBox12Code).
bool HasBox12Code(const W2Record& w2, std::string_view code);

// The amount of the first Box 12 pair holding code; 0 when none does. A second pair
// with the same code is ignored.
double Box12Amount(const W2Record& w2, std::string_view code);

// Box 1 rounded to cents is above 0.00, or Box 12 holds code "II": the record is a form
// that can be printed and filed.
bool HasWagesOrCodeII(const W2Record& w2);

// The Box 12 pair (1..12) a field of the Box 12 panel belongs to ("Box12Code8",
// "Box12Amt8" -> 8); 0 for every other field. The window scrolls its panel to the pair
// before it focuses the field.
int Box12PairOf(std::string_view fieldName);

// The first rule the record fails, in the fixed order of the W-2 rule set; nothing when
// the record is acceptable.
std::optional<RuleFailure> ValidateW2(const W2Record& w2);

// What is acceptable but will not be filed as it stands: a name or address holding a
// letter with a diacritic, which the EFW2 file gets as its base letter, or a character
// that Process refuses. One sentence each, naming the field; none for a plain record.
std::vector<std::string> W2Warnings(const W2Record& w2);

// ValidateW2, raising EFieldException for the first failure.
void ValidateW2Fields(const W2Record& w2);

}  // namespace qnvr
