// Writers killed with SIGKILL at random moments: every file the program writes whole is
// afterwards either the old one or the new one, never a mixture or a truncated file, and
// whatever temporary file a killed writer left is gone after the next complete run.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>

#include "core/base/scripted_prompter.h"
#include "core/efw2/submitter_record.h"
#include "efw2/efw2_fixture.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;

constexpr int kKillsPerFile = 50;

// Starts a writer in a child process; it exits 0 when it finished its write.
using Writer = std::function<void()>;

pid_t Start(const Writer& writer) {
    const pid_t child = ::fork();
    if (child == 0) {
        writer();
        ::_exit(0);
    }
    return child;
}

bool RunToEnd(const Writer& writer) {
    int status = 0;
    ::waitpid(Start(writer), &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs qnvr with its program folder set, output and errors to /dev/null.
Writer Qnvr(const std::string& programDir, std::vector<std::string> args) {
    return [programDir, args] {
        std::vector<std::string> strings = {QNVR_EXECUTABLE};
        strings.insert(strings.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& s : strings) argv.push_back(s.data());
        argv.push_back(nullptr);
        std::string env = "QNVR_PROGRAM_DIR=" + programDir;
        char* envp[] = {env.data(), nullptr};
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execve(argv[0], argv.data(), envp);
        ::_exit(127);
    };
}

// Files beside target that are not target itself: temporaries a writer left.
std::vector<std::string> LeftBeside(const std::string& target) {
    const fs::path path(target);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(path.parent_path())) {
        const std::string name = entry.path().filename().string();
        if (name != path.filename().string() && name.find(path.filename().string()) != std::string::npos)
            left.push_back(name);
    }
    return left;
}

struct Outcome {
    int old = 0;
    int replaced = 0;
    int leftTemporaries = 0;  // kills after which a writer's temporary file was left
};

// Kills writeNew at random moments up to a little beyond the time one complete run takes;
// checks the target after each kill and puts the old content back when it was replaced.
Outcome KillRepeatedly(const std::string& target, const Writer& writeOld, const Writer& writeNew) {
    Outcome outcome;
    EXPECT_TRUE(RunToEnd(writeNew));
    const auto newBytes = ReadBytes(target);
    EXPECT_TRUE(RunToEnd(writeOld));
    const auto oldBytes = ReadBytes(target);
    EXPECT_NE(oldBytes, newBytes);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(RunToEnd(writeNew));
    const auto fullRun = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_TRUE(RunToEnd(writeOld));

    std::mt19937 random(20261210);
    std::uniform_int_distribution<long> delay(0, fullRun.count() * 12 / 10);
    for (int kill = 0; kill < kKillsPerFile; ++kill) {
        const pid_t child = Start(writeNew);
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!LeftBeside(target).empty()) ++outcome.leftTemporaries;
        const auto now = ReadBytes(target);
        if (now == oldBytes) {
            ++outcome.old;
        } else {
            EXPECT_EQ(now, newBytes) << target << " after kill " << kill << " is neither the old nor the new file";
            ++outcome.replaced;
            EXPECT_TRUE(RunToEnd(writeOld));
        }
    }
    // The next complete run removes whatever the killed writers left.
    EXPECT_TRUE(RunToEnd(writeNew));
    EXPECT_EQ(ReadBytes(target), newBytes);
    EXPECT_EQ(LeftBeside(target), std::vector<std::string>{}) << target;
    return outcome;
}

class CrashConsistencyTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(programDir);
        WriteSubmitterFile(programDir + "QNVR.W2S", testing::ValidSubmitter());
    }
    TempDir dir;
    std::string programDir = dir.File("program/");
    std::string outDir = dir.File("out/");
};

TEST_F(CrashConsistencyTest, AnEfw2FileIsAlwaysTheOldOrTheNewOne) {
    fs::create_directories(outDir);
    const std::string small = dir.File("SMALL.W226"), large = dir.File("LARGE.W226");
    testing::WritePayerFile(small, testing::Employer("SMALL"), testing::Employees(2));
    testing::WritePayerFile(large, testing::Employer("LARGE"), testing::Employees(3000, 10));
    const std::string out = outDir + "REPORT.txt";
    const Outcome outcome =
        KillRepeatedly(out, Qnvr(programDir, {"efw2", "-o", out, small}), Qnvr(programDir, {"efw2", "-o", out, large}));
    RecordProperty("old", outcome.old);
    RecordProperty("replaced", outcome.replaced);
    RecordProperty("left_temporaries", outcome.leftTemporaries);
}

TEST_F(CrashConsistencyTest, ASettingsFileIsAlwaysTheOldOrTheNewOne) {
    fs::create_directories(outDir);
    const std::string settings = outDir + "QNVR.W2S";
    SubmitterRecord before = testing::ValidSubmitter(), after = testing::ValidSubmitter();
    after.SubmitName = "OTHER PAYROLL CO";
    after.FormsW2Processed = 7;
    auto writer = [&](const SubmitterRecord& record) -> Writer {
        return [settings, record] {
            WriteSubmitterFile(settings, record);
        };
    };
    KillRepeatedly(settings, writer(before), writer(after));
}

TEST_F(CrashConsistencyTest, ASnapshotIsAlwaysTheOldOrTheNewOne) {
    fs::create_directories(outDir);
    const std::string snapshot = outDir + "page.ndr";
    KillRepeatedly(snapshot, Qnvr(QNVR_ASSETS_DIR, {"design", "FormW3", "--ndr", snapshot}),
                   Qnvr(QNVR_ASSETS_DIR, {"design", "FormW2", "--names", "--ndr", snapshot}));
}

}  // namespace
}  // namespace qnvr
