// qnvr export: every employee of a payer file, all fields, into a comma-separated file
// that `qnvr import` and the import window read back without a mapping.
#include <iostream>

#include "cli/command.h"
#include "cli/payer_reader.h"
#include "core/csv/employee_import.h"
#include "core/text/files.h"

namespace qnvr::cli {
namespace {

int RunExport(const CorePorts& ports, const std::vector<std::string>& args) {
    std::string out, payerPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--output") {
            if (i + 1 >= args.size()) throw UsageError(a + " needs a file");
            out = args[++i];
        } else if (a.starts_with("-") && a.size() > 1) {
            throw UsageError("unknown option " + a);
        } else if (payerPath.empty()) {
            payerPath = a;
        } else {
            throw UsageError("give one payer file");
        }
    }
    if (out.empty()) throw UsageError("give the CSV file to write with -o");
    if (payerPath.empty()) throw UsageError("give the payer file");
    PayerReader payer(ports, payerPath);
    int rows = 0;
    const std::string text = ExportEmployeesText(payer.Data(), &rows);
    ReplaceFileWhole(out, text);
    std::cout << rows << (rows == 1 ? " employee" : " employees") << " written to " << out << '\n';
    return 0;
}

const CommandRegistration kExport({"export", "-o OUT.csv PAYER.W226",
                                   "Writes every employee of the payer file, all fields, to OUT.csv (UTF-8).",
                                   RunExport});

}  // namespace
}  // namespace qnvr::cli
