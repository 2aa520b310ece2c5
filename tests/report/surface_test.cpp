// The drawing surface: pages, text cursor, sections and origins, printer controls.
#include <gtest/gtest.h>

#include "report/fonts.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

using testing::Record;
using testing::Texts;

TEST(ReportSurface, PageCountFollowsNewPageAndNeverEndsWithABlankPage) {
    struct Case {
        int drawnPages;
        bool newPageAfterLast;
        int expectedPages;
    };
    const Case cases[] = {{1, false, 1}, {3, false, 3}, {1, true, 1}, {3, true, 3}, {0, false, 1}};
    for (const Case& c : cases) {
        const PageSnapshot snapshot = Record([&](ReportSurface& s) {
            for (int i = 0; i < c.drawnPages; ++i) {
                if (i > 0) s.NewPage();
                s.GotoXY(1, 1);
                s.Println("page " + std::to_string(i + 1));
            }
            if (c.newPageAfterLast) s.NewPage();
        });
        EXPECT_EQ(snapshot.PageCount(), c.expectedPages) << c.drawnPages << " pages, trailing NewPage " << c.newPageAfterLast;
        if (c.drawnPages > 0) {
            EXPECT_EQ(Texts(snapshot.ReadPage(c.drawnPages)).at(0).text, "page " + std::to_string(c.drawnPages));
        }
    }
}

TEST(ReportSurface, PrintCenterAndPrintlnUseTheCursorAndTheCurrentFont) {
    const PageSnapshot snapshot = Record([](ReportSurface& s) {
        s.SetFont("Outline", 30);
        s.GotoXY(0.5, 1.83);
        s.PrintCenter("******* VOID *******", 6.3);
        s.SetFont("Arial", 9);
        s.GotoXY(0.13, 0.25);
        s.Println("JOHN Q PUBLIC");
        s.Println("");  // an empty line still advances
        s.Println("ANYTOWN NY 12345-6789");
        s.NewPage();
        s.Println("font kept");
    });
    const std::vector<TextOp> page1 = Texts(snapshot.ReadPage(1));
    ASSERT_EQ(page1.size(), 3u);
    EXPECT_EQ(page1[0], (TextOp{6.3, 1.83, "Outline", 30, TextAlign::Center, "******* VOID *******"}));
    const double line = LineHeightIn("Arial", 9);
    EXPECT_NEAR(line, 0.1445, 0.001);  // about 0.15 in, so three lines and a bar code fit a 1 in label
    EXPECT_EQ(page1[1], (TextOp{0.13, 0.25, "Arial", 9, TextAlign::Left, "JOHN Q PUBLIC"}));
    EXPECT_DOUBLE_EQ(page1[2].y, 0.25 + 2 * line);
    EXPECT_EQ(Texts(snapshot.ReadPage(2)).at(0).family, "Arial");
}

// The label grid makes every label a small page: origin at the label's corner, a
// section inset by the border, positions measured from the origin.
TEST(ReportSurface, SectionsAndOriginsPlaceEveryLabelOfAGrid) {
    const PageSnapshot snapshot = Record([](ReportSurface& s) {
        s.SetFont("Arial", 9);
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 3; ++col) {
                s.SetOrigin(0.188 + col * 2.75, 0.5 + row * 1.0);
                s.SetSection(0.13, 0.13, 2.495, 0.87);
                EXPECT_DOUBLE_EQ(s.XPos(), 0.13);
                s.SetYPos(0.38);
                EXPECT_DOUBLE_EQ(s.YPos(), 0.38);  // measured from the origin
                s.Println("L" + std::to_string(row * 3 + col + 1));
                s.Println("second line");
                s.Rectangle(0, 0, 2.625, 1.0);
            }
        }
    });
    const std::vector<TextOp> texts = Texts(snapshot.ReadPage(1));
    ASSERT_EQ(texts.size(), 12u);
    const TextOp& label6 = texts[10];
    EXPECT_EQ(label6.text, "L6");
    EXPECT_DOUBLE_EQ(label6.x, 0.188 + 2 * 2.75 + 0.13);
    EXPECT_DOUBLE_EQ(label6.y, 0.5 + 1.0 + 0.38);
    EXPECT_DOUBLE_EQ(texts[11].x, label6.x);  // Println returns to the section's left edge
    const Page page = snapshot.ReadPage(1);
    const auto& outline = std::get<RectOp>(page.ops[2].shape);
    EXPECT_DOUBLE_EQ(outline.x, 0.188);
    EXPECT_DOUBLE_EQ(outline.y, 0.5);
}

TEST(ReportSurface, ScreenOnlyDrawingIsMarked) {
    const Page page = Record([](ReportSurface& s) {
                          s.SetScreenOnly(true);
                          s.RoundRect(0.188, 0.5, 2.625, 1.0, 0.2, 0.2);
                          s.SetScreenOnly(false);
                          s.GotoXY(1, 1);
                          s.Println("on paper");
                      }).ReadPage(1);
    ASSERT_EQ(page.ops.size(), 2u);
    EXPECT_TRUE(page.ops[0].screenOnly);
    EXPECT_FALSE(page.ops[1].screenOnly);
}

TEST(ReportSurface, PrinterControlsAreRecordedAndThePageFollowsThePaper) {
    testing::RecordingPrinterPort port;
    const PageSnapshot snapshot = Record(
        [](ReportSurface& s) {
            EXPECT_EQ(s.Printers(), std::vector<std::string>{"PDF"});
            s.SelectPrinter("PDF");
            EXPECT_EQ(s.Papers(), (std::vector<std::string>{"Letter", "Legal"}));
            s.SelectPaper("Legal");
            s.SelectBin("Manual");
            s.SetOrientation(PageOrientation::Landscape);
            if (s.SupportsCollate()) s.SetCollate(true);
            if (s.SupportsDuplex()) s.SetDuplex(DuplexMode::dupHorizontal);
            s.SetCopies(0);
        },
        &port);
    EXPECT_EQ(snapshot.Settings(), (PrintSettings{"PDF", "Legal", "Manual", PageOrientation::Landscape, true, DuplexMode::dupHorizontal, 1}));
    const Page page = snapshot.ReadPage(1);
    EXPECT_DOUBLE_EQ(page.widthIn, 14);
    EXPECT_DOUBLE_EQ(page.heightIn, 8.5);
}

TEST(ReportSurface, AnUnknownPaperKeepsLetterAndItsName) {
    testing::RecordingPrinterPort port;
    const PageSnapshot snapshot = Record(
        [](ReportSurface& s) {
            s.SelectPrinter("Gone printer");
            s.SelectPaper("Foolscap");
        },
        &port);
    EXPECT_EQ(snapshot.Settings().paper, "Foolscap");
    EXPECT_DOUBLE_EQ(snapshot.ReadPage(1).heightIn, 11);
}

// Artwork drawn onto a fresh page is shared by reference; drawn onto a page that already
// has drawing it is appended in order; moved by an origin it is another, equally shared, artwork.
TEST(ReportSurface, ArtworkOnAFreshPageIsSharedAndOtherwiseDrawnInOrder) {
    auto artwork = std::make_shared<Artwork>();
    artwork->ops.push_back({RectOp{0.5, 0.5, 3, 1, 0.5, -1, 0, 0}, false});
    artwork->ops.push_back({TextOp{0.6, 0.65, "Arial", 6, TextAlign::Left, "Caption"}, false});
    const std::shared_ptr<const Artwork> shared = artwork;
    const PageSnapshot snapshot = Record([&](ReportSurface& s) {
        s.DrawArtwork(shared);  // page 1: fresh
        s.GotoXY(1, 1);
        s.Println("value 1");
        s.NewPage();
        s.DrawArtwork(shared);  // page 2: fresh again
        s.NewPage();
        s.GotoXY(1, 1);
        s.Println("first");     // page 3: drawn on before the artwork
        s.DrawArtwork(shared);
        s.NewPage();
        s.SetOrigin(0.25, 5.5);  // pages 4 and 5: moved
        s.DrawArtwork(shared);
        s.NewPage();
        s.DrawArtwork(shared);
        s.DrawArtwork(shared);  // a second time on the same page: drawn in full
    });
    ASSERT_EQ(snapshot.PageCount(), 5);
    const Page p1 = snapshot.ReadPage(1), p2 = snapshot.ReadPage(2), p3 = snapshot.ReadPage(3);
    const Page p4 = snapshot.ReadPage(4), p5 = snapshot.ReadPage(5);
    ASSERT_NE(p1.artwork, nullptr);
    EXPECT_EQ(*p1.artwork, *shared);
    EXPECT_EQ(p1.artwork.get(), p2.artwork.get());
    EXPECT_EQ(p1.ops.size(), 1u);
    EXPECT_TRUE(p2.ops.empty());  // a page showing only artwork is a page, not a blank

    EXPECT_EQ(p3.artwork, nullptr);
    ASSERT_EQ(p3.ops.size(), 3u);
    EXPECT_EQ(std::get<TextOp>(p3.ops[0].shape).text, "first");
    EXPECT_EQ(p3.ops[1], shared->ops[0]);

    ASSERT_NE(p4.artwork, nullptr);
    EXPECT_EQ(p4.artwork.get(), p5.artwork.get());
    EXPECT_NE(p4.artwork.get(), p1.artwork.get());
    EXPECT_EQ(std::get<RectOp>(p4.artwork->ops[0].shape).x, 0.75);
    EXPECT_EQ(std::get<TextOp>(p4.artwork->ops[1].shape).y, 0.65 + 5.5);
    EXPECT_EQ(p5.ops.size(), 2u);
    EXPECT_EQ(p5.ops, p4.artwork->ops);
    // Visiting a page's drawing gives the artwork first, then the page's own.
    std::vector<DrawOp> visited;
    ForEachOp(p1, [&visited](const DrawOp& op) { visited.push_back(op); });
    ASSERT_EQ(visited.size(), 3u);
    EXPECT_EQ(visited[0], shared->ops[0]);
    EXPECT_EQ(std::get<TextOp>(visited[2].shape).text, "value 1");
    EXPECT_EQ(Flattened(p1).ops, visited);
}

TEST(FontMetrics, ComeFromTheStandardHelveticaTables) {
    // Helvetica: "A" 667, "1" 556, space 278 thousandths of the size.
    EXPECT_NEAR(TextWidthIn("Arial", 72, "A1 "), (667 + 556 + 278) / 1000.0, 1e-9);
    // "Outline" measures as Helvetica-Bold ("A" 722); unknown families as Helvetica.
    EXPECT_NEAR(TextWidthIn("Outline", 72, "A"), 0.722, 1e-9);
    EXPECT_NEAR(TextWidthIn("Courier New", 72, "A"), 0.667, 1e-9);
    // Text outside Windows-1252 measures as the "?" it prints as; the em dash is in it.
    EXPECT_NEAR(TextWidthIn("Arial", 72, "\xE2\x82\xAC\xE4\xB8\x80"), (556 + 556) / 1000.0, 1e-9);
}

}  // namespace
}  // namespace qnvr::report
