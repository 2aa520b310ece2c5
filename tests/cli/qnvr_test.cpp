// The built qnvr run on payer files written by the tests: output, exit status, and that
// refusals leave every file as it was.
#include <algorithm>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <functional>
#include <map>
#include <tuple>
#include <nlohmann/json.hpp>

#include "core/base/scripted_prompter.h"
#include "core/efw2/efw2_files.h"
#include "core/efw2/efw2_records.h"
#include "core/efw2/submitter_record.h"
#include "cli/qnvr_fixture.h"
#include "core/store/password.h"
#include "efw2/efw2_fixture.h"
#include "efw2/written_efw2_files.h"
#include "support/temp_dir.h"
#include "transfer/prior_year_fixture.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;
using testing::Employee;
using testing::Employees;
using testing::Employer;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using testing::WritePayerFile;

using testing::QnvrTest;
using testing::ReadText;
using testing::Result;

TEST_F(QnvrTest, HelpListsEveryCommand) {
    const Result r = Run({"help"});
    EXPECT_EQ(r.status, 0);
    for (const char* usage : {"qnvr show PAYER.W226", "qnvr totals PAYER.W226", "qnvr check PAYER.W226",
                              "qnvr audit FILE [--json]",
                              "qnvr efw2 [--settings FILE] [--allow-invalid] -o OUT PAYER.W226 [PAYER.W226 ...]",
                              "qnvr transfer [--overwrite] [--to DIR] FROM_DIR [NAME.W325 ...]"})
        EXPECT_NE(r.out.find(usage), std::string::npos) << usage;
}

TEST_F(QnvrTest, ShowPrintsBothRecordsAsJsonWithoutThePassword) {
    W3Record w3 = Employer("ACME");
    w3.Boxc = 2;
    w3.Password = Scramble("SECRET1");
    W2Record second = Employee(2, 1234.5);
    second.Box13b = true;
    second.Box12Code[0] = "DD";
    const std::string payer = Payer("ACME", w3, {Employee(1, 10), second});
    const auto before = ReadBytes(payer);

    const Result r = Run({"show", payer}, {"QNVR_PASSWORD=SECRET1"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["w3"]["Boxf_a"], "ACME");
    EXPECT_EQ(json["w3"]["Boxc"], 2);
    EXPECT_EQ(json["w3"]["Boxb1"], true);
    EXPECT_FALSE(json["w3"].contains("Password"));
    ASSERT_EQ(json["w2"].size(), 2u);
    EXPECT_EQ(json["w2"][1]["Boxa"], "123-45-1002");
    EXPECT_EQ(json["w2"][1]["Amount1"], 1234.5);
    EXPECT_EQ(json["w2"][1]["Box13b"], true);
    EXPECT_EQ(json["w2"][1]["Box12Code1"], "DD");
    EXPECT_EQ(json["w2"][1]["Box12Amt12"], 0.0);
    EXPECT_EQ(ReadBytes(payer), before);
}

TEST_F(QnvrTest, AProtectedPayerFileNeedsItsPassword) {
    W3Record w3 = Employer("ACME");
    w3.Password = Scramble("SECRET1");
    const std::string payer = Payer("ACME", w3, Employees(1));
    Result r = Run({"show", payer});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("password"), std::string::npos) << r.err;
    r = Run({"show", payer}, {"QNVR_PASSWORD=WRONG"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Incorrect Password"), std::string::npos) << r.err;
}

TEST_F(QnvrTest, MissingOrDamagedPayerFilesAreErrorsAndNothingIsCreated) {
    const std::string missing = dir.File("NONE.W226");
    Result r = Run({"show", missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("NONE.W226: no such payer file"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_FALSE(fs::exists(dir.File("NONE.W326")));

    const std::string damaged = Payer("DAMAGED", 1);
    WriteBytes(damaged, std::vector<unsigned char>(100, 0));
    r = Run({"totals", damaged});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("damaged"), std::string::npos) << r.err;

    EXPECT_EQ(Run({"show"}).status, 2);
    EXPECT_EQ(Run({"show", "a", "b"}).status, 2);
    EXPECT_EQ(Run({"nonsense"}).status, 2);
}

TEST_F(QnvrTest, TotalsAreRecomputedFromTheW2RecordsWithoutWritingTheFile) {
    std::vector<W2Record> employees = Employees(2);  // wages 1000 and 2000
    employees[0].Box12Code[0] = "d";
    employees[0].Box12Amt[0] = 250.255;
    employees[1].Box16b = 0.5;
    employees[1].Amount8 = 12;
    const std::string payer = Payer("ACME", Employer("ACME"), employees);
    const auto before = ReadBytes(dir.File("ACME.W326"));

    const Result r = Run({"totals", payer});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Boxc: 2\nAmount1: 3000.00\nAmount2: 0.00\nAmount3: 3000.00\nAmount4: 186.00\nAmount5: 3000.00\n"
              "Amount6: 43.50\nAmount7: 0.00\nAmount8: 12.00\nAmount9: 0.00\nAmount10: 0.00\nAmount11: 0.00\n"
              "Box12a: 250.26\nBox16: 3000.50\nBox17: 0.00\nBox18: 0.00\nBox19: 0.00\n");
    EXPECT_EQ(ReadBytes(dir.File("ACME.W326")), before);
}

TEST_F(QnvrTest, CheckReportsEachFailingRecord) {
    const std::string good = Payer("GOOD", 2);
    Result r = Run({"check", good});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "");

    W3Record w3 = Employer("BAD");
    w3.Boxb1 = false;
    std::vector<W2Record> employees = Employees(3);
    employees[1].Boxe3 = "";
    employees[2].Boxa = "000-00-0000";
    r = Run({"check", Payer("BAD", w3, employees)});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "W-3: The Kind of Payer box has not been checked.\n"
              "W-2 record 2: Employee's last name is missing.\n"
              "W-2 record 3: Social security number is invalid.\n");
}

TEST_F(QnvrTest, Efw2OfOnePayerIsACompleteClientFile) {
    const std::string payer = Payer("ACME", 3);
    const std::string out = dir.File("ACME.txt");
    const auto settingsBefore = ReadBytes(programDir + "QNVR.W2S");
    const Result r = Run({"efw2", "-o", out, payer});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Outline(out), (std::vector<std::string>{"RA", "RE", "RW", "RW", "RW", "RT 0000003", "RF 000000003"}));
    // The RT carries the totals of the W-2 records, though the W-3 file holds none.
    EXPECT_EQ(ReadText(out).substr(5 * 514 + 9, 15), "000000000600000");
    EXPECT_EQ(r.out, out + ": 1 employer, 3 Forms W-2, wages $6,000.00\n");
    // The desktop program's run state is untouched.
    EXPECT_EQ(ReadBytes(programDir + "QNVR.W2S"), settingsBefore);
    EXPECT_FALSE(fs::exists(programDir + "QNVR.CP"));
}

TEST_F(QnvrTest, Efw2OfSeveralPayersIsAMasterFile) {
    const std::string settings = dir.File("other.W2S");
    fs::copy_file(programDir + "QNVR.W2S", settings);
    fs::remove(programDir + "QNVR.W2S");
    const std::string out = dir.File("master.txt");
    auto employer = [](const std::string& name, const std::string& ein) {
        W3Record w3 = Employer(name);
        w3.Boxe = ein;
        return w3;
    };
    const Result r = Run({"efw2", "--settings", settings, "-o", out, Payer("ALPHA", employer("ALPHA", "12-0000001"), Employees(2)),
                          Payer("BRAVO", employer("BRAVO", "12-0000002"), Employees(3)),
                          Payer("CHARLIE", employer("CHARLIE", "12-0000003"), Employees(4))});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Outline(out), (std::vector<std::string>{"RA", "RE", "RW", "RW", "RT 0000002", "RE", "RW", "RW", "RW",
                                                      "RT 0000003", "RE", "RW", "RW", "RW", "RW", "RT 0000004",
                                                      "RF 000000009"}));
    EXPECT_EQ(ReadText(out).substr(514 + 39, 5), "ALPHA");
}

// The records of a large payer reach the file in parts while the rest is made; the file
// is the same as the records made one by one.
TEST_F(QnvrTest, Efw2OfPayersLargerThanOnePartIsTheSameAsItsRecords) {
    const std::string out = dir.File("large.txt");
    std::vector<std::pair<W3Record, std::vector<W2Record>>> payers;
    for (const auto& [name, ein, count] : {std::tuple{"LARGE", "12-0000001", 4500}, {"SMALL", "12-0000002", 3}}) {
        W3Record w3 = Employer(name);
        w3.Boxe = ein;
        payers.emplace_back(w3, Employees(count, 10.01));
    }
    std::string expected = BuildSubmitterRecord(ReadSubmitterFile(programDir + "QNVR.W2S")) + "\r\n";
    std::vector<std::string> args = {"efw2", "-o", out};
    int forms = 0;
    for (const auto& [w3, employees] : payers) {
        args.push_back(Payer(w3.Boxf_a, w3, employees));
        EmployeeSums sums;
        expected += BuildEmployerRecord(w3) + "\r\n";
        for (const W2Record& w2 : employees) {
            expected += BuildEmployeeRecord(w2) + "\r\n";
            sums.Add(w2);
        }
        const int count = static_cast<int>(employees.size());
        expected += BuildTotalRecord(sums.WithTotals(w3), count, sums) + "\r\n";
        forms += count;
    }
    expected += BuildFinalRecord(forms) + "\r\n";
    const Result r = Run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(ReadText(out) == expected);  // 2.3 MB: not printed when it fails
    EXPECT_TRUE(r.out.starts_with(out + ": 2 employers, 4503 Forms W-2, wages $")) << r.out;
}

TEST_F(QnvrTest, Efw2RefusalsLeaveAnExistingOutputUntouched) {
    const std::string out = dir.File("out.txt");
    const std::string good = Payer("GOOD", 2);
    std::vector<W2Record> invalidEmployees = Employees(1);
    invalidEmployees[0].Boxf_d = "1234";
    const std::string invalid = Payer("INVALID", Employer("INVALID"), invalidEmployees);
    const std::string empty = Payer("EMPTY", Employer("EMPTY"), {W2Record{}});
    const std::string sameEmployer = Payer("GOOD2", Employer("good"), Employees(1));
    // Refusals come in the order of the checks, whichever record shows them first.
    W2Record noWagesBadZip;
    noWagesBadZip.Boxf_d = "1234";
    const std::string emptyAndInvalid = Payer("EMPTYBAD", Employer("EMPTYBAD"), {noWagesBadZip});
    std::vector<W2Record> unwritableThenInvalid = Employees(2);
    unwritableThenInvalid[0].Boxf_b = "K\xc3\xb6ln \xe2\x82\xac";
    unwritableThenInvalid[1].Boxf_d = "1234";
    const std::string unwritable = Payer("UNWRITABLE", Employer("UNWRITABLE"), unwritableThenInvalid);
    SubmitterRecord badSettings = ReadSubmitterFile(programDir + "QNVR.W2S");
    badSettings.UserID = "SHORT";
    const std::string badSettingsFile = dir.File("bad.W2S");
    WriteSubmitterFile(badSettingsFile, badSettings);

    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"--settings", badSettingsFile, "-o", out, good}, "BSO User ID must be 8 characters."},
        {{"--settings", dir.File("none.W2S"), "-o", out, good}, "none.W2S"},
        {{"-o", out, good, empty}, "EMPTY.W226: This client file does not have any valid W-2 employees."},
        {{"-o", out, invalid}, "INVALID.W226: W-2 record 1: Employee's Zip Code is not valid."},
        {{"-o", out, emptyAndInvalid}, "EMPTYBAD.W226: This client file does not have any valid W-2 employees."},
        {{"-o", out, unwritable}, "UNWRITABLE.W226: W-2 record 2: Employee's Zip Code is not valid."},
        {{"--allow-invalid", "-o", out, unwritable},
         "UNWRITABLE.W226: W-2 record 1 (EMPLOYEE NUMBER1): Box f, Employee's city: the character \"\xe2\x82\xac\""},
        {{"-o", out, good, sameEmployer}, "GOOD2.W226: the employer with EIN 12-3456789 is already in this report, from " + good},
        {{"-o", out, good, dir.File("NONE.W226")}, "NONE.W226: no such payer file"},
        {{"-o", good, good}, "is an input file"},
        {{"-o", dir.File("FormsW2Report.txt"), good}, "FormsW2Report.txt is not written by qnvr"},
        {{"-o", dir.File("no/such/folder/out.txt"), good}, "Unable to save " + dir.File("no/such/folder/out.txt")},
        // An output that cannot be written is reported after the payers' refusals.
        {{"-o", dir.File("no/such/folder/out.txt"), invalid}, "INVALID.W226: W-2 record 1: Employee's Zip Code"},
    };
    for (const Case& c : cases) {
        WriteBytes(out, {'O', 'L', 'D'});
        const auto goodBefore = ReadBytes(good);
        std::vector<std::string> args = {"efw2"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = Run(args);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(ReadText(out), "OLD") << c.message;
        EXPECT_EQ(ReadBytes(good), goodBefore) << c.message;
        EXPECT_FALSE(fs::exists(dir.File("FormsW2Report.txt")));
        // Nor is anything of the refused report left beside it.
        for (const auto& entry : fs::directory_iterator(dir.File("")))
            EXPECT_FALSE(entry.path().filename().string().starts_with(".out.txt.")) << c.message << ": " << entry.path();
    }

    // An invalid payer is written when the user says so.
    const Result r = Run({"efw2", "--allow-invalid", "-o", out, invalid});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Outline(out), (std::vector<std::string>{"RA", "RE", "RW", "RT 0000001", "RF 000000001"}));
    // The invalid ZIP code is in the file, and the audit finds it.
    const Result audit = Run({"audit", out});
    EXPECT_EQ(audit.status, 1);
    EXPECT_NE(audit.out.find("line 3 RW, employee EMPLOYEE NUMBER1 (SSN ending 1001), ZIP code (positions 134-138): "
                             "ZIP code \"1234\" must be 5 digits."),
              std::string::npos)
        << audit.out;
    fs::remove(out);
}

TEST_F(QnvrTest, Efw2UsageErrorsExitWithTwo) {
    const std::string good = Payer("GOOD", 1);
    const std::vector<std::vector<std::string>> cases = {
        {"efw2", good},
        {"efw2", "-o", dir.File("out.txt")},
        {"efw2", "--bogus", "-o", dir.File("out.txt"), good},
        {"efw2", "-o"},
    };
    for (const auto& args : cases) {
        const Result r = Run(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_NE(r.err.find("Usage: qnvr efw2"), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir.File("out.txt")));
}

TEST_F(QnvrTest, APayerFileHeldByTheDesktopProgramIsReadAndNeverWritten) {
    const std::string payer = Payer("ACME", 2);
    ScriptedPrompter prompter;
    TFrmDataModule desktop{CorePorts{.prompter = prompter}};  // holds the files as the desktop program does
    desktop.OpenPayerFile(payer);
    ASSERT_TRUE(desktop.PayerFileOpen());
    const auto before = ReadBytes(payer);
    const auto w3Before = ReadBytes(dir.File("ACME.W326"));

    EXPECT_EQ(Run({"show", payer}).status, 0);
    EXPECT_EQ(Run({"totals", payer}).status, 0);
    const Result r = Run({"efw2", "-o", dir.File("out.txt"), payer});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(payer), before);
    EXPECT_EQ(ReadBytes(dir.File("ACME.W326")), w3Before);
    // The desktop program still holds its files for writing.
    desktop.EditW2Rec([&](W2Record& w2) { w2.Boxe3 = "CHANGED"; });
    EXPECT_TRUE(desktop.RSW2().PostRec());
}

// An amount read from a file is checked against what the forms' fields can hold: a
// huge one used to overflow the conversion to cents and be filed as zero.
TEST_F(QnvrTest, AmountsNoFieldCanHoldFailCheckAndAreNeverFiled) {
    struct Case {
        const char* name;
        std::function<void(W2Record&)> set;
        const char* message;
    };
    const Case cases[] = {
        {"huge wages", [](W2Record& w) { w.Amount1 = 1e17; }, "Box 1 of employee EMPLOYEE NUMBER1 (123-45-1001) holds $100,000,000,000,000,000.00"},
        {"one cent too many", [](W2Record& w) { w.Amount2 = 1e9; }, "Box 2 of employee EMPLOYEE NUMBER1 (123-45-1001) holds $1,000,000,000.00, beyond the $999,999,999.99"},
        {"not a number", [](W2Record& w) { w.Amount3 = std::nan(""); }, "Box 3 of employee EMPLOYEE NUMBER1 (123-45-1001) holds no number"},
        {"infinite box 12", [](W2Record& w) { w.Box12Code[2] = "DD"; w.Box12Amt[2] = INFINITY; }, "Box 12c of employee"},
        {"huge negative state tax", [](W2Record& w) { w.Box17b = -1e300; }, "Box 17 line 2 of employee"},
    };
    for (const Case& c : cases) {
        std::vector<W2Record> employees = Employees(2);
        c.set(employees[0]);
        const std::string payer = Payer("HUGE", Employer("HUGE"), employees);
        Result r = Run({"check", payer});
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_NE(r.out.find("W-2 record 1: " + std::string(c.message)), std::string::npos) << c.name << ": " << r.out;

        const std::string out = dir.File("huge.txt");
        r = Run({"efw2", "-o", out, payer});
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
        EXPECT_FALSE(fs::exists(out)) << c.name;
        // Written anyway on request, an amount too large for its field is still refused.
        r = Run({"efw2", "--allow-invalid", "-o", out, payer});
        if (std::string(c.name) != "huge negative state tax") {
            EXPECT_EQ(r.status, 1) << c.name << ": " << r.out;
            EXPECT_FALSE(fs::exists(out)) << c.name;
        }
        fs::remove(out);
    }

    // The largest amounts the fields take pass.
    std::vector<W2Record> employees = Employees(1);
    employees[0].Amount1 = employees[0].Box16a = 999999999.99;
    employees[0].Amount3 = employees[0].Amount5 = 184500;  // at the wage base, so the audit passes
    employees[0].Amount4 = 11439;
    employees[0].Amount6 = 2675.25;
    const std::string payer = Payer("LARGEST", Employer("LARGEST"), employees);
    EXPECT_EQ(Run({"check", payer}).status, 0);
    const Result r = Run({"efw2", "-o", dir.File("largest.txt"), payer});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadText(dir.File("largest.txt")).substr(514 * 2 + 187, 11), "99999999999");
    EXPECT_NE(r.out.find("wages $999,999,999.99"), std::string::npos) << r.out;

    // A W-3 amount beyond twelve dollar digits.
    W3Record w3 = Employer("W3");
    w3.Box14 = 1e13;
    const Result w3Check = Run({"check", Payer("W3", w3, Employees(1))});
    EXPECT_EQ(w3Check.status, 1);
    EXPECT_NE(w3Check.out.find("W-3: Box 14 of the W-3 record holds $10,000,000,000,000.00, beyond the "
                               "$999,999,999,999.99 a Form W-3 box can hold."),
              std::string::npos)
        << w3Check.out;
}

// A payer file whose size is no whole number of records (cut during a copy), a W-3 file
// with bytes after its record, or more records than the program keeps, is refused
// whole: no command reads part of it, and nothing is written to it.
TEST_F(QnvrTest, DamagedPayerFileSizesAreRefusedNamingTheFileAndItsSize) {
    struct Case {
        const char* name;
        std::string file;  // which of the pair is damaged
        std::function<void(std::vector<unsigned char>&)> damage;
        std::string message;
    };
    const Case cases[] = {
        {"W-2 cut short", "P.W226", [](auto& b) { b.resize(b.size() - 1); }, "P.W226 is 1703 bytes long, which is no whole number of 568-byte records"},
        {"W-2 with bytes after", "P.W226", [](auto& b) { b.resize(b.size() + 100); }, "P.W226 is 1804 bytes long"},
        {"W-3 with bytes after", "P.W326", [](auto& b) { b.push_back(0); }, "P.W326 is 609 bytes long, but holds one record of 608 bytes."},
        {"W-3 twice", "P.W326", [](auto& b) { b.insert(b.end(), b.begin(), b.end()); }, "P.W326 is 1216 bytes long"},
    };
    for (const Case& c : cases) {
        const std::string payer = Payer("P", 3);
        auto bytes = ReadBytes(dir.File(c.file));
        c.damage(bytes);
        WriteBytes(dir.File(c.file), bytes);
        const auto w2Before = ReadBytes(payer), w3Before = ReadBytes(dir.File("P.W326"));
        for (const char* command : {"show", "check", "totals"}) {
            const Result r = Run({command, payer});
            EXPECT_EQ(r.status, 1) << c.name << " " << command;
            EXPECT_NE(r.err.find(dir.File(c.message)), std::string::npos) << c.name << " " << command << ": " << r.err;
            EXPECT_EQ(r.out, "") << c.name << " " << command;
        }
        const Result r = Run({"efw2", "-o", dir.File("out.txt"), payer});
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_FALSE(fs::exists(dir.File("out.txt"))) << c.name;
        EXPECT_EQ(ReadBytes(payer), w2Before) << c.name;
        EXPECT_EQ(ReadBytes(dir.File("P.W326")), w3Before) << c.name;
    }

    // One record more than the program's limit of 10,000.
    const std::string payer = Payer("MANY", Employer("MANY"), std::vector<W2Record>(10001, testing::Employee(1, 10)));
    const Result r = Run({"check", payer});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(payer + " holds 10001 records, more than the 10000"), std::string::npos) << r.err;
}

TEST_F(QnvrTest, TheSameEmployerIsRefusedByItsEinHoweverTheFilesAreNamed) {
    const std::string first = Payer("ACME", 2);
    const std::string second = Payer("ACME  ", Employer("ACME  "), Employees(1));
    const std::string out = dir.File("master.txt");
    const Result r = Run({"efw2", "-o", out, first, second});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(second + ": the employer with EIN 12-3456789 is already in this report, from " + first),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(QnvrTest, CommandLinesTakeTheirOperandsSafely) {
    const std::string payer = Payer("ACME", 1);
    // "--" ends the options, so a file name may begin with "-".
    fs::rename(payer, dir.File("-ACME.W226"));
    fs::rename(dir.File("ACME.W326"), dir.File("-ACME.W326"));
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    struct BackToFolder {
        fs::path folder;
        ~BackToFolder() { fs::current_path(folder); }
    } back{before};
    EXPECT_EQ(Run({"show", "--", "-ACME.W226"}).status, 0);
    EXPECT_EQ(Run({"check", "--", "-ACME.W226"}).status, 0);
    Result r = Run({"efw2", "-o", "out.txt", "--", "-ACME.W226"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Run({"efw2", "-o", "out.txt", "-ACME.W226"}).status, 2);

    // The W-3 file of a pair is no payer argument.
    r = Run({"show", "--", "-ACME.W326"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("-ACME.W326: is no payer file; give its .W226 file"), std::string::npos) << r.err;

    // What a usage error repeats from the command line reaches the terminal escaped.
    r = Run({"efw2", "--\x1b]0;owned\x07", "-o", "out.txt", "-ACME.W226"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
    EXPECT_NE(r.err.find("unknown option --\\x1B]0;owned\\x07"), std::string::npos) << r.err;
    r = Run({"no\x9b\xffsuch"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown command \"no\\x9B\\xFFsuch\""), std::string::npos) << r.err;
    r = Run({"show", "caf\xc3\xa9\r.W226"});
    EXPECT_NE(r.err.find("caf\xc3\xa9\\x0D.W226"), std::string::npos) << r.err;
}

// ---- qnvr audit ----

// Three employees whose taxes match their wages; the third earns above the social
// security wage base and the additional Medicare tax threshold.
std::vector<W2Record> AuditedEmployees() {
    struct Person {
        const char* first;
        const char* last;
        double wages, ssWages, ssTax, mcWages, mcTax, deferral;
    };
    const Person people[] = {
        {"ALICE", "SMITH", 50000, 50000, 3100, 50000, 725, 5000},
        {"BRUNO", "DIAZ", 120000, 120000, 7440, 120000, 1740, 0},
        {"CARLA", "JONES", 250000, 184500, 11439, 250000, 4075, 0},
    };
    std::vector<W2Record> employees;
    for (const Person& p : people) {
        W2Record w2 = Employee(static_cast<int>(employees.size()) + 1, p.wages);
        w2.Boxe1 = p.first;
        w2.Boxe3 = p.last;
        w2.Amount3 = p.ssWages;
        w2.Amount4 = p.ssTax;
        w2.Amount5 = p.mcWages;
        w2.Amount6 = p.mcTax;
        if (p.deferral > 0) {
            w2.Box12Code[0] = "D";
            w2.Box12Amt[0] = p.deferral;
        }
        employees.push_back(w2);
    }
    return employees;
}

// A wage file as lines of 514 bytes (the record and CR LF) and the edits that place one
// fault in it.
struct Efw2Bytes {
    std::string bytes;

    std::size_t At(int line, int position) const { return static_cast<std::size_t>(line - 1) * 514 + position - 1; }
    void Put(int line, int position, std::string_view text) { std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(At(line, position))); }
    long long Number(int line, int position, int width) const {
        return std::stoll(bytes.substr(At(line, position), static_cast<std::size_t>(width)));
    }
    void PutNumber(int line, int position, int width, long long value) {
        std::string digits = std::to_string(value);
        Put(line, position, std::string(static_cast<std::size_t>(width) - digits.size(), '0') + digits);
    }
    // An RW money field set to cents, with the employer's RT total (line 6) kept equal
    // to the sum, so that only the RW relation is at fault.
    void SetMoney(int line, int rwPosition, long long cents) {
        static const std::map<int, int> kRtOf = {{210, 40}, {221, 55}, {232, 70}, {243, 85}, {287, 145}};
        const long long delta = cents - Number(line, rwPosition, 11);
        PutNumber(line, rwPosition, 11, cents);
        const int rt = kRtOf.at(rwPosition);
        PutNumber(6, rt, 15, Number(6, rt, 15) + delta);
    }
    std::string Line(int line) const { return bytes.substr(At(line, 1), 514); }
    void RemoveLine(int line) { bytes.erase(At(line, 1), 514); }
};

class QnvrAuditTest : public QnvrTest {
protected:
    // The clean file, as qnvr efw2 writes it: RA, RE, 3 RW, RT, RF.
    Efw2Bytes CleanFile() {
        const std::string out = dir.File("CLEAN.txt");
        const Result r = Run({"efw2", "-o", out, Payer("ACME", Employer("ACME"), AuditedEmployees())});
        EXPECT_EQ(r.status, 0) << r.err;
        return {ReadText(out)};
    }
    // Mutated files are kept out of the audit of the files the tests write (.txt).
    std::string Write(const Efw2Bytes& file, const std::string& name) {
        const std::string path = dir.File(name + ".mutated");
        WriteBytes(path, {file.bytes.begin(), file.bytes.end()});
        return path;
    }
};

TEST_F(QnvrAuditTest, TheCleanFileHasNoFinding) {
    const std::string path = Write(CleanFile(), "clean");
    Result r = Run({"audit", path});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, path + ": No problems found in 7 records.\n");
    r = Run({"audit", path, "--json"});
    EXPECT_EQ(r.status, 0);
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["findings"].size(), 0u);
    EXPECT_EQ(json["records"], 7);
    EXPECT_EQ(json["employees"], 3);
    EXPECT_EQ(json["summary"], "No problems found in 7 records.");
}

TEST_F(QnvrAuditTest, EachPlacedFaultGivesItsOneFinding) {
    const Efw2Bytes clean = CleanFile();
    struct Case {
        const char* fault;
        std::function<void(Efw2Bytes&)> place;
        const char* severity;
        int line;
        const char* record;
        int fieldFrom;  // 0: the record as a whole
        const char* message;
    };
    const Case cases[] = {
        {"a line of 511 characters", [](Efw2Bytes& f) { f.bytes.erase(f.At(3, 500), 1); }, "error", 3, "RW", 0,
         "511 characters long"},
        {"a missing CR", [](Efw2Bytes& f) { f.bytes.erase(f.At(2, 513), 1); }, "error", 2, "RE", 0,
         "line feed alone"},
        {"a tab", [](Efw2Bytes& f) { f.Put(3, 495, "\t"); }, "error", 3, "RW", 490, "0x09 (tab)"},
        {"a byte above 0x7E", [](Efw2Bytes& f) { f.Put(3, 13, "\xD6"); }, "error", 3, "RW", 12, "0xD6"},
        {"RE before RA",
         [](Efw2Bytes& f) {
             const std::string ra = f.Line(1), re = f.Line(2);
             f.bytes.replace(0, 514 * 2, re + ra);
         },
         "error", 2, "RA", 0, "must be the first record"},
        {"RT missing", [](Efw2Bytes& f) { f.RemoveLine(6); }, "error", 6, "RF", 0, "RT record is missing"},
        {"RF count off by one", [](Efw2Bytes& f) { f.PutNumber(7, 8, 9, 4); }, "error", 7, "RF", 8,
         "counts 4 RW records; the file holds 3"},
        {"an RT total off by one cent", [](Efw2Bytes& f) { f.PutNumber(6, 10, 15, f.Number(6, 10, 15) + 1); }, "error",
         6, "RT", 10, "it is 1 cent more"},
        {"a bad SSN area", [](Efw2Bytes& f) { f.Put(3, 3, "666"); }, "error", 3, "RW", 3, "area may not be 000, 666"},
        {"a bad EIN prefix", [](Efw2Bytes& f) { f.Put(2, 8, "07"); }, "error", 2, "RE", 8, "begins with 07"},
        {"social security wages over the base",
         [](Efw2Bytes& f) {
             f.SetMoney(3, 210, 190000'00);
             f.SetMoney(3, 221, 11439'00);
             f.SetMoney(3, 232, 190000'00);
             f.SetMoney(3, 243, 2755'00);
         },
         "error", 3, "RW", 210, "above the 2026 wage base of $184,500.00 by $5,500.00"},
        {"social security tax not matching the wages", [](Efw2Bytes& f) { f.SetMoney(3, 221, 3000'00); }, "warning",
         3, "RW", 221, "is not 6.2 % of the social security wages and tips of $50,000.00, which is $3,100.00"},
        {"Medicare tax below 1.45 %", [](Efw2Bytes& f) { f.SetMoney(3, 243, 700'00); }, "warning", 3, "RW", 243,
         "below 1.45 %"},
        {"high Medicare wages with more than the additional tax", [](Efw2Bytes& f) { f.SetMoney(5, 243, 4200'00); },
         "warning", 5, "RW", 243, "plus the additional 0.9 % of the part above $200,000.00, which is $4,075.00"},
        {"a deferral over the limit", [](Efw2Bytes& f) { f.SetMoney(3, 287, 40000'00); }, "warning", 3, "RW", 287,
         "limit of $24,500.00 plus the largest catch-up of $11,250.00"},
        {"an unknown state code", [](Efw2Bytes& f) { f.Put(3, 132, "ZZ"); }, "error", 3, "RW", 132,
         "\"ZZ\" is not a state code"},
        {"tax year 2025", [](Efw2Bytes& f) { f.Put(2, 3, "2025"); }, "error", 2, "RE", 3, "tax year is \"2025\""},
    };
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Efw2Bytes file = clean;
        c.place(file);
        const Result r = Run({"audit", "--json", Write(file, "case" + std::to_string(++number))});
        EXPECT_EQ(r.status, std::string(c.severity) == "error" ? 1 : 0) << r.err;
        const auto json = nlohmann::json::parse(r.out);
        ASSERT_EQ(json["findings"].size(), 1u) << json.dump(2);
        const auto& finding = json["findings"][0];
        EXPECT_EQ(finding["severity"], c.severity);
        EXPECT_EQ(finding["line"], c.line);
        EXPECT_EQ(finding["record"], c.record);
        if (c.fieldFrom)
            EXPECT_EQ(finding["field"]["from"], c.fieldFrom) << finding.dump();
        else
            EXPECT_FALSE(finding.contains("field")) << finding.dump();
        EXPECT_NE(finding["message"].get<std::string>().find(c.message), std::string::npos) << finding.dump();
    }
}

TEST_F(QnvrAuditTest, FindingsNameTheEmployeeAndTheFieldOnOneLineEach) {
    Efw2Bytes file = CleanFile();
    file.Put(3, 3, "000");
    file.SetMoney(4, 221, 7000'00);
    const std::string path = Write(file, "two");
    const Result r = Run({"audit", path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              "Error, line 3 RW, employee ALICE SMITH (SSN ending 1001), Social security number (positions 3-11): The "
              "social security number 000-45-1001 is not valid: its area may not be 000, 666 or 900 to 999, its group "
              "not 00 and its serial not 0000.\n"
              "Warning, line 4 RW, employee BRUNO DIAZ (SSN ending 1002), Social security tax withheld (positions "
              "221-231): Social security tax of $7,000.00 is not 6.2 % of the social security wages and tips of "
              "$120,000.00, which is $7,440.00.\n" +
                  path + ": 1 error and 1 warning in 7 records.\n");
}

TEST_F(QnvrAuditTest, WrongArgumentsExitWithTwoAndAMissingFileWithOne) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"audit"}, {"audit", "a.txt", "b.txt"}, {"audit", "--bogus", "a.txt"}}) {
        const Result r = Run(args);
        EXPECT_EQ(r.status, 2) << args.size();
        EXPECT_NE(r.err.find("Usage: qnvr audit FILE [--json]"), std::string::npos) << r.err;
    }
    const Result r = Run({"audit", dir.File("none.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("none.txt"), std::string::npos) << r.err;
}

// Letters with diacritics are written as their base letters, and check says so first;
// a character with no ASCII form is refused, naming the employee and the field.
TEST_F(QnvrAuditTest, AccentedNamesAreFoldedAndOtherCharactersRefused) {
    std::vector<W2Record> employees = AuditedEmployees();
    employees[0].Boxe3 = "MÜLLER-GROß";
    employees[0].Boxe2 = "é";
    employees[1].Boxe1 = "ÆLFRED";
    const std::string payer = Payer("ACME", Employer("ACME"), employees);
    Result r = Run({"check", payer});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "W-2 record 1: warning: Box e, Employee's middle initial \"é\" is written as \"e\" in the EFW2 file, "
              "which holds plain ASCII only.\n"
              "W-2 record 1: warning: Box e, Employee's last name \"MÜLLER-GROß\" is written as \"MULLER-GROSS\" in "
              "the EFW2 file, which holds plain ASCII only.\n"
              "W-2 record 2: warning: Box e, Employee's first name \"ÆLFRED\" is written as \"AELFRED\" in the EFW2 "
              "file, which holds plain ASCII only.\n");
    const std::string out = dir.File("FOLDED.txt");
    r = Run({"efw2", "-o", out, payer});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = ReadText(out);
    EXPECT_EQ(text.substr(2 * 514 + 26, 35), "e              MULLER-GROSS        ");
    EXPECT_EQ(text.substr(3 * 514 + 11, 15), "AELFRED        ");
    EXPECT_EQ(Run({"audit", out}).status, 0);

    employees[1].Boxf_b = "K€LN";
    const std::string refused = Payer("REFUSED", Employer("REFUSED"), employees);
    r = Run({"check", refused});
    EXPECT_NE(r.out.find("W-2 record 2: warning: Box f, Employee's city: the character \"€\" cannot be written"),
              std::string::npos)
        << r.out;
    WriteBytes(out, {'O', 'L', 'D'});
    r = Run({"efw2", "-o", out, refused});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("W-2 record 2 (ÆLFRED DIAZ): Box f, Employee's city: the character \"€\" cannot be written "
                         "to an EFW2 file"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(ReadText(out), "OLD");
}

// qnvr transfer on last year's files: one line per file, the same pair as the
// transfer window writes, skip and overwrite, failures that do not stop the others.
class QnvrTransferTest : public QnvrTest {
protected:
    void SetUp() override {
        QnvrTest::SetUp();
        fs::create_directories(from);
        fs::create_directories(to);
        testing::PriorPayer protectedPayer;
        protectedPayer.password = Scramble("Secret7");
        testing::WritePriorPayerFile(from, "ACME", protectedPayer, testing::ThreePriorEmployees());
        testing::WritePriorPayerFile(from, "Beta", testing::PriorPayer{}, {});
        testing::WritePriorPayerFile(from, "Zeta", testing::PriorPayer{}, testing::ThreePriorEmployees());
        fs::remove(from + "Zeta.W225");  // its employee file is lost
    }
    std::string from = dir.File("2025/"), to = dir.File("2026/");
};

TEST_F(QnvrTransferTest, ConvertsEveryFileAndReportsEachOne) {
    const auto before = ReadBytes(from + "ACME.W225");
    const Result r = Run({"transfer", "--to", to, from});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out,
              "ACME.W325: converted\n"
              "Beta.W325: converted\n"
              "Zeta.W325: failed: " + from + "Zeta.W225: No such file or directory\n");
    EXPECT_EQ(ReadBytes(to + "ACME.W326").size(), 608u);
    EXPECT_EQ(ReadBytes(to + "ACME.W226").size(), 1704u);
    EXPECT_EQ(Unscramble(DecodeW3(ReadBytes(to + "ACME.W326")).Password), "Secret7");
    EXPECT_EQ(ReadBytes(to + "Beta.W226").size(), 0u);
    EXPECT_FALSE(fs::exists(to + "Zeta.W326"));
    EXPECT_FALSE(fs::exists(to + "Zeta.W226"));
    EXPECT_EQ(ReadBytes(from + "ACME.W225"), before);
}

TEST_F(QnvrTransferTest, NamedFilesSkipWhatIsThereUnlessOverwriting) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::size_t acmeW2Size;
    } cases[] = {
        {{"ACME.W325", "Beta"}, 0, "ACME.W325: skipped (already there)\nBeta.W325: converted\n", 1},
        {{"--overwrite", "ACME"}, 0, "ACME.W325: converted\n", 1704},
        {{"Nobody.W325"}, 1, "Nobody.W325: failed: " + from + "Nobody.W325: No such file or directory\n", 1},
    };
    for (const Case& c : cases) {
        WriteBytes(to + "ACME.W326", std::vector<std::uint8_t>(608, 1));
        WriteBytes(to + "ACME.W226", std::vector<std::uint8_t>(1, 2));
        std::vector<std::string> args = {"transfer", "--to", to, from};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Result r = Run(args);
        EXPECT_EQ(r.status, c.status) << c.out;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(ReadBytes(to + "ACME.W226").size(), c.acmeW2Size) << c.out;
    }
}

TEST_F(QnvrTransferTest, WritesIntoTheDataFolderByDefault) {
    const std::string home = dir.File("home");
    const Result r = Run({"transfer", from, "Beta.W325"}, {"HOME=" + home});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(home + "/Documents/QNVR/2026/Data/Beta.W326"));
    EXPECT_TRUE(fs::exists(home + "/Documents/QNVR/2026/Data/Beta.W226"));
}

TEST_F(QnvrTransferTest, WrongFoldersAndArgumentsAreRefused) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* err;
    } cases[] = {
        {{"transfer"}, 2, "give the folder of last year's payer files"},
        {{"transfer", "--to"}, 2, "--to needs a folder"},
        {{"transfer", "--force", from}, 2, "unknown option --force"},
        {{"transfer", "--to", to, to}, 1, "2025 data files not found in specified location"},
        {{"transfer", "--to", dir.File("missing"), from}, 1, "missing: no such folder"},
    };
    for (const Case& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace qnvr
