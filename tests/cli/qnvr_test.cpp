// The built qnvr run on payer files written by the tests: output, exit status, and that
// refusals leave every file as it was.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <nlohmann/json.hpp>

#include "core/base/scripted_prompter.h"
#include "core/efw2/efw2_files.h"
#include "core/efw2/submitter_record.h"
#include "core/store/password.h"
#include "efw2/efw2_fixture.h"
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

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const std::string& path) {
    const auto bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

class QnvrTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(programDir);
        SubmitterRecord s = testing::ValidSubmitter();
        s.ClientsProcessed = 1;  // run state of the desktop program, which qnvr must leave alone
        s.FormsW2Processed = 4;
        WriteSubmitterFile(programDir + "QNVR.W2S", s);
    }

    // Runs qnvr with the program folder set to programDir; extra environment entries
    // come as NAME=VALUE.
    Result Run(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
        const std::string outPath = dir.File("stdout"), errPath = dir.File("stderr");
        std::vector<std::string> argStrings = {QNVR_EXECUTABLE};
        argStrings.insert(argStrings.end(), args.begin(), args.end());
        std::vector<std::string> envStrings = {"QNVR_PROGRAM_DIR=" + programDir, "PATH=/usr/bin:/bin"};
        envStrings.insert(envStrings.end(), env.begin(), env.end());
        auto pointers = [](std::vector<std::string>& strings) {
            std::vector<char*> p;
            for (auto& s : strings) p.push_back(s.data());
            p.push_back(nullptr);
            return p;
        };
        std::vector<char*> argv = pointers(argStrings), envp = pointers(envStrings);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int in = ::open("/dev/null", O_RDONLY);
            const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(in, 0);
            ::dup2(out, 1);
            ::dup2(err, 2);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(outPath), ReadText(errPath)};
    }

    std::string Payer(const std::string& name, const W3Record& w3, const std::vector<W2Record>& employees) {
        const std::string path = dir.File(name + ".W226");
        WritePayerFile(path, w3, employees);
        return path;
    }
    std::string Payer(const std::string& name, int employees) {
        return Payer(name, Employer(name), Employees(employees));
    }

    // Each record by identifier; RT and RF with their counts. Every line must be a
    // 512-character record followed by CR LF.
    std::vector<std::string> Outline(const std::string& path) {
        const std::string text = ReadText(path);
        EXPECT_EQ(text.size() % 514, 0u);
        std::vector<std::string> outline;
        for (std::size_t at = 0; at + 514 <= text.size(); at += 514) {
            EXPECT_EQ(text.substr(at + 512, 2), "\r\n");
            const std::string id = text.substr(at, 2);
            outline.push_back(id == "RT" ? "RT " + text.substr(at + 2, 7)
                              : id == "RF" ? "RF " + text.substr(at + 7, 9)
                                           : id);
        }
        return outline;
    }

    TempDir dir;
    std::string programDir = dir.File("program/");
};

TEST_F(QnvrTest, HelpListsEveryCommand) {
    const Result r = Run({"help"});
    EXPECT_EQ(r.status, 0);
    for (const char* usage : {"qnvr show PAYER.W226", "qnvr totals PAYER.W226", "qnvr check PAYER.W226",
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

TEST_F(QnvrTest, Efw2RefusalsLeaveAnExistingOutputUntouched) {
    const std::string out = dir.File("out.txt");
    const std::string good = Payer("GOOD", 2);
    std::vector<W2Record> invalidEmployees = Employees(1);
    invalidEmployees[0].Boxf_d = "1234";
    const std::string invalid = Payer("INVALID", Employer("INVALID"), invalidEmployees);
    const std::string empty = Payer("EMPTY", Employer("EMPTY"), {W2Record{}});
    const std::string sameEmployer = Payer("GOOD2", Employer("good"), Employees(1));
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
        {{"-o", out, good, sameEmployer}, "GOOD2.W226: the employer with EIN 12-3456789 is already in this report, from " + good},
        {{"-o", out, good, dir.File("NONE.W226")}, "NONE.W226: no such payer file"},
        {{"-o", good, good}, "is an input file"},
        {{"-o", dir.File("FormsW2Report.txt"), good}, "FormsW2Report.txt is not written by qnvr"},
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
    }

    // An invalid payer is written when the user says so.
    const Result r = Run({"efw2", "--allow-invalid", "-o", out, invalid});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Outline(out), (std::vector<std::string>{"RA", "RE", "RW", "RT 0000001", "RF 000000001"}));
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
    TFrmDataModule desktop;  // holds the files as the desktop program does
    desktop.OpenPayerFile(payer);
    ASSERT_TRUE(desktop.PayerFileOpen);
    const auto before = ReadBytes(payer);
    const auto w3Before = ReadBytes(dir.File("ACME.W326"));

    EXPECT_EQ(Run({"show", payer}).status, 0);
    EXPECT_EQ(Run({"totals", payer}).status, 0);
    const Result r = Run({"efw2", "-o", dir.File("out.txt"), payer});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(payer), before);
    EXPECT_EQ(ReadBytes(dir.File("ACME.W326")), w3Before);
    // The desktop program still holds its files for writing.
    desktop.W2Rec.Boxe3 = "CHANGED";
    EXPECT_TRUE(desktop.RSW2.PostRec());
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
    employees[0].Amount1 = employees[0].Amount3 = employees[0].Amount5 = employees[0].Box16a = 999999999.99;
    employees[0].Amount4 = 11439;
    employees[0].Amount6 = 14499999.99;
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
