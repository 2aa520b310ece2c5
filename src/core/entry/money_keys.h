#pragma once
// The money field: what it does with each typed key, how it normalises its text on
// entering and leaving, how it shows an amount, and how it takes a calculator result.
// Pure logic; the TDollarEdit widget applies it.
#include <string>
#include <string_view>
#include <vector>

namespace qnvr {

// The largest amount a money field holds; larger amounts written to it are cut to this.
inline constexpr double kMaxMoneyValue = 999999999999.99;

struct MoneyFieldSettings {
    int dollarDigits = 9;   // 1 to 12
    int centDigits = 2;     // 0 to 6
    bool minusKey = true;   // negative amounts may be typed
    double minValue = 0;    // 0: no lower limit
    double maxValue = 0;    // 0 or less: no upper limit
    bool currency = false;  // "$" before amounts shown with 0 or 2 cent digits
};

// The longest text a user may put into the field: DollarDigits + CentDigits + 2.
int MoneyMaxLength(const MoneyFieldSettings& settings);

// The field as a key finds it. The key replaces the selection when there is one and is
// inserted at the cursor otherwise (positions count characters of the ASCII text).
struct MoneyEditState {
    std::string text;
    int cursor = 0;
    int selectionStart = 0;
    int selectionLength = 0;
    bool firstTime = false;  // no key accepted since the field was entered
};

// Keys that are no printable characters.
inline constexpr char32_t kBackspaceKey = U'\b';
inline constexpr char32_t kEnterKey = U'\r';

struct MoneyKeyResult {
    bool accepted = false;        // the key goes on to the text
    bool emptyText = false;       // the text is emptied (before an accepted key: the first key replaces)
    bool openCalculator = false;  // "C": the key is discarded and the calculator opens
    bool firstTime = false;       // FirstTime after the key
    std::string text;             // the text after the key
    std::string message;          // shown with the error icon when not empty
};

// One typed character. Digit and value limits are judged on the text the key would
// leave, so a key typed in the middle of the text or over a selection cannot get past
// them.
MoneyKeyResult MoneyKey(const MoneyFieldSettings& settings, const MoneyEditState& state, char32_t key);

// What entering and leaving make of the text: only "-", "." and the digits stay; an
// empty result or a lone "-" becomes zero with CentDigits decimals ("0.00").
std::string NormalizeMoneyText(std::string_view text, int centDigits);

// The amount in the display format: thousands separators and CentDigits decimals
// (",0.00"), "$" in front with Currency on and 0 or 2 cent digits; "-" before a
// negative amount ("-$1,234.50").
std::string MoneyDisplayText(double value, const MoneyFieldSettings& settings);

// The amount a field stores when a program writes it: larger amounts become kMaxMoneyValue.
double ClampMoneyValue(double value);

// Whether an edit the user made by other means than typing (pasting, dropping) leaves a
// text the keys could have typed: a number with at most DollarDigits digits before and
// CentDigits after the point, a leading "-" only with MinusKey on, and no longer than
// MoneyMaxLength. Thousands separators and "$" are allowed, so a pasted "$1,234.50" fits.
bool MoneyTextAllowed(const MoneyFieldSettings& settings, std::string_view text);

// The field after the user put the calculator's result into it. The result fits when it
// is a plain decimal number (leading blanks aside) no longer than DollarDigits +
// CentDigits + 1 characters, one more for its own "-", with at most DollarDigits digits
// before the point; a field that refuses negative amounts then turns a negative text
// into zero.
struct CalculatorPaste {
    std::string text;                   // the field's new text (its old text when the result did not fit)
    std::vector<std::string> messages;  // shown in order, with the error icon
};
CalculatorPaste PasteCalculatorResult(const MoneyFieldSettings& settings, std::string_view fieldText,
                                      std::string_view result);

}  // namespace qnvr
