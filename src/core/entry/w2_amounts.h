#pragma once
// The amounts the W-2 window fills in by itself: social security and Medicare wages and
// taxes from Box 1, Box 4 from Box 3 and Box 7, Box 6 from Box 5. Each function is the
// work of one field's enter or exit event; the window copies its fields into the record,
// calls the function and shows the record again. Setting a field here never fires that
// field's own event. Amounts are rounded to cents.
#include "core/efw2/tax_year_limits.h"
#include "core/store/records.h"

namespace qnvr {

// Tax year 2026's figures, in dollars and as fractions.
inline constexpr double kSocialSecurityWageBase = kTaxYear2026.socialSecurityWageBase / 100.0;
inline constexpr double kSocialSecurityTaxRate = kTaxYear2026.socialSecurityRate / 10000.0;
inline constexpr double kMaxSocialSecurityTax = kTaxYear2026.socialSecurityTaxMax / 100.0;  // the wage base times the rate
inline constexpr double kMedicareTaxRate = kTaxYear2026.medicareRate / 10000.0;              // no wage limit

// Leaving Box 1 (Amount1Exit). Only while Box 3 is empty (0.00): Box 3, Box 5 and
// Box 16a take Box 1, Box 4 and Box 6 the taxes on it; social security wages stop at the
// wage base. Returns true when it filled the boxes.
bool LeaveBox1(W2Record& w2);

// Leaving Box 3 (Amount3Exit): Box 4 is the tax on Box 3 + Box 7, with Box 3 lowered so
// that Box 3 + Box 7 stays within the wage base. Returns Box 3 + Box 7 as they stood on
// leaving, the window's new SavedSSTotal.
double LeaveBox3(W2Record& w2);

// Leaving Box 5 (Amount5Exit): Box 6 is the Medicare tax on Box 5.
void LeaveBox5(W2Record& w2);

// Entering Box 7 (Amount7Enter): the window keeps Box 3 + Box 7 as SavedSSTotal.
double EnterBox7(const W2Record& w2);

// Leaving Box 7 (Amount7Exit): when Box 3 holds an amount, Box 3 gives way so that
// Box 3 + Box 7 keeps savedSSTotal (never below 0.00, in which case Box 4 follows).
void LeaveBox7(W2Record& w2, double savedSSTotal);

}  // namespace qnvr
