// "CountryCodes.pdf" as the build delivers it beside the program: every code next to its
// country, on Letter pages, inside the margins.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "core/efw2/country_codes.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

using testing::PdfWord;

std::string FirstWord(std::string_view text) { return std::string(text.substr(0, text.find(' '))); }

TEST(CountryCodesPdf, EveryCodeStandsBesideItsCountryInsideTheMargins) {
    const std::filesystem::path pdf = QNVR_COUNTRY_CODES_PDF;
    ASSERT_TRUE(std::filesystem::is_regular_file(pdf)) << pdf;
    const std::vector<PdfWord> words = testing::PdfWords(pdf);
    ASSERT_FALSE(words.empty());

    int lastPage = 0;
    for (const CountryCode& row : Efw2CountryCodes()) {
        const PdfWord* code = nullptr;
        for (const PdfWord& w : words)
            if (w.text == row.code) code = &w;
        ASSERT_NE(code, nullptr) << row.code;
        bool besideName = false;
        for (const PdfWord& w : words)
            besideName |= w.page == code->page && std::abs(w.yMin - code->yMin) < 0.02 && w.xMin > code->xMax &&
                          w.xMin - code->xMin < 0.5 && w.text == FirstWord(row.name);
        EXPECT_TRUE(besideName) << row.code << " " << row.name;
        EXPECT_GE(code->page, lastPage) << "out of order: " << row.code;
        lastPage = code->page;
    }
    for (const PdfWord& w : words) {
        EXPECT_GE(w.xMin, 0.59) << w.text;
        EXPECT_LE(w.xMax, 7.91) << w.text;
        EXPECT_LE(w.yMax, 10.6) << w.text;
    }
    EXPECT_EQ(words.back().page, lastPage);  // no empty page at the end
}

}  // namespace
}  // namespace qnvr::report
