#include "core/entry/money_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qnvr {
namespace {

struct Typed {
    std::string text;
    bool firstTime;
    std::vector<std::string> messages;
    bool calculatorOpened = false;
};

// Types keys one by one at the end of the text, as a user does after entering the field
// (whole text selected, FirstTime set) or after clicking behind the text (firstTime off).
Typed TypeKeys(const MoneyFieldSettings& settings, const std::string& start, const std::u32string& keys,
               bool entered = true) {
    Typed typed{start, entered, {}};
    bool selectAll = entered;
    for (char32_t key : keys) {
        MoneyEditState state{typed.text, static_cast<int>(typed.text.size()), 0,
                             selectAll ? static_cast<int>(typed.text.size()) : 0, typed.firstTime};
        const MoneyKeyResult r = MoneyKey(settings, state, key);
        if (r.emptyText || r.accepted) selectAll = false;
        typed.text = r.text;
        typed.firstTime = r.firstTime;
        typed.calculatorOpened |= r.openCalculator;
        if (!r.message.empty()) typed.messages.push_back(r.message);
    }
    return typed;
}

MoneyFieldSettings NoNegatives() {
    MoneyFieldSettings s;
    s.minusKey = false;
    return s;
}

TEST(MoneyKeys, TypingIsLimitedKeyByKey) {
    const MoneyFieldSettings nineDigits;  // 9 dollar digits, 2 cent digits, negatives allowed
    MoneyFieldSettings sixDigits;
    sixDigits.dollarDigits = 6;
    MoneyFieldSettings wholeDollars;
    wholeDollars.centDigits = 0;
    const struct {
        const char* what;
        MoneyFieldSettings settings;
        std::string start;
        std::u32string keys;
        std::string expected;
    } cases[] = {
        {"first key replaces the old amount", nineDigits, "1234.50", U"7", "7"},
        {"first point replaces too", nineDigits, "1234.50", U".5", ".5"},
        {"tenth dollar digit refused", nineDigits, "", U"1234567890", "123456789"},
        {"point still accepted after nine digits", nineDigits, "", U"123456789.12", "123456789.12"},
        {"third cent digit refused", nineDigits, "", U"12.345", "12.34"},
        {"only Backspace once the cents are full", nineDigits, "", U"12.34.-5\b", "12.3"},
        {"second point refused", nineDigits, "", U"1.2.3", "1.23"},
        {"letters and blanks refused", nineDigits, "", U"1a b$2,", "12"},
        {"minus first, then digits", nineDigits, "", U"-5", "-5"},
        {"minus only into an empty field", nineDigits, "", U"5-", "5"},
        {"minus refused where negatives are", NoNegatives(), "1234.50", U"-", "1234.50"},
        {"minus refused in an empty field too", NoNegatives(), "", U"-5", "5"},
        {"Box 12 amounts take six dollar digits", sixDigits, "", U"12345678", "123456"},
        {"no cents", wholeDollars, "", U"12.5", "12."},
        {"backspace removes the last character", nineDigits, "", U"123\b\b4", "14"},
        {"backspace on entering deletes the selected amount", nineDigits, "1234.50", U"\b", ""},
        {"Enter changes nothing", nineDigits, "12", U"\r", "12"},
    };
    for (const auto& c : cases) EXPECT_EQ(TypeKeys(c.settings, c.start, c.keys).text, c.expected) << c.what;
}

TEST(MoneyKeys, FirstTimeEndsWithTheFirstKeyThatGetsThrough) {
    const MoneyFieldSettings settings;
    EXPECT_TRUE(TypeKeys(settings, "12", U"x").firstTime);  // refused keys keep it
    EXPECT_FALSE(TypeKeys(settings, "12", U"\b").firstTime);
    EXPECT_FALSE(TypeKeys(settings, "12", U"3").firstTime);
    EXPECT_TRUE(TypeKeys(settings, "12", U"\r").firstTime);  // Enter edits nothing
    EXPECT_EQ(TypeKeys(settings, "12", U"34").text, "34");  // only the first key replaces
}

TEST(MoneyKeys, CalculatorKeyOpensTheCalculatorAndIsDiscarded) {
    for (char32_t key : {U'C', U'c'}) {
        const Typed typed = TypeKeys(MoneyFieldSettings{}, "12.50", std::u32string(1, key));
        EXPECT_TRUE(typed.calculatorOpened);
        EXPECT_EQ(typed.text, "12.50");
        EXPECT_TRUE(typed.firstTime);
    }
}

TEST(MoneyKeys, ValueLimitsRefuseTheKeyAndEmptyTheField) {
    MoneyFieldSettings limited;
    limited.maxValue = 1000;
    limited.minValue = -50;
    const struct {
        std::u32string keys;
        std::string text;
        const char* message;
    } cases[] = {
        {U"1000", "1000", nullptr},
        {U"10001", "", "This field does not accept amounts greater than 1,000.00"},
        {U"1000.01", "", "This field does not accept amounts greater than 1,000.00"},
        {U"-50", "-50", nullptr},
        {U"-51", "", "This field does not accept amounts less than -50.00"},
    };
    for (const auto& c : cases) {
        const Typed typed = TypeKeys(limited, "", c.keys);
        EXPECT_EQ(typed.text, c.text);
        if (c.message) ASSERT_EQ(typed.messages, std::vector<std::string>{c.message});
        else EXPECT_TRUE(typed.messages.empty());
    }
}

TEST(MoneyKeys, LimitsHoldForKeysTypedInTheMiddleOrOverASelection) {
    const MoneyFieldSettings settings;
    MoneyFieldSettings limited;
    limited.maxValue = 50;
    const struct {
        const char* what;
        MoneyFieldSettings settings;
        MoneyEditState state;
        char32_t key;
        bool accepted;
        std::string text;
    } cases[] = {
        {"digit before the point of full cents", settings, {"12.34", 1, 0, 0, false}, U'5', true, "152.34"},
        {"point that would leave four cents", settings, {"123456", 2, 0, 0, false}, U'.', false, "123456"},
        {"tenth digit at the front", settings, {"123456789", 0, 0, 0, false}, U'9', false, "123456789"},
        {"digit over a selected digit", settings, {"123456789", 9, 8, 1, false}, U'0', true, "123456780"},
        {"point over the selected point", settings, {"12.34", 3, 2, 1, false}, U'.', true, "12.34"},
        {"maximum judged on the real result", limited, {"1.5", 0, 0, 0, false}, U'9', false, ""},
        {"backspace deletes the selection", settings, {"12.34", 5, 1, 3, false}, U'\b', true, "14"},
    };
    for (const auto& c : cases) {
        const MoneyKeyResult r = MoneyKey(c.settings, c.state, c.key);
        EXPECT_EQ(r.accepted, c.accepted) << c.what;
        EXPECT_EQ(r.text, c.text) << c.what;
    }
}

TEST(MoneyKeys, NormalisingKeepsTheBareNumber) {
    const struct {
        const char* text;
        int cents;
        const char* expected;
    } cases[] = {
        {"1,234.50", 2, "1234.50"}, {"$1,000.00", 2, "1000.00"}, {"", 2, "0.00"},   {"-", 2, "0.00"},
        {"-", 0, "0"},              {"", 3, "0.000"},            {"-5.00", 2, "-5.00"}, {" 7 ", 2, "7"},
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeMoneyText(c.text, c.cents), c.expected) << c.text;
}

TEST(MoneyKeys, DisplayFormat) {
    auto settings = [](int cents, bool currency) {
        MoneyFieldSettings s;
        s.centDigits = cents;
        s.currency = currency;
        return s;
    };
    const struct {
        double value;
        MoneyFieldSettings settings;
        const char* expected;
    } cases[] = {
        {1234.5, settings(2, false), "1,234.50"},
        {7, settings(2, false), "7.00"},
        {0, settings(2, false), "0.00"},
        {-5, settings(2, false), "-5.00"},
        {999999999999.99, settings(2, false), "999,999,999,999.99"},
        {123456, settings(0, false), "123,456"},
        {0.5, settings(0, false), "1"},  // halves away from zero
        {2.675, settings(2, false), "2.68"},
        {1.23456, settings(4, false), "1.2346"},
        {12.5, settings(1, false), "12.5"},
        {1000, settings(2, true), "$1,000.00"},
        {1000, settings(0, true), "$1,000"},
        {-1234.5, settings(2, true), "-$1,234.50"},
        {1000, settings(3, true), "1,000.000"},  // "$" only with 0 or 2 cent digits
        {-0.001, settings(2, false), "0.00"},    // never "-0.00"
    };
    for (const auto& c : cases) EXPECT_EQ(MoneyDisplayText(c.value, c.settings), c.expected) << c.value;
}

TEST(MoneyKeys, ProgramWrittenAmountsAreCutAboveOnly) {
    EXPECT_EQ(ClampMoneyValue(5e12), kMaxMoneyValue);
    EXPECT_EQ(MoneyDisplayText(ClampMoneyValue(5e12), MoneyFieldSettings{}), "999,999,999,999.99");
    EXPECT_EQ(ClampMoneyValue(-5e12), -5e12);
    EXPECT_EQ(ClampMoneyValue(12.34), 12.34);
    EXPECT_EQ(ClampMoneyValue(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(MoneyKeys, PastedTextMustBeWhatTheKeysCouldType) {
    const MoneyFieldSettings settings;
    const struct {
        MoneyFieldSettings settings;
        const char* text;
        bool allowed;
    } cases[] = {
        {settings, "$1,234.50", true},      {settings, "123456789.12", true}, {settings, "", true},
        {settings, "-5", true},             {settings, "1.2.3", false},        {settings, "1234567890", false},
        {settings, "1.234", false},         {settings, "12abc", false},        {settings, "5-", false},
        {NoNegatives(), "-5", false},       {NoNegatives(), "5", true},        {settings, "1e5", false},
    };
    for (const auto& c : cases) EXPECT_EQ(MoneyTextAllowed(c.settings, c.text), c.allowed) << c.text;
}

TEST(MoneyKeys, CalculatorResultsThatDoNotFitLeaveTheField) {
    const std::string noFit = "The calculator display will not~fit into the data entry field!";
    const std::string noNegatives = "This field does not accept negative amounts!";
    const struct {
        MoneyFieldSettings settings;
        const char* field;
        const char* result;
        const char* text;
        std::vector<std::string> messages;
    } cases[] = {
        {MoneyFieldSettings{}, "12.00", "    1234.5", "1234.5", {}},
        {MoneyFieldSettings{}, "12.00", "123456789.12", "123456789.12", {}},
        {MoneyFieldSettings{}, "12.00", "-123456789.12", "-123456789.12", {}},  // its own sign has room
        {MoneyFieldSettings{}, "12.00", "1234567890.1", "12.00", {noFit}},       // ten dollar digits
        {MoneyFieldSettings{}, "12.00", "1234567890123", "12.00", {noFit}},
        {MoneyFieldSettings{}, "12.00", "1e+15", "12.00", {noFit}},
        {NoNegatives(), "12.00", "-20", "0.00", {noNegatives}},
        {NoNegatives(), "12.00", "20", "20", {}},
    };
    for (const auto& c : cases) {
        const CalculatorPaste paste = PasteCalculatorResult(c.settings, c.field, c.result);
        EXPECT_EQ(paste.text, c.text) << c.result;
        EXPECT_EQ(paste.messages, c.messages) << c.result;
    }
}

}  // namespace
}  // namespace qnvr
