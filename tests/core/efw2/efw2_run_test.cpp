#include "core/efw2/efw2_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/base/errors.h"
#include "core/base/scripted_prompter.h"
#include "core/efw2/efw2_records.h"
#include "core/text/files.h"
#include "efw2/efw2_fixture.h"
#include "efw2/written_efw2_files.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;
using testing::Employee;
using testing::Employees;
using testing::Employer;
using testing::FillSubmitterFields;
using testing::ReadBytes;
using testing::TempDir;
using testing::WritePayerFile;


// Each record by its identifier; RT and RF with their counts.
std::vector<std::string> Outline(const std::vector<std::string>& lines) {
    std::vector<std::string> outline;
    for (const std::string& line : lines) {
        EXPECT_EQ(line.size(), 512u) << line.substr(0, 2);
        const std::string id = line.substr(0, 2);
        if (id == "RT")
            outline.push_back("RT " + line.substr(2, 7));
        else if (id == "RF")
            outline.push_back("RF " + line.substr(7, 9));
        else if (id == "RE")
            outline.push_back("RE " + line.substr(39, 1));  // first letter of the employer's name
        else
            outline.push_back(id);
    }
    return outline;
}

class Efw2RunTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(programDir);
        fs::create_directories(dataDir);
    }
    void TearDown() override {
        for (const std::string& error : testing::Efw2ErrorsBelow(dir.Path())) ADD_FAILURE() << error;
    }

    // Opens a payer file named after its employer, as the main window would, with both
    // entry windows reviewed.
    void OpenPayer(const std::string& employer, const std::vector<W2Record>& employees) {
        dm.ClosePayerFile();
        const std::string path = dataDir + employer + ".W226";
        WritePayerFile(path, Employer(employer), employees);
        dm.OpenPayerFile(path);
        ASSERT_TRUE(dm.PayerFileOpen());
        dm.EntryWindowReviewed(EntryWindow::W3);
        dm.EntryWindowReviewed(EntryWindow::W2);
    }

    std::unique_ptr<Efw2Run> OpenWindow() {
        auto run = std::make_unique<Efw2Run>(dm, masterList, paths);
        run->Open();
        FillSubmitterFields(run->Settings());
        return run;
    }

    std::vector<std::string> FileOutline(const std::string& path) { return Outline(ReadLinesFile(path)); }

    TempDir dir;
    std::string programDir = dir.File("program/");
    std::string dataDir = dir.File("data/");
    Efw2Paths paths = Efw2Paths::For(programDir, dataDir);
    ScriptedPrompter prompter;
    std::vector<std::string> masterList;
    TFrmDataModule dm{CorePorts{.prompter = prompter}};
};

TEST_F(Efw2RunTest, FirstOpeningCreatesTheFolderAndAnEmptySettingsFile) {
    OpenPayer("ACME", Employees(1));
    dm.ClearReviews();
    dm.EntryWindowReviewed(EntryWindow::W3);
    auto run = OpenWindow();
    EXPECT_TRUE(fs::is_directory(dataDir + "EFW2"));
    EXPECT_EQ(ReadBytes(programDir + "QNVR.W2S"), std::vector<unsigned char>(584, 0));
    EXPECT_EQ(run->State(), RunState::Fresh);
    EXPECT_FALSE(run->ProcessEnabled());  // the entry windows were not both reviewed
    EXPECT_FALSE(run->ResetEnabled());
    EXPECT_FALSE(run->SubmitterEnabled());
    EXPECT_EQ(run->CurrentClientCaption(), " Current Client:  ACME");

    run->Close();
    const auto saved = ReadBytes(programDir + "QNVR.W2S");
    EXPECT_EQ(std::string(saved.begin() + 34, saved.begin() + 36), std::string("\x01" "0"));  // ResubInd "0"

    dm.EntryWindowReviewed(EntryWindow::W3);

    dm.EntryWindowReviewed(EntryWindow::W2);
    run = OpenWindow();
    EXPECT_TRUE(run->ProcessEnabled());
    EXPECT_TRUE(run->SubmitterEnabled());
    EXPECT_TRUE(run->FinalEnabled());
}

TEST_F(Efw2RunTest, SingleClientGetsACompleteFileOfItsOwn) {
    OpenPayer("ACME", Employees(3));
    auto run = OpenWindow();
    run->Process();

    const std::string clientFile = dataDir + "EFW2/ACME.txt";
    EXPECT_EQ(FileOutline(clientFile),
              (std::vector<std::string>{"RA", "RE A", "RW", "RW", "RW", "RT 0000003", "RF 000000003"}));
    const auto bytes = ReadBytes(clientFile);
    ASSERT_EQ(bytes.size(), 7u * 514);
    EXPECT_EQ(bytes[512], '\r');
    EXPECT_EQ(bytes.back(), '\n');
    EXPECT_TRUE(IsFileReadOnly(clientFile));
    // The totals come from the W-2 records, not from the W-3 record's stale zeros.
    EXPECT_EQ(ReadLinesFile(clientFile)[5].substr(9, 15), "000000000600000");

    ASSERT_EQ(prompter.Texts().size(), 1u);
    EXPECT_EQ(prompter.Texts()[0],
              "Process Completed for Client: ACME~Total Forms W-2 processed: 3~"
              "Total Wages, tips, other compensation processed: $6,000.00");
    EXPECT_EQ(prompter.Messages()[0].style, MsgStyle::Plain);
    EXPECT_EQ(run->Settings().ClientsProcessed, 1);
    EXPECT_EQ(run->Settings().FormsW2Processed, 3);
    EXPECT_EQ(run->Settings().WagesProcessed, 6000);
    EXPECT_TRUE(run->ResetEnabled());
    EXPECT_FALSE(run->ProcessEnabled());
    EXPECT_FALSE(run->SubmitterEnabled());
    EXPECT_TRUE(masterList.empty());
    EXPECT_EQ(run->State(), RunState::SingleClients);
    run->Close();
    EXPECT_FALSE(fs::exists(paths.MasterFile()));
    EXPECT_EQ(ReadLinesFile(programDir + "QNVR.CP"), std::vector<std::string>{"ACME"});

    // The same client again (its name in another letter case) cannot be processed.
    OpenPayer("acme", Employees(1));
    run = OpenWindow();
    EXPECT_FALSE(run->ProcessEnabled());
    EXPECT_THROW(run->Process(), EProcessException);

    // Another client gets a complete file too; a master file cannot start now.
    OpenPayer("BETA", Employees(2));
    run = OpenWindow();
    EXPECT_TRUE(run->ProcessEnabled());
    EXPECT_FALSE(run->SubmitterEnabled());
    EXPECT_FALSE(run->FinalEnabled());
    run->Process();
    EXPECT_EQ(FileOutline(dataDir + "EFW2/BETA.txt"),
              (std::vector<std::string>{"RA", "RE B", "RW", "RW", "RT 0000002", "RF 000000002"}));
}

TEST_F(Efw2RunTest, MasterRunOfThreeClientsWithTheQuestionAnswered) {
    OpenPayer("ALPHA", Employees(2));
    auto run = OpenWindow();
    EXPECT_TRUE(run->ClickFinal(true));
    run->Process();
    EXPECT_TRUE(run->SubmitterChecked());  // the following clients leave the RA out
    EXPECT_EQ(run->State(), RunState::MasterRun);
    run->Close();
    EXPECT_TRUE(IsFileReadOnly(paths.MasterFile()));

    OpenPayer("BRAVO", Employees(3));
    run = OpenWindow();
    EXPECT_FALSE(IsFileReadOnly(paths.MasterFile()));
    EXPECT_TRUE(run->SubmitterChecked());
    EXPECT_TRUE(run->FinalChecked());
    EXPECT_FALSE(run->SubmitterEnabled());
    EXPECT_TRUE(run->FinalEnabled());
    prompter.Clear();
    EXPECT_TRUE(run->ClickSubmitter(false));  // the RA record is already in the master file
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"You have already created a Submitter record."});
    EXPECT_EQ(prompter.Messages()[0].style, MsgStyle::Information);
    run->Process();
    EXPECT_EQ(FileOutline(dataDir + "EFW2/BRAVO.txt"),
              (std::vector<std::string>{"RE B", "RW", "RW", "RW", "RT 0000003"}));
    run->Close();

    OpenPayer("CHARLIE", Employees(4));
    run = OpenWindow();
    prompter.Clear();
    prompter.Answer(MsgButton::Yes);
    EXPECT_FALSE(run->ClickFinal(false));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Will this be the last Client to be Processed?"});
    EXPECT_EQ(prompter.Messages()[0].style, MsgStyle::YesNoDefaultNo);
    EXPECT_EQ(run->State(), RunState::FinalPending);
    try {
        run->Close();
        FAIL() << "closed with the last client pending";
    } catch (const EProcessException& e) {
        EXPECT_STREQ(e.what(), "The Final Client must be Processed before closing the Form.");
    }
    run->Process();
    run->Close();

    const std::vector<std::string> expected = {
        "RA",   "RE A", "RW", "RW", "RT 0000002", "RE B", "RW", "RW", "RW",         "RT 0000003",
        "RE C", "RW",   "RW", "RW", "RW",         "RT 0000004", "RF 000000009"};
    EXPECT_EQ(FileOutline(paths.MasterFile()), expected);
    EXPECT_EQ(Outline(masterList), expected);
    EXPECT_EQ(ReadLinesFile(programDir + "QNVR.CP"), (std::vector<std::string>{"ALPHA", "BRAVO", "CHARLIE"}));

    // Complete: nothing more can be processed until a reset.
    OpenPayer("DELTA", Employees(1));
    run = OpenWindow();
    EXPECT_EQ(run->State(), RunState::Complete);
    EXPECT_FALSE(run->ProcessEnabled());
    EXPECT_EQ(run->Settings().FormsW2Processed, 9);
    EXPECT_EQ(run->Settings().ClientsProcessed, 3);
    run->Close();  // the pending flag no longer keeps the window open
}

TEST_F(Efw2RunTest, DecliningTheLastClientKeepsFinalChecked) {
    masterList = {BuildFinalRecord(1)};  // a master file has been started
    OpenPayer("ACME", Employees(1));
    auto run = std::make_unique<Efw2Run>(dm, masterList, paths);
    run->Open();
    EXPECT_TRUE(run->ClickFinal(false));  // unscripted: No, the default
    EXPECT_FALSE(run->Settings().FinalPending);

    prompter.Answer(MsgButton::Yes);
    EXPECT_FALSE(run->ClickFinal(false));
    EXPECT_TRUE(run->Settings().FinalPending);
    // Checking it again withdraws the answer, so no master file ends without its RF record.
    EXPECT_TRUE(run->ClickFinal(true));
    EXPECT_FALSE(run->Settings().FinalPending);
    EXPECT_EQ(prompter.Messages().size(), 2u);
}

TEST_F(Efw2RunTest, AClientWithoutValidEmployeesIsRefusedAndChangesNothing) {
    W2Record empty;
    OpenPayer("ACME", {empty, empty});
    auto run = OpenWindow();
    try {
        run->Process();
        FAIL() << "processed a client without employees";
    } catch (const ENoEmployeesException& e) {
        EXPECT_STREQ(e.what(), "This client file does not have any valid W-2 employees.");
    }
    EXPECT_FALSE(fs::exists(run->ClientFile()));
    EXPECT_EQ(run->Settings().ClientsProcessed, 0);
    EXPECT_TRUE(run->ProcessEnabled());

    // One valid employee is enough; the empty record is written as well.
    OpenPayer("BETA", {Employee(1, 10), empty});
    run = OpenWindow();
    run->Process();
    EXPECT_EQ(FileOutline(run->ClientFile()),
              (std::vector<std::string>{"RA", "RE B", "RW", "RW", "RT 0000002", "RF 000000002"}));
    // The audit after Process shows the user what the SSA would reject in it.
    const Efw2Run::ProcessedFileAudit audit = run->AuditProcessed();
    EXPECT_EQ(audit.file, run->ClientFile());
    std::vector<std::string> fields;
    for (const AuditFinding& f : audit.result.findings) fields.push_back(std::to_string(f.line) + " " + f.field);
    EXPECT_EQ(fields, (std::vector<std::string>{"4 Social security number", "4 Employee first name",
                                                "4 Employee last name"}));
    fs::remove(run->ClientFile());  // written from an invalid record on purpose: out of the audit of our own files
}

// Each RW carries its amounts in whole cents; the RT carries the sums of those cents, not
// the rounded sum of the amounts, which may differ by a cent and get the file rejected.
TEST_F(Efw2RunTest, TotalsAreTheSumsOfTheCentsOfTheRecords) {
    std::vector<W2Record> employees = Employees(3);
    for (W2Record& w2 : employees) {
        w2.Amount2 = 0.125;  // 0.13 each
        w2.Box12Code[0] = "DD";
        w2.Box12Amt[0] = 10.005;  // 10.01 each
    }
    OpenPayer("ACME", employees);
    auto run = OpenWindow();
    run->Process();
    const std::vector<std::string> lines = ReadLinesFile(run->ClientFile());
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2].substr(198, 11), "00000000013");
    EXPECT_EQ(lines[5].substr(24, 15), "000000000000039");   // not 0.38
    EXPECT_EQ(lines[5].substr(294, 15), "000000000003003");  // not 30.02
    EXPECT_TRUE(run->AuditProcessed().result.findings.empty());
}

TEST_F(Efw2RunTest, FailedSettingsOrAmountsWriteNothing) {
    OpenPayer("ACME", Employees(2));
    auto run = OpenWindow();
    run->Settings().SetResubmitted(true);
    try {
        run->Process();
        FAIL() << "processed without a wage file identifier";
    } catch (const EFieldException& e) {
        EXPECT_EQ(e.FieldName(), "ResubID");
        EXPECT_STREQ(e.what(), "Wage File Identifier is required.");
    }
    EXPECT_FALSE(fs::exists(run->ClientFile()));

    // An amount too large for its field stops the run before anything is written.
    run->Settings().SetResubmitted(false);
    dm.RSW2().LastRec();
    dm.EditW2Rec([&](W2Record& w2) { w2.Amount2 = 2e9; });
    dm.RSW2().PostRec();
    dm.RSW2().FirstRec();
    try {
        run->Process();
        FAIL() << "wrote an amount that does not fit";
    } catch (const EProcessException& e) {
        EXPECT_NE(std::string(e.what()).find("W-2 record 2 (EMPLOYEE NUMBER2)"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(run->ClientFile()));
    EXPECT_EQ(run->Settings().ClientsProcessed, 0);
    EXPECT_TRUE(run->ClientsList().empty());
    EXPECT_EQ(dm.RSW2().CurrentRecord(), 1);  // the walk restored the current record
    EXPECT_TRUE(run->ProcessEnabled());
}

TEST_F(Efw2RunTest, ResetAnsweredNoKeepsEverythingAndYesStartsAfresh) {
    OpenPayer("ALPHA", Employees(2));
    auto run = OpenWindow();
    run->ClickFinal(true);
    run->Process();
    run->Close();
    const std::string clientFile = run->ClientFile();

    OpenPayer("ALPHA", Employees(2));
    run = OpenWindow();
    EXPECT_FALSE(run->ProcessEnabled());
    run->Reset();  // unscripted: No
    EXPECT_EQ(run->Settings().FormsW2Processed, 2);
    EXPECT_TRUE(fs::exists(paths.MasterFile()));
    EXPECT_EQ(prompter.Texts().back(),
              "This will clear the Master EFW2 Text File and resets~the Total Forms W-3 Processed, Total Forms W-2~"
              "Processed and the Total Wages, tips, other~compensationProcessed to zero.~~Are you sure?");

    prompter.Answer(MsgButton::Yes);
    run->Reset();
    EXPECT_TRUE(masterList.empty());
    EXPECT_TRUE(run->ClientsList().empty());
    EXPECT_FALSE(fs::exists(paths.MasterFile()));
    EXPECT_FALSE(fs::exists(paths.ClientsFile()));
    EXPECT_TRUE(fs::exists(clientFile));
    EXPECT_EQ(run->Settings().FormsW2Processed, 0);
    EXPECT_EQ(run->Settings().WagesProcessed, 0);
    EXPECT_FALSE(run->SubmitterChecked());
    EXPECT_FALSE(run->FinalChecked());
    EXPECT_TRUE(run->ProcessEnabled());
    EXPECT_TRUE(run->FinalEnabled());
    EXPECT_FALSE(run->ResetEnabled());
    EXPECT_EQ(run->State(), RunState::Fresh);

    // The read-only client file of the first run is replaced by the new one.
    ASSERT_TRUE(IsFileReadOnly(clientFile));
    run->Process();
    EXPECT_EQ(FileOutline(clientFile),
              (std::vector<std::string>{"RA", "RE A", "RW", "RW", "RT 0000002", "RF 000000002"}));
}

TEST_F(Efw2RunTest, SettingsAndCheckBoxesComeBackAfterClosing) {
    OpenPayer("ACME", Employees(1));
    auto run = OpenWindow();
    run->Settings().SetResubmitted(true);
    run->Settings().ResubID = "WF0001";
    run->Settings().CompanyName = "PAYROLL PARTNERS";
    run->ClickSubmitter(true);
    run->Close();
    EXPECT_FALSE(fs::exists(paths.ClientsFile()));  // nothing processed, nothing to save

    run = std::make_unique<Efw2Run>(dm, masterList, paths);
    run->Open();
    EXPECT_TRUE(run->Settings().Resubmitted());
    EXPECT_EQ(run->Settings().ResubID, "WF0001");
    EXPECT_EQ(run->Settings().CompanyName, "PAYROLL PARTNERS");
    EXPECT_EQ(run->Settings().ContactEmail, "lee@partners.example");
    EXPECT_TRUE(run->SubmitterChecked());
    EXPECT_FALSE(run->FinalChecked());
    EXPECT_EQ(run->Settings().RAIdentifier, "");  // no submitter record built yet
}

TEST_F(Efw2RunTest, ASettingsFileThatCannotBeReadStopsTheOpening) {
    OpenPayer("ACME", Employees(1));
    testing::WriteBytes(programDir + "QNVR.W2S", std::vector<unsigned char>(10, 0));
    Efw2Run run(dm, masterList, paths);
    EXPECT_THROW(run.Open(), EQnvrException);
    EXPECT_FALSE(run.ProcessEnabled());
}

}  // namespace
}  // namespace qnvr
