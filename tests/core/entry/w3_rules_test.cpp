#include "core/entry/w3_rules.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/base/errors.h"
#include "rules_test_cases.h"

namespace qnvr {
namespace {

using testing::ExpectRuleCases;
using testing::Fails;
using testing::kPasses;
using testing::RuleCase;

// A payer that passes every rule.
W3Record CompleteW3() {
    W3Record w3;
    w3.Boxb1 = true;  // 941
    w3.Boxb8 = true;  // none apply
    w3.Boxe = "12-3456789";
    w3.Boxf_a = "Acme Tools";
    w3.Boxg_a = "1 Factory Rd";
    w3.Boxg_b = "Peoria";
    w3.Boxg_c = "IL";
    w3.Boxg_d = "61602";
    w3.Box15 = "IL";
    w3.StateID = "4455";
    w3.Contact = "Pat Lee";
    return w3;
}

void ExpectCases(std::initializer_list<RuleCase<W3Record>> cases) { ExpectRuleCases(CompleteW3, ValidateW3, cases); }
constexpr const char* kLeftBlank = "Required field has been left blank.";

TEST(W3Rules, ACompleteRecordPasses) { EXPECT_FALSE(ValidateW3(CompleteW3())); }

TEST(W3Rules, EachRuleNamesItsFieldAndMessage) {
    ExpectCases({
        {"kind of payer", [](W3Record& w) { w.Boxb1 = false; },
         Fails("Boxb1", "The Kind of Payer box has not been checked.")},
        {"kind of employer", [](W3Record& w) { w.Boxb8 = false; },
         Fails("Boxb8", "The Kind of Employer box has not been checked.")},
        {"EIN untouched", [](W3Record& w) { w.Boxe = "  -       "; }, Fails("Boxe", kLeftBlank)},
        {"EIN prefix never assigned", [](W3Record& w) { w.Boxe = "07-1234567"; }, Fails("Boxe", kLeftBlank)},
        {"name", [](W3Record& w) { w.Boxf_a = " "; }, Fails("Boxf_a", kLeftBlank)},
        {"street", [](W3Record& w) { w.Boxg_a = ""; }, Fails("Boxg_a", kLeftBlank)},
        {"city", [](W3Record& w) { w.Boxg_b = ""; }, Fails("Boxg_b", kLeftBlank)},
        {"state", [](W3Record& w) { w.Boxg_c = ""; }, Fails("Boxg_c", kLeftBlank)},
        {"ZIP", [](W3Record& w) { w.Boxg_d = "6160"; }, Fails("Boxg_d", "Employer's Zip Code is invalid.")},
        {"ZIP+4", [](W3Record& w) { w.Boxg_d = "61602-0001"; }, kPasses},
        {"box 15", [](W3Record& w) { w.Box15 = ""; }, Fails("Box15", kLeftBlank)},
        {"state ID", [](W3Record& w) { w.StateID = ""; }, Fails("StateID", kLeftBlank)},
        {"state ID not needed for several states", [](W3Record& w) { w.Box15 = "X", w.StateID = ""; }, kPasses},
        {"contact", [](W3Record& w) { w.Contact = ""; },
         Fails("Contact", "Employer's contact person name is missing.")},
        {"e-mail", [](W3Record& w) { w.Email = "pat.example.com"; },
         Fails("Email", "Employer's email address is invalid.")},
        {"blank e-mail", [](W3Record& w) { w.Email = "  "; }, kPasses},
        {"good e-mail", [](W3Record& w) { w.Email = "pat@example.com"; }, kPasses},
        {"optional fields empty", [](W3Record& w) { w.Boxa = w.Boxd = w.Boxf_b = w.Boxh = w.TelNum = ""; }, kPasses},
    });
}

TEST(W3Rules, TheFirstFailingRuleWins) {
    ExpectCases({
        {"payer before employer", [](W3Record& w) { w.Boxb1 = w.Boxb8 = false; },
         Fails("Boxb1", "The Kind of Payer box has not been checked.")},
        {"any payer box will do", [](W3Record& w) { w.Boxb1 = false, w.Boxb7 = true; }, kPasses},
        {"any employer box will do", [](W3Record& w) { w.Boxb8 = false, w.Boxb12 = true; }, kPasses},
        {"the sick pay box is no kind of payer", [](W3Record& w) { w.Boxb1 = false, w.Boxb13 = true; },
         Fails("Boxb1", "The Kind of Payer box has not been checked.")},
        {"box b before the EIN", [](W3Record& w) { w.Boxb8 = false, w.Boxe = ""; },
         Fails("Boxb8", "The Kind of Employer box has not been checked.")},
        {"the table in order", [](W3Record& w) { w.Boxg_d = "", w.Box15 = "", w.Contact = ""; },
         Fails("Boxg_d", "Employer's Zip Code is invalid.")},
        {"e-mail only after everything else", [](W3Record& w) { w.Email = "no at sign", w.Contact = ""; },
         Fails("Contact", "Employer's contact person name is missing.")},
    });
}

TEST(W3Rules, RaisingGivesTheFieldAndTheMessage) {
    W3Record w3 = CompleteW3();
    EXPECT_NO_THROW(ValidateW3Fields(w3));
    w3.Box15 = "CA";
    w3.StateID = "";
    try {
        ValidateW3Fields(w3);
        FAIL() << "no exception";
    } catch (const EFieldException& e) {
        EXPECT_EQ(e.FieldName(), "StateID");
        EXPECT_STREQ(e.what(), kLeftBlank);
    }
}

TEST(W3Rules, MoreThanOneStateIsX) {
    const std::pair<const char*, bool> cases[] = {{"X", true}, {"X ", true}, {"x", true},
                                                  {"", false}, {"XX", false}, {"TX", false}};
    for (auto [box15, several] : cases) EXPECT_EQ(IsMoreThanOneState(box15), several) << '"' << box15 << '"';
}

// The checked boxes of Boxb1..Boxb13 as a string of 0s and 1s.
std::string Boxes(const W3Record& w3) {
    std::string marks;
    for (int number = 1; number <= 13; ++number) marks += Boxb(w3, number) ? '1' : '0';
    return marks;
}

TEST(W3Rules, BoxbNumbersReachTheirOwnFields) {
    W3Record w3;
    Boxb(w3, 3) = true;
    Boxb(w3, 10) = true;
    Boxb(w3, 13) = true;
    EXPECT_TRUE(w3.Boxb3 && w3.Boxb10 && w3.Boxb13);
    EXPECT_EQ(Boxes(w3), "0010000001001");
    for (int bad : {0, 14, -1}) {
        EXPECT_THROW(Boxb(w3, bad), std::out_of_range) << bad;
        EXPECT_THROW(BoxbGroupOf(bad), std::out_of_range) << bad;
    }
}

TEST(W3Rules, EachBoxbGroupHoldsOneCheck) {
    W3Record w3;
    CheckBoxb(w3, 1);  // 941
    CheckBoxb(w3, 3);  // 943 unchecks 941
    EXPECT_EQ(Boxes(w3), "0010000000000");
    CheckBoxb(w3, 3);  // clicking the checked box keeps it
    EXPECT_EQ(Boxes(w3), "0010000000000");
    CheckBoxb(w3, 9);  // the employer group is a group of its own
    CheckBoxb(w3, 12);
    EXPECT_EQ(Boxes(w3), "0010000000010");
    CheckBoxb(w3, 13);  // the sick pay box stands alone
    CheckBoxb(w3, 7);
    EXPECT_EQ(Boxes(w3), "0000001000011");

    W3Record damaged;  // a file with two kinds of payer checked comes back to one
    damaged.Boxb2 = damaged.Boxb5 = true;
    CheckBoxb(damaged, 5);
    EXPECT_EQ(Boxes(damaged), "0000100000000");
}

TEST(W3Rules, BoxbGroups) {
    const std::pair<int, std::pair<int, int>> cases[] = {{1, {1, 7}},  {7, {1, 7}},   {8, {8, 12}},
                                                         {12, {8, 12}}, {13, {13, 13}}};
    for (auto [number, range] : cases) {
        const BoxbGroup group = BoxbGroupOf(number);
        EXPECT_EQ(std::make_pair(group.first, group.last), range) << number;
    }
}

}  // namespace
}  // namespace qnvr
