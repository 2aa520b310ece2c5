#include "core/print/form_params.h"

#include <cmath>
#include <cstdio>
#include <functional>

#include "core/text/cp1252.h"
#include "core/text/text.h"
#include "core/text/validation.h"

namespace qnvr {
namespace {

std::string GroupThousands(const std::string& digits) {
    std::string grouped;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string Check(bool flag) { return flag ? "X" : ""; }

// Box 12 and box 14 print a pair only when its amount is not zero cents.
std::pair<std::string, std::string> AmountPair(const std::string& text, double amount, MoneyStyle style) {
    if (RoundTo(amount, 2) == 0) return {};
    return {text, FormMoney(amount, style)};
}

struct W2Rule {
    std::string base;
    bool underscore;  // "_" before the slot number
    std::function<std::string(const W2Record&, const W2FormStyle&)> value;
};

W2Rule Text(const char* base, bool underscore, std::string (*value)(const W2Record&)) {
    return {base, underscore, [value](const W2Record& r, const W2FormStyle&) { return value(r); }};
}

W2Rule Money(const char* base, bool underscore, double W2Record::*amount) {
    return {base, underscore, [amount](const W2Record& r, const W2FormStyle& s) { return FormMoney(r.*amount, s.money); }};
}

// The text and amount columns of a box 12 or box 14 entry ("Box12a1", "Box12a2").
void AddPair(std::vector<W2Rule>& rules, const std::string& entry,
             std::function<std::pair<std::string, std::string>(const W2Record&, MoneyStyle)> pair) {
    rules.push_back({entry + "1", true, [pair](const W2Record& r, const W2FormStyle& s) { return pair(r, s.money).first; }});
    rules.push_back({entry + "2", true, [pair](const W2Record& r, const W2FormStyle& s) { return pair(r, s.money).second; }});
}

std::vector<W2Rule> MakeEmployeeRules() {
    std::vector<W2Rule> rules = {
        {"Boxa", false, [](const W2Record& r, const W2FormStyle& s) { return s.maskSSN ? MaskSSN(r.Boxa) : r.Boxa; }},
        Text("Boxd", false, [](const W2Record& r) { return r.Boxd; }),
        Text("Boxe1", true, [](const W2Record& r) { return FormUpper(r.Boxe1 + " " + r.Boxe2); }),
        Text("Boxe2", true, [](const W2Record& r) { return FormUpper(r.Boxe3); }),
        Text("Boxe3", true, [](const W2Record& r) { return FormUpper(r.Suffix); }),
        Text("Boxf1", true, [](const W2Record& r) { return FormUpper(r.Boxf_a); }),
        Text("Boxf2", true, [](const W2Record& r) { return FormUpper(r.Boxf_csz); }),
        Money("Box1", true, &W2Record::Amount1), Money("Box2", true, &W2Record::Amount2),
        Money("Box3", true, &W2Record::Amount3), Money("Box4", true, &W2Record::Amount4),
        Money("Box5", true, &W2Record::Amount5), Money("Box6", true, &W2Record::Amount6),
        Money("Box7", true, &W2Record::Amount7), Money("Box8", true, &W2Record::Amount8),
        Money("Box10", true, &W2Record::Amount10), Money("Box11", true, &W2Record::Amount11),
    };
    // Box 12 prints its first four entries only, a to d, never shifted up.
    for (int i = 0; i < 4; ++i) {
        AddPair(rules, std::string("Box12") + char('a' + i), [i](const W2Record& r, MoneyStyle money) {
            return AmountPair(r.Box12Code[i], r.Box12Amt[i], money);
        });
    }
    rules.push_back(Text("Box13a", false, [](const W2Record& r) { return Check(r.Box13a); }));
    rules.push_back(Text("Box13b", false, [](const W2Record& r) { return Check(r.Box13b); }));
    rules.push_back(Text("Box13c", false, [](const W2Record& r) { return Check(r.Box13c); }));
    const std::string W2Record::*descriptions[] = {&W2Record::Box14Desc_a, &W2Record::Box14Desc_b, &W2Record::Box14Desc_c};
    double W2Record::*amounts[] = {&W2Record::Box14Amt_a, &W2Record::Box14Amt_b, &W2Record::Box14Amt_c};
    for (int i = 0; i < 3; ++i) {
        AddPair(rules, std::string("Box14") + char('a' + i),
                [description = descriptions[i], amount = amounts[i]](const W2Record& r, MoneyStyle money) {
                    return AmountPair(FormUpper(r.*description), r.*amount, money);
                });
    }
    const std::vector<W2Rule> rest = {
        Text("Box14bTTOC", false, [](const W2Record& r) { return IsBlank(r.Box14bTTOC) ? std::string() : r.Box14bTTOC; }),
        Text("Box14bTTOC2", true, [](const W2Record& r) { return IsBlank(r.Box14bTTOC2) ? std::string() : r.Box14bTTOC2; }),
        Text("Box15a1", true, [](const W2Record& r) { return r.Box15a; }),
        Text("Box15a2", true, [](const W2Record& r) { return r.StateID_a; }),
        Text("Box15b1", true, [](const W2Record& r) { return r.Box15b; }),
        Text("Box15b2", true, [](const W2Record& r) { return r.StateID_b; }),
        Money("Box16a", false, &W2Record::Box16a), Money("Box16b", false, &W2Record::Box16b),
        Money("Box17a", false, &W2Record::Box17a), Money("Box17b", false, &W2Record::Box17b),
        Money("Box18a", false, &W2Record::Box18a), Money("Box18b", false, &W2Record::Box18b),
        Money("Box19a", false, &W2Record::Box19a), Money("Box19b", false, &W2Record::Box19b),
        Text("Box20a", false, [](const W2Record& r) { return FormUpper(r.Box20a); }),
        Text("Box20b", false, [](const W2Record& r) { return FormUpper(r.Box20b); }),
    };
    rules.insert(rules.end(), rest.begin(), rest.end());
    return rules;
}

// The employee parameters of one W-2, in the order the forms read.
const std::vector<W2Rule>& EmployeeRules() {
    static const std::vector<W2Rule> rules = MakeEmployeeRules();
    return rules;
}

}  // namespace

std::string FormMoney(double x, MoneyStyle style) {
    const double cents = RoundTo(x, 2);
    if (cents == 0 || !std::isfinite(cents)) return {};
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.2f", std::fabs(cents));
    std::string text = buffer;
    if (style == MoneyStyle::Grouped) {
        const std::size_t point = text.find('.');
        text = GroupThousands(text.substr(0, point)) + text.substr(point);
    }
    return cents < 0 ? "-" + text : text;
}

std::string FormUpper(const std::string& text) {
    std::string bytes = Utf8ToCp1252(text);
    for (char& c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 'a' && u <= 'z') c = static_cast<char>(u - 32);
        // à..þ but ÷ to À..Þ; š œ ž to Š Œ Ž; ÿ to Ÿ.
        else if (u >= 0xE0 && u <= 0xFE && u != 0xF7) c = static_cast<char>(u - 32);
        else if (u == 0x9A || u == 0x9C || u == 0x9E) c = static_cast<char>(u - 16);
        else if (u == 0xFF) c = static_cast<char>(0x9F);
    }
    return Cp1252ToUtf8(bytes);
}

std::string W2ParamName(std::string_view base, bool underscore, int slot) {
    if (slot == 0) return std::string(base);
    return std::string(base) + (underscore ? "_" : "") + std::to_string(slot);
}

FormParams W2EmployerParams(const W3Record& w3, int slot) {
    // Without a second name line the employer's name moves down to it, so that the
    // name sits directly above the address.
    const bool twoNameLines = !IsBlank(w3.Boxf_b);
    return {
        {W2ParamName("Boxb", false, slot), w3.Boxe},
        {W2ParamName("Boxc1", true, slot), twoNameLines ? FormUpper(w3.Boxf_a) : std::string()},
        {W2ParamName("Boxc2", true, slot), FormUpper(twoNameLines ? w3.Boxf_b : w3.Boxf_a)},
        {W2ParamName("Boxc3", true, slot), FormUpper(w3.Boxg_a)},
        {W2ParamName("Boxc4", true, slot), FormUpper(w3.Boxg_csz)},
    };
}

FormParams W2EmployeeParams(const W2Record& w2, int slot, const W2FormStyle& style) {
    FormParams params;
    params.reserve(EmployeeRules().size());
    for (const W2Rule& rule : EmployeeRules())
        params.emplace_back(W2ParamName(rule.base, rule.underscore, slot), rule.value(w2, style));
    return params;
}

FormParams W2SlotParams(const W2Record& w2, const W3Record& w3, int slot, const W2FormStyle& style) {
    FormParams params = W2EmployerParams(w3, slot);
    FormParams employee = W2EmployeeParams(w2, slot, style);
    params.insert(params.end(), employee.begin(), employee.end());
    return params;
}

FormParams W3FormParams(const W3Record& w3) {
    FormParams params;
    auto set = [&](const char* name, std::string value) { params.emplace_back(name, std::move(value)); };
    auto money = [&](const char* name, double amount) {
        if (std::string text = FormMoney(amount, MoneyStyle::Plain); !text.empty()) set(name, text);
    };
    auto phone = [&](const char* name, const std::string& number) {
        if (IsValidPhone(number)) set(name, number);
    };
    const bool boxb[] = {w3.Boxb1, w3.Boxb2, w3.Boxb3, w3.Boxb4, w3.Boxb5, w3.Boxb6, w3.Boxb7,
                         w3.Boxb8, w3.Boxb9, w3.Boxb10, w3.Boxb11, w3.Boxb12, w3.Boxb13};

    set("Boxa", w3.Boxa);
    for (int n = 1; n <= 13; ++n)
        if (boxb[n - 1]) params.emplace_back("Boxb" + std::to_string(n), "X");
    set("Boxc", std::to_string(w3.Boxc));
    set("Boxd", w3.Boxd);
    set("Boxe", w3.Boxe);
    set("Boxf1", FormUpper(w3.Boxf_a));
    set("Boxf2", FormUpper(w3.Boxf_b));
    set("Boxg1", FormUpper(w3.Boxg_a));
    set("Boxg2", FormUpper(w3.Boxg_csz));
    set("Boxh", IsValidEIN(w3.Boxh) ? w3.Boxh : std::string());
    const double amounts[] = {w3.Amount1, w3.Amount2, w3.Amount3, w3.Amount4, w3.Amount5, w3.Amount6, w3.Amount7, w3.Amount8};
    for (int n = 1; n <= 8; ++n) money(("Box" + std::to_string(n)).c_str(), amounts[n - 1]);
    money("Box10", w3.Amount10);
    money("Box11", w3.Amount11);
    money("Box12a", w3.Box12a);
    set("Box13", FormUpper(w3.Box13));
    money("Box14", w3.Box14);
    set("Box15", w3.Box15);
    set("EmployerStateID", w3.StateID);
    money("Box16", w3.Box16);
    money("Box17", w3.Box17);
    money("Box18", w3.Box18);
    money("Box19", w3.Box19);
    set("ContactPerson", FormUpper(w3.Contact));
    phone("TelephoneNum", w3.TelNum);
    set("EmailAddress", w3.Email);
    phone("FaxNum", w3.FaxNum);
    set("Signature", w3.SignerName);
    set("Title", FormUpper(w3.Title));
    set("Date", w3.W3Date);
    return params;
}

}  // namespace qnvr
