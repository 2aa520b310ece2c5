#include "core/program/program_setup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/base/errors.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::WriteBytes;

TEST(ProgramSetupTest, OnlyAScreenShortInBothDirectionsIsRefused) {
    struct Case {
        int width, height;
        bool refused;
    };
    for (const Case& c : {Case{1280, 800, false}, Case{1280, 720, false}, Case{1024, 800, false},
                          Case{1024, 768, true}, Case{1279, 799, true}, Case{3840, 2160, false}})
        EXPECT_EQ(ScreenTooSmall(c.width, c.height), c.refused) << c.width << "x" << c.height;
}

TEST(ProgramSetupTest, TheSettingsRootNamesTheYearAndTheDevelopmentRoot) {
    EXPECT_EQ(SettingsRoot(false), "Software\\QNVR\\2026\\");
    EXPECT_EQ(SettingsRoot(true), "Software\\QNVRTest\\2026\\");
}

TEST(ProgramSetupTest, AFirstStartCreatesTheDataFolderChainAndALaterOneKeepsIt) {
    TempDir home;
    const std::string documents = home.File("Documents");  // not there yet on a fresh account
    const std::string data = PrepareDataFolder(documents);
    EXPECT_EQ(data, documents + "/QNVR/2026/Data/");
    EXPECT_TRUE(fs::is_directory(data));

    WriteBytes(data + "ACME.W226", {1, 2, 3});
    EXPECT_EQ(PrepareDataFolder(documents + "/"), data);
    EXPECT_TRUE(fs::exists(data + "ACME.W226"));
}

TEST(ProgramSetupTest, TheCaptionNamesTheEmployerOnlyWhileAFileIsOpen) {
    EXPECT_EQ(MainCaption(false, "ACME"), "Quenvora W-2 Version 2026.00");
    EXPECT_EQ(MainCaption(true, "ACME"), "Quenvora W-2 Version 2026.00 - ACME");
    EXPECT_EQ(MainCaption(true, "A & B"), "Quenvora W-2 Version 2026.00 - A & B");
}

TEST(ProgramSetupTest, TheCommandLineNamesAnExistingW226FileWithExactLetterCase) {
    TempDir dir;
    const std::string folder = dir.File("My Payroll");
    fs::create_directory(folder);
    WriteBytes(folder + "/Acme Inc.W226", {});
    WriteBytes(folder + "/Lower.w226", {});
    struct Case {
        std::vector<std::string> args;
        std::string expected;
    };
    const Case cases[] = {
        {{dir.File("My"), "Payroll/Acme", "Inc.W226"}, folder + "/Acme Inc.W226"},  // blanks without quotes
        {{folder + "/Acme Inc.W226", "", ""}, folder + "/Acme Inc.W226"},           // trailing blanks go
        {{folder + "/Lower.w226"}, ""},
        {{folder + "/Missing.W226"}, ""},
        {{folder}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(CommandLinePayerFile(c.args), c.expected);
}

TEST(ProgramSetupTest, LeftoversOfAnUpdateAndTheSnapshotAreRemoved) {
    TempDir program;
    for (const char* name : {"QNVR_26.deb", "update.ini", "QNVR.RPT", "QNVR.W2S"}) WriteBytes(program.File(name), {1});
    const fs::path before = fs::current_path();
    MakeStateFolderCurrent(program.Path().string() + "/");
    EXPECT_TRUE(fs::equivalent(fs::current_path(), program.Path()));

    DeleteUpdateLeftovers(program.Path().string() + "/");
    DeleteReportSnapshot();
    DeleteReportSnapshot();  // nothing left to delete is no error
    fs::current_path(before);

    EXPECT_FALSE(fs::exists(program.File("QNVR_26.deb")));
    EXPECT_FALSE(fs::exists(program.File("update.ini")));
    EXPECT_FALSE(fs::exists(program.File("QNVR.RPT")));
    EXPECT_TRUE(fs::exists(program.File("QNVR.W2S")));
}

TEST(ProgramSetupTest, TheStateFolderIsTheProgramFolderOnlyWhenTheUserMayWriteThere) {
    struct Case {
        const char* programDir;
        bool writable;
        const char* xdgStateHome;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/ann/qnvr/build/bin", true, "", "/home/ann/qnvr/build/bin/"},
        {"/usr/lib/quenvora-w2/", false, "", "/home/ann/.local/state/quenvora-w2/2026/"},
        {"/usr/lib/quenvora-w2/", false, "/var/state/ann", "/var/state/ann/quenvora-w2/2026/"},
        {"/usr/lib/quenvora-w2/", false, "relative/state", "/home/ann/.local/state/quenvora-w2/2026/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StateFolderFor(c.programDir, c.writable, c.xdgStateHome, "/home/ann"), c.expected) << c.programDir;
}

TEST(ProgramSetupTest, AProgramFolderThatCannotBeEnteredIsReported) {
    TempDir dir;
    EXPECT_THROW(MakeStateFolderCurrent(dir.File("missing/")), EQnvrException);
}

}  // namespace
}  // namespace qnvr
