// Each payer file talks to the user through the ports it was built with: two in one
// process never hear each other's questions, and the silent ports change nothing.
#include <gtest/gtest.h>

#include "core/base/core_ports.h"
#include "core/base/scripted_prompter.h"
#include "core/store/data_module.h"
#include "core/store/password.h"
#include "support/scripted_password_entry.h"
#include "support/store_error.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

using testing::ScriptedPasswordEntry;
using testing::StoreErrorOf;
using testing::TempDir;

class CountingBusy final : public BusyIndicator {
public:
    void Begin() override { ++begun; }
    void End() override { ++ended; }
    int begun = 0;
    int ended = 0;
};

TEST(PayerFilePorts, TwoDataModulesInOneProcessEachAskTheirOwnUser) {
    TempDir dir;
    const std::string path = dir.File("ACME.W226");
    ScriptedPrompter firstUser, secondUser;
    ScriptedPasswordEntry firstPasswords, secondPasswords;
    CountingBusy firstBusy, secondBusy;
    TFrmDataModule first{CorePorts{.prompter = firstUser, .passwordEntry = firstPasswords, .busy = firstBusy}};
    TFrmDataModule second{CorePorts{.prompter = secondUser, .passwordEntry = secondPasswords, .busy = secondBusy}};

    first.OpenPayerFile(path);
    ASSERT_TRUE(first.PayerFileOpen());
    first.RSW2().NewRec();
    first.RSW2().PostRec();
    firstUser.Answer(MsgButton::Ok);
    first.RSW2().DeleteRec();  // asks its own user, shows its own hourglass
    EXPECT_EQ(firstUser.Texts(), std::vector<std::string>{"Confirm request~Delete current employee from database?"});
    EXPECT_EQ(firstBusy.begun, 1);
    EXPECT_EQ(firstBusy.ended, 1);

    // The second opener of the held file is told so; the first hears nothing of it.
    firstUser.Clear();
    second.OpenPayerFile(path);
    ASSERT_TRUE(second.PayerFileOpen());
    EXPECT_TRUE(second.RSW2().BrowseOnly());
    EXPECT_TRUE(firstUser.Texts().empty());
    ASSERT_EQ(secondUser.Texts().size(), 1u);
    EXPECT_NE(secondUser.Texts()[0].find("is already in use!"), std::string::npos);
    EXPECT_EQ(secondBusy.begun, 0);
    second.ClosePayerFile();

    // A password is asked of the user who opens the file.
    first.EditW3Rec([](W3Record& w3) { ASSERT_FALSE(ChangePassword("Secret1", "Secret1", w3).has_value()); });
    first.ClosePayerFile();
    secondPasswords.answers = {std::string("Secret1")};
    second.OpenPayerFile(path);
    EXPECT_TRUE(second.PayerFileOpen());
    EXPECT_EQ(secondPasswords.prompts, std::vector<std::string>{"Enter File Password"});
    EXPECT_TRUE(firstPasswords.prompts.empty());
}

TEST(PayerFilePorts, TheSilentPortsAnswerWithWhatChangesNothing) {
    TempDir dir;
    const std::string path = dir.File("ACME.W226");
    {
        TFrmDataModule maker{CorePorts{}};
        maker.OpenPayerFile(path);
        maker.RSW2().NewRec();
        maker.RSW2().PostRec();
        ASSERT_EQ(maker.RSW2().RecordCount(), 2);
        maker.RSW2().DeleteRec();  // the question is answered Cancel
        EXPECT_EQ(maker.RSW2().RecordCount(), 2);
        maker.EditW3Rec([](W3Record& w3) { ASSERT_FALSE(ChangePassword("Secret1", "Secret1", w3).has_value()); });
    }
    TFrmDataModule opener{CorePorts{}};
    EXPECT_EQ(StoreErrorOf([&] { opener.OpenPayerFile(path); }), "");  // the password prompt is cancelled
    EXPECT_FALSE(opener.PayerFileOpen());

    EXPECT_EQ(ShowMsg(SilentPrompter(), "Replace?", MsgStyle::OkCancel), MsgButton::Cancel);
    EXPECT_EQ(ShowMsg(SilentPrompter(), "Go on?", MsgStyle::YesNoDefaultNo), MsgButton::No);
    EXPECT_EQ(ShowMsg(SilentPrompter(), "Done", MsgStyle::Information), MsgButton::Ok);
}

}  // namespace
}  // namespace qnvr
