// qnvr print: every kind of output of a payer file, read back with poppler's tools, one
// PDF per employee, printing through the test print server, and refusals that leave no
// output behind.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "cli/qnvr_fixture.h"
#include "core/program/program_setup.h"
#include "platform/print/cups_pdf_printer.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;
using testing::Employee;
using testing::Employer;
using testing::PdfPageCount;
using testing::PdfText;
using testing::QnvrTest;
using testing::ReadBytes;
using testing::Result;
using testing::WriteBytes;

// Employees whose names and SSNs tell them apart: Pat Worker101, 123-45-1001, ...
std::vector<W2Record> Workers(int count) {
    std::vector<W2Record> employees;
    for (int k = 1; k <= count; ++k) {
        W2Record w2 = Employee(k, 1000 * k);
        w2.Boxe1 = "Pat";
        w2.Boxe3 = "Worker" + std::to_string(100 + k);
        w2.Boxf_csz = "Troy NY 12180-" + std::to_string(4000 + k);
        employees.push_back(w2);
    }
    return employees;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class PrintTest : public QnvrTest {
protected:
    void SetUp() override {
        QnvrTest::SetUp();
        fs::copy_file(std::string(QNVR_PROGRAM_DIR) + kReportDesignFileName, programDir + kReportDesignFileName);
    }
    // qnvr print with its own settings folder, so the user's printer setup stays out.
    Result Print(std::vector<std::string> args) {
        args.insert(args.begin(), "print");
        return Run(args, {"HOME=" + dir.File("home"), "XDG_CONFIG_HOME=" + dir.File("home/.config")});
    }
    std::string payer = Payer("ACME", Employer("ACME TOOLS"), Workers(5));
    std::string out = dir.File("out.pdf");
};

TEST_F(PrintTest, EachKindPrintsItsPagesAndValues) {
    struct Case {
        std::vector<std::string> args;
        int pages;
        std::vector<std::string> shown, hidden;
    } cases[] = {
        {{"employee"}, 5, {"***-**-1001", "WORKER105", "ACME TOOLS", "1,000.00"}, {"123-45-1001"}},
        {{"employee", "--unmasked"}, 5, {"123-45-1001", "123-45-1005"}, {"***-**-1001"}},
        {{"employer"}, 2, {"Copy D", "123-45-1005", "VOID", "5,000.00"}, {"Copy 1"}},
        {{"state"}, 2, {"Copy 1", "For State, City, or Local Tax Department"}, {"Copy D"}},
        // The W-3's totals come from the employees: 1,000 + ... + 5,000.
        {{"w3"}, 1, {"15000.00", "ACME TOOLS"}, {}},
        {{"labels"}, 1, {"Worker101", "Troy NY 12180-4005"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--pdf", out, payer});
        const Result r = Print(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(PdfPageCount(out), c.pages);
        const std::string text = PdfText(out);
        for (const std::string& s : c.shown) EXPECT_TRUE(Has(text, s)) << s;
        for (const std::string& s : c.hidden) EXPECT_FALSE(Has(text, s)) << s;
    }
}

TEST_F(PrintTest, ThirtyOneLabelsTakeTwoSheets) {
    const std::string many = Payer("MANY", Employer("MANY"), Workers(31));
    ASSERT_EQ(Print({"labels", "--pdf", out, many}).status, 0);
    EXPECT_EQ(PdfPageCount(out), 2);
}

TEST_F(PrintTest, CopyAOnlyOntoPreprintedFormsWithValuesAndNoArtwork) {
    const Result refused = Print({"ssa", "--pdf", out, payer});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Has(refused.err, "red-ink")) << refused.err;
    EXPECT_FALSE(fs::exists(out));

    for (const std::vector<std::string>& kind : {std::vector<std::string>{"ssa"}, {"w3"}}) {
        std::vector<std::string> args = kind;
        args.insert(args.end(), {"--preprinted", "--offset", "0.05,-0.10", "--pdf", out, payer});
        const Result r = Print(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string text = PdfText(out);
        EXPECT_TRUE(Has(text, "ACME TOOLS")) << kind[0];
        // Only the values: none of the form's own captions.
        EXPECT_FALSE(Has(text, "Wages, tips, other compensation")) << kind[0];
        EXPECT_FALSE(Has(text, "Employer identification number")) << kind[0];
    }
    EXPECT_EQ(Print({"ssa", "--preprinted", "--pdf", out, payer}).status, 0);
    EXPECT_EQ(PdfPageCount(out), 3);  // five employees, two to a page
}

TEST_F(PrintTest, SplitWritesOnePdfPerEmployeeNamedSoAPersonFindsIt) {
    const std::string split = dir.File("split");
    const Result r = Print({"employee", "--split", split, payer});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(split)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(names[0], "Worker101_Pat_1001.pdf");
    EXPECT_EQ(PdfPageCount(split + "/" + names[4]), 1);
    EXPECT_TRUE(Has(PdfText(split + "/" + names[4]), "***-**-1005"));
}

TEST_F(PrintTest, HtmlAndSnapshotOutputs) {
    const std::string html = dir.File("out.html"), ndr = dir.File("out.ndr");
    ASSERT_EQ(Print({"w3", "--html", html, payer}).status, 0);
    const auto page = ReadBytes(html);
    EXPECT_TRUE(Has({page.begin(), page.end()}, "ACME TOOLS"));
    ASSERT_EQ(Print({"labels", "--ndr", ndr, payer}).status, 0);
    const auto snapshot = ReadBytes(ndr);
    EXPECT_EQ(std::string(snapshot.begin(), snapshot.begin() + 8), "QNVRSNAP");
}

TEST_F(PrintTest, RefusalsExitOneAndLeaveTheOutputAsItWas) {
    WriteBytes(out, {'o', 'l', 'd'});
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"copyb", "--pdf", out, payer}, "unknown KIND"},
        {{"employee", "--pdf", out, dir.File("MISSING.W226")}, "MISSING.W226"},
        {{"employee", "--printer", "NO_SUCH_PRINTER", payer}, "NO_SUCH_PRINTER"},
        {{"employee", "--pdf", dir.File("no/such/folder/out.pdf"), payer}, "out.pdf"},
        {{"ssa", "--pdf", out, payer}, "--preprinted"},
    };
    for (const Case& c : cases) {
        const Result r = Print(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0] << ": " << r.err;
        EXPECT_TRUE(Has(r.err, c.message)) << r.err;
        EXPECT_EQ(ReadBytes(out), (std::vector<unsigned char>{'o', 'l', 'd'}));
    }
    EXPECT_FALSE(fs::exists(dir.File("no")));
    EXPECT_EQ(Print({"employee", "--offset", "1,1", "--pdf", out, payer}).status, 2);
}

TEST_F(PrintTest, PrintsThroughTheTestPrintServer) {
    const std::string marker = "PRINTTEST " + std::to_string(::getpid());
    const std::string mine = Payer("MINE", Employer(marker), Workers(2));
    const auto started = fs::file_time_type::clock::now();
    const Result r = Print({"employee", "--printer", testing::TestPrinter(), mine});
    ASSERT_EQ(r.status, 0) << r.err;
    // The PDF printer names its files after the job title; ours is the one with the marker.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(testing::TestPrinterOutput(), ec)) {
            if (entry.last_write_time(ec) < started - std::chrono::seconds(2)) continue;
            if (PdfPageCount(entry.path()) == 2 && Has(PdfText(entry.path()), marker)) return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    FAIL() << "no printed PDF with " << marker;
}

}  // namespace
}  // namespace qnvr
