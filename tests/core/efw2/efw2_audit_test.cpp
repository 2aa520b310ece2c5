#include "core/efw2/efw2_audit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/efw2/efw2_files.h"
#include "core/efw2/efw2_records.h"
#include "core/efw2/tax_year_limits.h"
#include "efw2/efw2_fixture.h"

namespace qnvr {
namespace {

using testing::Employee;
using testing::Employer;

// A wage file of two employers as the builders write it.
std::vector<std::string> TwoEmployers() {
    std::vector<std::string> lines = {BuildSubmitterRecord(testing::ValidSubmitter())};
    int total = 0;
    for (const char* name : {"ALPHA", "BRAVO"}) {
        W3Record w3 = Employer(name);
        EmployeeSums sums;
        std::vector<W2Record> employees = {Employee(1, 1000), Employee(2, 2000.55)};
        lines.push_back(BuildEmployerRecord(w3));
        for (const W2Record& w2 : employees) {
            lines.push_back(BuildEmployeeRecord(w2));
            sums.Add(w2);
            w3.Amount1 += w2.Amount1;
            w3.Amount3 += w2.Amount3;
            w3.Amount4 += w2.Amount4;
            w3.Amount5 += w2.Amount5;
            w3.Amount6 += w2.Amount6;
        }
        lines.push_back(BuildTotalRecord(w3, 2, sums));
        total += 2;
    }
    lines.push_back(BuildFinalRecord(total));
    return lines;
}

std::vector<std::string> Messages(const Efw2AuditResult& result) {
    std::vector<std::string> messages;
    for (const AuditFinding& f : result.findings) messages.push_back(std::to_string(f.line) + " " + f.message);
    return messages;
}

TEST(Efw2Audit, FilesOfTheBuildersAreClean) {
    const Efw2AuditResult result = AuditEfw2(JoinLines(TwoEmployers()));
    EXPECT_TRUE(result.findings.empty()) << ::testing::PrintToString(Messages(result));
    EXPECT_EQ(result.records, 10);
    EXPECT_EQ(result.employers, 2);
    EXPECT_EQ(result.employees, 4);
    EXPECT_EQ(AuditSummary(result), "No problems found in 10 records.");
}

// The records of an employer stand in their place: RA, then RE, RW..., RT for each
// employer, RF last.
TEST(Efw2Audit, RecordOrder) {
    std::vector<std::string> file = TwoEmployers();  // RA RE RW RW RT RE RW RW RT RF
    const std::string rf2 = BuildFinalRecord(2);
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a record after RF", {file[0], file[1], file[2], file[3], file[4], rf2, file[5]},
         {"7 The record follows the RF record, which must be the last record of the file."}},
        {"an RW before any RE", {file[0], file[2], file[1], file[3], file[4], BuildFinalRecord(1)},
         {"2 The RW record is outside an employer: it must follow an RE record and come before that employer's RT "
          "record.",
          "5 The RT record counts 2 RW records; its employer has 1.",
          "5 The total $3,000.55 is not the sum of the employer's RW records, $2,000.55: it is 100000 cents more."}},
        {"the first employer's RT missing", {file[0], file[1], file[2], file[3], file[5], file[6], file[7], file[8], file[9]},
         {"5 An RT record is missing: the employer of the RE record at line 2 is not closed by its RT record before "
          "this RE record."}},
        {"no RF", {file[0], file[1], file[2], file[3], file[4]}, {"5 The file does not end with an RF record."}},
        {"no RA", {file[1], file[2], file[3], file[4], rf2}, {"1 The file does not begin with an RA record."}},
        {"two RA", {file[0], file[0], file[1], file[2], file[3], file[4], rf2},
         {"2 The RA record must be the first record of the file, and the only one."}},
        {"an unknown record", {file[0], file[1], file[2], "RX" + std::string(510, ' '), file[3], file[4], rf2},
         {"4 The record identifier \"RX\" is not an EFW2 record type."}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> messages = Messages(AuditEfw2(JoinLines(c.lines)));
        // Only the first findings matter where a misplaced RW also upsets the totals.
        EXPECT_EQ(std::vector<std::string>(messages.begin(), messages.begin() + std::min(messages.size(), c.expected.size())),
                  c.expected)
            << c.what << ::testing::PrintToString(messages);
    }
}

TEST(Efw2Audit, APartOfAMasterFileMayLackItsRaAndRf) {
    std::vector<std::string> file = TwoEmployers();
    const std::vector<std::string> middle(file.begin() + 1, file.end() - 1);
    EXPECT_TRUE(AuditEfw2(JoinLines(middle), {.partial = true}).findings.empty());
    // The RF of a master file's last client counts the employees of every client.
    std::vector<std::string> last(file.begin() + 5, file.end());
    last.back() = BuildFinalRecord(9);
    EXPECT_TRUE(AuditEfw2(JoinLines(last), {.partial = true}).findings.empty());
    EXPECT_EQ(AuditEfw2(JoinLines(middle)).Errors(), 2);
}

TEST(Efw2Audit, FieldKindsAndCodes) {
    struct Case {
        int line;  // in TwoEmployers: 1 RA, 2 RE, 3 RW, 5 RT
        int position;
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {3, 188, "0000010000 ", "Wages, tips and other compensation \"0000010000 \" must hold digits only, "
                                "right-justified and zero-filled."},
        {3, 42, " NUMBER1", "Employee last name \"NUMBER1\" is not left-justified: it begins with a blank."},
        {3, 42, "O'NEIL&SON", "Employee last name \"O'NEIL&SON\" holds \"&\"; a name may hold only letters, digits, "
                              "blanks, hyphens, apostrophes and periods."},
        {3, 12, "        ", "Employee first name is required and is blank."},
        {3, 488, "Y", "Retirement plan indicator \"Y\" must be 0 or 1."},
        {3, 186, "QQ", "Country code \"QQ\" is not a country code."},
        {3, 3, "123450000", "The social security number 123-45-0000 is not valid: its area may not be 000, 666 or 900 "
                            "to 999, its group not 00 and its serial not 0000."},
        {3, 3, "92345 101", "The social security number \"92345 101\" must be nine digits."},
        {2, 174, "Z", "Kind of employer \"Z\" is not one of the codes FSTYN."},
        {2, 219, " ", "Employment code is required and is blank."},
        {2, 31, "009999999", "Other EIN 009999999 begins with 00, a prefix the IRS does not assign to employer "
                             "identification numbers."},
        {2, 163, "  ", "State is required for an address in the United States."},
        {1, 36, "97", "The software code \"97\" must be 98 (in-house) or 99 (off-the-shelf)."},
        {1, 500, "X", "Preparer code \"X\" is not one of the codes ALSPO."},
        {1, 20, "ABCD", "Software vendor code \"ABCD\" must hold digits only, left-justified and blank-filled."},
        {5, 115, "X", "The field must be blank; it holds \"X\"."},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = TwoEmployers();
        std::string& line = lines[static_cast<std::size_t>(c.line - 1)];
        line.replace(static_cast<std::size_t>(c.position - 1), c.text.size(), c.text);
        const std::vector<std::string> expected = {std::to_string(c.line) + " " + c.message};
        EXPECT_EQ(Messages(AuditEfw2(JoinLines(lines))), expected) << c.message;
    }
}

// Railroad (X) and Medicare-qualified government (Q) employers report no social
// security tax in these fields.
TEST(Efw2Audit, EmploymentCodesXAndQSkipTheSocialSecurityRelations) {
    for (const char code : {'X', 'Q', 'R'}) {
        std::vector<std::string> lines = TwoEmployers();
        lines[1][218] = code;
        lines[2].replace(220, 11, "00000000000");  // no social security tax
        lines[4].replace(54, 15, "0000" + lines[3].substr(220, 11));  // the RT keeps the sum
        const Efw2AuditResult result = AuditEfw2(JoinLines(lines));
        EXPECT_EQ(result.Warnings(), code == 'R' ? 1 : 0) << code;
        EXPECT_EQ(result.Errors(), 0) << code << ::testing::PrintToString(Messages(result));
    }
}

TEST(Efw2Audit, SummaryAndFindingText) {
    std::vector<std::string> lines = TwoEmployers();
    lines[2].replace(131, 2, "XX");
    lines.back().replace(7, 9, "000000005");
    const Efw2AuditResult result = AuditEfw2(JoinLines(lines));
    EXPECT_EQ(AuditSummary(result), "2 errors in 10 records.");
    EXPECT_EQ(FindingText(result.findings[0]),
              "Error, line 3 RW, employee EMPLOYEE NUMBER1 (SSN ending 1001), State (positions 132-133): State \"XX\" is "
              "not a state code.");
    EXPECT_EQ(FindingText(result.findings[1]),
              "Error, line 10 RF, Number of RW records (positions 8-16): The RF record counts 5 RW records; the file "
              "holds 4.");
    EXPECT_EQ(AuditSummary(AuditEfw2("")), "1 error in 0 records.");
}

// The figures the relations use agree with each other as published.
TEST(TaxYearLimits, SocialSecurityMaximumIsTheRateOnTheWageBase) {
    EXPECT_EQ(kTaxYear2026.socialSecurityWageBase * kTaxYear2026.socialSecurityRate / 10000,
              kTaxYear2026.socialSecurityTaxMax);
    EXPECT_EQ(kTaxYear2026.socialSecurityTaxMax, 11'439'00);
    EXPECT_EQ(kTaxYear2026.socialSecurityWageBase, 184'500'00);
}

}  // namespace
}  // namespace qnvr
