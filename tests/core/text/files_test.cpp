#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/base/errors.h"
#include "core/text/files.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;

const std::string kCopyError = "The following error occured during the copy file process:\n";

// A fresh folder below the system's temporary folder, removed with everything in it.
class FilesTest : public ::testing::Test {
protected:
    FilesTest() {
        std::string name = (fs::temp_directory_path() / "qnvr-files-XXXXXX").string();
        folder_ = ::mkdtemp(name.data());
    }
    ~FilesTest() override { fs::remove_all(folder_); }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    void Write(const std::string& name, const std::string& content) const {
        std::ofstream(PathOf(name), std::ios::binary) << content;
    }

    std::string Read(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }

    // Runs a copy that must fail and gives the message the user would read.
    std::string FailingCopy(const std::string& source, const std::string& target, bool failIfExists) {
        CopyFailed = false;
        try {
            CopyFileChecked(source, target, failIfExists);
        } catch (const ECopyFileException& e) {
            EXPECT_TRUE(CopyFailed);
            return e.what();
        }
        ADD_FAILURE() << "the copy did not fail";
        return {};
    }

    fs::path folder_;
};

TEST(Files, IncludeTrailingSlash) {
    EXPECT_EQ(IncludeTrailingSlash("/home/pat"), "/home/pat/");
    EXPECT_EQ(IncludeTrailingSlash("/home/pat/"), "/home/pat/");
    EXPECT_EQ(IncludeTrailingSlash(""), "/");
}

TEST_F(FilesTest, CountFilesCountsEveryEntryMatchingTheMask) {
    for (const char* name : {"A.W226", "B.W226", ".hidden.W226", "A.W326", "lower.w226"}) Write(name, "x");
    fs::create_directory(folder_ / "Folder.W226");
    EXPECT_EQ(CountFiles(PathOf("*.W226")), 4);
    EXPECT_EQ(CountFiles(PathOf("?.W?26")), 3);
    EXPECT_EQ(CountFiles(PathOf("*.W225")), 0);
    EXPECT_EQ(CountFiles(PathOf("missing/*.W226")), 0);
}

TEST_F(FilesTest, CountFilesTakesTheFolderLiterally) {
    fs::create_directory(folder_ / "Payroll [2026]");
    Write("Payroll [2026]/Acme.W226", "x");
    EXPECT_EQ(CountFiles(PathOf("Payroll [2026]/*.W226")), 1);
}

TEST_F(FilesTest, CopyReplacesTheTargetAndClearsTheFailureFlag) {
    std::string content(200 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 % 251);
    Write("Acme.W226", content);
    Write("Backup.W226", "old backup");
    CopyFailed = true;
    CopyFileChecked(PathOf("Acme.W226"), PathOf("Backup.W226"), false);
    EXPECT_FALSE(CopyFailed);
    EXPECT_EQ(Read("Backup.W226"), content);
    EXPECT_EQ(EntryCount(), 2u) << "no temporary file is left behind";
}

TEST_F(FilesTest, CopyKeepsPermissionsAndModificationTime) {
    Write("Acme.W226", "payer");
    fs::permissions(PathOf("Acme.W226"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const auto lastYear = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
    fs::last_write_time(PathOf("Acme.W226"), lastYear);
    CopyFileChecked(PathOf("Acme.W226"), PathOf("Copy.W226"), false);
    EXPECT_EQ(fs::status(PathOf("Copy.W226")).permissions(), fs::status(PathOf("Acme.W226")).permissions());
    EXPECT_EQ(fs::last_write_time(PathOf("Copy.W226")), lastYear);
}

TEST_F(FilesTest, CopyOntoItselfKeepsTheContent) {
    Write("Acme.W226", "payer");
    CopyFileChecked(PathOf("Acme.W226"), PathOf("Acme.W226"), false);
    EXPECT_EQ(Read("Acme.W226"), "payer");
}

TEST_F(FilesTest, FailedCopyReportsTheReasonAndLeavesTheTargetAsItWas) {
    Write("Backup.W226", "old backup");
    EXPECT_EQ(FailingCopy(PathOf("missing.W226"), PathOf("Backup.W226"), false),
              kCopyError + "No such file or directory");
    EXPECT_EQ(FailingCopy(PathOf("Backup.W226"), PathOf("no folder/Copy.W226"), false),
              kCopyError + "No such file or directory");
    EXPECT_EQ(FailingCopy(folder_.string(), PathOf("Copy.W226"), false), kCopyError + "Is a directory");
    Write("Acme.W226", "payer");
    EXPECT_EQ(FailingCopy(PathOf("Acme.W226"), PathOf("Backup.W226"), true), kCopyError + "File exists");
    EXPECT_EQ(Read("Backup.W226"), "old backup");
    EXPECT_EQ(EntryCount(), 2u);
}

TEST_F(FilesTest, ReadErrorHalfwayLeavesNoHalfWrittenTarget) {
    // Reading this file fails with an I/O error after the copy beside the target exists.
    Write("Backup.W226", "old backup");
    EXPECT_EQ(FailingCopy("/proc/self/mem", PathOf("Backup.W226"), false), kCopyError + "Input/output error");
    EXPECT_EQ(Read("Backup.W226"), "old backup");
    EXPECT_EQ(EntryCount(), 1u) << "the unfinished copy is removed";
}

TEST_F(FilesTest, ReadOnlyTargetIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write any file";
    Write("Acme.W226", "payer");
    Write("Backup.W226", "old backup");
    fs::permissions(PathOf("Backup.W226"), fs::perms::owner_read);
    EXPECT_EQ(FailingCopy(PathOf("Acme.W226"), PathOf("Backup.W226"), false), kCopyError + "Permission denied");
    EXPECT_EQ(Read("Backup.W226"), "old backup");
}

}  // namespace
}  // namespace qnvr
