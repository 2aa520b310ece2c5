#include "report/page_text.h"

#include <gtest/gtest.h>

namespace qnvr::report {
namespace {

TEST(PageText, OneLinePerOperationInThousandthsOfAnInch) {
    Page page;
    page.ops.push_back({TextOp{1.25, 1.83, "Arial", 10, TextAlign::Left, "123-45-6789"}});
    page.ops.push_back({TextOp{6.3, 7.25, "Outline", 30, TextAlign::Center, "******* VOID *******"}});
    page.ops.push_back({TextOp{8, 1, "Courier New", 7.5, TextAlign::Right, "say \"hi\"\\\tnow \xC3\xA9"}});
    page.ops.push_back({LineOp{0.5, 0.6, 8.0, 0.6, 0.5}});
    page.ops.push_back({RectOp{0.5, 0.6, 7.5, 0.3, 0.5, 0.9, 0.1, 0.1}});
    page.ops.push_back({RectOp{1, 2, 0.02, 0.125, 0, 0}});
    page.ops.push_back({RectOp{0.188, 0.5, 2.625, 1, 0.25}, true});
    EXPECT_EQ(PageText(page),
              "page 8500 11000\n"
              "text 1250 1830 \"Arial\" 10pt left \"123-45-6789\"\n"
              "text 6300 7250 \"Outline\" 30pt center \"******* VOID *******\"\n"
              "text 8000 1000 \"Courier New\" 7.5pt right \"say \\\"hi\\\"\\\\\\x09now \xC3\xA9\"\n"
              "line 500 600 8000 600 0.5pt\n"
              "rect 500 600 7500 300 0.5pt fill 0.9 round 100 100\n"
              "rect 1000 2000 20 125 0pt fill 0\n"
              "screen rect 188 500 2625 1000 0.25pt\n");
}

// A page showing a shared artwork reads as drawn: the artwork's operations, then its own.
TEST(PageText, ThePageSharedArtworkComesFirst) {
    auto artwork = std::make_shared<Artwork>();
    artwork->ops.push_back({LineOp{0.5, 0.6, 8.0, 0.6, 0.5}});
    Page page;
    page.artwork = artwork;
    page.ops.push_back({TextOp{1.25, 1.83, "Arial", 10, TextAlign::Left, "X"}});
    EXPECT_EQ(PageText(page), "page 8500 11000\nline 500 600 8000 600 0.5pt\ntext 1250 1830 \"Arial\" 10pt left \"X\"\n");
    EXPECT_EQ(PageText(page), PageText(Flattened(page)));
}

// Positions that differ below half a thousandth of an inch, as sums of inches computed
// another way do, write the same text.
TEST(PageText, RoundsToTheNearestThousandth) {
    Page a, b;
    a.ops.push_back({LineOp{0.1 + 0.2, 2.0 / 3.0, 0.0004, -0.25, 0.1 + 0.2}});
    b.ops.push_back({LineOp{0.3, 0.667, 0, -0.25, 0.3}});
    EXPECT_EQ(PageText(a), PageText(b));
    EXPECT_EQ(PageText(b), "page 8500 11000\nline 300 667 0 -250 0.3pt\n");
}

}  // namespace
}  // namespace qnvr::report
