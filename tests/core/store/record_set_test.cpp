#include "core/store/record_set.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/base/scripted_prompter.h"
#include "support/store_error.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

using testing::ReadBytes;
using testing::StoreErrorOf;
using testing::TempDir;
using testing::WriteBytes;

constexpr int kSize = 32;

// A file of n records whose first byte is the record's number.
void WriteNumberedFile(const std::string& path, int n, int extraBytes = 0) {
    std::vector<unsigned char> bytes(n * kSize + extraBytes, 0);
    for (int k = 1; k <= n; ++k) bytes[(k - 1) * kSize] = static_cast<unsigned char>(k);
    WriteBytes(path, bytes);
}

class RecordSetTest : public ::testing::Test {
protected:
    void Open(int records, int extraBytes = 0) {
        WriteNumberedFile(path, records, extraBytes);
        OpenExisting();
    }
    void OpenExisting() {
        rs.FileName = path;
        rs.FileShareMode = smShareDenyWrite;
        rs.OpenRecSet();
        ASSERT_TRUE(rs.Active());
        rs.GetRec();
    }
    int Mark() const { return rs.RecordBuffer()[0]; }
    std::vector<int> FileMarks() const {
        auto bytes = ReadBytes(path);
        std::vector<int> marks;
        for (std::size_t at = 0; at + kSize <= bytes.size(); at += kSize) marks.push_back(bytes[at]);
        return marks;
    }

    TempDir dir;
    std::string path = dir.File("people.dat");
    ScriptedPrompter prompter;
    TRecordSet rs{CorePorts{.prompter = prompter}};
    std::vector<std::string> events;
};

TEST_F(RecordSetTest, CreatesAMissingFileAsOneZeroRecord) {
    rs.OnBeforeOpen = [&](TRecordSet&) { events.push_back("BeforeOpen"); };
    rs.OnCreateFile = [&](TRecordSet&) { events.push_back("CreateFile"); };
    rs.OnAfterOpen = [&](TRecordSet&) { events.push_back("AfterOpen"); };
    rs.FileName = path;
    rs.OpenRecSet();
    ASSERT_TRUE(rs.Active());
    EXPECT_EQ(ReadBytes(path), std::vector<unsigned char>(kSize, 0));
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_TRUE(rs.Bof());
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeOpen", "CreateFile", "AfterOpen"}));
}

TEST_F(RecordSetTest, RefusesToOpenWithoutAFileNameOrAMissingFileWithoutAutoCreate) {
    EXPECT_EQ(StoreErrorOf([&] { rs.OpenRecSet(); }), "Unable to open database file");
    EXPECT_FALSE(rs.Active());
    rs.FileName = path;
    rs.AutoCreate = false;
    try {
        rs.OpenRecSet();
        ADD_FAILURE() << "a missing file was opened";
    } catch (const EStoreException& e) {
        EXPECT_STREQ(e.what(), "Unable to open database file");
        EXPECT_EQ(e.File(), path);
        EXPECT_EQ(e.Operation(), StoreOperation::Open);
        EXPECT_EQ(e.Reason(), "No such file or directory");
    }
    EXPECT_FALSE(rs.Active());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(prompter.Messages().empty());
}

TEST_F(RecordSetTest, NavigationWrapsAtBothEnds) {
    Open(3);
    rs.LastRec();
    rs.NextRec();
    EXPECT_EQ(rs.CurrentRecord(), 1);
    EXPECT_EQ(Mark(), 1);
    rs.PriorRec();
    EXPECT_EQ(rs.CurrentRecord(), 3);
    EXPECT_EQ(Mark(), 3);
}

TEST_F(RecordSetTest, SettingTheCursorOutsideTheFileIsIgnored) {
    Open(3);
    rs.SetCurrentRecord(2);
    for (int n : {0, 4, -1}) {
        rs.SetCurrentRecord(n);
        EXPECT_EQ(rs.CurrentRecord(), 2) << n;
    }
}

TEST_F(RecordSetTest, RecSizeBelow32IsIgnored) {
    rs.SetRecSize(64);
    rs.SetRecSize(20);
    EXPECT_EQ(rs.RecSize(), 64);
    EXPECT_EQ(rs.RecordBuffer().size(), 64u);
}

TEST_F(RecordSetTest, VisitingEveryRecordRestoresTheCurrentOne) {
    Open(4);
    rs.SetCurrentRecord(3);
    rs.GetRec();
    std::vector<int> seen;
    rs.RootRec();
    for (int i = 0, n = rs.RecordCount(); i < n; ++i) {
        rs.NextRec();
        seen.push_back(Mark());
    }
    rs.PopRec();
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(rs.CurrentRecord(), 3);
    EXPECT_EQ(Mark(), 3);
}

// Records larger than usual, so that the file is read in several blocks, the last one short.
TEST_F(RecordSetTest, ReadingEveryRecordGivesEachInOrderAndLeavesTheCursor) {
    constexpr int kBig = 100000;
    constexpr int kRecords = 25;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(kBig) * kRecords, 0);
    for (int k = 1; k <= kRecords; ++k) {
        bytes[static_cast<std::size_t>(k - 1) * kBig] = static_cast<unsigned char>(k);
        bytes[static_cast<std::size_t>(k) * kBig - 1] = static_cast<unsigned char>(100 + k);
    }
    WriteBytes(path, bytes);
    rs.SetRecSize(kBig);
    OpenExisting();
    rs.SetCurrentRecord(7);
    rs.GetRec();

    std::vector<int> numbers, firsts, lasts;
    rs.ReadEach([&](int record, std::span<const std::uint8_t> data) {
        ASSERT_EQ(data.size(), static_cast<std::size_t>(kBig));
        numbers.push_back(record);
        firsts.push_back(data.front());
        lasts.push_back(data.back());
    });
    std::vector<int> expected(kRecords), expectedLasts(kRecords);
    for (int k = 1; k <= kRecords; ++k) {
        expected[k - 1] = k;
        expectedLasts[k - 1] = 100 + k;
    }
    EXPECT_EQ(numbers, expected);
    EXPECT_EQ(firsts, expected);
    EXPECT_EQ(lasts, expectedLasts);
    EXPECT_EQ(rs.CurrentRecord(), 7);
    EXPECT_EQ(Mark(), 7);
}

TEST_F(RecordSetTest, AVetoedPostWritesNothing) {
    Open(2);
    rs.RecordBuffer()[0] = 99;
    rs.OnBeforePost = [](TRecordSet& s) { s.Cancel(); };
    EXPECT_FALSE(rs.PostRec());
    EXPECT_EQ(FileMarks(), (std::vector<int>{1, 2}));
    rs.OnBeforePost = nullptr;
    EXPECT_TRUE(rs.PostRec());  // the veto was consumed
    EXPECT_EQ(FileMarks(), (std::vector<int>{99, 2}));
}

TEST_F(RecordSetTest, NewRecordIsAppendedZeroFilledAndCurrent) {
    Open(2);
    rs.OnBeforeNewRec = [&](TRecordSet&) { events.push_back("BeforeNewRec"); };
    rs.OnAfterRead = [&](TRecordSet&) { events.push_back("AfterRead"); };
    rs.OnAfterNewRec = [&](TRecordSet&) { events.push_back("AfterNewRec"); };
    rs.NewRec();
    EXPECT_EQ(rs.CurrentRecord(), 3);
    EXPECT_EQ(rs.LastRecord(), 3);
    EXPECT_EQ(FileMarks(), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeNewRec", "AfterRead", "AfterNewRec"}));
}

TEST_F(RecordSetTest, NewRecordAtMaxRecIsRefusedAndTheFileKeepsItsSize) {
    Open(3);
    rs.MaxRec = 3;
    EXPECT_EQ(StoreErrorOf([&] { rs.NewRec(); }),
              "Unable to create new record.~You have reached the maximum number of records that~can be created with "
              "this version of the program.");
    EXPECT_EQ(ReadBytes(path).size(), 3u * kSize);
    EXPECT_EQ(rs.LastRecord(), 3);
}

struct DeleteCase {
    int records, deleted;
    std::vector<int> remaining;
    int current, currentMark;
};

TEST_F(RecordSetTest, DeleteCompactsTheFileAndMovesTheCursor) {
    const DeleteCase cases[] = {
        {5, 3, {1, 2, 4, 5}, 3, 4},  // a middle record: the later ones move down
        {5, 5, {1, 2, 3, 4}, 1, 1},  // the last record: back to the first
        {5, 1, {2, 3, 4, 5}, 1, 2},  // the first record
    };
    for (const auto& c : cases) {
        rs.CloseRecSet();
        Open(c.records);
        prompter.Answer(MsgButton::Ok);
        rs.SetCurrentRecord(c.deleted);
        rs.DeleteRec();
        EXPECT_EQ(FileMarks(), c.remaining) << "deleting " << c.deleted;
        EXPECT_EQ(rs.LastRecord(), static_cast<int>(c.remaining.size()));
        EXPECT_EQ(rs.CurrentRecord(), c.current) << "deleting " << c.deleted;
        EXPECT_EQ(Mark(), c.currentMark) << "deleting " << c.deleted;
    }
}

TEST_F(RecordSetTest, DeleteAsksFirstAndCancelKeepsEverything) {
    Open(3);
    rs.SetCurrentRecord(2);
    rs.DeleteRec();  // the question's default answer is Cancel
    EXPECT_EQ(FileMarks(), (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, "Confirm request\nDelete current record from database?");
    EXPECT_EQ(prompter.Messages()[0].style, MsgStyle::OkCancelDefaultCancel);
}

TEST_F(RecordSetTest, TheOnlyRecordCannotBeDeleted) {
    Open(1);
    prompter.Answer(MsgButton::Ok);
    EXPECT_EQ(StoreErrorOf([&] { rs.DeleteRec(); }),
              "Unable to delete current record~you cannot delete the first record when~its the only record in the "
              "database.");
    EXPECT_EQ(FileMarks(), (std::vector<int>{1}));
    EXPECT_TRUE(prompter.Texts().empty());  // nothing was asked
}

// A file whose size shows damage (cut during a copy, bytes or records beyond what the
// store holds) opens browse-only with a notice naming it and its size, and nothing is
// ever written to it: not the current record, not a new one, no delete.
TEST_F(RecordSetTest, AFileOfDamagedSizeOpensBrowseOnlyAndIsNeverWritten) {
    struct Case {
        const char* name;
        int records;
        int extraBytes;
        bool oneRecordFile;
        std::string problem;
    };
    const Case cases[] = {
        {"cut short", 3, 10, false, " is 106 bytes long, which is no whole number of 32-byte records: it may have been cut short."},
        {"less than one record", 0, 31, false, " is 31 bytes long, which is no whole number of 32-byte records"},
        {"beyond MaxRec", 4, 0, false, " holds 4 records, more than the 3 this program can keep in one file."},
        {"one-record file with two", 2, 0, true, " is 64 bytes long, but holds one record of 32 bytes."},
    };
    for (const Case& c : cases) {
        TRecordSet store{CorePorts{.prompter = prompter}};
        store.MaxRec = 3;
        store.OneRecordFile = c.oneRecordFile;
        store.FileName = path;
        store.FileShareMode = smShareDenyWrite;
        WriteNumberedFile(path, c.records, c.extraBytes);
        const auto before = ReadBytes(path);
        prompter.Clear();
        store.OpenRecSet();
        ASSERT_TRUE(store.Active()) << c.name;
        EXPECT_TRUE(store.BrowseOnly()) << c.name;
        EXPECT_EQ(store.BrowseReason(), TBrowseReason::Damaged) << c.name;
        EXPECT_EQ(store.SizeProblem().substr(0, path.size() + c.problem.size()), path + c.problem) << c.name;
        ASSERT_EQ(prompter.Messages().size(), 1u) << c.name;
        EXPECT_EQ(prompter.Messages()[0].style, MsgStyle::Information);
        EXPECT_NE(prompter.Messages()[0].text.find(path + c.problem), std::string::npos) << prompter.Messages()[0].text;
        EXPECT_NE(prompter.Messages()[0].text.find("opened in browse only mode"), std::string::npos);

        if (c.records > 0) store.GetRec();
        store.RecordBuffer()[1] = 99;
        EXPECT_FALSE(store.PostRec());
        EXPECT_NE(StoreErrorOf([&] { store.DeleteRec(); }), "") << c.name;
        EXPECT_NE(StoreErrorOf([&] { store.NewRec(); }), "") << c.name;
        store.CloseRecSet();
        EXPECT_EQ(ReadBytes(path), before) << c.name;
    }
}

TEST_F(RecordSetTest, NewAndDeleteInABrowseOnlyStoreRefuseWithAClearMessage) {
    WriteNumberedFile(path, 2);
    rs.FileName = path;
    rs.OpenBrowseOnly = true;
    rs.OpenRecSet();
    ASSERT_TRUE(rs.BrowseOnly());
    EXPECT_EQ(rs.BrowseReason(), TBrowseReason::Asked);
    EXPECT_TRUE(prompter.Messages().empty());  // asked for: no notice
    EXPECT_EQ(StoreErrorOf([&] { rs.NewRec(); }), path + " is open in browse only mode:~no record can be added.");
    EXPECT_EQ(StoreErrorOf([&] { rs.DeleteRec(); }), path + " is open in browse only mode:~no record can be deleted.");
    EXPECT_TRUE(prompter.Messages().empty());
    EXPECT_EQ(FileMarks(), (std::vector<int>{1, 2}));
    EXPECT_EQ(rs.LastRecord(), 2);
}

TEST_F(RecordSetTest, AFileHeldByAnotherProcessOpensBrowseOnly) {
    WriteNumberedFile(path, 2);
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TRecordSet holder{CorePorts{}};
        holder.FileName = path;
        holder.FileShareMode = smShareDenyWrite;
        holder.OpenRecSet();
        char c = holder.Active() && !holder.BrowseOnly() ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        (void)!read(done[0], &c, 1);
        _exit(0);
    }
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');

    rs.ShowOpenMode = true;
    OpenExisting();
    EXPECT_TRUE(rs.BrowseOnly());
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0].text, path + " is already in use!\n\nThe file has been opened in browse only"
                                                  " mode. You will not be able to record any changes.");
    EXPECT_EQ(prompter.Messages()[0].style, MsgStyle::Information);
    rs.RecordBuffer()[0] = 77;
    EXPECT_FALSE(rs.PostRec());
    EXPECT_EQ(FileMarks(), (std::vector<int>{1, 2}));

    (void)!write(done[1], "x", 1);
    int status = 0;
    waitpid(child, &status, 0);
    rs.CloseRecSet();
    prompter.Clear();
    OpenExisting();  // the holder has gone: the file is writable again
    EXPECT_FALSE(rs.BrowseOnly());
    EXPECT_TRUE(prompter.Messages().empty());
}

TEST_F(RecordSetTest, AFailedWriteIsReportedAndNotTakenAsSaved) {
    Open(2);
    rs.CloseRecSet();
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    rs.FileOpenMode = omOpenRead;  // a read-only handle: every write fails
    rs.FileShareMode = smShareDenyNone;
    rs.OpenRecSet();
    ASSERT_TRUE(rs.Active());
    rs.OnAfterPost = [&](TRecordSet&) { events.push_back("AfterPost"); };
    try {
        rs.PostRec();
        ADD_FAILURE() << "a failed save passed";
    } catch (const EStoreException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to save record 1 of " + path + "~" + e.Reason() +
                                             "~~The record has not been saved.");
        EXPECT_EQ(e.File(), path);
        EXPECT_EQ(e.Record(), 1);
        EXPECT_EQ(e.Operation(), StoreOperation::Save);
        EXPECT_FALSE(e.Reason().empty());
    }
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(prompter.Messages().empty());
}

// A record the store could not read shows blank; saving it would write that blank over
// whatever the file still holds there. It is refused until the record reads again.
TEST_F(RecordSetTest, ARecordThatCouldNotBeReadIsNeverSavedOverBlank) {
    Open(3);
    // Another program cuts the file short after it was opened: record 3 reads short.
    ASSERT_EQ(::truncate(path.c_str(), 2 * kSize + kSize / 2), 0);
    rs.SetCurrentRecord(3);
    const std::string readError = StoreErrorOf([&] { rs.GetRec(); });
    EXPECT_EQ(readError.rfind("Unable to read record 3 of " + path, 0), 0u) << readError;
    EXPECT_EQ(Mark(), 0);  // shown blank

    rs.OnAfterPost = [&](TRecordSet&) { events.push_back("AfterPost"); };
    try {
        rs.PostRec();
        ADD_FAILURE() << "a record that could not be read was saved over";
    } catch (const EStoreException& e) {
        EXPECT_EQ(std::string(e.what()), "Record 3 of " + path + " could not be read, so it has not been saved over.");
        EXPECT_EQ(e.Record(), 3);
        EXPECT_EQ(e.Operation(), StoreOperation::Save);
    }
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(ReadBytes(path).size(), static_cast<std::size_t>(2 * kSize + kSize / 2));  // nothing written

    // Another record that reads is saved as ever.
    rs.SetCurrentRecord(2);
    rs.GetRec();
    rs.RecordBuffer()[0] = 22;
    EXPECT_TRUE(rs.PostRec());
    EXPECT_EQ(FileMarks(), (std::vector<int>{1, 22}));
}

}  // namespace
}  // namespace qnvr
