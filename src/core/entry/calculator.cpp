#include "core/entry/calculator.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/text/text.h"

namespace qnvr {
namespace {

constexpr int kSignificantDigits = 15;

bool IsOperatorChar(char32_t c) {
    return c == U'+' || c == U'-' || c == U'*' || c == U'/' || c == U'%' || c == U'=';
}

std::optional<CalculatorCommand> CommandForLetter(char32_t upper) {
    switch (upper) {
        case U'A': return CalculatorCommand::AllClear;
        case U'C': return CalculatorCommand::ClearEntry;
        case U'G': return CalculatorCommand::Get;
        case U'L': return CalculatorCommand::Recall;
        case U'M': return CalculatorCommand::Sum;
        case U'P': return CalculatorCommand::Put;
        case U'R': return CalculatorCommand::Round;
        case U'S': return CalculatorCommand::Store;
        default: return std::nullopt;
    }
}

// Drops trailing zeros after the point, and the point when nothing follows it.
void TrimFraction(std::string& text) {
    if (text.find('.') == std::string::npos) return;
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
}

}  // namespace

std::optional<CalculatorAction> CalculatorActionForKey(char32_t key) {
    if (key >= U'0' && key <= U'9') return CalculatorAction{CalculatorCommand::Digit, static_cast<char>(key)};
    if (key == U'.') return CalculatorAction{CalculatorCommand::Decimal};
    if (IsOperatorChar(key)) return CalculatorAction{CalculatorCommand::Operator, static_cast<char>(key)};
    if (key == kEnterKey) return CalculatorAction{CalculatorCommand::Operator, '='};
    if (key == kBackspaceKey) return CalculatorAction{CalculatorCommand::Backspace};
    if (key == U'_') return CalculatorAction{CalculatorCommand::PlusMinus};
    if (key >= U'a' && key <= U'z') key -= U'a' - U'A';
    if (const auto command = CommandForLetter(key)) return CalculatorAction{*command};
    return std::nullopt;
}

std::string GeneralNumberText(double x) {
    if (!std::isfinite(x) || x == 0) return "0";
    // d.dddddddddddddde+XX: the 15 significant digits and where the point goes.
    char buffer[40];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x), std::chars_format::scientific,
                                       kSignificantDigits - 1);
    const std::string scientific(buffer, written.ptr);
    const std::size_t e = scientific.find('e');
    const std::string digits = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    const int pointAt = std::atoi(scientific.c_str() + e + 1) + 1;  // digits before the point

    std::string text;
    if (pointAt <= 0) text = "0." + std::string(static_cast<std::size_t>(-pointAt), '0') + digits;
    else if (pointAt >= kSignificantDigits) text = digits + std::string(static_cast<std::size_t>(pointAt - kSignificantDigits), '0');
    else text = digits.substr(0, static_cast<std::size_t>(pointAt)) + "." + digits.substr(static_cast<std::size_t>(pointAt));
    TrimFraction(text);
    return (x < 0 ? "-" : "") + text;
}

Calculator::Calculator(int roundingDigits) : roundingDigits_(roundingDigits) {}

void Calculator::Show(std::string fieldText) {
    fieldText_ = std::move(fieldText);
    ResetCalculation();
}

void Calculator::ResetCalculation() {
    oper1_ = oper2_ = stored_ = 0;
    numOper_ = 0;
    lastInput_ = kNone;
    operFlag_ = ' ';
    putKey_ = false;
}

double Calculator::DisplayValue() const { return StrToAmount(display_); }

void Calculator::ShowNumber(double x) { display_ = GeneralNumberText(x); }

std::optional<std::string> Calculator::Do(const CalculatorAction& action) {
    switch (action.command) {
        case CalculatorCommand::Digit: Digit(action.character); break;
        case CalculatorCommand::Decimal: DecimalPoint(); break;
        case CalculatorCommand::Operator: return Operator(action.character);
        case CalculatorCommand::PlusMinus: PlusMinus(); break;
        case CalculatorCommand::ClearEntry: ClearEntry(); break;
        case CalculatorCommand::AllClear: AllClear(); break;
        case CalculatorCommand::Backspace: Backspace(); break;
        // After Rnd, Sto and suM the display holds a finished number, as after Recall:
        // the next digit starts a new one instead of extending it.
        case CalculatorCommand::Round:
            ShowNumber(RoundTo(DisplayValue(), 0));
            lastInput_ = kGetRcl;
            break;
        case CalculatorCommand::Store:
            stored_ = DisplayValue();
            lastInput_ = kGetRcl;
            break;
        case CalculatorCommand::Sum:
            stored_ += DisplayValue();
            lastInput_ = kGetRcl;
            break;
        case CalculatorCommand::Recall:
            ShowNumber(stored_);
            lastInput_ = kGetRcl;
            break;
        case CalculatorCommand::Get:
            display_ = fieldText_;
            lastInput_ = kGetRcl;
            break;
        case CalculatorCommand::Put: putKey_ = true; break;
    }
    return std::nullopt;
}

void Calculator::Digit(char digit) {
    if (lastInput_ != kDigit) display_.clear();
    // A lone zero is replaced rather than followed: typing 5 over "0" reads 5, not 05.
    if (display_ == "0" || display_ == "-0") display_.pop_back();
    if (display_.size() < kCalculatorMaxChars) display_ += digit;
    lastInput_ = kDigit;
}

void Calculator::DecimalPoint() {
    if (lastInput_ != kDigit) display_ = "0.";
    else if (display_.find('.') == std::string::npos && display_.size() < kCalculatorMaxChars) display_ += '.';
    lastInput_ = kDigit;
}

std::optional<std::string> Calculator::Operator(char op) {
    std::optional<std::string> message;
    if (lastInput_ == kDigit || lastInput_ == kGetRcl) ++numOper_;
    if (numOper_ == 1) {
        oper1_ = DisplayValue();
    } else if (numOper_ == 2) {
        oper2_ = DisplayValue();
        if (op == '%') {
            // A percentage of the running result (200 + 10 % is 220) or a plain
            // percentage factor (200 * 10 % is 20); either way the sum is finished.
            if (operFlag_ == '*' || operFlag_ == '/') oper2_ /= 100;
            else if (operFlag_ == '+' || operFlag_ == '-') oper2_ = oper2_ * oper1_ / 100;
            op = '=';
        }
        message = ApplyPending(operFlag_);
        oper1_ = RoundTo(oper1_, roundingDigits_);
        ShowNumber(oper1_);
        numOper_ = 1;
        if (display_.size() > kCalculatorMaxChars) {
            message = "The calculated result will not fit~into the calculator display!";
            ResetCalculation();
        }
    }
    lastInput_ = kOper;
    operFlag_ = op;
    return message;
}

std::optional<std::string> Calculator::ApplyPending(char op) {
    switch (op) {
        case '+': oper1_ += oper2_; break;
        case '-': oper1_ -= oper2_; break;
        case '*': oper1_ *= oper2_; break;
        case '/':
            if (oper2_ == 0) return "You cannot divide by zero";
            oper1_ /= oper2_;
            break;
        case '=': oper1_ = oper2_; break;
        default: break;  // no operator pending: the running result stands
    }
    return std::nullopt;
}

void Calculator::PlusMinus() {
    if (const std::size_t minus = display_.find('-'); minus != std::string::npos) display_.erase(minus, 1);
    else display_.insert(0, "-");
}

void Calculator::ClearEntry() {
    display_ = "0";
    lastInput_ = kClear;
}

void Calculator::AllClear() {
    display_ = "0";
    oper1_ = oper2_ = 0;
    numOper_ = 0;
    lastInput_ = kNone;
    operFlag_ = ' ';
}

void Calculator::Backspace() {
    if (display_.size() > 1) {
        display_.pop_back();
        lastInput_ = kDigit;
        if (display_ != "-") return;
    }
    ClearEntry();
}

}  // namespace qnvr
