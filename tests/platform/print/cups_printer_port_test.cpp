#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/support/temp_dir.h"
#include "platform/print/cups_printer_port.h"
#include "platform/print/cups_pdf_printer.h"
#include "../../ui/print/print_fixtures.h"
#include "report/report_errors.h"
#include "report/report_job.h"
#include "report/snapshot.h"

namespace qnvr::platform {
namespace {

using namespace qnvr::testing;

bool Contains(const std::vector<std::string>& items, const std::string& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

class CupsPrinterPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Contains(port.Printers(), TestPrinter()))
            << "the test print server has no printer " << TestPrinter() << ": run scripts/start-cups.sh";
    }
    CupsPrinterPort port;
};

TEST_F(CupsPrinterPortTest, ListsThePdfPrinterWithItsPortAndDriverPapers) {
    EXPECT_EQ(port.PortName(TestPrinter()), "cups-pdf:/" + TestPrinter());
    const auto papers = port.Papers(TestPrinter());
    EXPECT_TRUE(Contains(papers, "US Letter"));
    EXPECT_TRUE(Contains(papers, "A4"));
    EXPECT_TRUE(port.Bins(TestPrinter()).empty());  // this driver has one paper source

    struct Case {
        const char* paper;
        double width, height;
    } sizes[] = {{"US Letter", 8.5, 11}, {"Letter", 8.5, 11}, {"us letter", 8.5, 11}, {"US Legal", 8.5, 14}};
    for (const auto& c : sizes) {
        const auto size = port.PaperSizeOf(TestPrinter(), c.paper);
        ASSERT_TRUE(size) << c.paper;
        EXPECT_NEAR(size->widthIn, c.width, 0.01) << c.paper;
        EXPECT_NEAR(size->heightIn, c.height, 0.01) << c.paper;
    }
    EXPECT_FALSE(port.PaperSizeOf(TestPrinter(), "Napkin"));
}

TEST_F(CupsPrinterPortTest, ListsPaperSourcesOfADriverThatHasThem) {
    ASSERT_TRUE(Contains(port.Printers(), TestTrayPrinter()));
    const auto bins = port.Bins(TestTrayPrinter());
    EXPECT_TRUE(Contains(bins, "Tray 1"));
    EXPECT_TRUE(Contains(bins, "Manual Feed"));
    EXPECT_TRUE(Contains(port.Papers(TestTrayPrinter()), "US Letter"));
}

TEST_F(CupsPrinterPortTest, AnUnknownPrinterOffersNothingAndRefusesJobs) {
    EXPECT_TRUE(port.Papers("No Such Printer").empty());
    EXPECT_TRUE(port.Bins("No Such Printer").empty());
    EXPECT_EQ(port.PortName("No Such Printer"), "");
    EXPECT_FALSE(port.SupportsDuplex("No Such Printer"));
    TempDir dir;
    report::PrintSettings settings;
    settings.printer = "No Such Printer";
    try {
        port.PrintPdf(dir.File("none.pdf"), "x", settings);
        ADD_FAILURE() << "printed";
    } catch (const report::EReportException& e) {
        EXPECT_STREQ(e.what(), "The printer \"No Such Printer\" is not installed.");
    }
}

TEST_F(CupsPrinterPortTest, APrintedSnapshotArrivesAsAPdfWithItsPages) {
    TempDir dir;
    report::WriteSnapshotFile(dir.File("job.ndr"), NumberedPages(3));
    const auto snapshot = report::PageSnapshot::OpenFile(dir.File("job.ndr"));
    report::PrintSettings settings;
    settings.printer = TestPrinter();
    settings.paper = "US Letter";
    const std::string title = UniqueJobTitle("port");

    ASSERT_TRUE(report::PrintSnapshot(snapshot, port, title, settings));

    const auto pdf = WaitForPrintedPdf(title);
    ASSERT_FALSE(pdf.empty()) << "no PDF arrived in " << TestPrinterOutput();
    EXPECT_EQ(PdfPageCount(pdf), 3);
    const std::string text = PdfText(pdf);
    for (int n = 1; n <= 3; ++n) EXPECT_NE(text.find("Snapshot page " + std::to_string(n)), std::string::npos) << text;
    EXPECT_NE(CommandOutput("pdfinfo '" + pdf.string() + "'").find("612 x 792"), std::string::npos);
    std::filesystem::remove(pdf);
}

TEST_F(CupsPrinterPortTest, APageRangePrintsOnlyThosePages) {
    TempDir dir;
    report::WriteSnapshotFile(dir.File("job.ndr"), NumberedPages(4));
    const auto snapshot = report::PageSnapshot::OpenFile(dir.File("job.ndr"));
    report::PrintSettings settings;
    settings.printer = TestPrinter();
    const std::string title = UniqueJobTitle("range");

    ASSERT_TRUE(report::PrintSnapshot(snapshot, port, title, settings, {2, 3}));

    const auto pdf = WaitForPrintedPdf(title);
    ASSERT_FALSE(pdf.empty());
    const std::string text = PdfText(pdf);
    EXPECT_EQ(PdfPageCount(pdf), 2);
    EXPECT_EQ(text.find("Snapshot page 1"), std::string::npos);
    EXPECT_NE(text.find("Snapshot page 3"), std::string::npos);
    std::filesystem::remove(pdf);
}

}  // namespace
}  // namespace qnvr::platform
