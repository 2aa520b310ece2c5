// qnvr design: one page of a design with the given parameters, as PDF, HTML or snapshot.
#include <gtest/gtest.h>

#include "core/support/temp_dir.h"
#include "report/snapshot.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

using qnvr::testing::TempDir;

std::string Qnvr(const std::string& args) {
    return testing::RunCommand("QNVR_PROGRAM_DIR='" QNVR_ASSETS_DIR "' '" QNVR_CLI "' " + args + " 2>&1; echo \"exit $?\"");
}

TEST(DesignCommand, RendersTheParametersIntoEachFormat) {
    TempDir dir;
    EXPECT_EQ(Qnvr("design FormW3 --param Box1=1234567.50 --param 'Signature=Pat Q Smith' --pdf '" + dir.File("w3.pdf") + "'"), "exit 0\n");
    const std::vector<testing::PdfWord> words = testing::PdfWords(dir.Path() / "w3.pdf");
    const auto amount = std::find_if(words.begin(), words.end(), [](const auto& w) { return w.text == "1234567.50"; });
    ASSERT_NE(amount, words.end());
    EXPECT_NEAR(amount->xMax, 5.783, 0.01);  // right-aligned in box 1 of the W-3

    EXPECT_EQ(Qnvr("design FormW2_SSA --names --ndr '" + dir.File("ssa.ndr") + "'"), "exit 0\n");
    const PageSnapshot snapshot = PageSnapshot::OpenFile(dir.Path() / "ssa.ndr");
    EXPECT_EQ(snapshot.PageCount(), 1);
    const std::vector<TextOp> texts = testing::Texts(snapshot.ReadPage(1));
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const TextOp& t) { return t.text == "Box14bTTOC2_2"; }));

    EXPECT_EQ(Qnvr("design FormW2 --html '" + dir.File("w2.html") + "'"), "exit 0\n");
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "w2.html"));
}

TEST(DesignCommand, RefusesUnknownDesignsMissingFilesAndBadArguments) {
    TempDir dir;
    const std::string out = dir.File("x.pdf");
    EXPECT_EQ(Qnvr("design FormW9 --pdf '" + out + "'"),
              "qnvr design: The report design file \"" QNVR_ASSETS_DIR "/W2TXFR26.json\" holds no report named \"FormW9\".\nexit 1\n");
    EXPECT_EQ(Qnvr("design FormW3 --designs '" + dir.File("none.json") + "' --pdf '" + out + "'"),
              "qnvr design: The report design file \"" + dir.File("none.json") +
                  "\" could not be opened: No such file or directory.\nexit 1\n");
    EXPECT_NE(Qnvr("design FormW3 --param Box1 --pdf '" + out + "'").find("--param takes NAME=VALUE"), std::string::npos);
    EXPECT_NE(Qnvr("design FormW3 --pdf a.pdf --html b.html").find("exactly one of --pdf, --html and --ndr\nUsage:"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace qnvr::report
