#pragma once
// The built qnvr run as a preparer's script runs it, for the benchmarks that time whole
// processes. QNVR_EXECUTABLE is the path of the built tool.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace qnvr::bench {

// Runs qnvr with args, its output thrown away; ends the benchmark when qnvr fails. An
// empty programDir leaves the program folder to qnvr.
inline void RunQnvr(std::vector<std::string> args, const std::string& programDir = "") {
    std::fflush(stdout);  // the child must not print the parent's buffered lines again
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!programDir.empty()) ::setenv("QNVR_PROGRAM_DIR", programDir.c_str(), 1);
        if (std::freopen("/dev/null", "w", stdout) == nullptr) ::_exit(126);
        std::vector<char*> argv;
        args.insert(args.begin(), QNVR_EXECUTABLE);
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "qnvr %s failed with status %d\n", args[1].c_str(), status);
        std::exit(1);
    }
}

}  // namespace qnvr::bench
