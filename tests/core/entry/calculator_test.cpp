#include "core/entry/calculator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/errors.h"

namespace qnvr {
namespace {

// Types keys into the calculator as the keyboard does ("\r" is Enter, "\b" Backspace);
// gives back the messages it showed.
std::vector<std::string> Type(Calculator& calculator, std::string_view keys) {
    std::vector<std::string> messages;
    for (const char key : keys) {
        const auto action = CalculatorActionForKey(static_cast<unsigned char>(key));
        if (!action) continue;
        if (auto message = calculator.Do(*action)) messages.push_back(*message);
    }
    return messages;
}

const std::string kDivideByZero = "You cannot divide by zero";
const std::string kTooLong = "The calculated result will not fit~into the calculator display!";

TEST(Calculator, KeysGiveTheDisplayAndMessages) {
    const struct {
        const char* keys;
        const char* display;
        std::vector<std::string> messages;
    } cases[] = {
        {"", "0", {}},
        {"12+30=", "42", {}},
        {"12+30\r", "42", {}},              // Enter is "="
        {"200+10%", "220", {}},             // percent of the running result
        {"200-10%", "180", {}},
        {"200*10%", "20", {}},              // percent as a factor
        {"50/10%", "500", {}},
        {"1/3=", "0.33", {}},               // rounded to the field's cents
        {"2/3=", "0.67", {}},
        {"7/0=", "7", {kDivideByZero}},     // the running result stands
        {"10-4*3=", "18", {}},              // left to right, as a pocket calculator
        {"5+=", "5", {}},                   // a second operator right away does not count an operand
        {"3*+4=", "7", {}},                 // the last operator chosen is the one applied
        {"0.1+0.2=", "0.3", {}},
        {"5-8=", "-3", {}},
        {"123456789012345678", "12345678901234567", {}},  // the eighteenth digit is ignored
        {"007", "7", {}},                   // a lone zero is replaced
        {"..5", "0.5", {}},                 // a second point is ignored
        {"1.5.5", "1.55", {}},
        {"5_", "-5", {}},                   // "_" is +/-
        {"5__", "5", {}},
        {"1234\b\b", "12", {}},
        {"5\b", "0", {}},
        {"5_\b", "0", {}},                  // a lone "-" left becomes 0
        {"12.5\b", "12.", {}},
        {"12.5R", "13", {}},                // Rnd, halves away from zero
        {"12.4r", "12", {}},
        {"12.4r3", "3", {}},                // a digit after Rnd starts a new number
        {"99c", "0", {}},                   // Clear Entry
        {"9+9c5=", "14", {}},               // Clear Entry keeps the calculation
        {"9+9a5=", "5", {}},                // All Clear drops it
    };
    for (const auto& c : cases) {
        Calculator calculator;
        calculator.Show("");
        EXPECT_EQ(Type(calculator, c.keys), c.messages) << c.keys;
        EXPECT_EQ(calculator.Display(), c.display) << c.keys;
    }
}

TEST(Calculator, ResultsAreRoundedToTheCentsOfTheFieldEnteredLast) {
    const struct {
        int digits;
        const char* display;
    } cases[] = {{0, "0"}, {2, "0.33"}, {4, "0.3333"}};
    for (const auto& c : cases) {
        Calculator calculator(c.digits);
        calculator.Show("");
        Type(calculator, "1/3=");
        EXPECT_EQ(calculator.Display(), c.display) << c.digits;
    }
}

TEST(Calculator, AResultTooLongForTheDisplayStartsAfresh) {
    Calculator calculator;
    calculator.Show("");
    Type(calculator, "5s");
    EXPECT_EQ(Type(calculator, "99999999999*99999999="), std::vector<std::string>{kTooLong});
    EXPECT_EQ(calculator.Display(), "9999999899900000000");  // the long result stays to be read
    EXPECT_EQ(calculator.Memory(), 0);
    EXPECT_FALSE(calculator.RecallEnabled());
    Type(calculator, "2+3=");  // a fresh calculation, nothing pending from before
    EXPECT_EQ(calculator.Display(), "5");
}

TEST(Calculator, MemoryStoresSumsAndRecalls) {
    Calculator calculator;
    calculator.Show("");
    Type(calculator, "0s");
    EXPECT_FALSE(calculator.RecallEnabled());  // Sto of 0 leaves nothing to recall
    Type(calculator, "12.5S7m");
    EXPECT_EQ(calculator.Memory(), 19.5);
    EXPECT_TRUE(calculator.RecallEnabled());
    Type(calculator, "a");  // All Clear keeps the memory
    Type(calculator, "2+l=");
    EXPECT_EQ(calculator.Display(), "21.5");
    Type(calculator, "_M");  // -21.5 added: the memory is back to -2
    EXPECT_EQ(calculator.Memory(), -2);
    Type(calculator, "2m");
    EXPECT_FALSE(calculator.RecallEnabled());
    calculator.Show("");  // showing again forgets the memory, keeps the display
    EXPECT_EQ(calculator.Memory(), 0);
    EXPECT_EQ(calculator.Display(), "2");
}

TEST(Calculator, GetFetchesTheFieldsTextAndPutHandsTheDisplayBack) {
    Calculator calculator;
    calculator.Show("1234.50");
    Type(calculator, "g");
    EXPECT_EQ(calculator.Display(), "1234.50");
    EXPECT_FALSE(calculator.PutKey());
    Type(calculator, "P");
    EXPECT_TRUE(calculator.PutKey());
    EXPECT_EQ(calculator.Display(), "1234.50");  // unchanged, cents and all

    calculator.Show("1234.50");
    EXPECT_FALSE(calculator.PutKey());
    Type(calculator, "G+.5=");  // the fetched amount counts as an operand
    EXPECT_EQ(calculator.Display(), "1235");
    Type(calculator, "G5");  // a digit after Get starts a new number
    EXPECT_EQ(calculator.Display(), "5");
}

TEST(Calculator, AFetchedTextThatIsNoNumberRaisesTheConversionError) {
    Calculator calculator;
    calculator.Show("1.2.3");
    Type(calculator, "g");
    EXPECT_THROW(Type(calculator, "+"), EConvertError);
    EXPECT_THROW(Type(calculator, "s"), EConvertError);
}

TEST(Calculator, KeysStandForTheirButtons) {
    using C = CalculatorCommand;
    const struct {
        char32_t key;
        std::optional<CalculatorAction> action;
    } cases[] = {
        {U'7', CalculatorAction{C::Digit, '7'}},   {U'.', CalculatorAction{C::Decimal}},
        {U'%', CalculatorAction{C::Operator, '%'}}, {kEnterKey, CalculatorAction{C::Operator, '='}},
        {kBackspaceKey, CalculatorAction{C::Backspace}}, {U'_', CalculatorAction{C::PlusMinus}},
        {U'a', CalculatorAction{C::AllClear}},      {U'C', CalculatorAction{C::ClearEntry}},
        {U'g', CalculatorAction{C::Get}},           {U'L', CalculatorAction{C::Recall}},
        {U'm', CalculatorAction{C::Sum}},           {U'P', CalculatorAction{C::Put}},
        {U'r', CalculatorAction{C::Round}},         {U'S', CalculatorAction{C::Store}},
        {U'x', std::nullopt},                       {U'$', std::nullopt},
        {U',', std::nullopt},                       {U'\u00e9', std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(CalculatorActionForKey(c.key), c.action) << static_cast<int>(c.key);
}

TEST(Calculator, NumbersShowAsPlainDecimals) {
    const struct {
        double x;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {220, "220"},
        {0.33, "0.33"},
        {-1234.5, "-1234.5"},
        {0.1 + 0.2, "0.3"},
        {2.675, "2.675"},
        {1e15, "1000000000000000"},
        {123456789012345678.0, "123456789012346000"},  // 15 significant digits
        {1e-7, "0.0000001"},
        {999999999999.99, "999999999999.99"},  // the largest amount a money field holds
        {99999999999999.99, "100000000000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(GeneralNumberText(c.x), c.text) << c.text;
}

}  // namespace
}  // namespace qnvr
