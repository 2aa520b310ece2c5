#include "core/entry/amount_limits.h"

#include <cmath>
#include <cstdlib>
#include <type_traits>

#include "core/entry/money_keys.h"
#include "core/store/w2_fields.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

std::string AmountText(double amount) {
    MoneyFieldSettings settings;
    settings.currency = true;
    return MoneyDisplayText(amount, settings);
}

// The first amount that eachAmount(visit) passes to visit(name, amount) out of range, as
// a failure; whoseOf names the record and is asked only when an amount fails.
template <class EachAmount, class Whose>
std::optional<RuleFailure> FirstAmountBeyond(const EachAmount& eachAmount, double limit, const Whose& whoseOf,
                                             const std::string& form) {
    std::string_view field;
    double amount = 0;
    eachAmount([&](std::string_view name, double value) {
        if (!field.empty() || IsAmountInRange(value, limit)) return;
        field = name;
        amount = value;
    });
    if (field.empty()) return std::nullopt;
    const std::string whose = whoseOf();
    const std::string box = AmountBoxName(field);
    if (!std::isfinite(amount))
        return RuleFailure{std::string(field), box + " of " + whose + " holds no number; the record is damaged."};
    return RuleFailure{std::string(field), box + " of " + whose + " holds " + AmountText(amount) + ", beyond the " +
                                               AmountText(limit) + " a " + form + " box can hold."};
}

}  // namespace

std::string AmountBoxName(std::string_view name) {
    auto lineOf = [](char c) { return std::string(c == 'a' ? "1" : c == 'b' ? "2" : "3"); };
    if (name.starts_with("Amount")) return "Box " + std::string(name.substr(6));
    if (name.starts_with("Box12Amt")) {
        const int pair = std::atoi(std::string(name.substr(8)).c_str());
        return "Box 12" + std::string(1, static_cast<char>('a' + pair - 1));
    }
    if (name.starts_with("Box14Amt_") && name.size() == 10) return "Box 14 line " + lineOf(name[9]);
    // W-2 state and local lines: Box16a .. Box19b.
    if (name.size() == 6 && name.starts_with("Box1") && (name[5] == 'a' || name[5] == 'b') && name[4] >= '6')
        return "Box " + std::string(name.substr(3, 2)) + " line " + lineOf(name[5]);
    if (name.starts_with("Box12")) return "Box " + std::string(name.substr(3));  // the W-3's 12a and 12b
    if (name.starts_with("Box")) return "Box " + std::string(name.substr(3));
    return std::string(name);
}

bool IsAmountInRange(double amount, double limit) {
    // Rounding to cents moves an amount by half a cent at most: one a cent inside the
    // limit stays inside it.
    if (std::fabs(amount) <= limit - 0.01) return true;
    return std::isfinite(amount) && std::fabs(RoundTo(amount, 2)) <= limit;
}

std::optional<RuleFailure> CheckW2AmountLimits(const W2Record& w2) {
    const auto eachAmount = [&w2](const auto& visit) {
        ForEachW2Field(w2, [&](std::string_view name, int, int, const auto& value) {
            if constexpr (std::is_same_v<std::remove_cvref_t<decltype(value)>, double>) visit(name, value);
        });
    };
    return FirstAmountBeyond(
        eachAmount, kMaxW2Amount,
        [&] {
            std::string name = Trim(Trim(w2.Boxe1) + " " + Trim(w2.Boxe3));
            std::string whose = "employee " + (name.empty() ? std::string("(no name)") : name);
            if (!IsBlank(w2.Boxa)) whose += " (" + Trim(w2.Boxa) + ")";
            return whose;
        },
        "Form W-2");
}

std::optional<RuleFailure> CheckW3AmountLimits(const W3Record& w3) {
    const auto eachAmount = [&w3](const auto& visit) {
        auto& source = const_cast<W3Record&>(w3);  // the layout's accessors only read here
        for (const auto& field : W3Layout())
            if (const auto ref = field.Of(source); const auto* amount = std::get_if<double*>(&ref))
                visit(field.name, **amount);
    };
    return FirstAmountBeyond(eachAmount, kMaxW3Amount, [] { return std::string("the W-3 record"); }, "Form W-3");
}

}  // namespace qnvr
