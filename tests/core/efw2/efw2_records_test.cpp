#include "core/efw2/efw2_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "core/base/errors.h"
#include "efw2/efw2_fixture.h"

namespace qnvr {
namespace {

// Positions as the EFW2 publication counts them: 1-based, inclusive.
std::string At(const std::string& record, int from, int to) { return record.substr(from - 1, to - from + 1); }
std::string Blanks(int n) { return std::string(n, ' '); }

W2Record SampleEmployee() {
    W2Record w2;
    w2.Boxa = "123-45-6788";
    w2.Boxe1 = "mary";
    w2.Boxe2 = "q";
    w2.Boxe3 = "o'neil";
    w2.Suffix = "jr";
    w2.Boxf_a = "12 main st";
    w2.Boxf_b = "albany";
    w2.Boxf_c = "NY";
    w2.Boxf_d = "12207-1234";
    w2.Amount1 = 1234.5;
    w2.Amount2 = 100;
    w2.Amount11 = 77.25;
    w2.Box12Code[0] = "D";
    w2.Box12Amt[0] = 500;
    w2.Box12Code[1] = "D";  // a second slot with the same code does not count
    w2.Box12Amt[1] = 900;
    w2.Box12Code[2] = "dd";
    w2.Box12Amt[2] = 3000;
    w2.Box12Code[11] = "FF";  // the last slot counts too
    w2.Box12Amt[11] = 12.34;
    w2.Box13b = true;
    return w2;
}

W3Record SampleEmployer() {
    W3Record w3;
    w3.Boxe = "12-3456789";
    w3.Boxd = "0001";
    w3.Boxf_a = "Acme Tools & Dies";
    w3.Boxg_a = "1 Industrial Way";
    w3.Boxg_b = "Troy";
    w3.Boxg_c = "NY";
    w3.Boxg_d = "12180";
    w3.Boxb4 = w3.Boxb2 = true;  // Military comes first in the kind-of-payer order
    w3.Boxb12 = true;
    w3.Contact = "Pat Contactperson With A Long Name";
    w3.TelNum = "518-555-0100";
    w3.Email = "Pat.Lee@Acme.example";
    w3.Amount1 = 1234.5;
    w3.Box14 = 42;
    return w3;
}

SubmitterRecord SampleSubmitter() {
    SubmitterRecord s = testing::ValidSubmitter();
    s.ResubID = "XYZ";
    s.CompanyName = "PAYROLL PARTNERS";
    s.ZipCode = "10001";
    s.ContactEmail = "Lee@Partners.example";
    return s;
}

TEST(MoneyField, WritesWholeCentsZeroFilled) {
    struct Case {
        double amount;
        int width;
        const char* expected;
    };
    const Case cases[] = {
        {1234.5, 11, "00000123450"},
        {1234.5, 15, "000000000123450"},
        {0, 11, "00000000000"},
        {-25.75, 11, "00000000000"},
        {0.004, 11, "00000000000"},
        {0.005, 11, "00000000001"},
        {2.675, 11, "00000000268"},  // stored just below 2.675, filed as the user typed it
        {999999999.99, 11, "99999999999"},
        {999999999999.99, 15, "099999999999999"},
    };
    for (const Case& c : cases) EXPECT_EQ(MoneyField(c.amount, c.width), c.expected) << c.amount;
}

TEST(MoneyField, RefusesAnAmountThatWouldBeCutOrIsNoNumber) {
    // Amounts whose cents do not fit 64 bits used to come out as zeros.
    for (double amount : {1000000000.00, std::nan(""), HUGE_VAL, 9.3e16, 1e17, 1e19, 1e300, DBL_MAX})
        EXPECT_THROW(MoneyField(amount, 11), EProcessException) << amount;
    EXPECT_THROW(MoneyField(1e17, 15), EProcessException);
    EXPECT_EQ(MoneyField(9999999999999.99, 15), "999999999999999");
}

TEST(FormatDollars, ShowsDollarsWithThousandsAndCents) {
    EXPECT_EQ(FormatDollars(12345.6), "$12,345.60");
    EXPECT_EQ(FormatDollars(0), "$0.00");
    EXPECT_EQ(FormatDollars(999.999), "$1,000.00");
    EXPECT_EQ(FormatDollars(1234567.01), "$1,234,567.01");
    EXPECT_EQ(FormatDollars(-5), "-$5.00");
    EXPECT_EQ(FormatDollars(1e17), "$100,000,000,000,000,000.00");
    EXPECT_EQ(FormatDollars(-1e19), "-$10,000,000,000,000,000,000.00");
    EXPECT_EQ(FormatDollars(std::nan("")), "(no number)");
}

TEST(EmployeeRecord, PlacesEveryFieldAndCountsTheFirstBox12SlotOnly) {
    const std::string rw = BuildEmployeeRecord(SampleEmployee());
    ASSERT_EQ(rw.size(), 512u);
    EXPECT_EQ(At(rw, 1, 2), "RW");
    EXPECT_EQ(At(rw, 3, 11), "123456788");
    EXPECT_EQ(At(rw, 12, 26), "MARY" + Blanks(11));
    EXPECT_EQ(At(rw, 27, 41), "q" + Blanks(14));  // the initial keeps its case
    EXPECT_EQ(At(rw, 42, 61), "O'NEIL" + Blanks(14));
    EXPECT_EQ(At(rw, 62, 65), "JR  ");
    EXPECT_EQ(At(rw, 66, 87), Blanks(22));
    EXPECT_EQ(At(rw, 88, 109), "12 MAIN ST" + Blanks(12));
    EXPECT_EQ(At(rw, 110, 131), "ALBANY" + Blanks(16));
    EXPECT_EQ(At(rw, 132, 142), "NY122071234");
    EXPECT_EQ(At(rw, 188, 198), "00000123450");
    EXPECT_EQ(At(rw, 199, 209), "00000010000");
    EXPECT_EQ(At(rw, 265, 275), Blanks(11));
    EXPECT_EQ(At(rw, 287, 297), "00000050000");  // D: the first slot, not 900.00
    EXPECT_EQ(At(rw, 353, 363), "00000007725");  // Box 11 in the section 457 field
    EXPECT_EQ(At(rw, 375, 385), "00000000000");  // not section 457: always zeros
    EXPECT_EQ(At(rw, 463, 473), "00000300000");  // "dd" found as DD
    EXPECT_EQ(At(rw, 474, 484), "00000001234");  // FF in slot 12
    EXPECT_EQ(At(rw, 485, 489), " 0 10");
    EXPECT_EQ(At(rw, 490, 512), Blanks(23));
}

TEST(EmployeeRecord, ZipExtensionOnlyFromTenCharacters) {
    struct Case {
        const char* zip;
        const char* expected;  // positions 134-142
    };
    const Case cases[] = {
        {"12345-6789", "123456789"},
        {"12345", "12345    "},
        {"123456789", "12345    "},
        {"", "         "},
    };
    for (const Case& c : cases) {
        W2Record w2 = SampleEmployee();
        w2.Boxf_d = c.zip;
        EXPECT_EQ(At(BuildEmployeeRecord(w2), 134, 142), c.expected) << c.zip;
    }
}

TEST(EmployeeRecord, DamagedTextKeepsTheRecordWhole) {
    W2Record w2 = SampleEmployee();
    w2.Boxa = "12-34";           // short SSN: padded, not a short line
    w2.Boxe1 = "Zoë\r\nX";       // accented letter folded and upper-cased, line break blanked
    w2.Boxf_c = "";
    const std::string rw = BuildEmployeeRecord(w2);
    ASSERT_EQ(rw.size(), 512u);
    EXPECT_EQ(At(rw, 3, 11), "1234     ");
    EXPECT_EQ(At(rw, 12, 26), "ZOE  X" + Blanks(9));
    EXPECT_EQ(At(rw, 132, 133), "  ");
}

// The file holds ASCII only: letters with diacritics lose them, letter case and widths
// stay; a character with no ASCII form refuses the record, naming the field.
TEST(EmployeeRecord, WritesAsciiOnly) {
    struct Case {
        std::string W2Record::*field;
        const char* value;
        int from, to;
        std::string written;
    };
    const Case cases[] = {
        {&W2Record::Boxe1, "Øystein", 12, 26, "OYSTEIN" + Blanks(8)},
        {&W2Record::Boxe2, "ñ", 27, 41, "n" + Blanks(14)},  // the initial keeps its letter case
        {&W2Record::Boxe3, "Straße-Æbelø", 42, 61, "STRASSE-AEBELO" + Blanks(6)},
        {&W2Record::Boxe3, "ŠŽŸŒœ Ðþ", 42, 61, "SZYOEOE DTH" + Blanks(9)},
        {&W2Record::Boxe3, "ÀÉÎÕÜÇÝÿàéîõüçý", 42, 61, "AEIOUCYYAEIOUCY" + Blanks(5)},
        {&W2Record::Boxf_b, "Zürich-Höngg-Überlandstraße", 110, 131, "ZURICH-HONGG-UBERLANDS"},  // cut at 22
    };
    for (const Case& c : cases) {
        W2Record w2 = SampleEmployee();
        w2.*c.field = c.value;
        const std::string rw = BuildEmployeeRecord(w2);
        EXPECT_EQ(At(rw, c.from, c.to), c.written) << c.value;
        EXPECT_TRUE(std::all_of(rw.begin(), rw.end(), [](char ch) { return ch >= 0x20 && ch <= 0x7E; })) << c.value;
    }
    for (const char* refused : {"Nguyễn", "O’Neil", "Smith×2", "Euro€"}) {
        W2Record w2 = SampleEmployee();
        w2.Boxe3 = refused;
        try {
            BuildEmployeeRecord(w2);
            ADD_FAILURE() << refused << " was written";
        } catch (const EProcessException& e) {
            EXPECT_EQ(std::string(e.what()).rfind("Box e, Employee's last name: the character \"", 0), 0u) << e.what();
        }
    }
    W3Record w3 = SampleEmployer();
    w3.Boxf_a = "Café «Noir»";
    EXPECT_THROW(BuildEmployerRecord(w3), EProcessException);
    SubmitterRecord s = testing::ValidSubmitter();
    s.SubmitCity = "Montréal";
    EXPECT_EQ(BuildSubmitterRecord(s).substr(317, 22), "Montreal" + Blanks(14));
}

TEST(Efw2TextChanges, NameTheFieldsThatAreNotWrittenAsTheyStand) {
    W2Record w2 = SampleEmployee();
    EXPECT_TRUE(Efw2TextChanges(w2).empty());
    w2.Boxe1 = "José";
    w2.Boxf_a = "1 Rue №5";
    const auto changes = Efw2TextChanges(w2);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].Warning(),
              "Box e, Employee's first name \"José\" is written as \"JOSE\" in the EFW2 file, which holds plain ASCII "
              "only.");
    EXPECT_EQ(changes[1].refused, "№");
    W3Record w3 = SampleEmployer();
    w3.Email = "pat@café.example";
    ASSERT_EQ(Efw2TextChanges(w3).size(), 1u);
    EXPECT_EQ(Efw2TextChanges(w3)[0].written, "pat@cafe.example");
}

TEST(EmployerRecord, PlacesEveryField) {
    const std::string re = BuildEmployerRecord(SampleEmployer());
    ASSERT_EQ(re.size(), 512u);
    EXPECT_EQ(At(re, 1, 7), "RE2026 ");
    EXPECT_EQ(At(re, 8, 16), "123456789");
    EXPECT_EQ(At(re, 17, 26), Blanks(9) + "0");
    EXPECT_EQ(At(re, 27, 30), "0001");
    EXPECT_EQ(At(re, 31, 39), Blanks(9));  // no other EIN
    EXPECT_EQ(At(re, 40, 96), "ACME TOOLS & DIES" + Blanks(40));
    EXPECT_EQ(At(re, 97, 118), Blanks(22));
    EXPECT_EQ(At(re, 119, 140), "1 INDUSTRIAL WAY" + Blanks(6));
    EXPECT_EQ(At(re, 141, 162), "TROY" + Blanks(18));
    EXPECT_EQ(At(re, 163, 174), "NY12180    F");
    EXPECT_EQ(At(re, 219, 221), "M 0");
    EXPECT_EQ(At(re, 222, 248), "PAT CONTACTPERSON WITH A LO");  // 30 characters cut to 27
    EXPECT_EQ(At(re, 249, 263), "5185550100" + Blanks(5));
    EXPECT_EQ(At(re, 269, 278), Blanks(10));  // no fax
    EXPECT_EQ(At(re, 279, 318), "Pat.Lee@Acme.example" + Blanks(20));
    EXPECT_EQ(At(re, 319, 512), Blanks(194));
}

TEST(EmployerRecord, KindLettersFollowTheirOrder) {
    struct Case {
        bool W3Record::*box;
        int position;
        char letter;
    };
    const Case cases[] = {
        {&W3Record::Boxb1, 219, 'R'},  {&W3Record::Boxb3, 219, 'A'},  {&W3Record::Boxb5, 219, 'X'},
        {&W3Record::Boxb6, 219, 'H'},  {&W3Record::Boxb7, 219, 'Q'},  {&W3Record::Boxb8, 174, 'N'},
        {&W3Record::Boxb9, 174, 'T'},  {&W3Record::Boxb10, 174, 'S'}, {&W3Record::Boxb11, 174, 'Y'},
    };
    for (const Case& c : cases) {
        W3Record w3;
        w3.*c.box = true;
        EXPECT_EQ(BuildEmployerRecord(w3)[c.position - 1], c.letter) << c.letter;
    }
    const std::string none = BuildEmployerRecord(W3Record{});
    EXPECT_EQ(none[173], ' ');
    EXPECT_EQ(none[218], ' ');
}

TEST(SubmitterRA, PlacesEveryFieldWithoutResubmission) {
    const std::string ra = BuildSubmitterRecord(SampleSubmitter());
    ASSERT_EQ(ra.size(), 512u);
    EXPECT_EQ(At(ra, 1, 19), "RA987654321ABCD1234");
    EXPECT_EQ(At(ra, 20, 37), Blanks(9) + "0" + Blanks(6) + "98");
    EXPECT_EQ(At(ra, 38, 94), "PAYROLL PARTNERS" + Blanks(41));
    EXPECT_EQ(At(ra, 161, 171), "  10001    ");  // no company state chosen
    EXPECT_EQ(At(ra, 217, 273), "PAYROLL PARTNERS" + Blanks(41));
    EXPECT_EQ(At(ra, 296, 317), "5 PARK AVE" + Blanks(12));
    EXPECT_EQ(At(ra, 340, 350), "NY10001    ");
    EXPECT_EQ(At(ra, 396, 422), "LEE" + Blanks(24));
    EXPECT_EQ(At(ra, 423, 437), "2125550199" + Blanks(5));
    EXPECT_EQ(At(ra, 446, 485), "Lee@Partners.example" + Blanks(20));
    EXPECT_EQ(At(ra, 489, 498), Blanks(10));  // no fax
    EXPECT_EQ(At(ra, 499, 512), " A" + Blanks(12));
}

TEST(SubmitterRA, ResubmissionWritesIndicatorAndIdentifier) {
    SubmitterRecord s = SampleSubmitter();
    s.SetResubmitted(true);
    s.ContactFax = "212-555-0198";
    const std::string ra = BuildSubmitterRecord(s);
    EXPECT_EQ(At(ra, 29, 35), "1XYZ   ");
    EXPECT_EQ(At(ra, 489, 498), "2125550198");
}

TEST(TotalRecord, CarriesW3TotalsAndFreshBox11AndBox12Sums) {
    EmployeeSums sums;
    W2Record second = SampleEmployee();
    second.Box12Code = {"C", "d", "Q", "W", "E", "F", "G", "H", "V", "Y", "AA", "BB"};
    second.Box12Amt = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    sums.Add(SampleEmployee());
    sums.Add(second);
    sums.Add(W2Record{});
    const std::string rt = BuildTotalRecord(SampleEmployer(), 3, sums);
    ASSERT_EQ(rt.size(), 512u);
    EXPECT_EQ(At(rt, 1, 9), "RT0000003");
    EXPECT_EQ(At(rt, 10, 24), "000000000123450");
    EXPECT_EQ(At(rt, 115, 129), Blanks(15));
    const struct {
        int from;
        const char* value;
    } fields[] = {
        {145, "000000000050200"},  // D: 500.00 + 2.00, the second 900.00 left out
        {160, "000000000000500"}, {175, "000000000000600"}, {190, "000000000000700"},
        {205, "000000000000800"},
        {235, "000000000015450"},  // Box 11 over all records
        {250, "000000000000400"}, {265, "000000000000000"}, {280, "000000000000300"},
        {295, "000000000300000"},  // DD
        {310, "000000000000100"},  // C
        {325, "000000000004200"},  // W-3 box 14
        {340, "000000000000900"}, {355, "000000000001000"}, {370, "000000000001100"},
        {385, "000000000001200"},
        {400, "000000000001234"},  // FF
    };
    for (const auto& f : fields) EXPECT_EQ(At(rt, f.from, f.from + 14), f.value) << "position " << f.from;
    EXPECT_EQ(At(rt, 415, 512), Blanks(98));
}

TEST(FinalRecord, CarriesTheCount) {
    const std::string rf = BuildFinalRecord(9);
    ASSERT_EQ(rf.size(), 512u);
    EXPECT_EQ(At(rf, 1, 16), "RF     000000009");
    EXPECT_EQ(At(rf, 17, 512), Blanks(496));
}

}  // namespace
}  // namespace qnvr
