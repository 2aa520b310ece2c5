// Measures the report engine at the size of the largest payer file: one FormW2 page per
// employee for 10,000 employees, recorded into a file snapshot, rendered to PDF and
// HTML, and reopened to show page 1. Each step runs in a child process so that its peak
// memory is its own.
//
// Beside the PDF it times the floor the renderer is held to: a plain libharu loop that
// draws the same pages (the design's artwork and each employee's values) in full on
// every page, straight from the design, with no snapshot, and prints the ratio.
//
//   qnvr_report_bench [PAGES] [FOLDER]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <hpdf.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "report/design.h"
#include "report/fonts.h"
#include "report/html_renderer.h"
#include "report/pdf_renderer.h"
#include "report/report_job.h"
#include "report/report_project.h"
#include "report/surface.h"

namespace {

using namespace qnvr::report;
using Clock = std::chrono::steady_clock;

std::string Money(long cents) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld.%02ld", cents / 100, cents % 100);
    return text;
}

// The parameters of one employee, as the W-2 print code sets them.
void SetEmployee(ReportProject& project, int k) {
    project.SetParam("Boxa", "***-**-" + std::to_string(1000 + k % 9000));
    project.SetParam("Boxd", "C" + std::to_string(k));
    project.SetParam("Boxe1", "EMPLOYEE Q");
    project.SetParam("Boxe2", "NUMBER" + std::to_string(k));
    project.SetParam("Boxf1", std::to_string(100 + k) + " MAIN STREET");
    project.SetParam("Boxf2", "ANYTOWN NY 12345-6789");
    for (int box = 1; box <= 6; ++box) project.SetParam("Box" + std::to_string(box), Money(5'000'000L + k * 137L + box));
    project.SetParam("Box12a1", "DD");
    project.SetParam("Box12a2", Money(120000 + k));
    project.SetParam("Box15a1", "NY");
    project.SetParam("Box15a2", "123456789");
    project.SetParam("Box16a", Money(5'000'000L + k));
    project.SetParam("Box17a", Money(250'000L + k));
}

void SetEmployer(ReportProject& project) {
    project.SetParam("Boxb", "12-3456789");
    project.SetParam("Boxc2", "QUENVORA TEST EMPLOYER INC");
    project.SetParam("Boxc3", "1 COMMERCE PLAZA");
    project.SetParam("Boxc4", "ALBANY NY 12207-0001");
}

std::filesystem::path DesignFile() { return std::filesystem::path(QNVR_ASSETS_DIR) / "W2TXFR26.json"; }

void Record(const std::filesystem::path& snapshot, int pages) {
    ReportProject project;
    project.SetProjectFile(std::filesystem::path(QNVR_ASSETS_DIR) / "W2TXFR26.json");
    project.Open();
    project.SelectReport("FormW2");
    SetEmployer(project);
    ReportJob job{ReportPorts{}};
    job.StreamMode = SnapshotStore::File;
    job.StreamFileName = snapshot;
    job.OnPrint = [&](ReportSurface& surface) {
        for (int k = 0; k < pages; ++k) {
            SetEmployee(project, k);
            project.Execute();
            if (k + 1 < pages) surface.NewPage();
        }
    };
    project.SetEngine(&job);
    job.Generate();
}

// The floor: every page drawn in full (artwork and values) by a plain libharu loop, one
// text object per text, from the design and the same parameters, saved to file.
void DrawInFullWithLibharu(const std::filesystem::path& file, int pages) {
    const qnvr::report::DesignFile designs = qnvr::report::DesignFile::Load(DesignFile());
    const ReportDesign& design = *designs.Find("FormW2");
    ReportProject project;  // only to hold the parameters as the record step sets them
    SetEmployer(project);
    HPDF_Doc pdf = HPDF_New(
        [](HPDF_STATUS code, HPDF_STATUS detail, void*) {
            std::fprintf(stderr, "PDF library error 0x%04X (%u)\n", static_cast<unsigned>(code), static_cast<unsigned>(detail));
            std::_Exit(1);
        },
        nullptr);
    HPDF_SetCompressionMode(pdf, HPDF_COMP_ALL);
    HPDF_Font fonts[2] = {HPDF_GetFont(pdf, "Helvetica", "WinAnsiEncoding"),
                          HPDF_GetFont(pdf, "Helvetica-Bold", "WinAnsiEncoding")};
    const double height = design.heightIn * kPointsPerInch;
    const auto x = [](double in) { return static_cast<HPDF_REAL>(in * kPointsPerInch); };
    const auto y = [&](double in) { return static_cast<HPDF_REAL>(height - in * kPointsPerInch); };
    const auto text = [&](HPDF_Page page, const TextOp& t) {
        const FontFace face = ResolveFont(t.family);
        double left = t.x;
        const double width = TextWidthIn(t.family, t.sizePt, t.text);
        if (t.align == TextAlign::Center) left -= width / 2;
        if (t.align == TextAlign::Right) left -= width;
        HPDF_Page_BeginText(page);
        HPDF_Page_SetFontAndSize(page, fonts[face.base == StandardFont::HelveticaBold ? 1 : 0], static_cast<HPDF_REAL>(t.sizePt));
        HPDF_Page_TextOut(page, x(left), y(t.y), t.text.c_str());
        HPDF_Page_EndText(page);
    };
    for (int k = 0; k < pages; ++k) {
        SetEmployee(project, k);
        HPDF_Page page = HPDF_AddPage(pdf);
        HPDF_Page_SetWidth(page, x(design.widthIn));
        HPDF_Page_SetHeight(page, static_cast<HPDF_REAL>(height));
        for (const DrawOp& op : design.artwork) {
            if (const auto* t = std::get_if<TextOp>(&op.shape)) {
                text(page, *t);
            } else if (const auto* l = std::get_if<LineOp>(&op.shape)) {
                HPDF_Page_SetLineWidth(page, static_cast<HPDF_REAL>(l->widthPt));
                HPDF_Page_MoveTo(page, x(l->x1), y(l->y1));
                HPDF_Page_LineTo(page, x(l->x2), y(l->y2));
                HPDF_Page_Stroke(page);
            } else if (const auto* r = std::get_if<RectOp>(&op.shape)) {
                if (r->fillGray >= 0) {
                    HPDF_Page_SetGrayFill(page, static_cast<HPDF_REAL>(r->fillGray));
                    HPDF_Page_Rectangle(page, x(r->x), y(r->y + r->h), x(r->w), x(r->h));
                    HPDF_Page_Fill(page);
                    HPDF_Page_SetGrayFill(page, 0);
                } else {
                    HPDF_Page_SetLineWidth(page, static_cast<HPDF_REAL>(r->lineWidthPt));
                    HPDF_Page_Rectangle(page, x(r->x), y(r->y + r->h), x(r->w), x(r->h));
                    HPDF_Page_Stroke(page);
                }
            }
        }
        for (const DesignField& field : design.fields) {
            auto it = project.Params().find(field.param);
            if (it == project.Params().end() || it->second.empty()) continue;
            TextOp value = field.text;
            value.text = it->second;
            text(page, value);
        }
    }
    if (HPDF_SaveToFile(pdf, file.c_str()) != HPDF_OK) throw std::runtime_error("the floor's PDF was not saved");
    HPDF_Free(pdf);
}

// Runs step in a child process; prints its wall and processor time and peak resident
// memory, and returns the wall time.
double Measure(const char* name, const std::function<void()>& step) {
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            step();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s\n", name, e.what());
            std::_Exit(1);
        }
        std::_Exit(0);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const bool failed = !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    // The processor time beside the wall time: on a machine shared with other work the
    // wall time also counts the waits for a processor.
    const double cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%-44s %7.3f s (cpu %6.3f s)   peak %7.1f MiB%s\n", name, seconds, cpu, usage.ru_maxrss / 1024.0,
                failed ? "   FAILED" : "");
    if (failed && WIFSIGNALED(status)) std::printf("  (signal %d)\n", WTERMSIG(status));
    std::fflush(stdout);
    return seconds;
}

double MiB(const std::filesystem::path& file) { return std::filesystem::file_size(file) / 1048576.0; }

}  // namespace

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::filesystem::path folder = argc > 2 ? argv[2] : std::filesystem::temp_directory_path() / "qnvr-report-bench";
    std::filesystem::create_directories(folder);
    const auto snapshot = folder / "QNVR.RPT";
    std::printf("%d pages of FormW2 in %s\n", pages, folder.c_str());

    const double record = Measure("record snapshot", [&] { Record(snapshot, pages); });
    std::printf("  snapshot file %.1f MiB\n", MiB(snapshot));
    Measure("open snapshot and read page 1", [&] { PageSnapshot::OpenFile(snapshot).ReadPage(1); });
    Measure("open snapshot and read the last page", [&] {
        const PageSnapshot s = PageSnapshot::OpenFile(snapshot);
        s.ReadPage(s.PageCount());
    });
    const double pdf = Measure("render PDF", [&] { RenderPdf(PageSnapshot::OpenFile(snapshot), folder / "bench.pdf"); });
    std::printf("  PDF file %.1f MiB\n", MiB(folder / "bench.pdf"));
    const double floor = Measure("floor: libharu drawing every page in full",
                                 [&] { DrawInFullWithLibharu(folder / "floor.pdf", pages); });
    std::printf("  floor's PDF file %.1f MiB\n", MiB(folder / "floor.pdf"));
    std::printf("  render PDF / floor = %.2f (record + render PDF / floor = %.2f)\n", pdf / floor, (record + pdf) / floor);
    Measure("render HTML", [&] { RenderHtml(PageSnapshot::OpenFile(snapshot), folder / "bench.html"); });
    std::printf("  HTML file %.1f MiB\n", MiB(folder / "bench.html"));
    return 0;
}
