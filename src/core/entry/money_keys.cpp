#include "core/entry/money_keys.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "core/base/errors.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

constexpr const char* kNumberChars = "-.0123456789";

bool IsDigit(char32_t key) { return key >= U'0' && key <= U'9'; }

bool IsMoneyKey(char32_t key) {
    return IsDigit(key) || key == kBackspaceKey || key == kEnterKey || key == U'-' || key == U'.' || key == U'C' ||
           key == U'c';
}

// Keys that put a character into the text.
bool InsertsCharacter(char32_t key) { return IsDigit(key) || key == U'-' || key == U'.'; }

std::optional<double> TryAmount(std::string_view text) {
    try {
        return StrToAmount(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

// Digits before and after the decimal point.
struct DigitCounts {
    int dollars = 0;
    int cents = 0;
};

DigitCounts CountDigits(std::string_view text) {
    DigitCounts counts;
    bool afterPoint = false;
    for (char c : text) {
        if (c == '.') afterPoint = true;
        if (c >= '0' && c <= '9') ++(afterPoint ? counts.cents : counts.dollars);
    }
    return counts;
}

bool WithinDigitLimits(const MoneyFieldSettings& settings, std::string_view text) {
    const DigitCounts counts = CountDigits(text);
    return counts.dollars <= settings.dollarDigits && counts.cents <= settings.centDigits;
}

// "-" at most once and first, "." at most once, digits: what the keys can type.
bool IsPlainDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    if (text.find_first_not_of(".0123456789") != std::string_view::npos) return false;
    return std::count(text.begin(), text.end(), '.') <= 1;
}

std::string Zero(int centDigits) {
    return centDigits > 0 ? "0." + std::string(static_cast<std::size_t>(centDigits), '0') : "0";
}

std::string WithThousandsSeparators(const std::string& wholeDigits) {
    std::string out;
    const std::size_t n = wholeDigits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += ',';
        out += wholeDigits[i];
    }
    return out;
}

std::string LimitMessage(const char* relation, double limit, const MoneyFieldSettings& settings) {
    return std::string("This field does not accept amounts ") + relation + " " +
           Trim(MoneyDisplayText(limit, settings));
}

// The message of a value limit the text breaks (steps 8 and 9), or empty.
std::string BrokenLimit(const MoneyFieldSettings& settings, std::string_view text) {
    const std::optional<double> value = TryAmount(text);
    if (!value) return {};
    if (settings.maxValue > 0 && *value > settings.maxValue) return LimitMessage("greater than", settings.maxValue, settings);
    if (settings.minValue != 0 && *value < settings.minValue) return LimitMessage("less than", settings.minValue, settings);
    return {};
}

}  // namespace

int MoneyMaxLength(const MoneyFieldSettings& settings) { return settings.dollarDigits + settings.centDigits + 2; }

MoneyKeyResult MoneyKey(const MoneyFieldSettings& settings, const MoneyEditState& state, char32_t key) {
    MoneyKeyResult result;
    result.firstTime = state.firstTime;
    result.text = state.text;
    auto discard = [&]() -> MoneyKeyResult& {
        result.accepted = false;
        return result;
    };

    // Where the key lands: the selection, or the cursor.
    std::string text = state.text;
    std::size_t from = std::min<std::size_t>(static_cast<std::size_t>(std::max(state.cursor, 0)), text.size());
    std::size_t count = 0;
    if (state.selectionLength > 0) {
        from = std::min<std::size_t>(static_cast<std::size_t>(std::max(state.selectionStart, 0)), text.size());
        count = std::min<std::size_t>(static_cast<std::size_t>(state.selectionLength), text.size() - from);
    }

    // 1. The first key of a visit replaces the old amount.
    if (state.firstTime && (IsDigit(key) || key == U'.' || (settings.minusKey && key == U'-'))) {
        result.emptyText = true;
        result.text.clear();
        text.clear();
        from = count = 0;
    }
    // 2. Only digits, the sign, the point, Backspace, Enter and the calculator key.
    if (!IsMoneyKey(key)) return discard();

    std::string rest = text;  // the text without what the key replaces
    rest.erase(from, count);
    // 3. One sign and one point at most.
    if ((key == U'-' || key == U'.') && rest.find(static_cast<char>(key)) != std::string::npos) return discard();
    // 4. The sign only where allowed and only into an empty field.
    if (key == U'-' && (!settings.minusKey || !rest.empty())) return discard();
    // 5. The calculator.
    if (key == U'C' || key == U'c') {
        result.openCalculator = true;
        return discard();
    }

    std::string after = text;
    if (InsertsCharacter(key)) {
        after = rest;
        after.insert(from, 1, static_cast<char>(key));
    } else if (key == kBackspaceKey) {
        if (count > 0) after = rest;
        else if (from > 0) after.erase(from - 1, 1);
    }
    if (InsertsCharacter(key)) {
        // 6 and 7. At most DollarDigits digits before the point and CentDigits after it.
        if (!WithinDigitLimits(settings, after)) return discard();
        // 8 and 9. The value limits: a refused amount empties the field.
        if (std::string message = BrokenLimit(settings, after); !message.empty()) {
            result.message = std::move(message);
            result.emptyText = true;
            result.text.clear();
            return discard();
        }
    }
    // 10. A key that got through and edits the text: the next key no longer replaces the amount.
    result.accepted = true;
    if (key != kEnterKey) result.firstTime = false;
    result.text = after;
    return result;
}

std::string NormalizeMoneyText(std::string_view text, int centDigits) {
    std::string kept = FilterChars(text, kNumberChars);
    if (kept.empty() || kept == "-") return Zero(centDigits);
    return kept;
}

std::string MoneyDisplayText(double value, const MoneyFieldSettings& settings) {
    const int cents = std::clamp(settings.centDigits, 0, 6);
    const double rounded = RoundTo(value, cents);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", cents, std::fabs(rounded));
    const std::string digits = buffer;
    const std::size_t point = digits.find('.');
    std::string shown = WithThousandsSeparators(digits.substr(0, point));
    if (point != std::string::npos) shown += digits.substr(point);
    const bool dollarSign = settings.currency && (cents == 0 || cents == 2);
    return (rounded < 0 ? "-" : "") + std::string(dollarSign ? "$" : "") + shown;
}

double ClampMoneyValue(double value) {
    if (std::isnan(value)) return 0;
    if (value == -INFINITY) return -kMaxMoneyValue;
    return std::min(value, kMaxMoneyValue);
}

bool MoneyTextAllowed(const MoneyFieldSettings& settings, std::string_view text) {
    std::string bare;
    for (char c : Trim(text))
        if (c != ',' && c != '$') bare += c;
    if (!IsPlainDecimal(bare)) return false;
    if (!settings.minusKey && bare.find('-') != std::string::npos) return false;
    return WithinDigitLimits(settings, bare);
}

CalculatorPaste PasteCalculatorResult(const MoneyFieldSettings& settings, std::string_view fieldText,
                                      std::string_view result) {
    CalculatorPaste paste{std::string(fieldText), {}};
    std::string value(result);
    value.erase(0, value.find_first_not_of(' '));
    const bool negative = value.find('-') != std::string::npos;
    const auto longest =
        static_cast<std::size_t>(settings.dollarDigits + settings.centDigits + 1 + (negative ? 1 : 0));
    const bool fits = !value.empty() && IsPlainDecimal(value) && value.size() <= longest &&
                      CountDigits(value).dollars <= settings.dollarDigits;
    if (fits) paste.text = value;
    else paste.messages.push_back("The calculator display will not~fit into the data entry field!");
    if (!settings.minusKey && paste.text.find('-') != std::string::npos) {
        paste.text = Zero(settings.centDigits);
        paste.messages.push_back("This field does not accept negative amounts!");
    }
    return paste;
}

}  // namespace qnvr
