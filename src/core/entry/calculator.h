#pragma once
// The pop-up calculator's logic: a four-function calculator with percent, a one-number
// memory and a display of at most 17 characters, which a money field opens to work out
// an amount. "Get" fetches the field's text; "Put" hands the display back to the field,
// which decides whether it fits. The TCalculator window shows it and feeds it keys.
#include <optional>
#include <string>

#include "core/entry/money_keys.h"  // kEnterKey, kBackspaceKey

namespace qnvr {

// What a button or key asks the calculator to do.
enum class CalculatorCommand {
    Digit,       // character: '0'..'9'
    Decimal,     // "."
    Operator,    // character: '+', '-', '*', '/', '=' or '%'
    PlusMinus,   // "+/-"
    ClearEntry,  // "C"
    AllClear,    // "AC"
    Backspace,
    Round,       // "Rnd": to a whole number
    Store,       // "Sto": memory := display
    Sum,         // "suM": memory += display
    Recall,      // "rcL": display := memory
    Get,         // display := the field's text
    Put,         // the display goes to the field and the calculator closes
};

struct CalculatorAction {
    CalculatorCommand command;
    char character = 0;  // the digit or the operator

    bool operator==(const CalculatorAction&) const = default;
};

// The action a typed key stands for (letters in either case): digits and "." as their
// buttons; + - * / % = as operators, Enter (kEnterKey) as "="; Backspace (kBackspaceKey);
// "_" +/-; A All Clear; C Clear Entry; G Get; L Recall; M Sum; P Put; R Round; S Store.
// Nothing for any other key.
std::optional<CalculatorAction> CalculatorActionForKey(char32_t key);

// x in the calculator's number format: plain decimal notation (never an exponent), up to
// 15 significant digits, no thousands separators, no trailing zeros after the point:
// 220, 0.33, -1234.5, 123456789012346000.
std::string GeneralNumberText(double x);

inline constexpr int kCalculatorMaxChars = 17;  // iMaxChars: the display's width

class Calculator {
public:
    // roundingDigits: the cent digits of the money field entered last; every result is
    // rounded to them.
    explicit Calculator(int roundingDigits = 2);

    // Showing the window: operands, memory, pending operator and Put are reset; the
    // display keeps its text. fieldText is what Get fetches.
    void Show(std::string fieldText);

    // Runs one action; gives back the message to show with the error icon, if any (a
    // division by zero, a result too long for the display). Throws EConvertError when
    // the display (fetched from the field) is no number and the action needs its value.
    std::optional<std::string> Do(const CalculatorAction& action);

    const std::string& Display() const { return display_; }
    double Memory() const { return stored_; }
    // Recall has something to recall: the memory is not 0.
    bool RecallEnabled() const { return stored_ != 0; }
    // The user chose Put: the field takes Display().
    bool PutKey() const { return putKey_; }

private:
    enum LastInput { kNone = 0, kDigit = 1, kDecimal = 2, kClear = 3, kOper = 4, kGetRcl = 5 };

    void Digit(char digit);
    void DecimalPoint();
    std::optional<std::string> Operator(char op);
    // Applies the pending operator to Oper1 and Oper2; the divide-by-zero message, if any.
    std::optional<std::string> ApplyPending(char op);
    void PlusMinus();
    void ClearEntry();
    void AllClear();
    void Backspace();
    void ResetCalculation();
    double DisplayValue() const;
    void ShowNumber(double x);

    int roundingDigits_;
    std::string fieldText_;
    std::string display_ = "0";
    // Whether the display holds a decimal point is read from the display itself.
    double oper1_ = 0;
    double oper2_ = 0;
    double stored_ = 0;
    int numOper_ = 0;
    int lastInput_ = kNone;
    char operFlag_ = ' ';
    bool putKey_ = false;
};

}  // namespace qnvr
