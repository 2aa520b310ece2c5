// Golden pages: one filled page of each print job, written as text (report/page_text.h)
// and compared with the file kept under tests/golden/. A change to a design, a font
// metric or a job shows as a line diff here and in review.
//
// After an intended change, rewrite the files and review their diff:
//   scripts/refresh-golden.sh     (or QNVR_REFRESH_GOLDEN=1 with this test program)
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <functional>
#include <sstream>

#include "forms/form_printing_fixture.h"
#include "report/page_text.h"
#include "support/line_diff.h"

namespace qnvr::forms {
namespace {

using report::ReportJob;

const std::string kGoldenDir = QNVR_GOLDEN_DIR;

bool Refreshing() {
    const char* refresh = std::getenv("QNVR_REFRESH_GOLDEN");
    return refresh && *refresh && std::string(refresh) != "0";
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The payer of every golden page: each box of the forms filled, four employees with the
// ZIP code forms the labels print differently.
W3Record GoldenEmployer() {
    W3Record w3 = qnvr::testing::Employer("ACME TOOLS & DIES");
    w3.Boxa = "CTL-9";
    w3.Boxc = 4;
    w3.Boxd = "0042";
    w3.Boxf_b = "ACME HARDWARE";
    w3.Boxg_d = "12180-4321";
    w3.Boxg_csz = "TROY NY 12180-4321";
    w3.Boxh = "98-7654321";
    w3.Amount1 = 246913.57;
    w3.Amount2 = 24691.35;
    w3.Amount3 = 240000.00;
    w3.Amount4 = 14880.00;
    w3.Amount5 = 246913.57;
    w3.Amount6 = 3580.25;
    w3.Amount7 = 6913.57;
    w3.Amount8 = 100.00;
    w3.Box12a = 2500.00;
    w3.Box13 = "Third-Party Sick Pay Recap";
    w3.Box14 = 321.09;
    w3.Box16 = 246913.57;
    w3.Box17 = 9876.54;
    w3.Box18 = 1000.00;
    w3.Box19 = 10.10;
    w3.Contact = "PAT LEE";
    w3.TelNum = "518-555-0100";
    w3.Email = "pay@acme.example";
    w3.FaxNum = "518-555-0199";
    w3.SignerName = "Pat Lee";
    w3.Title = "Payroll Manager";
    w3.W3Date = "01/15/2027";
    return w3;
}

std::vector<W2Record> GoldenEmployees() {
    std::vector<W2Record> employees;
    const char* const zips[] = {"12180-1234", "12180", "1218", "12207-0001"};
    for (int k = 1; k <= 4; ++k) {
        W2Record w2 = qnvr::testing::Employee(k, 60000.00 + k * 1234.56);
        w2.Boxd = "C-" + std::to_string(k);
        w2.Boxe1 = "Pat";
        w2.Boxe2 = "Q";
        w2.Suffix = k == 2 ? "JR" : "";
        w2.Boxf_d = zips[k - 1];
        w2.Boxf_csz = "Troy NY " + std::string(zips[k - 1]);
        w2.Amount2 = 6000.00 + k;
        w2.Amount7 = 1728.39;
        w2.Amount8 = 25.00;
        w2.Amount10 = 500.00;
        w2.Amount11 = 750.00;
        w2.Box12Code[0] = "D";
        w2.Box12Amt[0] = 2500.00;
        w2.Box12Code[1] = "DD";
        w2.Box12Amt[1] = 8400.12;
        w2.Box12Code[2] = "W";
        w2.Box12Amt[2] = 300.00;
        w2.Box12Code[3] = "AA";
        w2.Box12Amt[3] = 99.99;
        w2.Box13b = true;
        w2.Box14Desc_a = "UNION";
        w2.Box14Amt_a = 12.34;
        w2.Box14bTTOC = "101";
        w2.Box17a = 2469.14;
        w2.Box18a = 1000.00;
        w2.Box19a = 10.10;
        w2.Box20a = "TROY";
        w2.Box15b = "CA";
        w2.StateID_b = "999";
        w2.Box16b = 100.00;
        w2.Box17b = 1.00;
        employees.push_back(w2);
    }
    return employees;
}

class GoldenPagesTest : public FormPrintingTest {
protected:
    void SetUp() override { Open(GoldenEmployees(), GoldenEmployer()); }

    // Runs the job and compares its first page with tests/golden/<name>.txt, or rewrites
    // that file when refreshing.
    void ExpectGoldenPage(const std::string& name, const std::function<void(ReportJob&)>& setup) {
        ReportJob job{report::ReportPorts{}};
        setup(job);
        ASSERT_TRUE(job.Generate());
        const report::PageSnapshot snapshot = job.OpenSnapshot();
        ASSERT_GE(snapshot.PageCount(), 1);
        const std::string actual = report::PageText(snapshot.ReadPage(1));
        const std::string golden = kGoldenDir + name + ".txt";
        if (Refreshing()) {
            std::ofstream(golden, std::ios::binary | std::ios::trunc) << actual;
            std::cout << "rewrote " << golden << "\n";
            return;
        }
        const std::string expected = ReadFile(golden);
        ASSERT_FALSE(expected.empty()) << golden << " is missing; scripts/refresh-golden.sh writes it";
        EXPECT_TRUE(expected == actual) << "page 1 of " << name << " differs from " << golden
                                        << " (- golden, + now); after an intended change run "
                                           "scripts/refresh-golden.sh and review the diff\n"
                                        << qnvr::testing::LineDiff(expected, actual);
    }
};

TEST_F(GoldenPagesTest, EmployeeCopies) {
    ExpectGoldenPage("employee_w2", [&](ReportJob& job) { printing_.SetupEmployeeW2(job, printing_.AllRecords(), true); });
}

TEST_F(GoldenPagesTest, CopyD) {
    ExpectGoldenPage("copy_d", [&](ReportJob& job) {
        printing_.SetupCopyD1(job, printing_.AllRecords(), W2FormType::Employer);
    });
}

TEST_F(GoldenPagesTest, CopyA) {
    ExpectGoldenPage("copy_a", [&](ReportJob& job) { printing_.SetupSsaW2(job); });
}

TEST_F(GoldenPagesTest, FormW3) {
    ExpectGoldenPage("form_w3", [&](ReportJob& job) { printing_.SetupFormW3(job); });
}

TEST_F(GoldenPagesTest, Labels) {
    ExpectGoldenPage("labels", [&](ReportJob& job) { printing_.SetupLabels(job); });
}

}  // namespace
}  // namespace qnvr::forms
