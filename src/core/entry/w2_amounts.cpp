#include "core/entry/w2_amounts.h"

#include <algorithm>

#include "core/text/text.h"

namespace qnvr {
namespace {

double Cents(double amount) { return RoundTo(amount, 2); }

// Box 4 from the wages subject to social security: Box 3 plus the tips counted with it.
// Over the wage base, Box 3 gives way so that Box 3 and those tips make the wage base,
// and Box 4 is the maximum tax; the comparison is on the wages, so no amount a cent or
// more above the base slips through with a tax that still rounds to the maximum.
void ApplySocialSecurityTax(W2Record& w2, double tips) {
    const double subject = Cents(w2.Amount3 + tips);
    if (subject > kSocialSecurityWageBase) {
        w2.Amount3 = std::max(0.0, Cents(kSocialSecurityWageBase - tips));
        w2.Amount4 = kMaxSocialSecurityTax;
    } else {
        w2.Amount4 = Cents(subject * kSocialSecurityTaxRate);
    }
}

}  // namespace

// Box 1 fills Box 3 on its own: the tips of Box 7 are not counted here (they are when
// Box 3 or Box 7 is left).
bool LeaveBox1(W2Record& w2) {
    if (Cents(w2.Amount3) != 0) return false;
    const double wages = Cents(w2.Amount1);
    w2.Amount3 = wages;
    ApplySocialSecurityTax(w2, 0.0);
    w2.Amount5 = wages;
    LeaveBox5(w2);
    w2.Box16a = wages;
    return true;
}

double LeaveBox3(W2Record& w2) {
    const double savedSSTotal = EnterBox7(w2);
    ApplySocialSecurityTax(w2, w2.Amount7);
    return savedSSTotal;
}

void LeaveBox5(W2Record& w2) { w2.Amount6 = Cents(w2.Amount5 * kMedicareTaxRate); }

double EnterBox7(const W2Record& w2) { return Cents(w2.Amount3 + w2.Amount7); }

void LeaveBox7(W2Record& w2, double savedSSTotal) {
    if (Cents(w2.Amount3) == 0) return;
    const double box3 = Cents(savedSSTotal - w2.Amount7);
    if (box3 >= 0) {
        w2.Amount3 = box3;  // the total is unchanged, and so is the tax on it
    } else {
        w2.Amount3 = 0;  // the tips alone exceed the old total: the tax follows the tips
        ApplySocialSecurityTax(w2, w2.Amount7);
    }
}

}  // namespace qnvr
