// PDF and HTML output of a snapshot.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "core/support/temp_dir.h"
#include "report/html_renderer.h"
#include "report/pdf_renderer.h"
#include "report/report_errors.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

using qnvr::testing::TempDir;
using testing::Count;
using testing::ReadText;
using testing::RunCommand;


// Three pages: label outlines for the screen, text in three alignments, a bar, a rule.
PageSnapshot ThreePages() {
    return testing::Record([](ReportSurface& s) {
        for (int p = 1; p <= 3; ++p) {
            if (p > 1) s.NewPage();
            s.SetScreenOnly(true);
            s.RoundRect(0.188, 0.5, 2.625, 1.0, 0.2, 0.2);
            s.SetScreenOnly(false);
            s.SetFont("Arial", 10);
            s.GotoXY(1, 2);
            s.PrintLeft("LEFT" + std::to_string(p), 1);
            s.PrintCenter("Copy D \xE2\x80\x94 For Employer", 4.25);
            s.PrintRight("1,234,567.50", 7.5);
            s.SetFont("Outline", 30);
            s.GotoXY(0.5, 7.25);
            s.PrintCenter("******* VOID *******", 2.2);
            s.FillRect(1, 3, 0.02, 0.13);
            s.Line(0.5, 4, 8, 4, 1);
        }
    });
}

TEST(PdfRenderer, UsesStandardFontsNotEmbeddedInWinAnsiAndTheDocumentInformation) {
    TempDir dir;
    const auto pdf = dir.Path() / "out.pdf";
    ASSERT_TRUE(RenderPdf(ThreePages(), pdf));
    const std::string info = RunCommand("pdfinfo '" + pdf.string() + "'");
    EXPECT_NE(info.find("Title:           Quenvora W-2 2026\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Subject:         Quenvora W-2 2026 Adobe Portable Document\n"), std::string::npos) << info;
    for (const char* field : {"Author:", "Creator:", "Producer:"}) {
        EXPECT_NE(info.find(std::string(field) + std::string(17 - std::strlen(field), ' ') + "Morvane\n"), std::string::npos) << info;
    }
    EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
    EXPECT_NE(info.find("612 x 792 pts (letter)"), std::string::npos) << info;

    const std::string fonts = RunCommand("pdffonts '" + pdf.string() + "'");
    EXPECT_NE(fonts.find("Helvetica                            Type 1            WinAnsi          no "), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("Helvetica-Bold                       Type 1            WinAnsi          no "), std::string::npos) << fonts;
}

TEST(PdfRenderer, PlacesTextByAlignmentAndConvertsToWindows1252) {
    TempDir dir;
    const auto pdf = dir.Path() / "out.pdf";
    RenderPdf(ThreePages(), pdf);
    const std::vector<testing::PdfWord> words = testing::PdfWords(pdf);
    auto find = [&](const std::string& text) {
        for (const auto& w : words) {
            if (w.text == text && w.page == 1) return w;
        }
        ADD_FAILURE() << text << " not on page 1";
        return testing::PdfWord{};
    };
    EXPECT_NEAR(find("LEFT1").xMin, 1.0, 0.005);
    EXPECT_NEAR(find("1,234,567.50").xMax, 7.5, 0.005);
    EXPECT_NEAR((find("Copy").xMin + find("Employer").xMax) / 2, 4.25, 0.005);
    find("\xE2\x80\x94");  // the em dash survived WinAnsiEncoding
}

TEST(PdfRenderer, LeavesOutScreenOnlyMarksUnlessAskedAndHonoursThePageRange) {
    TempDir dir;
    const PageSnapshot snapshot = ThreePages();
    PdfOptions paper;
    paper.range = {2, 3};
    RenderPdf(snapshot, dir.Path() / "paper.pdf", paper);
    PdfOptions screen;
    screen.includeScreenOnly = true;
    RenderPdf(snapshot, dir.Path() / "screen.pdf", screen);
    EXPECT_NE(RunCommand("pdfinfo '" + dir.File("paper.pdf") + "'").find("Pages:           2\n"), std::string::npos);
    const std::vector<testing::PdfWord> words = testing::PdfWords(dir.Path() / "paper.pdf");
    EXPECT_EQ(words.front().text, "LEFT2");
    // The rounded outline adds curves (page 1 of each has the same glyphs otherwise).
    const std::string paperSvg = RunCommand("pdftocairo -svg -f 1 -l 1 '" + dir.File("paper.pdf") + "' -");
    const std::string screenSvg = RunCommand("pdftocairo -svg -f 1 -l 1 '" + dir.File("screen.pdf") + "' -");
    EXPECT_GT(Count(screenSvg, " C "), Count(paperSvg, " C "));

    EXPECT_THROW(RenderPdf(snapshot, dir.Path() / "none.pdf", PdfOptions{{4, 0}, false, {}}), EReportException);
}

TEST(PdfRenderer, CancelWritesNothingAndAFailedWriteKeepsTheOldFile) {
    TempDir dir;
    const auto pdf = dir.Path() / "out.pdf";
    std::ofstream(pdf) << "old";
    PdfOptions cancelAtTwo;
    cancelAtTwo.progress = [](int page) { return page < 2; };
    EXPECT_FALSE(RenderPdf(ThreePages(), pdf, cancelAtTwo));
    EXPECT_EQ(ReadText(pdf), "old");
    EXPECT_THROW(RenderPdf(ThreePages(), dir.Path() / "no-such-folder" / "out.pdf"), EReportException);
}

TEST(HtmlRenderer, OneSectionPerPageWithTheSameBaselinesAndAlignment) {
    TempDir dir;
    const auto html = dir.Path() / "out.html";
    ASSERT_TRUE(RenderHtml(ThreePages(), html));
    const std::string text = ReadText(html);
    EXPECT_EQ(text.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(text.find("<title>Quenvora W-2 2026</title>"), std::string::npos);
    EXPECT_EQ(Count(text, "<section class=\"page\""), 3u);
    EXPECT_NE(text.find("aria-label=\"Page 2 of 3\""), std::string::npos);
    EXPECT_NE(text.find("viewBox=\"0 0 612 792\""), std::string::npos);
    // Baseline y and anchor in points, as in the PDF; the em dash kept as UTF-8.
    EXPECT_NE(text.find("<text x=\"306\" y=\"144\" class=\"c\">"
                        "Copy D \xE2\x80\x94 For Employer</text>"),
              std::string::npos);
    EXPECT_NE(text.find("<text x=\"540\" y=\"144\" class=\"r\">1,234,567.50</text>"), std::string::npos);
    EXPECT_NE(text.find("font-size=\"30\" class=\"o c\""), std::string::npos);  // outlined, centred
    EXPECT_EQ(Count(text, "rx="), 0u);  // label outlines are for the screen only
}

TEST(HtmlRenderer, EscapesMarkupInTexts) {
    TempDir dir;
    const auto html = dir.Path() / "out.html";
    RenderHtml(testing::Record([](ReportSurface& s) {
                   s.GotoXY(1, 1);
                   s.Println("A&B <script>\"x\"");
                   s.Println("Pat  Worker");  // two spaces, kept by the browser
               }),
               html);
    const std::string text = ReadText(html);
    EXPECT_NE(text.find(">A&amp;B &lt;script&gt;&quot;x&quot;</text>"), std::string::npos);
    EXPECT_EQ(text.find("<script>"), std::string::npos);
    EXPECT_NE(text.find(" xml:space=\"preserve\">Pat  Worker</text>"), std::string::npos);
    EXPECT_EQ(Count(text, "xml:space"), 1u);
}

}  // namespace
}  // namespace qnvr::report
