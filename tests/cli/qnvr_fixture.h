#pragma once
// The built qnvr run as a user runs it, in a program folder of the test's own, on payer
// files the tests write.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/efw2/efw2_files.h"
#include "core/efw2/submitter_record.h"
#include "efw2/efw2_fixture.h"
#include "efw2/written_efw2_files.h"
#include "support/temp_dir.h"

namespace qnvr::testing {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadText(const std::string& path) {
    const auto bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

class QnvrTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(programDir);
        SubmitterRecord s = testing::ValidSubmitter();
        s.ClientsProcessed = 1;  // run state of the desktop program, which qnvr must leave alone
        s.FormsW2Processed = 4;
        WriteSubmitterFile(programDir + "QNVR.W2S", s);
    }
    // Every EFW2 file a test leaves behind passes the audit.
    void TearDown() override {
        for (const std::string& error : testing::Efw2ErrorsBelow(dir.Path())) ADD_FAILURE() << error;
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

}  // namespace qnvr::testing
