// Benchmark: a payer file of 10,000 employees (the most a payer file holds), then
//  - qnvr efw2 and qnvr totals on it, as a preparer's script runs them (whole process);
//  - qnvr audit of the EFW2 file written from it (whole process, and in-process);
//  - the W-3 totals, building the records, and a whole Process of the EFW2 window's
//    logic (client file written with fsync), in-process.
// Prints the median and the slowest of several runs of each.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/base/scripted_prompter.h"
#include "core/efw2/efw2_audit.h"
#include "core/efw2/efw2_run.h"
#include "efw2/efw2_fixture.h"
#include "support/bench_support.h"
#include "support/temp_dir.h"

namespace {

using namespace qnvr;
using bench::RunQnvr;

constexpr int kEmployees = 10000;
constexpr int kRuns = 7;

void Report(const char* what, const std::function<void()>& step) { bench::Report(what, kRuns, step); }

std::vector<W2Record> ManyEmployees() {
    std::vector<W2Record> employees;
    employees.reserve(kEmployees);
    for (int k = 1; k <= kEmployees; ++k) {
        W2Record w2 = testing::Employee(k, 20000 + (k % 977) * 101.37);
        w2.Boxa = "123-" + std::to_string(10 + k / 10000) + "-" + std::to_string(1000 + k % 9000);
        w2.Box12Code[0] = "D";
        w2.Box12Amt[0] = 1500.25;
        w2.Box12Code[1] = "DD";
        w2.Box12Amt[1] = 7200;
        w2.Box12Code[2] = k % 3 == 0 ? "W" : "C";
        w2.Box12Amt[2] = 300.5;
        w2.Box13b = k % 2 == 0;
        employees.push_back(w2);
    }
    return employees;
}

}  // namespace

int main() {
    testing::TempDir dir;
    const std::string programDir = dir.File("program/");
    const std::string dataDir = dir.File("data/");
    std::filesystem::create_directories(programDir);
    std::filesystem::create_directories(dataDir);
    const SubmitterRecord settings = testing::ValidSubmitter();
    WriteSubmitterFile(programDir + kSubmitterFileName, settings);

    const std::string payer = dataDir + "BIGCO.W226";
    testing::WritePayerFile(payer, testing::Employer("BIGCO"), ManyEmployees());
    std::printf("payer file of %d employees: %ju bytes\n", kEmployees,
                static_cast<std::uintmax_t>(std::filesystem::file_size(payer)));

    const std::string out = dir.File("BIGCO.txt");
    Report("qnvr efw2 (process start to exit)", [&] { RunQnvr({"efw2", "-o", out, payer}, programDir); });
    std::printf("  EFW2 file: %ju bytes\n", static_cast<std::uintmax_t>(std::filesystem::file_size(out)));
    Report("qnvr audit (process start to exit)", [&] { RunQnvr({"audit", out}, programDir); });
    Report("AuditEfw2File, in-process", [&] {
        if (AuditEfw2File(out).HasErrors()) std::exit(1);
    });
    Report("qnvr totals (process start to exit)", [&] { RunQnvr({"totals", payer}, programDir); });
    Report("qnvr check (process start to exit)", [&] { RunQnvr({"check", payer}, programDir); });

    ScriptedPrompter prompter;
    TFrmDataModule data;
    data.OpenPayerFile(payer);
    data.ReviewCount = 2;
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
