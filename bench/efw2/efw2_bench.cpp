// Benchmark: a payer file of 10,000 employees (the most a payer file holds), then
//  - qnvr efw2, beside the floor measured in the same run: the payer file read in one
//    go and the same number of bytes as the EFW2 file written in one go (to a file
//    beside its target, brought to the disk and renamed over it, as qnvr writes it),
//    and the ratio of the two;
//  - qnvr show's peak memory at 10,000 employees, and the peak memory of its record
//    writer over a file of 100,000 (more than the program keeps in one payer file, so
//    only the writer, opened on a store whose limit is raised, can be measured there);
//  - qnvr audit, totals and check on the files (whole process);
//  - the W-3 totals, building the records, and a whole Process of the EFW2 window's
//    logic (client file written with fsync), in-process.
// Prints the median and the slowest of several runs of each.
//
// With "--files DIR" it only writes the payer file, its W-3 file and the settings file
// into DIR and says how to run qnvr efw2 on them (for a profiler).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "cli/show_json.h"
#include "core/base/scripted_prompter.h"
#include "core/efw2/efw2_audit.h"
#include "core/efw2/efw2_run.h"
#include "core/text/files.h"
#include "efw2/efw2_fixture.h"
#include "support/bench_support.h"
#include "support/temp_dir.h"

namespace {

using namespace qnvr;
using bench::RunQnvr;

constexpr int kEmployees = 10000;
constexpr int kManyEmployees = 100000;
constexpr int kRuns = 9;

void Report(const char* what, const std::function<void()>& step) { bench::Report(what, kRuns, step); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double CpuMs(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Wall and processor time of one step; the processor time of this process and of the
// children it waited for, so that a busy machine counts less.
struct Timing {
    std::vector<double> wall, cpu;

    void Measure(const std::function<void()>& step) {
        const double cpuBefore = CpuMs(RUSAGE_SELF) + CpuMs(RUSAGE_CHILDREN);
        const auto start = std::chrono::steady_clock::now();
        step();
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(CpuMs(RUSAGE_SELF) + CpuMs(RUSAGE_CHILDREN) - cpuBefore);
    }
    void Print(const char* what) const {
        std::printf("%-46s median %8.1f ms   processor %8.1f ms\n", what, Median(wall), Median(cpu));
    }
};

W2Record BenchEmployee(int k) {
    W2Record w2 = testing::Employee(k, 20000 + (k % 977) * 101.37);
    w2.Boxa = "123-" + std::to_string(10 + k / 10000) + "-" + std::to_string(1000 + k % 9000);
    w2.Box12Code[0] = "D";
    w2.Box12Amt[0] = 1500.25;
    w2.Box12Code[1] = "DD";
    w2.Box12Amt[1] = 7200;
    w2.Box12Code[2] = k % 3 == 0 ? "W" : "C";
    w2.Box12Amt[2] = 300.5;
    w2.Box13b = k % 2 == 0;
    return w2;
}

// The pair written record by record, as many employees as asked (the program's own
// limit left aside, for the 100,000-employee measurement).
void WriteBenchPayerFile(const std::string& path, const std::string& employer, int employees) {
    std::vector<unsigned char> w3Bytes(W3Record::kSize);
    EncodeW3(testing::Employer(employer), w3Bytes);
    testing::WriteBytes(TFrmDataModule::W3PathFor(path), w3Bytes);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<unsigned char> bytes(W2Record::kSize);
    for (int k = 1; k <= employees; ++k) {
        EncodeW2(BenchEmployee(k), bytes);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    if (!out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

[[noreturn]] void Fail(const char* what, const std::string& path) {
    std::fprintf(stderr, "%s %s: %s\n", what, path.c_str(), std::strerror(errno));
    std::exit(1);
}

// The floor: the payer file read in one read, and bytes of the EFW2 file's size written
// in one write to a file beside out, brought to the disk when sync is set, and renamed
// over out.
void ReadAndWriteWhole(const std::string& payer, const std::string& out, std::size_t outBytes, bool sync) {
    const int in = ::open(payer.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) Fail("cannot open", payer);
    struct stat st {};
    if (::fstat(in, &st) != 0) Fail("cannot stat", payer);
    std::vector<char> read(static_cast<std::size_t>(st.st_size));
    if (::read(in, read.data(), read.size()) != static_cast<ssize_t>(read.size())) Fail("cannot read", payer);
    ::close(in);
    std::string written(outBytes, ' ');
    std::memcpy(written.data(), read.data(), std::min(read.size(), written.size()));
    const std::string temporary = out + ".floor";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Fail("cannot create", temporary);
    if (::write(fd, written.data(), written.size()) != static_cast<ssize_t>(written.size()))
        Fail("cannot write", temporary);
    if (sync && ::fsync(fd) != 0) Fail("cannot sync", temporary);
    if (::close(fd) != 0) Fail("cannot close", temporary);
    if (::rename(temporary.c_str(), out.c_str()) != 0) Fail("cannot rename", temporary);
}

// Runs step in a child process, its standard output thrown away; returns the child's
// peak resident memory in MiB.
double ChildPeakMiB(const std::function<int()>& step) {
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (std::freopen("/dev/null", "w", stdout) == nullptr) ::_exit(126);
        ::_exit(step());
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the measured step failed with status %d\n", status);
        std::exit(1);
    }
    return static_cast<double>(usage.ru_maxrss) / 1024;  // ru_maxrss is in KiB
}

// qnvr show run as a preparer's script runs it.
double QnvrShowPeakMiB(const std::string& payer) {
    return ChildPeakMiB([&] {
        const char* argv[] = {QNVR_EXECUTABLE, "show", payer.c_str(), nullptr};
        ::execv(argv[0], const_cast<char* const*>(argv));
        return 127;
    });
}

// qnvr show's record writer on a payer file of any size: the store is opened for reading
// as qnvr opens it, with its record limit raised to the file's records.
double ShowWriterPeakMiB(const std::string& payer, int employees) {
    return ChildPeakMiB([&] {
        ScriptedPrompter prompter;
        TFrmDataModule data{CorePorts{.prompter = prompter}};
        data.ReadOnly();
        data.RSW2().MaxRec = employees;
        data.OpenPayerFile(payer);
        if (data.RSW2().RecordCount() != employees) return 1;
        cli::WriteShowJson(data, std::cout);
        std::cout.flush();
        return std::cout ? 0 : 1;
    });
}

void WriteFilesForProfiling(const std::string& folder) {
    std::filesystem::create_directories(folder);
    const std::string programDir = IncludeTrailingSlash(folder);
    WriteSubmitterFile(programDir + kSubmitterFileName, testing::ValidSubmitter());
    const std::string payer = programDir + "BIGCO.W226";
    WriteBenchPayerFile(payer, "BIGCO", kEmployees);
    std::printf("QNVR_PROGRAM_DIR=%s %s efw2 -o %sBIGCO.txt %s\n", programDir.c_str(), QNVR_EXECUTABLE,
                programDir.c_str(), payer.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--files") {
        WriteFilesForProfiling(argv[2]);
        return 0;
    }
    if (argc != 1) {
        std::fprintf(stderr, "usage: %s [--files DIR]\n", argv[0]);
        return 2;
    }
    testing::TempDir dir;
    const std::string programDir = dir.File("program/");
    const std::string dataDir = dir.File("data/");
    std::filesystem::create_directories(programDir);
    std::filesystem::create_directories(dataDir);
    const SubmitterRecord settings = testing::ValidSubmitter();
    WriteSubmitterFile(programDir + kSubmitterFileName, settings);

    const std::string payer = dataDir + "BIGCO.W226";
    WriteBenchPayerFile(payer, "BIGCO", kEmployees);
    std::printf("payer file of %d employees: %ju bytes\n", kEmployees,
                static_cast<std::uintmax_t>(std::filesystem::file_size(payer)));

    const std::string out = dir.File("BIGCO.txt");
    RunQnvr({"efw2", "-o", out, payer}, programDir);
    const std::size_t efw2Bytes = std::filesystem::file_size(out);
    std::printf("  EFW2 file: %zu bytes\n", efw2Bytes);

    // The figure and its floor, taken in turns so that both see the same machine.
    const std::string floorOut = dir.File("FLOOR.txt");
    Timing efw2, floor, plain, start;
    for (int run = 0; run < kRuns; ++run) {
        efw2.Measure([&] { RunQnvr({"efw2", "-o", out, payer}, programDir); });
        floor.Measure([&] { ReadAndWriteWhole(payer, floorOut, efw2Bytes, true); });
        plain.Measure([&] { ReadAndWriteWhole(payer, floorOut, efw2Bytes, false); });
        start.Measure([&] { RunQnvr({"help"}, programDir); });
    }
    efw2.Print("qnvr efw2 (process start to exit)");
    floor.Print("floor: read payer file, write, fsync, rename");
    plain.Print("  the same without fsync");
    start.Print("  qnvr help (process start to exit)");
    std::printf("ratio qnvr efw2 / floor: %.1fx (without fsync: %.1fx)\n", Median(efw2.wall) / Median(floor.wall),
                Median(efw2.wall) / Median(plain.wall));

    std::printf("qnvr show, %d employees: peak memory %.1f MiB\n", kEmployees, QnvrShowPeakMiB(payer));
    std::printf("show's record writer, %d employees: peak memory %.1f MiB\n", kEmployees,
                ShowWriterPeakMiB(payer, kEmployees));
    {
        const std::string many = dataDir + "MANYCO.W226";
        WriteBenchPayerFile(many, "MANYCO", kManyEmployees);
        std::printf("show's record writer, %d employees: peak memory %.1f MiB\n", kManyEmployees,
                    ShowWriterPeakMiB(many, kManyEmployees));
        std::filesystem::remove(many);
        std::filesystem::remove(TFrmDataModule::W3PathFor(many));
    }

    Report("qnvr audit (process start to exit)", [&] { RunQnvr({"audit", out}, programDir); });
    Report("AuditEfw2File, in-process", [&] {
        if (AuditEfw2File(out).HasErrors()) std::exit(1);
    });
    Report("qnvr totals (process start to exit)", [&] { RunQnvr({"totals", payer}, programDir); });
    Report("qnvr check (process start to exit)", [&] { RunQnvr({"check", payer}, programDir); });

    ScriptedPrompter prompter;
    TFrmDataModule data{CorePorts{.prompter = prompter}};
    data.OpenPayerFile(payer);
    data.EntryWindowReviewed(EntryWindow::W2);
    data.EntryWindowReviewed(EntryWindow::W3);
    Report("ComputeW3Totals, in-process", [&] { data.ComputeW3Totals(); });
    Report("BuildClientRecords, in-process", [&] { BuildClientRecords(data); });
    std::vector<std::string> masterList;
    const Efw2Paths paths = Efw2Paths::For(programDir, dataDir);
    Report("Efw2Run Process + Reset, in-process", [&] {
        Efw2Run run(data, masterList, paths);
        run.Open();
        testing::FillSubmitterFields(run.Settings());
        run.Process();
        prompter.Answer(MsgButton::Yes);
        run.Reset();
    });
    data.ClosePayerFile();
    return 0;
}
