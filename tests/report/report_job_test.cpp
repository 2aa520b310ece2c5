// Running a report job: output options, status and Cancel, snapshot store, delivery.
#include <gtest/gtest.h>

#include "core/support/temp_dir.h"
#include "report/report_errors.h"
#include "report/report_job.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

using qnvr::testing::TempDir;

// The job windows, answered from a script: the output options to choose (or Cancel),
// and the status text at which Cancel is pressed.
class ScriptedJobUi : public ReportJobUi {
public:
    std::optional<OutputOptions> choice;  // nullopt: Cancel
    std::string cancelAt;                 // status text at which Cancel is pressed
    std::vector<std::string> log;

    bool AskOutputOptions(const ReportJob& job, OutputOptions& options, bool) override {
        log.push_back("setup: " + job.TitleSetup + " printer " + options.print.printer);
        if (!choice) return false;
        options = *choice;
        return true;
    }
    void OpenStatus(const ReportJob& job) override { log.push_back("status: " + job.TitleStatus); }
    bool UpdateStatus(const std::string& text) override {
        log.push_back(text);
        return text != cancelAt;
    }
    void CloseStatus() override { log.push_back("status closed"); }
};

// The print back end of one test.
using InstalledPrinter = testing::RecordingPrinterPort;

// A job drawing `pages` pages, each with its number.
void DrawPages(ReportJob& job, int pages) {
    job.OnPrint = [pages](ReportSurface& s) {
        for (int p = 1; p <= pages; ++p) {
            if (p > 1) s.NewPage();
            s.GotoXY(1, 1);
            s.Println("page " + std::to_string(p));
        }
    };
}

TEST(ReportJob, CancelInTheOutputOptionsStepEndsQuietlyWithoutDrawing) {
    ScriptedJobUi ui;
    ReportJob job{ReportPorts{{}, NoPrinters(), ui}};
    job.TitleSetup = "Employee Form W-2 Setup";
    bool drawn = false, previewed = false;
    job.OnPrint = [&](ReportSurface&) { drawn = true; };
    job.OverridePreview = [&](ReportJob&, PreviewMode) { previewed = true; };
    EXPECT_FALSE(job.Execute());
    EXPECT_FALSE(drawn);
    EXPECT_FALSE(previewed);
    EXPECT_EQ(ui.log, std::vector<std::string>{"setup: Employee Form W-2 Setup printer "});
}

TEST(ReportJob, CancelInTheStatusWindowDeliversNothingAndKeepsTheLastSnapshotFile) {
    TempDir dir;
    ScriptedJobUi ui;
    ui.choice = OutputOptions{};
    ReportJob job{ReportPorts{{}, NoPrinters(), ui}};
    job.TitleStatus = "Employee Form W-2 Status";
    job.StreamMode = SnapshotStore::File;
    job.StreamFileName = dir.Path() / "QNVR.RPT";
    DrawPages(job, 1);
    ASSERT_TRUE(job.Execute());

    ui.log.clear();
    ui.cancelAt = "Generating page 2";
    DrawPages(job, 3);
    int previews = 0;
    job.OverridePreview = [&](ReportJob&, PreviewMode) { ++previews; };
    EXPECT_FALSE(job.Execute());
    EXPECT_EQ(previews, 0);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"setup: Output Options printer ", "status: Employee Form W-2 Status",
                                                "Generating page 1", "Generating page 2", "status closed"}));
    EXPECT_EQ(PageSnapshot::OpenFile(dir.Path() / "QNVR.RPT").PageCount(), 1);
}

TEST(ReportJob, PreviewHookRunsItsFourModesInOrderAndFreesEvenAfterAnError) {
    ReportJob job{ReportPorts{}};
    DrawPages(job, 2);
    std::vector<int> modes;
    int pagesSeen = 0;
    job.OverridePreview = [&](ReportJob& j, PreviewMode mode) {
        modes.push_back(static_cast<int>(mode));
        if (mode == PreviewMode::Show) pagesSeen = j.OpenSnapshot().PageCount();
    };
    EXPECT_TRUE(job.Execute());
    EXPECT_EQ(modes, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(pagesSeen, 2);
    EXPECT_FALSE(job.HasSnapshot());  // a memory snapshot ends with the job

    modes.clear();
    job.OverridePreview = [&](ReportJob&, PreviewMode mode) {
        modes.push_back(static_cast<int>(mode));
        if (mode == PreviewMode::Show) throw EReportException("cannot show");
    };
    EXPECT_THROW(job.Execute(), EReportException);
    EXPECT_EQ(modes, (std::vector<int>{0, 1, 3}));
}

TEST(ReportJob, FileSnapshotStaysOnDiskAndTheNextRunOverwritesIt) {
    TempDir dir;
    ReportJob job{ReportPorts{}};
    job.StreamMode = SnapshotStore::File;
    job.StreamFileName = dir.Path() / "QNVR.RPT";
    std::vector<int> counts;
    job.OverridePreview = [&](ReportJob& j, PreviewMode mode) {
        if (mode == PreviewMode::Show) counts.push_back(PageSnapshot::OpenFile(j.SnapshotFile()).PageCount());
    };
    DrawPages(job, 3);
    job.Execute();
    DrawPages(job, 1);
    job.Execute();
    EXPECT_EQ(counts, (std::vector<int>{3, 1}));
    EXPECT_EQ(PageSnapshot::OpenFile(dir.Path() / "QNVR.RPT").PageCount(), 1);
}

TEST(ReportJob, AJobWithoutTheSetupFlagGoesStraightToThePreview) {
    ScriptedJobUi ui;
    ui.choice = OutputOptions{};
    ReportJob job{ReportPorts{{}, NoPrinters(), ui}};
    job.Options = ReportOption::soShowStatus | ReportOption::soPreviewModal;
    job.Setups = ReportSetup::ssAllowDestPreview | ReportSetup::ssAllowPreviewSetup;
    DrawPages(job, 1);
    bool previewed = false;
    job.OverridePreview = [&](ReportJob&, PreviewMode) { previewed = true; };
    EXPECT_TRUE(job.Execute());
    EXPECT_TRUE(previewed);
    EXPECT_EQ(ui.log.front(), "status: Report Status");  // no setup step
}

TEST(ReportJob, EventsRunInOrderAndTheSavedSetupOverridesTheChosenPrinter) {
    InstalledPrinter printer;
    ReportJob job{ReportPorts{{}, printer, NoJobWindows()}};
    std::vector<std::string> order;
    job.OnBeforePrint = [&](ReportSurface& s) {
        order.push_back("before");
        s.SelectPrinter("PDF");
        s.SelectBin("Manual");
        s.SetCopies(7);
    };
    job.OnPrint = [&](ReportSurface&) { order.push_back("print"); };
    job.OnAfterPrint = [&](ReportSurface&) { order.push_back("after"); };
    ASSERT_TRUE(job.Generate());
    EXPECT_EQ(order, (std::vector<std::string>{"before", "print", "after"}));
    EXPECT_EQ(job.OpenSnapshot().Settings(), (PrintSettings{"PDF", "", "Manual", PageOrientation::Portrait, false, DuplexMode::dupSimplex, 7}));

    // The after-print step still runs when the drawing fails (it restores the record).
    order.clear();
    job.OnPrint = [&](ReportSurface&) { throw EReportException("drawing failed"); };
    EXPECT_THROW(job.Generate(), EReportException);
    EXPECT_EQ(order, (std::vector<std::string>{"before", "after"}));
}

TEST(ReportJob, PrinterDeliverySendsOurPdfOnceOrOncePerCopy) {
    InstalledPrinter printer;
    ScriptedJobUi ui;
    OutputOptions toPrinter;
    toPrinter.destination = ReportDestination::Printer;
    toPrinter.print.printer = "PDF";
    toPrinter.print.copies = 3;
    ui.choice = toPrinter;
    ReportJob job{ReportPorts{{}, printer, ui}};
    job.JobTitle = "Form W-3 Report";
    DrawPages(job, 2);

    ASSERT_TRUE(job.Execute());
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].title, "Form W-3 Report");
    EXPECT_EQ(printer.jobs[0].settings.copies, 3);
    EXPECT_EQ(printer.jobs[0].pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(printer.jobs[0].pdf.find("/Count 2"), std::string::npos);
    EXPECT_NE(std::find(ui.log.begin(), ui.log.end(), "Printing page 2"), ui.log.end());

    printer.jobs.clear();
    printer.makesCopies = false;
    ASSERT_TRUE(job.Execute());
    ASSERT_EQ(printer.jobs.size(), 3u);
    for (const auto& sent : printer.jobs) EXPECT_EQ(sent.settings.copies, 1);
}

TEST(ReportJob, PrinterDeliveryWithoutPrintersSaysSo) {
    ScriptedJobUi ui;
    OutputOptions toPrinter;
    toPrinter.destination = ReportDestination::Printer;
    ui.choice = toPrinter;
    ReportJob job{ReportPorts{{}, NoPrinters(), ui}};
    DrawPages(job, 1);
    try {
        job.Execute();
        ADD_FAILURE() << "printed without printers";
    } catch (const EReportException& e) {
        EXPECT_STREQ(e.what(), "No printers installed!");
    }
}

TEST(ReportJob, FileDeliveryWritesTheSnapshotDocumentOrPdf) {
    TempDir dir;
    ScriptedJobUi ui;
    OutputOptions toFile;
    toFile.destination = ReportDestination::File;
    toFile.fileName = dir.Path() / "report.ndr";
    ui.choice = toFile;
    ReportJob job{ReportPorts{{}, NoPrinters(), ui}};
    DrawPages(job, 2);
    ASSERT_TRUE(job.Execute());
    EXPECT_EQ(PageSnapshot::OpenFile(dir.Path() / "report.ndr").PageCount(), 2);

    toFile.fileName = dir.Path() / "report.pdf";
    toFile.fileFormat = FileFormat::Pdf;
    ui.choice = toFile;
    ASSERT_TRUE(job.Execute());
    EXPECT_NE(testing::RunCommand("pdfinfo '" + toFile.fileName.string() + "'").find("Pages:           2"), std::string::npos);
}

TEST(ReportJob, StatusTextSubstitutesThePageNumber) {
    EXPECT_EQ(ReportJob::StatusText("Generating page %p", 12), "Generating page 12");
    EXPECT_EQ(ReportJob::StatusText("%p of %p", 3), "3 of 3");
    EXPECT_EQ(ReportJob::StatusText("no number", 3), "no number");
}

}  // namespace
}  // namespace qnvr::report
