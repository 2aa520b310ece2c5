#pragma once
// What the benchmarks share: timing a step over several runs, and the built qnvr run as
// a preparer's script runs it. QNVR_EXECUTABLE is the path of the built tool.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <cstdlib>
#include <string>
#include <vector>

namespace qnvr::bench {

// Runs step runs times, prepare (not timed) before each, and prints the median and the
// slowest time.
inline void Report(const char* what, int runs, const std::function<void()>& step,
                   const std::function<void()>& prepare = {}) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        if (prepare) prepare();
        const auto start = std::chrono::steady_clock::now();
        step();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-46s median %8.1f ms   slowest %8.1f ms\n", what, ms[ms.size() / 2], ms.back());
}

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
