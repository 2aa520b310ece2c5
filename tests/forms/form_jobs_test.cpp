// The print jobs on real payer files: how employees share pages and slots, what each
// box prints, the void marks, the copy captions, the mailing labels, and the payer
// file's current record afterwards.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/print/form_params.h"
#include "forms/form_printing_fixture.h"
#include "forms/printed_pages.h"
#include "report/design.h"
#include "report/report_project.h"

namespace qnvr::forms {
namespace {

using qnvr::testing::Employee;
using qnvr::testing::Employer;
using qnvr::testing::Param;
using qnvr::testing::PrintedPage;
using qnvr::testing::ReadPrinted;
using report::ReportJob;

const report::DesignFile& Designs() {
    static const report::DesignFile designs = report::DesignFile::Load(kDesignFile);
    return designs;
}

// An employee whose last name and SSN serial tell it apart.
W2Record Named(const std::string& last, int serial, double wages = 1000) {
    W2Record w2 = Employee(serial, wages);
    w2.Boxe1 = "Pat";
    w2.Boxe3 = last;
    w2.Boxa = "123-45-" + std::to_string(1000 + serial);
    w2.Boxf_csz = "Troy NY 12180";
    return w2;
}

std::vector<W2Record> Numbered(int count) {
    std::vector<W2Record> employees;
    for (int k = 1; k <= count; ++k) employees.push_back(Named("Worker" + std::to_string(100 + k), k));
    return employees;
}

class FormJobsTest : public FormPrintingTest {
protected:

    // Runs the job set up by setup and reads back its pages as printed through design.
    std::vector<PrintedPage> Run(const std::function<void(ReportJob&)>& setup, const char* design) {
        ReportJob job{report::ReportPorts{}};
        setup(job);
        EXPECT_TRUE(job.Generate());
        return ReadPrinted(job.OpenSnapshot(), design ? Designs().Find(design) : nullptr);
    }
};

TEST_F(FormJobsTest, EveryParameterAJobSetsIsOneItsDesignPrints) {
    struct Case {
        const char* design;
        FormParams params;
    } cases[] = {
        {"FormW2", W2SlotParams({}, {}, 0, {})},
        {"FormW2_CopyD1", W2SlotParams({}, {}, 4, {})},
        {"FormW2_SSA", W2SlotParams({}, {}, 2, {})},
        {"FormW3", [] {
             W3Record all;
             all.Boxb1 = all.Boxb2 = all.Boxb3 = all.Boxb4 = all.Boxb5 = all.Boxb6 = all.Boxb7 = true;
             all.Boxb8 = all.Boxb9 = all.Boxb10 = all.Boxb11 = all.Boxb12 = all.Boxb13 = true;
             return W3FormParams(all);
         }()},
    };
    for (const Case& c : cases) {
        report::ReportProject project;
        project.SetProjectFile(kDesignFile);
        project.Open();
        project.SelectReport(c.design);
        const std::vector<std::string> printed = project.ParameterNames();
        for (const auto& [name, value] : c.params)
            EXPECT_NE(std::find(printed.begin(), printed.end(), name), printed.end()) << c.design << " lacks " << name;
    }
}

TEST_F(FormJobsTest, CopyAPairsEmployeesByNameAndMarksALoneLowerFormVoid) {
    // Record order Zed, Adams, Miller, Adams: the list order is Adams, Adams, Miller, Zed.
    const std::vector<W2Record> all = {Named("Zed", 1), Named("Adams", 2), Named("Miller", 3), Named("Adams", 4)};
    struct Case {
        int employees;
        std::vector<std::vector<std::string>> ssnsByPage;  // upper, lower
        bool lastVoid;
    } cases[] = {
        {1, {{"123-45-1001", ""}}, true},
        {2, {{"123-45-1002", "123-45-1001"}}, false},
        {3, {{"123-45-1002", "123-45-1003"}, {"123-45-1001", ""}}, true},
        {4, {{"123-45-1002", "123-45-1004"}, {"123-45-1003", "123-45-1001"}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.employees);
        dm_.ClosePayerFile();
        Open({all.begin(), all.begin() + c.employees});
        const auto pages = Run([&](ReportJob& job) { printing_.SetupSsaW2(job); }, "FormW2_SSA");
        ASSERT_EQ(pages.size(), c.ssnsByPage.size());
        for (std::size_t p = 0; p < pages.size(); ++p) {
            EXPECT_EQ(Param(pages[p], "Boxa1"), c.ssnsByPage[p][0]);
            EXPECT_EQ(Param(pages[p], "Boxa2"), c.ssnsByPage[p][1]);
            EXPECT_EQ(Param(pages[p], "Boxc2_1"), "ACME TOOLS");
            EXPECT_EQ(Param(pages[p], "Void2"), p + 1 == pages.size() && c.lastVoid ? "X" : "");
        }
    }
}

TEST_F(FormJobsTest, CopyAPrintsPlainAmountsAndOnlyEntriesWithCents) {
    W2Record w2 = Named("Lee", 1, 1234567.5);
    w2.Box12Code = {"D", "E", "W", "DD"};
    w2.Box12Amt = {100, 200, 0.004, 50};
    Open({w2});
    const auto pages = Run([&](ReportJob& job) { printing_.SetupSsaW2(job); }, "FormW2_SSA");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(Param(pages[0], "Box1_1"), "1234567.50");
    EXPECT_EQ(Param(pages[0], "Box12c1_1"), "");
    EXPECT_EQ(Param(pages[0], "Box12c2_1"), "");
    EXPECT_EQ(Param(pages[0], "Box12d1_1"), "DD");
    EXPECT_EQ(Param(pages[0], "Box12d2_1"), "50.00");
    EXPECT_EQ(Param(pages[0], "Boxe1_1"), "PAT ");
}

TEST_F(FormJobsTest, CopyDAndCopy1FourToAPageWithVoidMarksOnTheLastPage) {
    struct Case {
        int employees;
        W2FormType type;
        std::size_t pages;
        std::vector<std::pair<double, double>> voidMarks;  // centre x, baseline y
    } cases[] = {
        {5, W2FormType::Employer, 2, {{6.3, 1.83}, {2.2, 7.25}, {6.3, 7.25}}},
        {4, W2FormType::Employer, 1, {}},
        {3, W2FormType::State, 1, {{6.3, 7.25}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.employees);
        dm_.ClosePayerFile();
        Open(Numbered(c.employees));
        const auto pages = Run([&](ReportJob& job) { printing_.SetupCopyD1(job, printing_.AllRecords(), c.type); },
                               "FormW2_CopyD1");
        ASSERT_EQ(pages.size(), c.pages);
        const std::string caption = c.type == W2FormType::State
                                        ? "Copy 1 \xE2\x80\x94 For State, City, or Local Tax Department"
                                        : "Copy D \xE2\x80\x94 For Employer";
        for (std::size_t p = 0; p < pages.size(); ++p) {
            EXPECT_EQ(Param(pages[p], "FormType"), caption);
            for (int slot = 1; slot <= 4; ++slot) {
                const int k = static_cast<int>(p) * 4 + slot;
                EXPECT_EQ(Param(pages[p], "Boxa" + std::to_string(slot)),
                          k <= c.employees ? "123-45-" + std::to_string(1000 + k) : "");
            }
        }
        EXPECT_EQ(Param(pages[0], "Box1_1"), "1,000.00");
        std::vector<std::pair<double, double>> marks;
        for (const report::TextOp& t : pages.back().otherTexts) {
            EXPECT_EQ(t.text, "******* VOID *******");
            EXPECT_EQ(t.family, "Outline");
            EXPECT_EQ(t.sizePt, 30);
            EXPECT_EQ(t.align, report::TextAlign::Center);
            marks.emplace_back(t.x, t.y);
        }
        EXPECT_EQ(marks, c.voidMarks);
        for (std::size_t p = 0; p + 1 < pages.size(); ++p) EXPECT_TRUE(pages[p].otherTexts.empty());
    }
}

TEST_F(FormJobsTest, EmployeeCopiesOnePageEachMaskedOnRequest) {
    W2Record w2 = Named("Lee", 1, 1234567.5);
    w2.Boxa = "123-45-6788";
    w2.Amount11 = 500;
    w2.Amount10 = 0;
    Open({w2, Named("Kim", 2), Named("Ray", 3)});
    for (bool mask : {true, false}) {
        const auto pages = Run([&](ReportJob& job) { printing_.SetupEmployeeW2(job, printing_.AllRecords(), mask); },
                               "FormW2");
        ASSERT_EQ(pages.size(), 3u);
        EXPECT_EQ(Param(pages[0], "Boxa"), mask ? "***-**-6788" : "123-45-6788");
        EXPECT_EQ(Param(pages[1], "Boxa"), mask ? "***-**-1002" : "123-45-1002");
        EXPECT_EQ(Param(pages[0], "Box1"), "1,234,567.50");
        EXPECT_EQ(Param(pages[0], "Box11"), "500.00");
        EXPECT_EQ(Param(pages[0], "Box10"), "");
        EXPECT_EQ(Param(pages[2], "Boxe2"), "RAY");
        EXPECT_EQ(Param(pages[2], "Boxc2"), "ACME TOOLS");
    }
    // Print One: the one record asked for.
    const auto one = Run([&](ReportJob& job) { printing_.SetupEmployeeW2(job, {2, 2}, true); }, "FormW2");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(Param(one[0], "Boxe2"), "KIM");
}

TEST_F(FormJobsTest, FormW3OnOnePage) {
    W3Record w3 = Employer("ACME TOOLS");
    w3.Amount1 = 1234567.5;
    w3.Boxc = 1;
    w3.SignerName = "Pat Lee";
    w3.Title = "owner";
    Open({Named("Lee", 1)}, w3);
    const auto pages = Run([&](ReportJob& job) { printing_.SetupFormW3(job); }, "FormW3");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(Param(pages[0], "Box1"), "1234567.50");
    EXPECT_EQ(Param(pages[0], "Boxb1"), "X");
    EXPECT_EQ(Param(pages[0], "Boxf1"), "ACME TOOLS");
    EXPECT_EQ(Param(pages[0], "Boxf2"), "");
    EXPECT_EQ(Param(pages[0], "Signature"), "Pat Lee");
    EXPECT_EQ(Param(pages[0], "Title"), "OWNER");
}

TEST_F(FormJobsTest, LabelsThirtyToASheetWithBarCodesUnderFullZipPlusFour) {
    std::vector<W2Record> employees = Numbered(31);
    employees[0].Boxf_csz = "Troy NY 12180-1234";
    employees[1].Boxf_csz = "Troy NY 12180";
    employees[2].Boxf_csz = "WILKES-BARRE TOWNSHIP WEST PA 18702";  // wider than the label
    Open(employees);
    ReportJob job{report::ReportPorts{}};
    printing_.SetupLabels(job);
    ASSERT_TRUE(job.Generate());
    const report::PageSnapshot snapshot = job.OpenSnapshot();
    ASSERT_EQ(snapshot.PageCount(), 2);
    const auto pages = ReadPrinted(snapshot, nullptr);

    auto texts = [](const PrintedPage& page) { return page.otherTexts; };
    const auto first = texts(pages[0]);
    ASSERT_EQ(first.size(), 90u);  // three lines a label
    // Label 1 (column 1, row 1): barcode, text from 0.25 in; label 2 (column 2): none, from 0.38 in.
    EXPECT_EQ(first[0].text, "Pat  Worker101");
    EXPECT_NEAR(first[0].x, 0.188 + 0.13, 1e-9);
    EXPECT_NEAR(first[0].y, 0.5 + 0.25, 1e-9);
    EXPECT_EQ(first[2].text, "Troy NY 12180-1234");
    EXPECT_NEAR(first[3].x, 0.188 + 2.75 + 0.13, 1e-9);
    EXPECT_NEAR(first[3].y, 0.5 + 0.38, 1e-9);
    EXPECT_EQ(first[8].text, employees[2].Boxf_csz);  // one line, neither wrapped nor cut
    // The barcode: filled bars only under label 1, bottoms 0.13 in below the line after the address.
    int bars = 0;
    for (const report::DrawOp& op : pages[0].ops) {
        const auto* rect = std::get_if<report::RectOp>(&op.shape);
        if (!rect || op.screenOnly || rect->fillGray < 0) continue;
        ++bars;
        EXPECT_LT(rect->x, 0.188 + 2.625);
        EXPECT_NEAR(rect->y + rect->h, first[2].y + (first[2].y - first[1].y) + 0.13, 1e-9);
    }
    EXPECT_EQ(bars, 2 + 5 * 10);  // frame bars, nine digits and the check digit
    // The outlines of all 30 positions on every page, on the screen only.
    EXPECT_EQ(pages[0].screenOnly.size(), 30u);
    EXPECT_EQ(pages[1].screenOnly.size(), 30u);
    const auto second = texts(pages[1]);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[0].text, "Pat  Worker131");
    EXPECT_NEAR(second[0].x, 0.188 + 0.13, 1e-9);
}

TEST_F(FormJobsTest, EveryJobLeavesTheCurrentRecordAsItWas) {
    Open(Numbered(6));
    dm_.RSW2().SetCurrentRecord(4);
    dm_.RSW2().GetRec();
    const std::function<void(ReportJob&)> setups[] = {
        [&](ReportJob& job) { printing_.SetupEmployeeW2(job, printing_.AllRecords(), true); },
        [&](ReportJob& job) { printing_.SetupCopyD1(job, printing_.AllRecords(), W2FormType::Employer); },
        [&](ReportJob& job) { printing_.SetupSsaW2(job); },
        [&](ReportJob& job) { printing_.SetupLabels(job); },
        [&](ReportJob& job) { printing_.SetupFormW3(job); },
    };
    for (const auto& setup : setups) {
        Run(setup, nullptr);
        EXPECT_EQ(dm_.RSW2().CurrentRecord(), 4);
        EXPECT_EQ(dm_.W2Rec().Boxe3, "Worker104");
    }
}

TEST_F(FormJobsTest, CopyAIsPreviewOnlyUnlessPrintedOntoPreprintedForms) {
    ReportJob job{report::ReportPorts{}};
    printing_.SetupSsaW2(job);
    EXPECT_EQ(job.Options, report::ReportOption::soShowStatus | report::ReportOption::soPreviewModal);
    EXPECT_EQ(job.Setups, report::ReportSetup::ssAllowDestPreview | report::ReportSetup::ssAllowPreviewSetup);
    printing_.PreprintedOverride = report::PreprintedForms{true, 0, 0};
    ReportJob preprinted{report::ReportPorts{}};
    printing_.SetupSsaW2(preprinted);
    EXPECT_TRUE(preprinted.Setups.Has(report::ReportSetup::ssAllowDestPrinter));
    EXPECT_TRUE(preprinted.Setups.Has(report::ReportSetup::ssAllowSetup));
    EXPECT_FALSE(preprinted.Setups.Has(report::ReportSetup::ssAllowDestFile));
    EXPECT_FALSE(preprinted.Options.Has(report::ReportOption::soAllowSaveFromPreview));
}

}  // namespace
}  // namespace qnvr::forms
