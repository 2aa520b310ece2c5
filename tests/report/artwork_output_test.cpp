// Each design's artwork is written once per document: the PDF as one shared content
// stream, the HTML as one SVG symbol. The pages must look exactly as when every page
// carries its artwork in full: both are rasterised and compared, pixel for pixel (PDF)
// and, through a real browser's print of the HTML, within a small tolerance.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "core/support/temp_dir.h"
#include "report/html_renderer.h"
#include "report/pdf_renderer.h"
#include "report/report_project.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

using qnvr::testing::TempDir;
using testing::Count;
using testing::ReadText;
using testing::RunCommand;

const std::vector<std::string> kDesigns = {"FormW2_SSA", "FormW3", "FormW2", "FormW2_CopyD1"};


// Two filled pages of each design, in turn: every parameter prints its own name on the
// first, the name after "2" on the second.
PageSnapshot FilledPages(const std::vector<std::string>& designs) {
    ReportProject project;
    project.SetProjectFile(testing::DesignFilePath());
    project.Open();
    return testing::Record([&](ReportSurface& surface) {
        bool first = true;
        for (const std::string& design : designs) {
            project.SelectReport(design);
            for (const char* prefix : {"", "2"}) {
                if (!first) surface.NewPage();
                first = false;
                for (const std::string& name : project.ParameterNames()) project.SetParam(name, prefix + name);
                project.ExecuteOn(surface);
                project.ClearParams();
            }
        }
    });
}

// The same pages with every operation on every page, as written before artworks were shared.
PageSnapshot DrawnInFull(const PageSnapshot& snapshot, const std::filesystem::path& file) {
    std::vector<Page> pages;
    for (int n = 1; n <= snapshot.PageCount(); ++n) pages.push_back(Flattened(snapshot.ReadPage(n)));
    WriteSnapshotFile(file, pages);
    return PageSnapshot::OpenFile(file);
}

// A grey image of one page (poppler's pdftoppm, binary PGM).
struct Gray {
    int width = 0, height = 0;
    std::string pixels;
};

Gray ReadPgm(const std::filesystem::path& file) {
    const std::string bytes = ReadText(file);
    Gray image;
    int maxValue = 0, consumed = 0;
    if (std::sscanf(bytes.c_str(), "P5 %d %d %d%n", &image.width, &image.height, &maxValue, &consumed) != 3 ||
        maxValue != 255) {
        ADD_FAILURE() << file << " is not an 8-bit PGM";
        return image;
    }
    image.pixels = bytes.substr(consumed + 1);
    if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) ADD_FAILURE() << file << " is short";
    return image;
}

// Page images of a PDF at the given resolution: prefix-1.pgm, prefix-2.pgm, ...
std::vector<Gray> PageImages(const std::filesystem::path& pdf, int dpi, const std::filesystem::path& prefix) {
    RunCommand("pdftoppm -gray -r " + std::to_string(dpi) + " '" + pdf.string() + "' '" + prefix.string() + "'");
    std::vector<Gray> images;
    for (int n = 1;; ++n) {
        const std::filesystem::path file = prefix.string() + "-" + std::to_string(n) + ".pgm";
        if (!std::filesystem::exists(file)) break;
        images.push_back(ReadPgm(file));
    }
    return images;
}

int PdfPageCount(const std::filesystem::path& pdf) {
    const std::string info = RunCommand("pdfinfo '" + pdf.string() + "' 2>&1");
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// How many pixels of two images of one size differ.
std::size_t Differing(const Gray& a, const Gray& b) {
    if (a.pixels.size() != b.pixels.size()) return std::max(a.pixels.size(), b.pixels.size());
    std::size_t n = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] != b.pixels[i];
    return n;
}

// Old and new: each page alone in a document of its own (its artwork then written in
// full on it, as on the first page of any document) must look exactly as the same page
// referring to the document's shared artwork; and the pages with every operation on
// every page, as written before artworks were shared, must look the same too. Poppler
// draws a few glyphs a shade differently when the same text sits in one text object
// with the captions instead of a text object of its own (measured: 19 pixels of one
// glyph on a FormW2 page at 60 dpi, none elsewhere), so that comparison allows a
// handful of pixels a page.
TEST(ArtworkOutput, PdfPagesLookExactlyAsWhenEachPageCarriesItsArtwork) {
    TempDir dir;
    const PageSnapshot shared = FilledPages(kDesigns);
    const PageSnapshot full = DrawnInFull(shared, dir.Path() / "full.ndr");
    ASSERT_TRUE(RenderPdf(shared, dir.Path() / "shared.pdf"));
    ASSERT_TRUE(RenderPdf(full, dir.Path() / "full.pdf"));

    const std::vector<Gray> sharedImages = PageImages(dir.Path() / "shared.pdf", 60, dir.Path() / "shared");
    const std::vector<Gray> fullImages = PageImages(dir.Path() / "full.pdf", 60, dir.Path() / "full");
    ASSERT_EQ(sharedImages.size(), 2 * kDesigns.size());
    ASSERT_EQ(fullImages.size(), sharedImages.size());
    for (std::size_t i = 0; i < sharedImages.size(); ++i) {
        SCOPED_TRACE(kDesigns[i / 2] + ", page " + std::to_string(i + 1));
        const int pageNo = static_cast<int>(i) + 1;
        PdfOptions alone;
        alone.range = {pageNo, pageNo};
        const std::string name = "alone" + std::to_string(pageNo);
        ASSERT_TRUE(RenderPdf(shared, dir.Path() / (name + ".pdf"), alone));
        const std::vector<Gray> aloneImage = PageImages(dir.Path() / (name + ".pdf"), 60, dir.Path() / name);
        ASSERT_EQ(aloneImage.size(), 1u);
        EXPECT_EQ(Differing(sharedImages[i], aloneImage[0]), 0u);
        EXPECT_LE(Differing(sharedImages[i], fullImages[i]), 40u);
    }
    // Every page still has its text: the shared stream's fonts resolve on each page.
    const std::string text = RunCommand("pdftotext -f 4 -l 4 '" + dir.File("shared.pdf") + "' - 2>&1");
    EXPECT_NE(text.find("33333"), std::string::npos) << text;
    EXPECT_NE(text.find("2Boxa"), std::string::npos) << text;
    EXPECT_EQ(text.find("Error"), std::string::npos) << text;
}

TEST(ArtworkOutput, ThePdfHoldsEachArtworkOnce) {
    TempDir dir;
    const std::vector<std::string> many(10, "FormW2");  // 20 pages of one design
    const PageSnapshot shared = FilledPages(many);
    RenderPdf(shared, dir.Path() / "shared.pdf");
    RenderPdf(DrawnInFull(shared, dir.Path() / "full.ndr"), dir.Path() / "full.pdf");
    const auto size = [&](const char* name) { return std::filesystem::file_size(dir.Path() / name); };
    EXPECT_LT(size("shared.pdf") * 2, size("full.pdf"));
    // Every page lists the same artwork stream among its contents.
    const std::string pdf = ReadText(dir.Path() / "shared.pdf");
    std::map<std::string, int> artworkStreams;
    for (std::size_t at = pdf.find("/Contents ["); at != std::string::npos; at = pdf.find("/Contents [", at + 1)) {
        std::istringstream contents(pdf.substr(at + 11, pdf.find(']', at) - at - 11));
        std::string first, second;
        contents >> first >> second >> second >> second;  // "N 0 R M 0 R ...": the second stream
        ++artworkStreams[second];
    }
    ASSERT_EQ(artworkStreams.size(), 1u);
    EXPECT_EQ(artworkStreams.begin()->second, 20);
    EXPECT_EQ(PdfPageCount(dir.Path() / "shared.pdf"), 20);
}

TEST(ArtworkOutput, TheHtmlDefinesEachArtworkOnceAsASymbolThatEachPageUses) {
    TempDir dir;
    const PageSnapshot shared = FilledPages(kDesigns);
    ASSERT_TRUE(RenderHtml(shared, dir.Path() / "out.html"));
    const std::string html = ReadText(dir.Path() / "out.html");
    EXPECT_EQ(Count(html, "<symbol id=\"artwork-"), kDesigns.size());
    EXPECT_EQ(Count(html, "<use href=\"#artwork-"), 2 * kDesigns.size());
    EXPECT_EQ(Count(html, "<section class=\"page\""), 2 * kDesigns.size());
    EXPECT_EQ(Count(html, ">33333</text>"), 1u);  // the W-3's caption, in its symbol only
    // Each symbol comes before the first page that uses it.
    EXPECT_LT(html.find("<symbol id=\"artwork-2\""), html.find("<use href=\"#artwork-2\""));
    EXPECT_GT(html.find("<symbol id=\"artwork-2\""), html.find("id=\"page-2\""));
}

// The HTML export as a browser shows and prints it: headless Chromium prints each
// design's export to PDF, which must have as many letter pages as our PDF, with page
// images that match ours but for the browser's own antialiasing and glyph shapes.
TEST(ArtworkOutput, ABrowserPrintsTheHtmlAsTheSamePagesAsThePdf) {
    if (RunCommand("command -v chromium").empty()) GTEST_SKIP() << "chromium is not installed";
    TempDir dir;
    for (const std::string& design : kDesigns) {
        SCOPED_TRACE(design);
        const PageSnapshot snapshot = FilledPages({design});
        const auto html = dir.Path() / (design + ".html");
        const auto pdf = dir.Path() / (design + ".pdf");
        const auto printed = dir.Path() / (design + "-browser.pdf");
        RenderHtml(snapshot, html);
        RenderPdf(snapshot, pdf);
        RunCommand("HOME='" + dir.Path().string() + "' timeout 60 chromium --headless --no-sandbox --disable-gpu "
                   "--no-pdf-header-footer --print-to-pdf='" + printed.string() + "' 'file://" + html.string() +
                   "' >/dev/null 2>&1");
        ASSERT_TRUE(std::filesystem::exists(printed));
        EXPECT_EQ(PdfPageCount(printed), PdfPageCount(pdf));
        EXPECT_NE(RunCommand("pdfinfo '" + printed.string() + "'").find("612 x 792 pts (letter)"), std::string::npos);

        const std::vector<Gray> ours = PageImages(pdf, 40, dir.Path() / (design + "-ours"));
        const std::vector<Gray> browser = PageImages(printed, 40, dir.Path() / (design + "-browser"));
        ASSERT_EQ(browser.size(), ours.size());
        for (std::size_t p = 0; p < ours.size(); ++p) {
            ASSERT_EQ(browser[p].pixels.size(), ours[p].pixels.size());
            long total = 0, far = 0;
            for (std::size_t i = 0; i < ours[p].pixels.size(); ++i) {
                const int d = std::abs(static_cast<unsigned char>(ours[p].pixels[i]) -
                                       static_cast<unsigned char>(browser[p].pixels[i]));
                total += d;
                if (d > 128) ++far;
            }
            const double mean = static_cast<double>(total) / ours[p].pixels.size();
            const double farShare = static_cast<double>(far) / ours[p].pixels.size();
            // Measured: 0.8 to 3 grey levels on average, from glyph shapes and antialiasing;
            // a missing or displaced artwork or value moves far more pixels far more.
            EXPECT_LT(mean, 6.0) << "page " << p + 1;
            EXPECT_LT(farShare, 0.01) << "page " << p + 1;
            RecordProperty(design + "_page" + std::to_string(p + 1), std::to_string(mean) + " " + std::to_string(farShare));
        }
    }
}

}  // namespace
}  // namespace qnvr::report
