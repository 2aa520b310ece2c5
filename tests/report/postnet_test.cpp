// POSTNET bar codes against the published USPS encoding.
#include <gtest/gtest.h>

#include "report/postnet.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

// "1" a full bar, "0" a half bar.
std::string Pattern(const std::vector<bool>& bars) {
    std::string s;
    for (bool full : bars) s += full ? '1' : '0';
    return s;
}

TEST(Postnet, DigitsFollowThePublishedTable) {
    const char* published[10] = {"11000", "00011", "00101", "00110", "01001",
                                 "01010", "01100", "10001", "10010", "10100"};
    for (int digit = 0; digit <= 9; ++digit) EXPECT_EQ(Pattern(PostnetDigitBars(digit)), published[digit]) << digit;
}

TEST(Postnet, CheckDigitBringsTheSumToAMultipleOfTen) {
    const std::pair<const char*, int> cases[] = {
        {"12345-6789", 5},  // 45 -> 5
        {"55555-1237", 2},  // 38 -> 2
        {"00000-0000", 0},
        {"99999-9999", 9},  // 81 -> 9
    };
    for (const auto& [zip, check] : cases) EXPECT_EQ(PostnetCheckDigit(zip), check) << zip;
}

TEST(Postnet, ZipPlusFourIsFrameNineDigitsCheckDigitFrame) {
    const std::string bars = Pattern(PostnetBars("12345-6789"));
    ASSERT_EQ(bars.size(), 52u);  // 2 frame bars + 10 digits x 5
    EXPECT_EQ(bars, "1" "00011" "00101" "00110" "01001" "01010" "01100" "10001" "10010" "10100" "01010" "1");
}

TEST(Postnet, BarsAreDrawnWithTheLabelGeometry) {
    const Page page = testing::Record([](ReportSurface& s) {
                          s.SetOrigin(0.188, 0.5);
                          PostnetBarcode barcode{0.13, 0.80, 0.13, 0.02, "12345-6789"};
                          barcode.Print(s);
                      }).ReadPage(1);
    ASSERT_EQ(page.ops.size(), 52u);
    const auto bar = [&](int i) { return std::get<RectOp>(page.ops[i].shape); };
    const RectOp first = bar(0), second = bar(1);
    EXPECT_DOUBLE_EQ(first.x, 0.188 + 0.13);
    EXPECT_DOUBLE_EQ(first.w, 0.02);
    EXPECT_DOUBLE_EQ(first.h, 0.13);
    EXPECT_DOUBLE_EQ(first.y + first.h, 0.5 + 0.80);  // bottom of every bar on one line
    EXPECT_DOUBLE_EQ(first.fillGray, 0.0);
    EXPECT_NEAR(second.x - first.x, 0.02 + 0.0254, 1e-12);  // pitch: bar width + 0.0254 in
    EXPECT_NEAR(second.h, 0.4 * 0.13, 1e-12);               // digit 1 starts with a half bar
    EXPECT_DOUBLE_EQ(second.y + second.h, first.y + first.h);
}

}  // namespace
}  // namespace qnvr::report
