#include "core/entry/w2_amounts.h"

#include <gtest/gtest.h>

namespace qnvr {
namespace {

// Amounts are compared to the cent: the functions round to cents, so anything else is a fault.
#define EXPECT_CENTS(actual, expected) EXPECT_NEAR(actual, expected, 0.0001)

TEST(W2Amounts, TheTaxYearConstantsAgree) {
    // Taken from the one table of the year's figures, in dollars and as exact fractions.
    EXPECT_EQ(kSocialSecurityWageBase, 184500.00);
    EXPECT_EQ(kMaxSocialSecurityTax, 11439.00);
    EXPECT_EQ(kSocialSecurityTaxRate, 0.062);
    EXPECT_EQ(kMedicareTaxRate, 0.0145);
    EXPECT_CENTS(kSocialSecurityWageBase * kSocialSecurityTaxRate, kMaxSocialSecurityTax);
}

TEST(W2Amounts, LeavingBox1WithBox3EmptyFillsSocialSecurityMedicareAndStateWages) {
    struct Case {
        double box1;
        double box3, box4, box5, box6;
    };
    const Case cases[] = {
        {200000.00, 184500.00, 11439.00, 200000.00, 2900.00},
        {1234.56, 1234.56, 76.54, 1234.56, 17.90},  // 76.54272 and 17.90112
        {1234.5, 1234.50, 76.54, 1234.50, 17.90},   // 76.539 and 17.90025
        {184500.00, 184500.00, 11439.00, 184500.00, 2675.25},
        // A cent over the base: the tax still rounds to the maximum, the wages must stop at the base.
        {184500.01, 184500.00, 11439.00, 184500.01, 2675.25},
        {184500.08, 184500.00, 11439.00, 184500.08, 2675.25},
        {0.00, 0.00, 0.00, 0.00, 0.00},
        {0.004, 0.00, 0.00, 0.00, 0.00},  // shown as 0.00, and copied as shown
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box1);
        W2Record w2;
        w2.Amount1 = c.box1;
        EXPECT_TRUE(LeaveBox1(w2));
        EXPECT_CENTS(w2.Amount3, c.box3);
        EXPECT_CENTS(w2.Amount4, c.box4);
        EXPECT_CENTS(w2.Amount5, c.box5);
        EXPECT_CENTS(w2.Amount6, c.box6);
        EXPECT_CENTS(w2.Box16a, c.box5);
    }
}

TEST(W2Amounts, LeavingBox1ChangesNothingOnceBox3HoldsAnAmount) {
    W2Record w2;
    w2.Amount1 = 5000.00;
    w2.Amount3 = 1000.00;
    w2.Amount4 = 1.23;
    w2.Amount5 = 7.00;
    EXPECT_FALSE(LeaveBox1(w2));
    EXPECT_EQ(w2.Amount3, 1000.00);
    EXPECT_EQ(w2.Amount4, 1.23);
    EXPECT_EQ(w2.Amount5, 7.00);
    EXPECT_EQ(w2.Amount6, 0.00);
    EXPECT_EQ(w2.Box16a, 0.00);

    w2.Amount3 = 0.004;  // shows as 0.00: the box is empty to the user
    EXPECT_TRUE(LeaveBox1(w2));
    EXPECT_CENTS(w2.Amount3, 5000.00);
}

TEST(W2Amounts, LeavingBox3TaxesBox3AndTipsWithinTheWageBase) {
    struct Case {
        double box3, box7;
        double box3After, box4, savedTotal;
    };
    const Case cases[] = {
        {1000.00, 200.00, 1000.00, 74.40, 1200.00},
        {1234.5, 0.00, 1234.50, 76.54, 1234.50},
        {190000.00, 0.00, 184500.00, 11439.00, 190000.00},
        // Wages and tips together over the base: wages give way to the tips.
        {184000.00, 1000.00, 183500.00, 11439.00, 185000.00},
        {184500.05, 0.00, 184500.00, 11439.00, 184500.05},  // the tax alone still rounds to the maximum
        {184499.50, 1.00, 184499.00, 11439.00, 184500.50},
        // Tips alone over the base: wages give way down to nothing, never below.
        {1000.00, 190000.00, 0.00, 11439.00, 191000.00},
        {0.01, 184500.00, 0.00, 11439.00, 184500.01},
        {0.00, 0.00, 0.00, 0.00, 0.00},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box3 << " + " << c.box7);
        W2Record w2;
        w2.Amount3 = c.box3;
        w2.Amount7 = c.box7;
        EXPECT_CENTS(LeaveBox3(w2), c.savedTotal);
        EXPECT_CENTS(w2.Amount3, c.box3After);
        EXPECT_CENTS(w2.Amount4, c.box4);
        EXPECT_CENTS(w2.Amount7, c.box7);
    }
}

TEST(W2Amounts, LeavingBox5TaxesMedicareWagesWithoutLimit) {
    const std::pair<double, double> cases[] = {{1234.56, 17.90}, {1000000.00, 14500.00}, {0.00, 0.00}, {0.30, 0.00}};
    for (auto [box5, box6] : cases) {
        W2Record w2;
        w2.Amount5 = box5;
        w2.Amount6 = 99.99;
        LeaveBox5(w2);
        EXPECT_CENTS(w2.Amount6, box6) << box5;
    }
}

TEST(W2Amounts, EditingBox7KeepsTheSocialSecurityTotal) {
    W2Record w2;
    w2.Amount3 = 1000.00;
    w2.Amount4 = 74.40;
    w2.Amount7 = 200.00;
    const double saved = EnterBox7(w2);
    EXPECT_CENTS(saved, 1200.00);
    w2.Amount7 = 300.00;
    LeaveBox7(w2, saved);
    EXPECT_CENTS(w2.Amount3, 900.00);
    EXPECT_CENTS(w2.Amount4, 74.40);  // the total is unchanged, so is its tax
}

TEST(W2Amounts, EditingBox7LeavesAnEmptyBox3Empty) {
    W2Record w2;
    const double saved = EnterBox7(w2);
    w2.Amount7 = 300.00;
    LeaveBox7(w2, saved);
    EXPECT_EQ(w2.Amount3, 0.00);
    EXPECT_EQ(w2.Amount4, 0.00);
}

TEST(W2Amounts, TipsAboveTheOldTotalNeverMakeBox3Negative) {
    struct Case {
        double box7;
        double box4;  // the tax on the tips alone, up to the maximum
    };
    const Case cases[] = {{1500.00, 93.00}, {190000.00, 11439.00}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box7);
        W2Record w2;
        w2.Amount3 = 1000.00;
        w2.Amount4 = 62.00;
        const double saved = EnterBox7(w2);
        w2.Amount7 = c.box7;
        LeaveBox7(w2, saved);
        EXPECT_EQ(w2.Amount3, 0.00);
        EXPECT_CENTS(w2.Amount4, c.box4);
    }
}

}  // namespace
}  // namespace qnvr
