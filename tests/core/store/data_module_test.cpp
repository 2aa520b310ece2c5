#include "core/store/data_module.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "core/base/scripted_prompter.h"
#include "support/store_error.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

using testing::ReadBytes;
using testing::StoreErrorOf;
using testing::TempDir;

// Answers password prompts from a script; an empty entry cancels.
class ScriptedPasswordEntry final : public PasswordEntry {
public:
    std::optional<std::string> Ask(const std::string& prompt, const std::string&) override {
        prompts.push_back(prompt);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> prompts;
};

class DataModuleTest : public ::testing::Test {
protected:
    void OpenFresh() {
        dm.OpenPayerFile(path);
        ASSERT_TRUE(dm.PayerFileOpen());
    }
    void AddEmployee(double wages, double stateWages = 0) {
        dm.RSW2().NewRec();
        dm.EditW2Rec([&](W2Record& w2) {
            w2.Amount1 = wages;
            w2.Box16a = stateWages;
        });
        dm.RSW2().PostRec();
    }

    TempDir dir;
    std::string path = dir.File("ACME.W226");
    ScriptedPrompter prompter;
    ScriptedPasswordEntry passwords;
    std::vector<std::string> recent;  // declared before dm: the hooks may fire while dm closes
    TFrmDataModule dm{CorePorts{.prompter = prompter, .passwordEntry = passwords}};
};

TEST_F(DataModuleTest, ANewPayerFileIsOneZeroW3RecordAndOneZeroW2Record) {
    OpenFresh();
    dm.ClosePayerFile();
    EXPECT_EQ(ReadBytes(dir.File("ACME.W326")), std::vector<unsigned char>(608, 0));
    EXPECT_EQ(ReadBytes(path), std::vector<unsigned char>(568, 0));
}

TEST_F(DataModuleTest, ClosingSavesBothCurrentRecordsAndReportsThePathToTheRecentList) {
    const Subscription closes = dm.Subscribe([&](PayerFileChange change) {
        if (change == PayerFileChange::Closed) recent.push_back(dm.PayerFilePath());
    });
    OpenFresh();
    dm.EditW2Rec([&](W2Record& w2) { w2.Boxe3 = "SMITH"; });
    dm.EditW3Rec([&](W3Record& w3) { w3.Boxf_a = "ACME"; });
    dm.ClosePayerFile();
    EXPECT_EQ(recent, std::vector<std::string>{path});
    EXPECT_FALSE(dm.RSW3().Active());

    dm.OpenPayerFile(path);
    EXPECT_EQ(dm.W2Rec().Boxe3, "SMITH");
    EXPECT_EQ(dm.W3Rec().Boxf_a, "ACME");
}

TEST_F(DataModuleTest, ANewEmployeeTakesTheStateAndStateIdOfTheW3Record) {
    struct Case {
        std::string box15, expectedState;
    };
    for (const Case& c : {Case{"NY", "NY"}, Case{"X", ""}}) {
        OpenFresh();
        dm.EditW3Rec([&](W3Record& w3) {
            w3.Box15 = c.box15;
            w3.StateID = "123456789";
        });
        dm.RSW2().NewRec();
        EXPECT_EQ(dm.W2Rec().Box15a, c.expectedState) << c.box15;
        EXPECT_EQ(dm.W2Rec().StateID_a, "123456789") << c.box15;
        EXPECT_TRUE(dm.EmployeeListDirty());
        dm.ClosePayerFile();
    }
}

TEST_F(DataModuleTest, CountsOnlyFormsWhoseWagesRoundAboveZero) {
    OpenFresh();
    dm.EditW2Rec([&](W2Record& w2) { w2.Amount1 = 0.004; });  // record 1 rounds to no wages
    dm.RSW2().PostRec();
    EXPECT_EQ(dm.CountW2WithWages(), 0);
    AddEmployee(0, 0.01);  // state wages alone count
    AddEmployee(-5);
    AddEmployee(1000);
    dm.RSW2().SetCurrentRecord(2);
    dm.RSW2().GetRec();
    EXPECT_EQ(dm.CountW2WithWages(), 2);
    EXPECT_EQ(dm.RSW2().CurrentRecord(), 2);  // the walk returns to where it was
    EXPECT_EQ(dm.W2Rec().Box16a, 0.01);
}

TEST_F(DataModuleTest, W3TotalsSumEveryW2RecordAndDeferredCompensationOfTheFirstFourPairs) {
    OpenFresh();
    dm.EditW3Rec([&](W3Record& w3) {
        w3.Amount9 = 99;  // the reserved slot is cleared
        w3.Box14 = 7;     // typed by the user: left alone
    });
    dm.EditW2Rec([&](W2Record& w2) {
        w2.Amount1 = 100.10;
        w2.Amount11 = 3;
    });
    dm.EditW2Rec([](W2Record& w2) {
        w2.Box12Code = {"d", "E", "DD", "S", "G"};  // G in the fifth pair does not count
        w2.Box12Amt = {1, 2, 4, 8, 16};
        w2.Box16a = 50, w2.Box16b = 25, w2.Box19b = 1.5;
    });
    dm.RSW2().PostRec();
    AddEmployee(200.20, 10);
    dm.ComputeW3Totals();
    EXPECT_EQ(dm.W3Rec().Boxc, 2);
    EXPECT_DOUBLE_EQ(dm.W3Rec().Amount1, 300.30);
    EXPECT_EQ(dm.W3Rec().Amount9, 0);
    EXPECT_EQ(dm.W3Rec().Amount11, 3);
    EXPECT_EQ(dm.W3Rec().Box12a, 11);
    EXPECT_EQ(dm.W3Rec().Box16, 85);
    EXPECT_EQ(dm.W3Rec().Box19, 1.5);
    EXPECT_EQ(dm.W3Rec().Box14, 7);
}

TEST_F(DataModuleTest, APasswordIsAskedAtOpenAndMustMatchInLetterCase) {
    OpenFresh();
    std::optional<std::string> refused;
    dm.EditW3Rec([&](W3Record& w3) { refused = ChangePassword("Secret2026ab", "Secret2026ab", w3); });
    ASSERT_FALSE(refused.has_value());
    dm.ClosePayerFile();
    EXPECT_TRUE(passwords.prompts.empty());

    passwords.answers = {std::string("SECRET2026AB")};
    EXPECT_EQ(StoreErrorOf([&] { dm.OpenPayerFile(path); }), "Incorrect Password");
    EXPECT_FALSE(dm.PayerFileOpen());
    EXPECT_FALSE(dm.RSW2().Active());
    EXPECT_FALSE(dm.RSW3().Active());
    EXPECT_TRUE(dm.PayerFilePath().empty());
    EXPECT_TRUE(prompter.Texts().empty());
    EXPECT_EQ(passwords.prompts, std::vector<std::string>{"Enter File Password"});

    passwords.answers = {std::nullopt};  // cancelled: no message
    EXPECT_EQ(StoreErrorOf([&] { dm.OpenPayerFile(path); }), "");
    EXPECT_FALSE(dm.PayerFileOpen());
    EXPECT_TRUE(prompter.Texts().empty());

    passwords.answers = {std::string("Secret2026ab")};
    dm.OpenPayerFile(path);
    EXPECT_TRUE(dm.PayerFileOpen());
    EXPECT_TRUE(dm.RSW2().Active());
}

TEST_F(DataModuleTest, AReopenByTheProgramSkipsThePasswordCheck) {
    OpenFresh();
    dm.EditW3Rec([](W3Record& w3) { (void)ChangePassword("Secret1", "Secret1", w3); });
    dm.ClosePayerFile();
    dm.ReopenPayerFile(path);
    EXPECT_TRUE(dm.PayerFileOpen());
    EXPECT_TRUE(passwords.prompts.empty());

    // Only that reopen: the next ordinary open asks again.
    dm.ClosePayerFile();
    passwords.answers = {std::string("Secret1")};
    dm.OpenPayerFile(path);
    EXPECT_TRUE(dm.PayerFileOpen());
    EXPECT_EQ(passwords.prompts.size(), 1u);
}

TEST_F(DataModuleTest, ReviewCountCountsEachEntryWindowOnce) {
    dm.EntryWindowReviewed(EntryWindow::W2);
    dm.EntryWindowReviewed(EntryWindow::W2);
    EXPECT_EQ(dm.ReviewCount(), 1);  // the W-2 forms twice are not the W-3
    dm.EntryWindowReviewed(EntryWindow::W3);
    EXPECT_EQ(dm.ReviewCount(), 2);
    dm.ClearReviews();
    EXPECT_EQ(dm.ReviewCount(), 0);
    dm.EntryWindowReviewed(EntryWindow::W3);
    EXPECT_EQ(dm.ReviewCount(), 1);
}

TEST_F(DataModuleTest, ALowerCasePayerFileFindsItsLowerCaseW3File) {
    const std::string w2 = dir.File("payroll.w226");
    const std::string w3 = dir.File("payroll.w326");
    dm.OpenPayerFile(w2);
    dm.ClosePayerFile();
    std::filesystem::rename(dir.File("payroll.W326"), w3);

    EXPECT_EQ(TFrmDataModule::W3PathFor(w2), w3);
    dm.OpenPayerFile(w2);
    EXPECT_TRUE(dm.PayerFileOpen());
    dm.ClosePayerFile();
    EXPECT_FALSE(std::filesystem::exists(dir.File("payroll.W326")));
    EXPECT_EQ(TFrmDataModule::W3PathFor(dir.File("other.w226")), dir.File("other.W326"));
}

TEST_F(DataModuleTest, AW2FileThatWillNotOpenLeavesNoPayerFileOpen) {
    std::filesystem::create_directory(path);  // a folder where the W-2 file should be
    EXPECT_EQ(StoreErrorOf([&] { dm.OpenPayerFile(path); }), "Unable to open database file");
    EXPECT_FALSE(dm.PayerFileOpen());
    EXPECT_FALSE(dm.RSW3().Active());
    EXPECT_FALSE(dm.RSW2().Active());
}

// Holds an exclusive lock on file in a child process until the returned function is
// called, as another program holding it would.
std::function<void()> HoldLockElsewhere(const std::string& file) {
    int ready[2], done[2];
    if (::pipe(ready) != 0 || ::pipe(done) != 0) return [] {};
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(file.c_str(), O_RDWR);
        char c = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
        (void)!::write(ready[1], &c, 1);
        (void)!::read(done[0], &c, 1);
        ::_exit(0);
    }
    char held = 0;
    (void)!::read(ready[0], &held, 1);
    EXPECT_EQ(held, 'y');
    return [=] {
        (void)!::write(done[1], "x", 1);
        int status = 0;
        ::waitpid(child, &status, 0);
        for (int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);
    };
}

// The pair is one unit: whichever of its files another program holds, both open
// browse-only, with one notice, and nothing of either is written.
TEST_F(DataModuleTest, APayerFileIsWhollyWritableOrWhollyBrowseOnly) {
    OpenFresh();
    dm.ClosePayerFile();
    for (const std::string& held : {dir.File("ACME.W326"), path}) {
        const auto w2Before = ReadBytes(path), w3Before = ReadBytes(dir.File("ACME.W326"));
        const auto release = HoldLockElsewhere(held);
        prompter.Clear();
        dm.OpenPayerFile(path);
        ASSERT_TRUE(dm.PayerFileOpen()) << held;
        EXPECT_TRUE(dm.RSW2().BrowseOnly()) << held;
        EXPECT_TRUE(dm.RSW3().BrowseOnly()) << held;
        EXPECT_EQ(prompter.Texts(), std::vector<std::string>{path + " is already in use!~~The file has been opened in "
                                                                    "browse only mode. You will not be able to record "
                                                                    "any changes."})
            << held;
        dm.EditW3Rec([&](W3Record& w3) { w3.Boxf_a = "CHANGED"; });
        dm.EditW2Rec([&](W2Record& w2) { w2.Boxe3 = "CHANGED"; });
        dm.ClosePayerFile();
        EXPECT_EQ(ReadBytes(path), w2Before) << held;
        EXPECT_EQ(ReadBytes(dir.File("ACME.W326")), w3Before) << held;
        release();
    }
    prompter.Clear();
    OpenFresh();  // nobody holds it any more
    EXPECT_FALSE(dm.RSW2().BrowseOnly());
    EXPECT_FALSE(dm.RSW3().BrowseOnly());
    EXPECT_TRUE(prompter.Messages().empty());
}

// A pair one of whose files is damaged opens browse-only as a whole, with the notice
// that names the damaged file and its size; nothing of either file is written.
TEST_F(DataModuleTest, APairWithADamagedFileOpensWhollyBrowseOnlyWithANotice) {
    OpenFresh();
    dm.ClosePayerFile();
    const std::string w3 = dir.File("ACME.W326");
    std::vector<unsigned char> bytes = ReadBytes(w3);
    bytes.push_back(0);
    testing::WriteBytes(w3, bytes);
    const auto w2Before = ReadBytes(path);
    prompter.Clear();
    dm.OpenPayerFile(path);
    ASSERT_TRUE(dm.PayerFileOpen());
    EXPECT_TRUE(dm.RSW3().BrowseOnly());
    EXPECT_TRUE(dm.RSW2().BrowseOnly());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{w3 + " is 609 bytes long, but holds one record of 608 bytes.~~"
                                                              "The file has been opened in browse only mode. Nothing "
                                                              "will be written to it."});
    dm.EditW2Rec([&](W2Record& w2) { w2.Boxe3 = "CHANGED"; });
    dm.EditW3Rec([&](W3Record& w3) { w3.Boxf_a = "CHANGED"; });
    EXPECT_NE(StoreErrorOf([&] { dm.RSW2().NewRec(); }), "");
    dm.ClosePayerFile();
    EXPECT_EQ(ReadBytes(path), w2Before);
    EXPECT_EQ(ReadBytes(w3), bytes);
}

// Two programs opening one payer file at the same moment, many times: each time one
// holds both files for writing, the other neither.
TEST_F(DataModuleTest, SimultaneousOpensNeverSplitThePair) {
    OpenFresh();
    dm.ClosePayerFile();
    constexpr int kRounds = 60;
    int results[2][2];
    for (auto& r : results) ASSERT_EQ(::pipe(r), 0);
    int go[2][2];
    for (auto& g : go) ASSERT_EQ(::pipe(g), 0);
    pid_t children[2];
    for (int k = 0; k < 2; ++k) {
        children[k] = ::fork();
        ASSERT_GE(children[k], 0);
        if (children[k] == 0) {
            ScriptedPrompter quiet;
            const CorePorts quietPorts{.prompter = quiet};
            for (int round = 0; round < kRounds; ++round) {
                char c;
                if (::read(go[k][0], &c, 1) != 1) ::_exit(1);
                TFrmDataModule opener(quietPorts);
                opener.OpenPayerFile(path);
                const char state = !opener.PayerFileOpen()                                       ? 'x'
                                   : !opener.RSW2().BrowseOnly() && !opener.RSW3().BrowseOnly()   ? 'w'
                                   : opener.RSW2().BrowseOnly() && opener.RSW3().BrowseOnly()     ? 'b'
                                                                                              : 's';
                (void)!::write(results[k][1], &state, 1);
                (void)!::read(go[k][0], &c, 1);  // hold the files until both have reported
                opener.ClosePayerFile();
                (void)!::write(results[k][1], "c", 1);
            }
            ::_exit(0);
        }
    }
    int writers = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (int k = 0; k < 2; ++k) (void)!::write(go[k][1], "g", 1);
        char state[2];
        for (int k = 0; k < 2; ++k) ASSERT_EQ(::read(results[k][0], &state[k], 1), 1);
        EXPECT_NE(state[0], 's') << "round " << round;
        EXPECT_NE(state[1], 's') << "round " << round;
        EXPECT_FALSE(state[0] == 'w' && state[1] == 'w') << "round " << round;
        writers += (state[0] == 'w') + (state[1] == 'w');
        for (int k = 0; k < 2; ++k) (void)!::write(go[k][1], "r", 1);
        char closed;
        for (int k = 0; k < 2; ++k) ASSERT_EQ(::read(results[k][0], &closed, 1), 1);
    }
    EXPECT_EQ(writers, kRounds);  // and always one of them may write
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

// What each step tells the subscribers, in order.
class DataModuleChangesTest : public DataModuleTest {
protected:
    using Changes = std::vector<PayerFileChange>;
    Changes Heard(const std::function<void()>& step) {
        heard.clear();
        step();
        return std::exchange(heard, {});
    }
    void SetUp() override {
        subscription = dm.Subscribe([this](PayerFileChange change) { heard.push_back(change); });
    }

    Changes heard;
    Subscription subscription;
};

TEST_F(DataModuleChangesTest, EachStepTellsWhatItChanged) {
    using enum PayerFileChange;
    struct Case {
        const char* step;
        std::function<void()> run;
        Changes expected;
    };
    const W2Record edited = [] {
        W2Record w2;
        w2.Boxe3 = "SMITH";
        return w2;
    }();
    const Case cases[] = {
        {"open", [&] { dm.OpenPayerFile(path); }, {Opened}},
        {"add an employee", [&] { dm.RSW2().NewRec(); }, {W2RecordReplaced, EmployeeListChanged, W2RecordReplaced}},
        {"the window's edit, posted", [&] { dm.PostW2Rec(edited); }, {W2RecordReplaced}},
        {"navigate", [&] { dm.RSW2().FirstRec(); }, {W2RecordReplaced}},
        {"a name changed", [&] { dm.EmployeeListChanged(); }, {EmployeeListChanged}},
        {"walks tell nothing", [&] { (void)dm.CountW2WithWages(); }, {}},
        {"W-3 totals", [&] { dm.ComputeW3Totals(); }, {W3RecordReplaced}},
        {"W-3 read", [&] { dm.RSW3().GetRec(); }, {W3RecordReplaced}},
        {"W-3 edit", [&] { dm.EditW3Rec([](W3Record& w3) { w3.Boxf_a = "ACME"; }); }, {W3RecordReplaced}},
        {"W-3 reviewed", [&] { dm.EntryWindowReviewed(EntryWindow::W3); }, {ReviewsChanged}},
        {"W-3 reviewed again", [&] { dm.EntryWindowReviewed(EntryWindow::W3); }, {}},
        {"reviews cleared", [&] { dm.ClearReviews(); }, {ReviewsChanged}},
        {"nothing left to clear", [&] { dm.ClearReviews(); }, {}},
        {"close", [&] { dm.ClosePayerFile(); }, {Closed}},
        {"nothing left to close", [&] { dm.ClosePayerFile(); }, {}},
        {"reopen", [&] { dm.ReopenPayerFile(path); }, {Opened}},
        {"open another: the first closes", [&] { dm.OpenPayerFile(dir.File("OTHER.W226")); }, {Closed, Opened}},
    };
    for (const Case& c : cases) EXPECT_EQ(Heard(c.run), c.expected) << c.step;
}

TEST_F(DataModuleChangesTest, ClosedIsToldWithThePathOfTheFileThatClosed) {
    OpenFresh();
    std::string closedPath;
    bool openWhileTold = true;
    const Subscription closes = dm.Subscribe([&](PayerFileChange change) {
        if (change != PayerFileChange::Closed) return;
        closedPath = dm.PayerFilePath();
        openWhileTold = dm.PayerFileOpen();
    });
    dm.ClosePayerFile();
    EXPECT_EQ(closedPath, path);
    EXPECT_FALSE(openWhileTold);
    EXPECT_TRUE(dm.PayerFilePath().empty());
    EXPECT_TRUE(dm.RSW2().FileName.empty());
}

TEST_F(DataModuleChangesTest, AnOpenThatFailsTellsNothing) {
    OpenFresh();
    dm.EditW3Rec([](W3Record& w3) { (void)ChangePassword("Secret1", "Secret1", w3); });
    dm.ClosePayerFile();
    passwords.answers = {std::string("wrong")};
    EXPECT_EQ(Heard([&] { EXPECT_EQ(StoreErrorOf([&] { dm.OpenPayerFile(path); }), "Incorrect Password"); }), Changes{});
    EXPECT_FALSE(dm.PayerFileOpen());
}

// The listener of an entry window that goes away while a close is told, as a window
// closed by that close would.
TEST_F(DataModuleChangesTest, AListenerMayUnsubscribeWhileAChangeIsTold) {
    OpenFresh();
    std::optional<Subscription> window;
    int windowHeard = 0;
    window = dm.Subscribe([&](PayerFileChange) {
        ++windowHeard;
        window.reset();
    });
    EXPECT_EQ(Heard([&] { dm.ClosePayerFile(); }), Changes{PayerFileChange::Closed});
    EXPECT_EQ(windowHeard, 1);
    dm.OpenPayerFile(path);
    EXPECT_EQ(windowHeard, 1);
}

}  // namespace
}  // namespace qnvr
