// "Inst W2W3.pdf" as the build delivers it beside the program: every Box 12 code of the
// program's list with its meaning, every W-2 box, the deadline and where the IRS
// instructions are, on Letter pages inside the margins.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "core/entry/code_lists.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

using testing::PdfWord;

std::string FirstWord(std::string_view text) { return std::string(text.substr(0, text.find(' '))); }

TEST(InstW2W3Pdf, GuidesThroughEveryBoxAndCode) {
    const std::filesystem::path pdf = QNVR_INST_W2W3_PDF;
    ASSERT_TRUE(std::filesystem::is_regular_file(pdf)) << pdf;
    const std::vector<PdfWord> words = testing::PdfWords(pdf);
    ASSERT_FALSE(words.empty());
    std::string text;
    for (const PdfWord& w : words) text += w.text + " ";

    for (const CodeListRow& row : Box12CodeRows()) {
        bool besideMeaning = false;
        for (const PdfWord& code : words)
            if (code.text == row.code)
                for (const PdfWord& w : words)
                    besideMeaning |= w.page == code.page && std::abs(w.yMin - code.yMin) < 0.03 &&
                                     w.xMin > code.xMax && w.text == FirstWord(row.description);
        EXPECT_TRUE(besideMeaning) << row.code << " " << row.description;
    }
    for (int box = 1; box <= 14; ++box)
        EXPECT_NE(text.find("Box " + std::to_string(box) + " "), std::string::npos) << "Box " << box;
    for (const char* phrase : {"February 1, 2027", "www.irs.gov/FormW2", "Form W-3, box by box", "$184,500"})
        EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
    for (const PdfWord& w : words) {
        EXPECT_GE(w.xMin, 0.74) << w.text;
        EXPECT_LE(w.xMax, 7.76) << w.text;
        EXPECT_LE(w.yMax, 10.7) << w.text;
    }
}

}  // namespace
}  // namespace qnvr::report
