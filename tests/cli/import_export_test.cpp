// qnvr import and qnvr export, run as a user runs them.
#include <sys/file.h>

#include <gtest/gtest.h>

#include "cli/qnvr_fixture.h"

namespace qnvr {
namespace {

using testing::Employees;
using testing::Employer;
using testing::QnvrTest;
using testing::ReadBytes;
using testing::ReadText;
using testing::Result;
using testing::WritePayerFile;

const std::string kHeader = "SSN,First Name,Last Name,Address,City,State,Zip,Wages\n";

class ImportExportTest : public QnvrTest {
protected:
    std::string Csv(const std::string& name, const std::string& text) {
        const std::string path = dir.File(name);
        testing::WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
        return path;
    }
    // A payer file as New leaves it: the payer's record and one blank employee record.
    std::string NewPayer(const std::string& name) {
        const std::string path = dir.File(name + ".W226");
        WritePayerFile(path, Employer(name), {W2Record{}});
        return path;
    }
};

TEST_F(ImportExportTest, HelpListsImportAndExport) {
    const Result r = Run({"help"});
    EXPECT_NE(r.out.find("qnvr import [--map MAPFILE] [--on-duplicate update|skip|add]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("qnvr export -o OUT.csv PAYER.W226"), std::string::npos) << r.out;
}

TEST_F(ImportExportTest, ADryRunReportsAndWritesNothingThenTheImportWritesTheGoodRows) {
    const std::string payer = NewPayer("ACME");
    const std::string csv = Csv("staff.csv", kHeader +
                                                 "123-45-6780,Pat,Lee,1 Elm St,Albany,NY,12207,1000\n"
                                                 "234567890,Dana,,2 Oak Ave,Troy,NY,12180,2000\n"
                                                 "345678901,Bo,Ray,4 Ash Ln,Rome,NY,13440,(5.00)\n");
    const auto before = ReadBytes(payer);
    Result r = Run({"import", "--dry-run", csv, payer});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "line 2: would add 123-45-6780 Lee, Pat\n"
                     "Dry run, nothing written: 1 employee added, 0 updated, 0 skipped, 2 rows refused.\n");
    EXPECT_EQ(r.err, csv + ": Line 3, column \"Last Name\": Employee's last name is missing.\n" + csv +
                         ": Line 4, column \"Wages\": \"(5.00)\" is a negative amount; amounts below zero are not accepted.\n");
    EXPECT_EQ(ReadBytes(payer), before);

    r = Run({"import", csv, payer});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "1 employee added, 0 updated, 0 skipped, 2 rows refused.\n");
    r = Run({"totals", payer});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("1000.00"), std::string::npos) << r.out;

    // All rows good now: exit status 0, and the employee is updated, not added again.
    const std::string fixed = Csv("fixed.csv", kHeader + "123456780,Pat,Lee,1 Elm St,Albany,NY,12207,1500\n");
    r = Run({"import", fixed, payer});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 employees added, 1 updated, 0 skipped, 0 rows refused.\n");
    r = Run({"import", "--on-duplicate", "skip", fixed, payer});
    EXPECT_EQ(r.out, "0 employees added, 0 updated, 1 skipped, 0 rows refused.\n");
}

TEST_F(ImportExportTest, AMappingFileSemicolonsAndWindows1252AreHonoured) {
    const std::string payer = NewPayer("ACME");
    const std::string csv = Csv("ansi.csv", "Emp No;Given;Family;Street;Town;St;Post;Gross\r\n"
                                            "123456780;Ren\xE9;Lee;1 Rue \xC9t\xE9;Albany;NY;12207;1.234,00\r\n");
    const std::string map = Csv("payroll.map", "Emp No\tBoxa\nGiven\tBoxe1\nFamily\tBoxe3\nStreet\tBoxf_a\n"
                                               "Town\tBoxf_b\nSt\tBoxf_c\nPost\tBoxf_d\nGross\tAmount1\n");
    Result r = Run({"import", "--map", map, csv, payer});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, csv + ": Line 2, column \"Gross\": \"1.234,00\" has more than two decimals.\n");
    const std::string plain = Csv("plain.csv", "Emp No;Given;Family;Street;Town;St;Post;Gross\r\n"
                                               "123456780;Ren\xE9;Lee;1 Rue \xC9t\xE9;Albany;NY;12207;1234.00\r\n");
    r = Run({"import", "--map", map, plain, payer});
    EXPECT_EQ(r.status, 0) << r.err;
    r = Run({"export", "-o", dir.File("out.csv"), payer});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "1 employee written to " + dir.File("out.csv") + "\n");
    EXPECT_NE(ReadText(dir.File("out.csv")).find("123-45-6780,,Ren\xC3\xA9,,Lee,,1 Rue \xC3\x89t\xC3\xA9,Albany,NY,12207,1234.00"),
              std::string::npos)
        << ReadText(dir.File("out.csv"));
}

TEST_F(ImportExportTest, ExportThenImportIntoANewPayerFileGivesTheSameEmployees) {
    const std::string payer = dir.File("OLD.W226");
    WritePayerFile(payer, Employer("OLD"), Employees(3));
    Result r = Run({"export", "-o", dir.File("old.csv"), payer});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string fresh = NewPayer("NEW");
    r = Run({"import", dir.File("old.csv"), fresh});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "3 employees added, 0 updated, 0 skipped, 0 rows refused.\n");
    r = Run({"export", "-o", dir.File("new.csv"), fresh});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadText(dir.File("new.csv")), ReadText(dir.File("old.csv")));
}

TEST_F(ImportExportTest, APayerFileTheDesktopProgramHoldsIsNotChanged) {
    const std::string payer = NewPayer("ACME");
    const std::string csv = Csv("staff.csv", kHeader + "123456780,Pat,Lee,1 Elm St,Albany,NY,12207,1000\n");
    const auto before = ReadBytes(payer);
    const int held = ::open(payer.c_str(), O_RDWR);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    const Result r = Run({"import", csv, payer});
    ::close(held);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is open in browse only mode. No employee has been imported."), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(payer), before);
}

TEST_F(ImportExportTest, WrongArgumentsAreUsageErrors) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"import", "only.csv"}, {"import", "--on-duplicate", "merge", "a.csv", "b.W226"},
          {"export", "b.W226"}})
        EXPECT_EQ(Run(args).status, 2) << args[0] << " " << args[1];
}

}  // namespace
}  // namespace qnvr
