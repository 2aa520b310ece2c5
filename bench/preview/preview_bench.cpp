// Times the report preview on a snapshot of the largest payer file: one FormW2 page per
// employee for 10,000 employees. Runs offscreen; prints the time from opening the
// snapshot to page 1 painted, the time to page to the last page, and peak memory.
//
//   qnvr_bench_preview [PAGES] [FOLDER] [PAGE1.png]   (the last saves what page 1 looked like)
#include <sys/resource.h>

#include <QApplication>
#include <QImage>
#include <QScrollArea>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "report/report_job.h"
#include "report/report_project.h"
#include "report/surface.h"
#include "ui/print/page_view.h"
#include "ui/print/report_preview.h"

namespace {

using namespace qnvr;
using Clock = std::chrono::steady_clock;

void Record(const std::filesystem::path& snapshot, int pages) {
    report::ReportProject project;
    project.SetProjectFile(std::filesystem::path(QNVR_ASSETS_DIR) / "W2TXFR26.json");
    project.Open();
    project.SelectReport("FormW2");
    project.SetParam("Boxb", "12-3456789");
    project.SetParam("Boxc2", "QUENVORA BENCH EMPLOYER");
    report::ReportJob job{report::ReportPorts{}};
    job.StreamMode = report::SnapshotStore::File;
    job.StreamFileName = snapshot;
    job.OnPrint = [&](report::ReportSurface& surface) {
        for (int k = 0; k < pages; ++k) {
            project.SetParam("Boxe2", "EMPLOYEE " + std::to_string(k + 1));
            project.SetParam("Box1", std::to_string(40000 + k) + ".00");
            project.Execute();
            if (k + 1 < pages) surface.NewPage();
        }
    };
    project.SetEngine(&job);
    job.Generate();
}

double Since(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

double PeakMiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::filesystem::path folder =
        argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "qnvr-preview-bench";
    std::filesystem::create_directories(folder);
    const auto snapshot = folder / "QNVR.RPT";

    auto start = Clock::now();
    Record(snapshot, pages);
    std::printf("recorded %d pages of FormW2 in %.0f ms (%.1f MiB)\n", pages, Since(start),
                std::filesystem::file_size(snapshot) / 1048576.0);
    const double peakBefore = PeakMiB();

    report::ReportJob job{report::ReportPorts{}};
    start = Clock::now();
    TFrmReportPreview preview(job);
    preview.ApplyPreviewSettings(job.Preview);
    preview.SetSnapshot(report::PageSnapshot::OpenFile(snapshot));
    preview.PrepareShow();
    preview.show();
    QImage shown = preview.grab().toImage();  // page 1 painted
    std::printf("preview shows page 1 of %d in %.1f ms\n", preview.PageCount(), Since(start));
    if (argc > 3) preview.PageView->grab().save(argv[3]);

    start = Clock::now();
    QTest::keyClick(preview.ScrollBox1, Qt::Key_L, Qt::AltModifier);
    shown = preview.grab().toImage();
    std::printf("Alt+L shows page %d in %.1f ms\n", preview.CurrentPage(), Since(start));

    start = Clock::now();
    for (int i = 0; i < 100; ++i) QTest::keyClick(preview.ScrollBox1, Qt::Key_P, Qt::AltModifier);
    shown = preview.grab().toImage();
    std::printf("100 x Alt+P, each page painted once at the end: %.1f ms\n", Since(start));
    std::printf("peak memory %.1f MiB (%.1f MiB before the preview opened)\n", PeakMiB(), peakBefore);
    return shown.isNull() ? 1 : 0;
}
