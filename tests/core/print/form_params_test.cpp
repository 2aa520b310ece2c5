// The text the printed forms show: amounts, upper case, the masked SSN, the employer's
// name lines and the parameters left out of Form W-3.
#include <gtest/gtest.h>

#include <map>

#include "core/print/form_pages.h"
#include "core/print/form_params.h"
#include "core/print/mailing_labels.h"

namespace qnvr {
namespace {

std::map<std::string, std::string> AsMap(const FormParams& params) { return {params.begin(), params.end()}; }

TEST(FormMoney, TwoDecimalsWithOrWithoutGroupsAndEmptyForZeroCents) {
    struct Case {
        double amount;
        const char* plain;
        const char* grouped;
    } cases[] = {
        {1234567.5, "1234567.50", "1,234,567.50"},
        {12345.6, "12345.60", "12,345.60"},
        {999.99, "999.99", "999.99"},
        {1000, "1000.00", "1,000.00"},
        {0.004, "", ""},
        {0.005, "0.01", "0.01"},
        {0, "", ""},
        {-12.5, "-12.50", "-12.50"},
        {999999999.99, "999999999.99", "999,999,999.99"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormMoney(c.amount, MoneyStyle::Plain), c.plain) << c.amount;
        EXPECT_EQ(FormMoney(c.amount, MoneyStyle::Grouped), c.grouped) << c.amount;
    }
}

TEST(FormUpper, UpperCasesAccentedLettersToo) {
    EXPECT_EQ(FormUpper("jos\xC3\xA9 m\xC3\xBCller-o'neil 12"), "JOS\xC3\x89 M\xC3\x9CLLER-O'NEIL 12");
}

W2Record Sample() {
    W2Record w2;
    w2.Boxa = "123-45-6788";
    w2.Boxe1 = "Ann";
    w2.Boxe3 = "Lee";
    w2.Amount1 = 1234567.5;
    w2.Amount11 = 500;
    w2.Box12Code = {"D", "E", "W", "DD"};
    w2.Box12Amt = {100, 200, 0.004, 50};
    w2.Box14Desc_b = "union dues";
    w2.Box14Amt_b = 12;
    w2.Box14bTTOC = "   ";
    w2.Box13b = true;
    return w2;
}

TEST(W2Params, SlotNamesFollowTheDesignsAndAmountsTheirStyle) {
    const auto copyA = AsMap(W2EmployeeParams(Sample(), 2, {MoneyStyle::Plain, false}));
    EXPECT_EQ(copyA.at("Boxa2"), "123-45-6788");
    EXPECT_EQ(copyA.at("Boxe1_2"), "ANN ");  // an empty middle initial leaves one space
    EXPECT_EQ(copyA.at("Boxe2_2"), "LEE");
    EXPECT_EQ(copyA.at("Box1_2"), "1234567.50");
    EXPECT_EQ(copyA.at("Box10_2"), "");
    EXPECT_EQ(copyA.at("Box11_2"), "500.00");
    // 12c rounds to no cents: neither its code nor its amount; 12d stays in 12d.
    EXPECT_EQ(copyA.at("Box12c1_2"), "");
    EXPECT_EQ(copyA.at("Box12c2_2"), "");
    EXPECT_EQ(copyA.at("Box12d1_2"), "DD");
    EXPECT_EQ(copyA.at("Box12d2_2"), "50.00");
    EXPECT_EQ(copyA.at("Box13a2"), "");
    EXPECT_EQ(copyA.at("Box13b2"), "X");
    EXPECT_EQ(copyA.at("Box14a1_2"), "");
    EXPECT_EQ(copyA.at("Box14b1_2"), "UNION DUES");
    EXPECT_EQ(copyA.at("Box14b2_2"), "12.00");
    EXPECT_EQ(copyA.at("Box14bTTOC2"), "");
    EXPECT_EQ(copyA.count("Box9_2"), 0u);
    EXPECT_EQ(copyA.count("Box12e1_2"), 0u);

    const auto employee = AsMap(W2EmployeeParams(Sample(), 0, {MoneyStyle::Grouped, true}));
    EXPECT_EQ(employee.at("Boxa"), "***-**-6788");
    EXPECT_EQ(employee.at("Box1"), "1,234,567.50");
    EXPECT_EQ(employee.at("Box16a"), "");
}

TEST(W2Params, MaskingAnInvalidSsnPrintsNothing) {
    W2Record w2 = Sample();
    w2.Boxa = "000-12-3456";
    EXPECT_EQ(AsMap(W2EmployeeParams(w2, 0, {MoneyStyle::Grouped, true})).at("Boxa"), "");
    EXPECT_EQ(AsMap(W2EmployeeParams(w2, 0, {MoneyStyle::Grouped, false})).at("Boxa"), "000-12-3456");
}

TEST(W2Params, WithoutASecondNameLineTheEmployerNameSitsAboveTheAddress) {
    W3Record w3;
    w3.Boxe = "12-3456789";
    w3.Boxf_a = "acme tools";
    w3.Boxg_a = "9 mill rd";
    w3.Boxg_csz = "troy ny 12180";
    auto one = AsMap(W2EmployerParams(w3, 1));
    EXPECT_EQ(one.at("Boxb1"), "12-3456789");
    EXPECT_EQ(one.at("Boxc1_1"), "");
    EXPECT_EQ(one.at("Boxc2_1"), "ACME TOOLS");
    EXPECT_EQ(one.at("Boxc3_1"), "9 MILL RD");
    EXPECT_EQ(one.at("Boxc4_1"), "TROY NY 12180");
    w3.Boxf_b = "payroll dept";
    auto two = AsMap(W2EmployerParams(w3, 0));
    EXPECT_EQ(two.at("Boxc1"), "ACME TOOLS");
    EXPECT_EQ(two.at("Boxc2"), "PAYROLL DEPT");
}

TEST(W3Params, LeavesOutUncheckedBoxesZeroAmountsAndIncompleteNumbers) {
    W3Record w3;
    w3.Boxb1 = w3.Boxb8 = true;
    w3.Boxc = 3;
    w3.Boxh = "00-1234567";  // no valid prefix
    w3.Amount1 = 1234567.5;
    w3.Box12a = 0.004;
    w3.TelNum = "   -   -    ";
    w3.FaxNum = "518-555-0100";
    w3.SignerName = "Pat Lee";
    w3.Title = "payroll manager";
    const auto params = AsMap(W3FormParams(w3));
    EXPECT_EQ(params.at("Boxb1"), "X");
    EXPECT_EQ(params.at("Boxb8"), "X");
    EXPECT_EQ(params.count("Boxb2"), 0u);
    EXPECT_EQ(params.at("Boxc"), "3");
    EXPECT_EQ(params.at("Boxh"), "");
    EXPECT_EQ(params.at("Box1"), "1234567.50");
    EXPECT_EQ(params.count("Box2"), 0u);
    EXPECT_EQ(params.count("Box12a"), 0u);
    EXPECT_EQ(params.count("TelephoneNum"), 0u);
    EXPECT_EQ(params.at("FaxNum"), "518-555-0100");
    EXPECT_EQ(params.at("Signature"), "Pat Lee");
    EXPECT_EQ(params.at("Title"), "PAYROLL MANAGER");
}

TEST(FourUpPages, VoidMarksFallOnEveryEmptySlotOfTheLastPage) {
    EXPECT_TRUE(FourUpVoidMarks(4).empty());
    EXPECT_EQ(FourUpVoidMarks(3), (std::vector<VoidMark>{{4, 6.3, 7.25}}));
    EXPECT_EQ(FourUpVoidMarks(1), (std::vector<VoidMark>{{2, 6.3, 1.83}, {3, 2.2, 7.25}, {4, 6.3, 7.25}}));
}

TEST(MailingLabels, NameAddressAndTheZipPlusFourOfTheBarCode) {
    W2Record w2;
    w2.Boxe1 = "Ann";
    w2.Boxe3 = "Lee";
    w2.Suffix = "JR";
    w2.Boxf_a = "2 Elm St";
    w2.Boxf_csz = "Troy NY 12180-1234";
    MailingLabel label = MailingLabelFor(w2);
    EXPECT_EQ(label.lines[0], "Ann  Lee");  // no initial: two blanks; no suffix
    EXPECT_EQ(label.zip4, "12180-1234");
    EXPECT_DOUBLE_EQ(label.FirstBaseline(), 0.25);
    w2.Boxf_csz = "Troy NY 12180";
    label = MailingLabelFor(w2);
    EXPECT_EQ(label.zip4, "");
    EXPECT_DOUBLE_EQ(label.FirstBaseline(), 0.38);
    EXPECT_EQ(kAvery5160.LeftOf(4), 0.188 + 2.75);
    EXPECT_EQ(kAvery5160.TopOf(4), 1.5);
}

}  // namespace
}  // namespace qnvr
