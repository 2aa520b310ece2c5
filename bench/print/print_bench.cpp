// Times Print All of the employee copies on the largest payer file the program holds:
// the job recording one FormW2 page per employee into its snapshot file, the preview
// showing page 1, and the PDF export of every page. Runs offscreen.
//
//   qnvr_bench_print [EMPLOYEES] [FOLDER]
#include <sys/resource.h>

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/program/program_setup.h"
#include "core/base/scripted_prompter.h"
#include "core/base/settings_store.h"
#include "efw2/efw2_fixture.h"
#include "forms/form_jobs.h"
#include "report/pdf_renderer.h"
#include "ui/print/report_preview.h"

namespace {

using namespace qnvr;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

double PeakMiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

std::vector<W2Record> FullEmployees(int count) {
    std::vector<W2Record> employees = testing::Employees(count, 41.17);
    for (W2Record& w2 : employees) {
        w2.Boxf_csz = "TROY NY 12180-1234";
        w2.Box12Code[0] = "DD";
        w2.Box12Amt[0] = 7421.55;
        w2.Box14Desc_a = "UNION DUES";
        w2.Box14Amt_a = 312;
    }
    return employees;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int employees = argc > 1 ? std::atoi(argv[1]) : kMaxEmployees;
    const std::filesystem::path folder = argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "qnvr-print-bench";
    std::filesystem::create_directories(folder);
    const std::string payer = (folder / "BENCH.W226").string();
    testing::WritePayerFile(payer, testing::Employer("QUENVORA BENCH EMPLOYER"), FullEmployees(employees));

    ScriptedPrompter prompter;
    TFrmDataModule dm{CorePorts{.prompter = prompter}};
    dm.OpenPayerFile(payer);
    MemorySettingsStore settings;
    forms::FormPrinting printing(dm, settings, std::filesystem::path(QNVR_ASSETS_DIR) / kReportDesignFileName,
                                 folder / kReportSnapshotFileName);

    report::ReportJob job{report::ReportPorts{}};
    printing.SetupEmployeeW2(job, printing.AllRecords(), true);
    auto start = Clock::now();
    job.Generate();
    std::printf("Print All, employee copies, %d employees: recorded in %.0f ms (snapshot %.1f MiB)\n", employees,
                Since(start), std::filesystem::file_size(job.SnapshotFile()) / 1048576.0);

    start = Clock::now();
    {
        TFrmReportPreview preview(job);
        preview.ApplyPreviewSettings(job.Preview);
        preview.SetSnapshot(job.OpenSnapshot());
        preview.PrepareShow();
        preview.show();
        QApplication::processEvents();
        std::printf("preview of page 1: %.0f ms\n", Since(start));
    }

    start = Clock::now();
    const auto pdf = folder / "BENCH.pdf";
    report::RenderPdf(job.OpenSnapshot(), pdf);
    std::printf("PDF export: %.0f ms (%.1f MiB)\n", Since(start), std::filesystem::file_size(pdf) / 1048576.0);
    std::printf("peak memory: %.0f MiB\n", PeakMiB());
    dm.ClosePayerFile();
    return 0;
}
