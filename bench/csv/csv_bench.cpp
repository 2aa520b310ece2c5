// Benchmark: a CSV file of 10,000 employees (the most a payer file holds), all fields a
// payroll export typically has, imported into a new payer file
//  - by qnvr import (whole process), and
//  - in-process: reading the file, planning (rules and automatic amounts) and writing;
// then the export of the 10,000 employees. Prints the median and the slowest of several
// runs of each; every import starts from a new payer file.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/base/scripted_prompter.h"
#include "core/csv/employee_import.h"
#include "efw2/efw2_fixture.h"
#include "support/bench_support.h"
#include "support/temp_dir.h"

namespace {

using namespace qnvr;
using bench::RunQnvr;

constexpr int kEmployees = 10000;
constexpr int kRuns = 5;

void Report(const char* what, const std::function<void()>& prepare, const std::function<void()>& step) {
    bench::Report(what, kRuns, step, prepare);
}

std::string EmployeesCsv() {
    std::string csv = "SSN,Employee Name,Address,City,State,Zip,Wages,Fed Tax Withheld,Box 12a Code,Box 12a Amount,"
                      "Retirement Plan,State 1,State ID,State Income Tax\n";
    char line[256];
    for (int k = 1; k <= kEmployees; ++k) {
        const double wages = 20000 + (k % 977) * 101.37;
        std::snprintf(line, sizeof line,
                      "%03d-45-%04d,\"Number%d, Employee Q\",%d Elm St,Troy,NY,12180,\"$%.2f\",%.2f,D,1500.25,%s,NY,"
                      "123456,%.2f\n",
                      101 + k / 9000, 1000 + k % 9000, k, k, wages, wages * 0.12, k % 2 ? "Y" : "", wages * 0.04);
        csv += line;
    }
    return csv;
}

}  // namespace

int main() {
    testing::TempDir dir;
    ScriptedPrompter prompter;
    const std::string csvPath = dir.File("employees.csv");
    std::ofstream(csvPath, std::ios::binary) << EmployeesCsv();
    const std::string payer = dir.File("BIGCO.W226");
    auto newPayer = [&] { testing::WritePayerFile(payer, testing::Employer("BIGCO"), {W2Record{}}); };

    Report("qnvr import of 10,000 (process start to exit)", newPayer, [&] { RunQnvr({"import", csvPath, payer}); });

    TFrmDataModule data{CorePorts{.prompter = prompter}};
    auto openNew = [&] {
        data.ClosePayerFile();
        newPayer();
        data.OpenPayerFile(payer);
    };
    CsvTable table;
    Report("ReadCsvFile, in-process", [] {}, [&] { table = ReadCsvFile(csvPath); });
    ImportPlan plan;
    Report("PlanImport, in-process", openNew,
           [&] { plan = PlanImport(data, table, AutoMapping(table.header), DuplicateAction::Update); });
    if (plan.added != kEmployees || !plan.refused.empty()) {
        std::fprintf(stderr, "%s\n%s", ImportSummary(plan).c_str(), RefusedRowsText(plan.refused).c_str());
        return 1;
    }
    Report("ApplyImport, in-process", openNew, [&] { ApplyImport(data, plan); });
    Report("qnvr export of 10,000 (process start to exit)", [] {},
           [&] { RunQnvr({"export", "-o", dir.File("out.csv"), payer}); });
    data.ClosePayerFile();
    return 0;
}
