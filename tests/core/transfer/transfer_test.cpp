// Last year's payer files converted into this year's pair: the bytes written, the name
// split, skip and overwrite, the password, the list and status texts, failures that
// leave no half pair, and last year's files left as they were.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "core/base/errors.h"
#include "core/store/password.h"
#include "core/store/records.h"
#include "core/transfer/prior_year_records.h"
#include "core/transfer/transfer.h"
#include "transfer/prior_year_fixture.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;
using testing::PriorEmployee;
using testing::PriorPayer;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using testing::WritePriorPayerFile;

class TransferTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string from = dir.File("2025") + "/", to = dir.File("2026") + "/";
    void SetUp() override {
        fs::create_directories(from);
        fs::create_directories(to);
    }
};

TEST_F(TransferTest, ThreeEmployeesGiveAWholePayerRecordAndThreeRecordsInOrder) {
    PriorPayer payer;
    payer.password = Scramble("Secret7");
    WritePriorPayerFile(from, "ACME", payer, testing::ThreePriorEmployees());

    EXPECT_EQ(TransferPayerFile(from, "ACME.W325", to, false), TransferResult::Transferred);

    const auto w3 = ReadBytes(to + "ACME.W326");
    const auto w2 = ReadBytes(to + "ACME.W226");
    ASSERT_EQ(w3.size(), 608u);
    ASSERT_EQ(w2.size(), 1704u);

    // Byte for byte what this year's layout makes of the carried fields, the rest zero.
    W3Record expected;
    expected.Boxa = payer.boxa;
    expected.Boxb1 = expected.Boxb9 = true;
    expected.Boxd = payer.boxd, expected.Boxe = payer.boxe, expected.Boxf_a = payer.name, expected.Boxf_b = payer.name2;
    expected.Boxg_a = payer.street, expected.Boxg_b = payer.street2, expected.Boxg_c = payer.state;
    expected.Boxg_d = payer.zip, expected.Boxg_csz = payer.cityStateZip, expected.Box15 = payer.box15;
    expected.StateID = payer.stateId, expected.Contact = payer.contact, expected.TelNum = payer.tel;
    expected.Email = payer.email, expected.FaxNum = payer.fax, expected.SignerName = payer.signer;
    expected.Title = payer.title, expected.Password = payer.password;
    std::vector<std::uint8_t> expectedBytes(608);
    EncodeW3(expected, expectedBytes);
    EXPECT_EQ(w3, expectedBytes);
    EXPECT_EQ(Unscramble(DecodeW3(w3).Password), "Secret7");

    const auto employees = testing::ThreePriorEmployees();
    const char* middles[] = {"M", "", "J"};
    const char* firsts[] = {"Ann", "Bob", "Carla"};
    for (std::size_t k = 0; k < 3; ++k) {
        W2Record e;
        e.Boxa = employees[k].ssn, e.Boxd = employees[k].control, e.Boxe1 = firsts[k], e.Boxe2 = middles[k];
        e.Boxe3 = employees[k].lastName, e.Suffix = employees[k].suffix, e.Boxf_a = employees[k].street;
        e.Boxf_b = employees[k].city, e.Boxf_c = employees[k].state, e.Boxf_d = employees[k].zip;
        e.Boxf_csz = employees[k].cityStateZip;
        std::vector<std::uint8_t> bytes(568);
        EncodeW2(e, bytes);
        EXPECT_EQ(std::vector<std::uint8_t>(w2.begin() + static_cast<long>(k * 568), w2.begin() + static_cast<long>((k + 1) * 568)), bytes)
            << "employee " << k + 1;
    }
}

TEST(NameSplit, FirstWordAndTheInitialOfTheSecond) {
    struct Case {
        const char* field;
        const char* first;
        const char* middle;
    } cases[] = {
        {"Mary Ann", "Mary", "A"},     {"Mary", "Mary", ""},         {"  Mary  ", "Mary", ""},
        {" Jo  Beth ", "Jo", "B"},      {"Jo Beth Lynn", "Jo", "B"},  {"", "", ""},
        {"Maximilianusxyz", "Maximilianusxyz", ""},                   {"J. R.", "J.", "R"},
    };
    for (const Case& c : cases) {
        const NameSplit split = SplitFirstName(c.field);
        EXPECT_EQ(split.first, c.first) << '"' << c.field << '"';
        EXPECT_EQ(split.middle, c.middle) << '"' << c.field << '"';
    }
}

TEST(PriorYearRecords, TextsAreCopiedAsStoredAndCutToThisYearsWidth) {
    // Windows-1252 bytes stay the same bytes; a damaged length byte reads as the width.
    PriorEmployee e{"123-45-6789", "C1", "Ren\xE9", "M\xFCller", "Jr", "x", "y", "OH", "1", "z"};
    auto prior = testing::PriorEmployeeRecord(e);
    prior[39] = 200;  // last name length byte beyond its 15 characters
    const auto out = ConvertEmployeeRecord(std::span<const std::uint8_t, 480>(prior.data(), 480));
    const W2Record w2 = DecodeW2(out);
    EXPECT_EQ(w2.Boxe1, "René");
    EXPECT_EQ(out[41], 15);  // Boxe3: length byte, cut to the source field
    EXPECT_EQ(out[42], 'M');
    EXPECT_EQ(out[43], 0xFC);
}

TEST_F(TransferTest, AnExistingPayerIsSkippedOrReplacedAsAsked) {
    WritePriorPayerFile(from, "ACME", PriorPayer{}, testing::ThreePriorEmployees());
    struct Case {
        bool overwrite;
        TransferResult result;
        std::size_t w2Size;
    } cases[] = {{false, TransferResult::Skipped, 5}, {true, TransferResult::Transferred, 1704}};
    for (const Case& c : cases) {
        WriteBytes(to + "ACME.W326", std::vector<std::uint8_t>(7, 1));
        WriteBytes(to + "ACME.W226", std::vector<std::uint8_t>(5, 2));
        EXPECT_EQ(TransferPayerFile(from, "ACME.W325", to, c.overwrite), c.result);
        EXPECT_EQ(ReadBytes(to + "ACME.W226").size(), c.w2Size);
        EXPECT_EQ(ReadBytes(to + "ACME.W326").size(), c.overwrite ? 608u : 7u);
    }
}

TEST_F(TransferTest, AFailureLeavesNoHalfPair) {
    // A missing or unreadable employee file, a short payer record: nothing written, and
    // targets that were there stay as they were.
    struct Case {
        const char* what;
        void (*spoil)(const std::string& from);
        bool targetsBefore;
    } cases[] = {
        {"missing employee file", [](const std::string& f) { fs::remove(f + "ACME.W225"); }, false},
        {"missing employee file, old pair", [](const std::string& f) { fs::remove(f + "ACME.W225"); }, true},
        {"employee file is a folder",
         [](const std::string& f) {
             fs::remove(f + "ACME.W225");
             fs::create_directory(f + "ACME.W225");
         },
         false},
        {"short payer record", [](const std::string& f) { WriteBytes(f + "ACME.W325", std::vector<std::uint8_t>(100, 1)); },
         true},
    };
    for (const Case& c : cases) {
        fs::remove_all(from);
        fs::remove_all(to);
        fs::create_directories(from);
        fs::create_directories(to);
        WritePriorPayerFile(from, "ACME", PriorPayer{}, testing::ThreePriorEmployees());
        c.spoil(from);
        if (c.targetsBefore) {
            WriteBytes(to + "ACME.W326", std::vector<std::uint8_t>(608, 3));
            WriteBytes(to + "ACME.W226", std::vector<std::uint8_t>(568, 4));
        }
        EXPECT_THROW(TransferPayerFile(from, "ACME.W325", to, true), ETransferException) << c.what;
        if (c.targetsBefore) {
            EXPECT_EQ(ReadBytes(to + "ACME.W326"), std::vector<std::uint8_t>(608, 3)) << c.what;
            EXPECT_EQ(ReadBytes(to + "ACME.W226"), std::vector<std::uint8_t>(568, 4)) << c.what;
        } else {
            EXPECT_FALSE(fs::exists(to + "ACME.W326")) << c.what;
            EXPECT_FALSE(fs::exists(to + "ACME.W226")) << c.what;
        }
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(to)) ++files;
        EXPECT_EQ(files, c.targetsBefore ? 2u : 0u) << c.what << ": no temporary file left";
    }
}

TEST_F(TransferTest, AFailingPayerFileWritePutsTheEmployeeFileBack) {
    WritePriorPayerFile(from, "ACME", PriorPayer{}, testing::ThreePriorEmployees());
    fs::create_directory(to + "ACME.W326");  // cannot be replaced by a file
    WriteBytes(to + "ACME.W226", std::vector<std::uint8_t>(568, 4));
    EXPECT_THROW(TransferPayerFile(from, "ACME.W325", to, true), ETransferException);
    EXPECT_EQ(ReadBytes(to + "ACME.W226"), std::vector<std::uint8_t>(568, 4));
}

TEST_F(TransferTest, APayerFileOpenInTheProgramIsNotReplaced) {
    WritePriorPayerFile(from, "ACME", PriorPayer{}, testing::ThreePriorEmployees());
    WriteBytes(to + "ACME.W326", std::vector<std::uint8_t>(608, 3));
    WriteBytes(to + "ACME.W226", std::vector<std::uint8_t>(568, 4));
    const int fd = ::open((to + "ACME.W226").c_str(), O_RDWR);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    try {
        TransferPayerFile(from, "ACME.W325", to, true);
        ADD_FAILURE() << "no error";
    } catch (const ETransferException& e) {
        EXPECT_NE(std::string(e.what()).find("ACME.W226: the payer file is open in Quenvora W-2"), std::string::npos);
    }
    ::close(fd);
    EXPECT_EQ(ReadBytes(to + "ACME.W226"), std::vector<std::uint8_t>(568, 4));
}

TEST_F(TransferTest, LastYearsFilesAreOnlyRead) {
    WritePriorPayerFile(from, "ACME", PriorPayer{}, testing::ThreePriorEmployees());
    const auto w325 = ReadBytes(from + "ACME.W325"), w225 = ReadBytes(from + "ACME.W225");
    const auto stamp = fs::last_write_time(from + "ACME.W225");
    // Read-only files, and a lock held by last year's program, do not stop the transfer.
    fs::permissions(from + "ACME.W325", fs::perms::owner_read);
    fs::permissions(from + "ACME.W225", fs::perms::owner_read);
    const int fd = ::open((from + "ACME.W225").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(TransferPayerFile(from, "ACME.W325", to, true), TransferResult::Transferred);
    ::close(fd);
    EXPECT_EQ(ReadBytes(from + "ACME.W325"), w325);
    EXPECT_EQ(ReadBytes(from + "ACME.W225"), w225);
    EXPECT_EQ(fs::last_write_time(from + "ACME.W225"), stamp);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(from)) ++files;
    EXPECT_EQ(files, 2u);
}

TEST_F(TransferTest, TheListShowsTransferredPayersFirstWithAMark) {
    for (const char* base : {"zeta", "Beta", "alpha", "Gamma"}) WritePriorPayerFile(from, base, PriorPayer{}, {});
    WriteBytes(from + "notes.txt", {1});
    WriteBytes(to + "zeta.W326", {1});
    WriteBytes(to + "Gamma.W326", {1});
    EXPECT_EQ(PriorYearFileEntries(from, to),
              (std::vector<std::string>{"*Gamma.W325", "*zeta.W325", "alpha.W325", "Beta.W325"}));
    EXPECT_EQ(EntryFileName("*Gamma.W325"), "Gamma.W325");
    EXPECT_EQ(EntryFileName("Beta.W325"), "Beta.W325");
}

TEST_F(TransferTest, TheFolderIsCheckedBeforeTheListFills) {
    struct Case {
        std::string path;
        const char* error;
    } cases[] = {{"", "Path to 2025 data files is missing"},
                 {"   ", "Path to 2025 data files is missing"},
                 {from, "2025 data files not found in specified location"},
                 {dir.File("nowhere"), "2025 data files not found in specified location"}};
    for (const Case& c : cases) {
        try {
            CheckPriorYearFolder(c.path);
            ADD_FAILURE() << c.path;
        } catch (const EQnvrException& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
    }
    WritePriorPayerFile(from, "ACME", PriorPayer{}, {});
    EXPECT_EQ(CheckPriorYearFolder("  " + dir.File("2025") + " "), from);
}

TEST(TransferStatus, SingularAndPlural) {
    EXPECT_EQ(SelectionStatus(0), " 0 files selected");
    EXPECT_EQ(SelectionStatus(1), " 1 file selected");
    EXPECT_EQ(SelectionStatus(2), " 2 files selected");
    EXPECT_EQ(TransferredStatus(" 2 files selected", 1), " 2 files selected - 1 file transferred");
    EXPECT_EQ(TransferredStatus(" 1 file selected", 0), " 1 file selected - 0 files transferred");
    EXPECT_EQ(TransferredStatus(" 3 files selected", 3), " 3 files selected - 3 files transferred");
}

TEST_F(TransferTest, LastYearsFilingSettingsAreCopiedOnlyWhenThisYearHasNone) {
    const std::string prior = dir.File("quenvora-w2/2025") + "/", program = dir.File("quenvora-w2/2026") + "/";
    fs::create_directories(prior);
    fs::create_directories(program);
    const std::string state = dir.File("state/quenvora-w2/2026") + "/", priorState = dir.File("state/quenvora-w2/2025") + "/";
    EXPECT_EQ(PriorYearFolders({program}), std::vector<std::string>{prior});
    EXPECT_EQ(PriorYearFolders({state, program}), (std::vector<std::string>{priorState, prior}));
    EXPECT_EQ(PriorYearFolders({program, program}), std::vector<std::string>{prior});
    EXPECT_TRUE(PriorYearFolders({dir.File("build/bin")}).empty());

    EXPECT_EQ(CarryOverEfw2Settings({prior}, program), "");  // nothing to copy
    WriteBytes(prior + "QNVR.W2S", {9, 9, 9});
    EXPECT_EQ(CarryOverEfw2Settings({prior}, program), prior + "QNVR.W2S");
    EXPECT_EQ(ReadBytes(program + "QNVR.W2S"), (std::vector<std::uint8_t>{9, 9, 9}));
    WriteBytes(prior + "QNVR.W2S", {1});
    EXPECT_EQ(CarryOverEfw2Settings({prior}, program), "");  // this year's settings stay
    EXPECT_EQ(ReadBytes(program + "QNVR.W2S"), (std::vector<std::uint8_t>{9, 9, 9}));
}

}  // namespace
}  // namespace qnvr
