// qnvr design: one page of a design with the given parameters, as PDF, HTML or snapshot.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/support/temp_dir.h"
#include "report/snapshot.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

using qnvr::testing::TempDir;

// before: shell commands run first, in the same shell (limits for the command).
std::string Qnvr(const std::string& args, const std::string& before = "") {
    return testing::RunCommand(before + "QNVR_PROGRAM_DIR='" QNVR_ASSETS_DIR "' '" QNVR_CLI "' " + args +
                               " 2>&1; echo \"exit $?\"");
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

// Every output onto a full disk (here: a file size limit of 2 KB, which stops every
// write beyond it as a full disk does) fails with a message, keeps the old file whole
// and leaves no temporary file.
TEST(DesignCommand, AFullDiskKeepsThePreviousOutputAndSaysSo) {
    TempDir dir;
    const std::string old(3000, 'o');
    for (const char* format : {"pdf", "html", "ndr"}) {
        const std::string out = dir.File(std::string("w2.") + format);
        std::ofstream(out) << old;
        const std::string result = Qnvr("design FormW2 --names --" + std::string(format) + " '" + out + "'",
                                        "trap '' XFSZ; ulimit -f 2; ");
        EXPECT_NE(result.find("could not be written: File too large"), std::string::npos) << format << ": " << result;
        EXPECT_NE(result.find("exit 1"), std::string::npos) << format << ": " << result;
        std::ifstream in(out);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old) << format;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);
}

// What a parameter holds reaches the page as valid UTF-8 text: bytes that are no UTF-8
// and control characters are shown as the replacement character, markup is escaped.
TEST(DesignCommand, HtmlCarriesEveryParameterAsEscapedUtf8) {
    TempDir dir;
    const std::string out = dir.File("w3.html");
    EXPECT_EQ(Qnvr("design FormW3 --param \"Signature=$(printf 'A\\377B\\001C\\033D<i>&\\303\\251')\" --html '" + out + "'"),
              "exit 0\n");
    std::ifstream in(out, std::ios::binary);
    const std::string html(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(html.find("A\xEF\xBF\xBD" "B\xEF\xBF\xBD" "C\xEF\xBF\xBD" "D&lt;i&gt;&amp;\xC3\xA9"), std::string::npos);
    for (const char c : html) {
        const auto byte = static_cast<unsigned char>(c);
        EXPECT_TRUE(byte >= 0x20 || byte == '\n') << "control character " << int(byte);
    }
    EXPECT_EQ(html.find('\xFF'), std::string::npos);
}

}  // namespace
}  // namespace qnvr::report
