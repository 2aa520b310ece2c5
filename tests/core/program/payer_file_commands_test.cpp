#include "core/program/payer_file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/base/errors.h"
#include "core/base/scripted_prompter.h"
#include "core/text/files.h"
#include "support/scripted_password_entry.h"
#include "support/store_error.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScriptedPasswordEntry;
using testing::StoreErrorOf;
using testing::TempDir;

// The main window's side: records what the commands asked of it, and the opens and
// closes it was told of. The W-3 entry window is played by a user who enters the
// payer's name and state.
class RecordingWindow final : public PayerFileWindow {
public:
    explicit RecordingWindow(TFrmDataModule& dm)
        : dm_(dm), changes_(dm.Subscribe([this](PayerFileChange change) {
              if (change == PayerFileChange::Opened) events.push_back("opened");
              if (change == PayerFileChange::Closed) events.push_back("closed");
          })) {}
    void ShowW3Entry() override {
        events.push_back("W-3");
        dm_.EditW3Rec([&](W3Record& w3) {
            w3.Boxf_a = "ACME";
            w3.Box15 = payerState;
            w3.StateID = "123456789";
        });
        dm_.RSW3().PostRec();
    }
    void ShowW2Entry() override { events.push_back("W-2"); }
    std::vector<std::string> events;
    std::string payerState = "NY";  // what the user enters in the W-3's Box 15

private:
    TFrmDataModule& dm_;
    Subscription changes_;
};

class RecordingBusyNote final : public BusyNote {
public:
    void Show(const std::string& caption, const std::string& text) override {
        shown.push_back(caption + ": " + text);
        showing = true;
    }
    void Hide() override { showing = false; }
    std::vector<std::string> shown;
    bool showing = false;
};

class PayerFileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(data); }

    // A payer file with one employee, made as a user makes one, and left open.
    void MakeAcme() {
        ASSERT_TRUE(commands.New("ACME"));
        dm.EditW2Rec([&](W2Record& w2) { w2.Boxe3 = "SMITH"; });
        dm.RSW2().PostRec();
        prompter.Clear();
        window.events.clear();
    }
    void SetPassword(const std::string& plain) {
        std::optional<std::string> refused;
        dm.EditW3Rec([&](W3Record& w3) { refused = ChangePassword(plain, plain, w3); });
        ASSERT_FALSE(refused);
        dm.RSW3().PostRec();
    }
    std::vector<std::string> Texts() const { return prompter.Texts(); }

    TempDir home;
    std::string data = home.File("Documents/QNVR/2026/Data/");
    std::string acme = data + "ACME.W226";
    ScriptedPrompter prompter;
    ScriptedPasswordEntry passwords;
    RecordingBusyNote busy;
    MemorySettingsStore settings;
    TFrmDataModule dm{CorePorts{.prompter = prompter, .passwordEntry = passwords, .busyNote = busy}};
    RecordingWindow window{dm};
    PayerFileCommands commands{dm, settings, window, data};
};

TEST_F(PayerFileCommandsTest, NewCreatesThePairThenAsksForThePayerAndTheFirstEmployeeInThatOrder) {
    dm.EntryWindowReviewed(EntryWindow::W3);
    dm.EntryWindowReviewed(EntryWindow::W2);
    ASSERT_TRUE(commands.New("ACME"));
    EXPECT_EQ(window.events, (std::vector<std::string>{"opened", "W-3", "W-2"}));
    EXPECT_EQ(dm.PayerFilePath(), acme);
    EXPECT_EQ(dm.ReviewCount(), 0);
    dm.ClosePayerFile();

    EXPECT_EQ(CountFiles(data + "*"), 2);
    EXPECT_EQ(fs::file_size(acme), 568u);
    EXPECT_EQ(fs::file_size(data + "ACME.W326"), 608u);
    dm.OpenPayerFile(acme);
    EXPECT_EQ(dm.W2Rec().Box15a, "NY");  // the first employee starts in the payer's state
    EXPECT_EQ(dm.W2Rec().StateID_a, "123456789");
}

// "X" in the W-3's Box 15 is a payer in several states: no state to start from.
TEST_F(PayerFileCommandsTest, NewForAPayerInSeveralStatesStartsTheFirstEmployeeWithoutAState) {
    window.payerState = "X";
    ASSERT_TRUE(commands.New("ACME"));
    dm.ClosePayerFile();
    dm.OpenPayerFile(acme);
    EXPECT_EQ(dm.W3Rec().Box15, "X");
    EXPECT_EQ(dm.W2Rec().Box15a, "");
    EXPECT_EQ(dm.W2Rec().StateID_a, "123456789");
}

TEST_F(PayerFileCommandsTest, NewRefusesANameInUseAndKeepsTheOpenFileUntouched) {
    MakeAcme();
    std::vector<unsigned char> before = ReadBytes(acme);
    std::ofstream(data + "ORPHAN.W326") << "a W-3 file without its W-2 file";
    for (const std::string name : {"ACME", "ORPHAN"}) {
        EXPECT_EQ(StoreErrorOf([&] { commands.New(name); }), "File already exists!");
        EXPECT_TRUE(dm.PayerFileOpen());
        EXPECT_EQ(dm.PayerFilePath(), acme);
        EXPECT_EQ(dm.W2Rec().Boxe3, "SMITH");
    }
    EXPECT_TRUE(window.events.empty());
    dm.ClosePayerFile();
    EXPECT_EQ(ReadBytes(acme), before);
}

TEST_F(PayerFileCommandsTest, NewRefusesANameThatCouldLeaveTheDataFolder) {
    EXPECT_THROW(commands.New("../ACME"), EQnvrException);
    EXPECT_THROW(commands.New("a/b"), EQnvrException);
    EXPECT_EQ(CountFiles(data + "*"), 0);
    EXPECT_EQ(CountFiles(home.File("Documents/QNVR/2026/*.W226")), 0);
    EXPECT_THROW(commands.New("ACME.2026"), EQnvrException);
    EXPECT_FALSE(commands.New("   "));  // a blank name is a cancelled dialog
    EXPECT_TRUE(window.events.empty());

    const std::string everyAllowed = "A & B, Inc (2026) {x} #1 $ % ! - _ @";
    EXPECT_TRUE(commands.New(everyAllowed));
    EXPECT_EQ(dm.PayerFilePath(), data + everyAllowed + ".W226");
}

TEST_F(PayerFileCommandsTest, OpenAcceptsOnlyW226FilesInAnyLetterCase) {
    MakeAcme();
    commands.Close();
    fs::copy_file(acme, data + "lower.w226");
    fs::copy_file(data + "ACME.W326", data + "lower.W326");
    for (const char* refused : {"ACME.W326", "ACME.txt", "ACME"}) {
        EXPECT_EQ(StoreErrorOf([&] { commands.Open(data + refused); }), "The selected file is not valid") << refused;
        EXPECT_FALSE(dm.PayerFileOpen());
    }
    dm.EntryWindowReviewed(EntryWindow::W3);
    dm.EntryWindowReviewed(EntryWindow::W2);
    commands.Open(data + "lower.w226");
    EXPECT_TRUE(dm.PayerFileOpen());
    EXPECT_EQ(dm.W3Rec().Boxf_a, "ACME");
    EXPECT_EQ(dm.ReviewCount(), 0);
    EXPECT_EQ(window.events.back(), "opened");
}

TEST_F(PayerFileCommandsTest, SaveAsCopiesThePairUnderTheNameBeforeTheFirstDotAndOpensTheCopy) {
    MakeAcme();
    SetPassword("Secret1");
    TempDir other;
    commands.SaveAs(other.File("Acme.2025.W226"));

    const std::string copy = other.File("Acme.W226");
    EXPECT_EQ(busy.shown, std::vector<std::string>{"Quenvora W-2 2026: Saving " + acme + " as Acme.W226"});
    EXPECT_FALSE(busy.showing);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Files have been successfully saved"});
    EXPECT_EQ(prompter.Messages()[0].style, MsgStyle::Plain);
    EXPECT_EQ(dm.PayerFilePath(), copy);
    EXPECT_TRUE(dm.PayerFileOpen());
    EXPECT_TRUE(passwords.prompts.empty());  // the program's own reopen asks nothing
    EXPECT_EQ(dm.W2Rec().Boxe3, "SMITH");
    EXPECT_EQ(ReadBytes(acme), ReadBytes(copy));
    EXPECT_EQ(ReadBytes(data + "ACME.W326"), ReadBytes(other.File("Acme.W326")));

    commands.Close();  // the password travelled with the copy
    passwords.answers = {"Secret1"};
    commands.Open(copy);
    EXPECT_EQ(passwords.prompts.size(), 1u);
    EXPECT_TRUE(dm.PayerFileOpen());
}

TEST_F(PayerFileCommandsTest, SaveAsOntoAnExistingFileChangesNothingWhenTheUserCancels) {
    MakeAcme();
    TempDir other;
    std::ofstream(other.File("Beta.W226")) << "another payer";
    prompter.Answer(MsgButton::Cancel);
    commands.SaveAs(other.File("Beta.W226"));
    EXPECT_EQ(Texts(), std::vector<std::string>{"This file already exists. Do you want to replace it?"});
    EXPECT_EQ(prompter.Messages()[0].style, MsgStyle::OkCancelDefaultCancel);
    EXPECT_TRUE(busy.shown.empty());
    EXPECT_EQ(dm.PayerFilePath(), acme);
    EXPECT_TRUE(dm.RSW2().Active());
    EXPECT_EQ(CountFiles(other.File("*")), 1);

    prompter.Answer(MsgButton::Ok);
    commands.SaveAs(other.File("Beta.W226"));
    EXPECT_EQ(dm.PayerFilePath(), other.File("Beta.W226"));
    EXPECT_EQ(dm.W3Rec().Boxf_a, "ACME");
}

TEST_F(PayerFileCommandsTest, AFailedSaveAsReopensTheOldFileAndReportsOnlyTheCopyError) {
    MakeAcme();
    try {
        commands.SaveAs(home.File("missing/Copy.W226"));
        FAIL() << "the copy into a missing folder succeeded";
    } catch (const ECopyFileException& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The following error occured during the copy file process:\nNo such file or directory");
    }
    EXPECT_TRUE(Texts().empty());
    EXPECT_FALSE(busy.showing);
    EXPECT_TRUE(dm.PayerFileOpen());
    EXPECT_EQ(dm.PayerFilePath(), acme);
}

TEST_F(PayerFileCommandsTest, BackupIntoAMissingFolderShowsTheCopyErrorAndLeavesTheFileOpen) {
    MakeAcme();
    const std::string missing = home.File("no such folder");
    EXPECT_THROW(commands.Backup(missing), ECopyFileException);
    EXPECT_TRUE(CopyFailed);
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(busy.shown, std::vector<std::string>{"Quenvora W-2 2026: Copying files to " + missing});
    EXPECT_FALSE(busy.showing);
    EXPECT_TRUE(dm.PayerFileOpen());
    EXPECT_EQ(dm.W2Rec().Boxe3, "SMITH");
    EXPECT_EQ(commands.BackupFolder(), missing);  // remembered even so, for the next try
}

TEST_F(PayerFileCommandsTest, BackupTwiceReplacesTheEarlierBackupWithoutAsking) {
    MakeAcme();
    TempDir usb;
    commands.Backup(usb.Path().string());
    dm.EditW2Rec([&](W2Record& w2) { w2.Boxe3 = "JONES"; });
    dm.RSW2().PostRec();
    commands.Backup(usb.Path().string() + "/");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Backup completed successfully", "Backup completed successfully"}));
    EXPECT_EQ(settings.ReadString("Backup", "Path"), usb.Path().string() + "/");
    dm.ClosePayerFile();
    EXPECT_EQ(ReadBytes(usb.File("ACME.W226")), ReadBytes(acme));
    EXPECT_EQ(ReadBytes(usb.File("ACME.W326")), ReadBytes(data + "ACME.W326"));
    EXPECT_EQ(CountFiles(usb.File("*")), 2);
}

TEST_F(PayerFileCommandsTest, RestoreBringsBackTheBackupAndOpensItWithoutItsPasswordUntilTheNextOpen) {
    MakeAcme();
    TempDir usb;
    SetPassword("OldPass1");
    commands.Backup(usb.Path().string());
    dm.EditW2Rec([&](W2Record& w2) { w2.Boxe3 = "JONES"; });
    dm.RSW2().PostRec();
    SetPassword("NewPass2");
    dm.EntryWindowReviewed(EntryWindow::W3);
    dm.EntryWindowReviewed(EntryWindow::W2);
    prompter.Clear();

    commands.Restore(usb.Path().string());
    EXPECT_EQ(Texts(), std::vector<std::string>{"File restore completed successfully"});
    EXPECT_EQ(busy.shown.back(), "Quenvora W-2 2026: Copying files from " + usb.Path().string());
    EXPECT_TRUE(passwords.prompts.empty());
    EXPECT_EQ(dm.W2Rec().Boxe3, "SMITH");
    EXPECT_EQ(dm.ReviewCount(), 0);

    commands.Close();
    passwords.answers = {"NewPass2"};
    EXPECT_EQ(StoreErrorOf([&] { commands.Open(acme); }), "Incorrect Password");
    EXPECT_FALSE(dm.PayerFileOpen());
    passwords.answers = {"OldPass1"};
    commands.Open(acme);
    EXPECT_TRUE(dm.PayerFileOpen());
}

TEST_F(PayerFileCommandsTest, RestoreFromAFolderWithoutTheWholeBackupLeavesTheCurrentPairUnchanged) {
    MakeAcme();
    TempDir usb;
    commands.Backup(usb.Path().string());
    fs::remove(usb.File("ACME.W326"));  // only half a backup is left
    dm.EditW2Rec([&](W2Record& w2) { w2.Boxe3 = "JONES"; });
    dm.RSW2().PostRec();
    dm.ClosePayerFile();
    const auto w2Before = ReadBytes(acme), w3Before = ReadBytes(data + "ACME.W326");
    commands.Open(acme);
    prompter.Clear();

    EXPECT_THROW(commands.Restore(usb.Path().string()), ECopyFileException);
    EXPECT_TRUE(Texts().empty());
    EXPECT_TRUE(dm.PayerFileOpen());
    EXPECT_EQ(dm.W2Rec().Boxe3, "JONES");
    dm.ClosePayerFile();
    EXPECT_EQ(ReadBytes(acme), w2Before);
    EXPECT_EQ(ReadBytes(data + "ACME.W326"), w3Before);
    EXPECT_EQ(CountFiles(data + ".*"), 0);  // no staged copy left behind
}

TEST_F(PayerFileCommandsTest, ARecentFileThatIsGoneIsReportedAndTheOpenFileStays) {
    MakeAcme();
    EXPECT_EQ(StoreErrorOf([&] { commands.OpenRecent(data + "GONE.W226"); }), "File not found");
    EXPECT_EQ(dm.PayerFilePath(), acme);
    EXPECT_TRUE(dm.RSW2().Active());

    dm.EntryWindowReviewed(EntryWindow::W3);
    dm.EntryWindowReviewed(EntryWindow::W2);
    commands.OpenRecent(acme);
    EXPECT_TRUE(dm.PayerFileOpen());
    EXPECT_EQ(dm.ReviewCount(), 0);
}

TEST_F(PayerFileCommandsTest, CloseLeavesNoPayerFileAndDisablesTheCommands) {
    MakeAcme();
    commands.Close();
    EXPECT_FALSE(dm.PayerFileOpen());
    EXPECT_TRUE(dm.PayerFilePath().empty());
    EXPECT_TRUE(dm.RSW2().FileName.empty());
    EXPECT_FALSE(dm.RSW3().Active());
    EXPECT_EQ(window.events, std::vector<std::string>{"closed"});

    commands.SaveAs(data + "X.W226");  // nothing to copy: the commands ask nothing
    commands.Backup(data);
    commands.Restore(data);
    EXPECT_TRUE(Texts().empty());
    EXPECT_TRUE(busy.shown.empty());
}

TEST_F(PayerFileCommandsTest, TheCommandLineOpensAnExistingPayerFileOnly) {
    MakeAcme();
    commands.Close();
    commands.OpenFromCommandLine({data + "NONE.W226"});
    EXPECT_FALSE(dm.PayerFileOpen());
    EXPECT_TRUE(Texts().empty());
    commands.OpenFromCommandLine({acme});
    EXPECT_TRUE(dm.PayerFileOpen());
    EXPECT_EQ(window.events.back(), "opened");
}

}  // namespace
}  // namespace qnvr
