#pragma once
// The finished text that the printed forms show. The report designs only place
// parameters; everything a form prints is formatted here, from the W-2 and W-3 records:
// upper case where the forms print it, amounts to cents with the empty text for zero,
// the SSN masked on request.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/store/records.h"

namespace qnvr {

// One design parameter and its value, in the order the job sets them.
using FormParam = std::pair<std::string, std::string>;
using FormParams = std::vector<FormParam>;

// "0.00" (Copy A, the W-3) or ",0.00" (the employee, employer and state copies).
enum class MoneyStyle { Plain, Grouped };

// x with two decimals, or the empty text when x rounds to zero cents.
std::string FormMoney(double x, MoneyStyle style);

// Upper case as the forms print it: ASCII and the accented letters of Windows-1252.
std::string FormUpper(const std::string& text);

// Where a W-2 prints: slot 0 is a design with one form per page, whose parameter names
// carry no suffix ("Box1"); slot s of a design with several forms per page adds s,
// after an underscore for some names ("Box1_2", "Boxa2").
std::string W2ParamName(std::string_view base, bool underscore, int slot);

struct W2FormStyle {
    MoneyStyle money = MoneyStyle::Grouped;
    bool maskSSN = false;
};

// The employer's boxes b and c of a W-2, from the W-3 record.
FormParams W2EmployerParams(const W3Record& w3, int slot);
// Every employee parameter of a W-2; those that print nothing hold the empty text, so
// that nothing of an earlier employee remains. Box 9 and Box 12 entries e to l are
// never printed.
FormParams W2EmployeeParams(const W2Record& w2, int slot, const W2FormStyle& style);
// Both, employer first: all parameters of one slot.
FormParams W2SlotParams(const W2Record& w2, const W3Record& w3, int slot, const W2FormStyle& style);

// The parameters of Form W-3, in the form's order. A check box, an amount that rounds
// to zero and a telephone or fax number that is not complete are left out (not set).
FormParams W3FormParams(const W3Record& w3);

}  // namespace qnvr
