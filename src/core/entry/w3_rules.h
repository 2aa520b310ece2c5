#pragma once
// The W-3 record's rule set (checked before the W-3 window closes or prints) and the
// kind-of-payer and kind-of-employer groups of box b.
#include <optional>
#include <string_view>

#include "core/entry/rule_failure.h"
#include "core/store/records.h"

namespace qnvr {

// Box b's check boxes by number: 1..7 kind of payer, 8..12 kind of employer, 13 the
// third-party sick pay box that stands alone.
struct BoxbGroup {
    int first;
    int last;
};
inline constexpr BoxbGroup kKindOfPayer{1, 7};
inline constexpr BoxbGroup kKindOfEmployer{8, 12};

// The group of box number (1..13); box 13 is a group of its own. Throws
// std::out_of_range for any other number.
BoxbGroup BoxbGroupOf(int number);

// Boxb1..Boxb13 by number (std::out_of_range for any other number).
bool& Boxb(W3Record& w3, int number);
bool Boxb(const W3Record& w3, int number);

// A box of a group was checked or clicked: it is checked and every other box of its
// group is cleared, so each group has at most one box checked.
void CheckBoxb(W3Record& w3, int number);

// Box 15 reads "X": the payer files for more than one state, so there is no single
// state ID (the window empties and disables StateID).
bool IsMoreThanOneState(std::string_view box15);

// The first rule the record fails, in the fixed order of the W-3 rule set; nothing when
// the record is acceptable.
std::optional<RuleFailure> ValidateW3(const W3Record& w3);

// ValidateW3, raising EFieldException for the first failure.
void ValidateW3Fields(const W3Record& w3);

}  // namespace qnvr
