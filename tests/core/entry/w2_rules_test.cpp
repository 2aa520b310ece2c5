#include "core/entry/w2_rules.h"

#include <gtest/gtest.h>


#include "core/base/errors.h"
#include "rules_test_cases.h"

namespace qnvr {
namespace {

using testing::ExpectFailure;
using testing::ExpectRuleCases;
using testing::Fails;
using testing::kPasses;
using testing::RuleCase;

// An employee who passes every rule: wages, one state line, one local line, a Box 12
// deferral and a Box 14 line.
W2Record CompleteW2() {
    W2Record w2;
    w2.Boxa = "123-45-6788";
    w2.Boxe1 = "Pat";
    w2.Boxe3 = "Lee";
    w2.Boxf_a = "12 Main St";
    w2.Boxf_b = "Springfield";
    w2.Boxf_c = "IL";
    w2.Boxf_d = "62701";
    w2.Amount1 = 1234.5;
    w2.Box12Code[0] = "D";
    w2.Box12Amt[0] = 100.00;
    w2.Box14Desc_a = "UNION";
    w2.Box14Amt_a = 50.00;
    w2.Box15a = "IL";
    w2.StateID_a = "123456";
    w2.Box16a = 1234.5;
    w2.Box17a = 40.00;
    w2.Box18a = 1234.5;
    w2.Box19a = 10.00;
    w2.Box20a = "SPFLD";
    return w2;
}

void ExpectCases(std::initializer_list<RuleCase<W2Record>> cases) { ExpectRuleCases(CompleteW2, ValidateW2, cases); }

TEST(W2Rules, ACompleteRecordPasses) { EXPECT_FALSE(ValidateW2(CompleteW2())); }

TEST(W2Rules, EachRuleNamesItsFieldAndMessage) {
    ExpectCases({
        {"no wages", [](W2Record& w) { w.Amount1 = 0; },
         Fails("Amount1", "Box 1 on Form W-2 must have a value greater than zero\n"
                          "or one of the box 12 codes must be \"II\"")},
        {"SSN untouched", [](W2Record& w) { w.Boxa = "   -  -    "; },
         Fails("Boxa", "Social security number is invalid.")},
        {"SSN never issued", [](W2Record& w) { w.Boxa = "666-12-3456"; },
         Fails("Boxa", "Social security number is invalid.")},
        {"first name", [](W2Record& w) { w.Boxe1 = "  "; }, Fails("Boxe1", "Employee's first name is missing.")},
        {"last name", [](W2Record& w) { w.Boxe3 = ""; }, Fails("Boxe3", "Employee's last name is missing.")},
        {"street", [](W2Record& w) { w.Boxf_a = ""; }, Fails("Boxf_a", "Employee's street address is missing.")},
        {"city", [](W2Record& w) { w.Boxf_b = ""; }, Fails("Boxf_b", "Employee's city name is missing.")},
        {"state", [](W2Record& w) { w.Boxf_c = ""; }, Fails("Boxf_c", "Employee's state name is missing.")},
        {"ZIP", [](W2Record& w) { w.Boxf_d = "6270"; }, Fails("Boxf_d", "Employee's Zip Code is not valid.")},
        {"ZIP+4", [](W2Record& w) { w.Boxf_d = "62701-1234"; }, kPasses},
        {"Box 12 code", [](W2Record& w) { w.Box12Code[0] = ""; },
         Fails("Box12Code1", "Box 12a code is missing.")},
        {"Box 12 amount", [](W2Record& w) { w.Box12Amt[0] = 0; },
         Fails("Box12Amt1", "Box 12a amount is missing.")},
        {"Box 14 description 2", [](W2Record& w) { w.Box14Amt_b = 5; },
         Fails("Box14Desc_b", "Box 14 description 2 is missing.")},
        {"Box 14 amount 3", [](W2Record& w) { w.Box14Desc_c = "CAR"; },
         Fails("Box14Amt_c", "Box 14 amount 3 is missing.")},
        {"missing middle initial and suffix", [](W2Record& w) { w.Boxe2 = w.Suffix = ""; }, kPasses},
    });
}

TEST(W2Rules, BoxOneNeedsWagesUnlessBox12HoldsII) {
    ExpectCases({
        {"II in the last pair", [](W2Record& w) { w.Amount1 = 0, w.Box12Code[11] = "II", w.Box12Amt[11] = 1; },
         kPasses},
        {"ii in lower case", [](W2Record& w) { w.Amount1 = 0, w.Box12Code[4] = "ii", w.Box12Amt[4] = 1; }, kPasses},
        {"wages of 0.004 show as 0.00", [](W2Record& w) { w.Amount1 = 0.004; },
         Fails("Amount1", "Box 1 on Form W-2 must have a value greater than zero\n"
                          "or one of the box 12 codes must be \"II\"")},
        {"negative wages", [](W2Record& w) { w.Amount1 = -5; },
         Fails("Amount1", "Box 1 on Form W-2 must have a value greater than zero\n"
                          "or one of the box 12 codes must be \"II\"")},
        {"wages of 0.005 round to a cent", [](W2Record& w) { w.Amount1 = 0.005; }, kPasses},
    });
}

TEST(W2Rules, TheFirstFailingRuleWins) {
    ExpectCases({
        {"wages before the SSN", [](W2Record& w) { w.Amount1 = 0, w.Boxa = ""; },
         Fails("Amount1", "Box 1 on Form W-2 must have a value greater than zero\n"
                          "or one of the box 12 codes must be \"II\"")},
        {"every Box 12 code before any Box 12 amount",
         [](W2Record& w) { w.Box12Amt[0] = 0, w.Box12Amt[7] = 0.01; },
         Fails("Box12Code8", "Box 12h code is missing.")},
        {"every Box 14 description before any amount",
         [](W2Record& w) { w.Box14Amt_a = 0, w.Box14Amt_c = 1; },
         Fails("Box14Desc_c", "Box 14 description 3 is missing.")},
        {"state line 1 before state line 2", [](W2Record& w) { w.StateID_a = "", w.Box15b = "WI"; },
         Fails("StateID_a", "State 1 data is incomplete.")},
        {"state lines before local lines", [](W2Record& w) { w.Box20a = "", w.Box16a = 0; },
         Fails("StateID_a", "State 1 data is incomplete.")},
    });
}

TEST(W2Rules, Box12PairsAtTheMoneyEdges) {
    ExpectCases({
        {"a cent without a code", [](W2Record& w) { w.Box12Amt[11] = 0.01; },
         Fails("Box12Code12", "Box 12l code is missing.")},
        {"0.004 without a code shows as nothing", [](W2Record& w) { w.Box12Amt[5] = 0.004; }, kPasses},
        {"a code with 0.004", [](W2Record& w) { w.Box12Code[5] = "DD", w.Box12Amt[5] = 0.004; },
         Fails("Box12Amt6", "Box 12f amount is missing.")},
        {"a code with 1234.5", [](W2Record& w) { w.Box12Code[5] = "DD", w.Box12Amt[5] = 1234.5; }, kPasses},
        {"a blank code", [](W2Record& w) { w.Box12Code[2] = " ", w.Box12Amt[2] = 3; },
         Fails("Box12Code3", "Box 12c code is missing.")},
    });
}

TEST(W2Rules, TipCodesNeedTheFirstOccupationCode) {
    const char* kMessage = "Box 14b requires an entry when the employee has tip income";
    ExpectCases({
        {"TP", [](W2Record& w) { w.Box12Code[3] = "TP", w.Box12Amt[3] = 9; }, Fails("Box14bTTOC", kMessage)},
        {"ts only in the second code field",
         [](W2Record& w) { w.Box12Code[9] = "ts", w.Box12Amt[9] = 9, w.Box14bTTOC2 = "101"; },
         Fails("Box14bTTOC", kMessage)},
        {"TP with a code", [](W2Record& w) { w.Box12Code[3] = "TP", w.Box12Amt[3] = 9, w.Box14bTTOC = "101"; },
         kPasses},
        {"T alone is no tip code", [](W2Record& w) { w.Box12Code[3] = "T", w.Box12Amt[3] = 9; }, kPasses},
    });
}

TEST(W2Rules, StateLinesAreAllOrNothing) {
    struct Line {
        const char* state;
        const char* id;
        double wages, tax;
        const char* focus;  // nullptr: complete
    };
    const Line lines[] = {
        {"", "", 0, 0, nullptr},
        {"CA", "99", 1, 0, nullptr},
        {"CA", "99", 1, 500, nullptr},  // complete whatever the tax
        {"", "", 0, 0.01, "Box15b"},    // tax alone
        {"CA", "", 0, 0, "StateID_b"},
        {"", "99", 0, 0, "Box15b"},
        {"", "", 1234.5, 0, "Box15b"},
        {"CA", "99", 0, 0, "StateID_b"},
        {"CA", "99", 0.004, 0, "StateID_b"},  // wages that show as 0.00 are none
        {"CA", "99", -1, 0, "StateID_b"},
    };
    for (const Line& line : lines) {
        SCOPED_TRACE(::testing::Message() << line.state << "|" << line.id << "|" << line.wages << "|" << line.tax);
        W2Record w2 = CompleteW2();
        w2.Box15b = line.state;
        w2.StateID_b = line.id;
        w2.Box16b = line.wages;
        w2.Box17b = line.tax;
        ExpectFailure(ValidateW2(w2), line.focus ? Fails(line.focus, "State 2 data is incomplete.") : kPasses, "");
    }
}

TEST(W2Rules, LocalLinesAreAllOrNothing) {
    struct Line {
        double wages;
        const char* name;
        double tax;
        const char* focus;
    };
    const Line lines[] = {
        {0, "", 0, nullptr},
        {1234.5, "CITY", 0, nullptr},
        {1234.5, "CITY", 99, nullptr},
        {0, "", 0.01, "Box18b"},  // tax alone
        {1234.5, "", 0, "Box20b"},
        {0, "CITY", 0, "Box18b"},
        {0.004, "CITY", 0, "Box18b"},
    };
    for (const Line& line : lines) {
        SCOPED_TRACE(::testing::Message() << line.wages << "|" << line.name << "|" << line.tax);
        W2Record w2 = CompleteW2();
        w2.Box18b = line.wages;
        w2.Box20b = line.name;
        w2.Box19b = line.tax;
        ExpectFailure(ValidateW2(w2), line.focus ? Fails(line.focus, "Local data 2 is incomplete.") : kPasses, "");
    }
}

TEST(W2Rules, ANegativeAmountFromOutsideTheWindowIsRefused) {
    const char* kMessage = "Amounts cannot be negative.";
    ExpectCases({
        {"Box 2", [](W2Record& w) { w.Amount2 = -0.01; }, Fails("Amount2", kMessage)},
        {"Box 12 without a code", [](W2Record& w) { w.Box12Amt[6] = -5; }, Fails("Box12Amt7", kMessage)},
        {"Box 12 with a code", [](W2Record& w) { w.Box12Amt[0] = -5; }, Fails("Box12Amt1", kMessage)},
        {"Box 19 line b", [](W2Record& w) { w.Box19b = -1; }, Fails("Box19b", kMessage)},
        {"less than half a cent", [](W2Record& w) { w.Amount11 = -0.004; }, kPasses},
        {"the reserved box 9 has no field", [](W2Record& w) { w.Amount9 = -1; }, kPasses},
    });
}

TEST(W2Rules, RaisingGivesTheFieldAndTheMessage) {
    W2Record w2 = CompleteW2();
    EXPECT_NO_THROW(ValidateW2Fields(w2));
    w2.Boxf_b = "";
    try {
        ValidateW2Fields(w2);
        FAIL() << "no exception";
    } catch (const EFieldException& e) {
        EXPECT_EQ(e.FieldName(), "Boxf_b");
        EXPECT_STREQ(e.what(), "Employee's city name is missing.");
    }
}

TEST(W2Rules, Box12CodesAreFoundWithoutRegardToCaseAndOnlyInTheirFirstPair) {
    W2Record w2;
    w2.Box12Code = {"", "dd", "D", "DD", "", "", "", "", "", "", "", " W"};
    w2.Box12Amt = {0, 10, 20, 30, 0, 0, 0, 0, 0, 0, 0, 40};
    struct Case {
        const char* code;
        int pair;
        double amount;
    };
    const Case cases[] = {
        {"DD", 2, 10}, {"dd", 2, 10}, {"d", 3, 20}, {"W", 12, 40}, {"w ", 12, 40},
        {"DDD", 0, 0}, {"II", 0, 0},  {"", 0, 0},   // an empty code matches no empty pair
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindBox12Code(w2, c.code), c.pair) << '"' << c.code << '"';
        EXPECT_EQ(HasBox12Code(w2, c.code), c.pair != 0) << '"' << c.code << '"';
        EXPECT_EQ(Box12Amount(w2, c.code), c.amount) << '"' << c.code << '"';
    }
}

TEST(W2Rules, PrintableFormsHaveWagesOrCodeII) {
    W2Record w2;
    EXPECT_FALSE(HasWagesOrCodeII(w2));
    w2.Amount1 = 0.004;
    EXPECT_FALSE(HasWagesOrCodeII(w2));
    w2.Amount1 = 0.01;
    EXPECT_TRUE(HasWagesOrCodeII(w2));
    w2.Amount1 = 0;
    w2.Box12Code[7] = "Ii";
    EXPECT_TRUE(HasWagesOrCodeII(w2));
}

TEST(W2Rules, Box12FieldsTellTheirPair) {
    const std::pair<const char*, int> cases[] = {
        {"Box12Code1", 1}, {"Box12Amt6", 6}, {"Box12Code7", 7}, {"Box12Amt12", 12}, {"Box12Code13", 0},
        {"Box12Amt0", 0},  {"Box12Amt", 0},  {"Box12Code01", 0}, {"Box12Amt1x", 0}, {"Amount1", 0},
        {"Box14Amt_a", 0},
    };
    for (auto [field, pair] : cases) EXPECT_EQ(Box12PairOf(field), pair) << field;
}

}  // namespace
}  // namespace qnvr
