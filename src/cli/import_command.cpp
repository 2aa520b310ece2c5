// qnvr import: employees from a comma-separated file into a payer file, with the same
// column matching, value reading, rules and all-or-nothing write as the desktop
// program's import window. Refused rows go to standard error with their line numbers;
// the exit status is 1 when any row was refused.
#include <algorithm>
#include <iostream>

#include "cli/command.h"
#include "cli/payer_reader.h"
#include "core/base/errors.h"
#include "core/csv/employee_import.h"

namespace qnvr::cli {
namespace {

struct ImportArgs {
    std::string map, csv, payer;
    DuplicateAction onDuplicate = DuplicateAction::Update;
    std::optional<CsvEncoding> encoding;
    std::optional<char> separator;
    bool dryRun = false;
};

std::string Value(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) throw UsageError(args[i] + " needs a value");
    return args[++i];
}

ImportArgs ParseArgs(const std::vector<std::string>& args) {
    ImportArgs parsed;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--map") {
            parsed.map = Value(args, i);
        } else if (a == "--on-duplicate") {
            const std::string value = Value(args, i);
            const auto action = DuplicateActionNamed(value);
            if (!action) throw UsageError("--on-duplicate takes update, skip or add, not " + value);
            parsed.onDuplicate = *action;
        } else if (a == "--encoding") {
            const std::string value = Value(args, i);
            parsed.encoding = CsvEncodingNamed(value);
            if (!parsed.encoding) throw UsageError("--encoding takes utf-8 or windows-1252, not " + value);
        } else if (a == "--separator") {
            const std::string value = Value(args, i);
            if (value == "comma" || value == ",") parsed.separator = ',';
            else if (value == "semicolon" || value == ";") parsed.separator = ';';
            else if (value == "tab" || value == "\t") parsed.separator = '\t';
            else throw UsageError("--separator takes comma, semicolon or tab, not " + value);
        } else if (a == "--dry-run") {
            parsed.dryRun = true;
        } else if (a.starts_with("-") && a.size() > 1) {
            throw UsageError("unknown option " + a);
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) throw UsageError("give the CSV file and the payer file");
    parsed.csv = files[0];
    parsed.payer = files[1];
    return parsed;
}

std::string OnOneLine(std::string text) {
    std::replace(text.begin(), text.end(), '~', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

int RunImport(const CorePorts& ports, const std::vector<std::string>& args) {
    const ImportArgs parsed = ParseArgs(args);
    const CsvTable table = ReadCsvFile(parsed.csv, parsed.encoding, parsed.separator);
    const ColumnMapping mapping =
        parsed.map.empty() ? AutoMapping(table.header) : ApplySavedMapping(ReadMappingFile(parsed.map), table.header);

    // A dry run only reads: the payer file is not even locked.
    PayerReader payer(ports, parsed.payer, parsed.dryRun ? PayerAccess::Read : PayerAccess::Write);
    const ImportPlan plan = PlanImport(payer.Data(), table, mapping, parsed.onDuplicate);
    for (const RefusedRow& row : plan.refused) std::cerr << parsed.csv << ": " << OnOneLine(RefusedRowText(row)) << '\n';

    if (parsed.dryRun) {
        for (const ImportChange& change : plan.changes)
            std::cout << "line " << change.line << ": "
                      << (change.record ? "would update employee " + std::to_string(change.record) : "would add")
                      << ' ' << change.employee.Boxa << ' ' << change.employee.Boxe3 << ", " << change.employee.Boxe1
                      << '\n';
        std::cout << "Dry run, nothing written: " << ImportSummary(plan) << '\n';
    } else {
        try {
            ApplyImport(payer.Data(), plan);
        } catch (const EQnvrException& error) {
            throw EQnvrException(OnOneLine(error.what()));
        }
        std::cout << ImportSummary(plan) << '\n';
    }
    std::cout.flush();
    return plan.refused.empty() ? 0 : 1;
}

const CommandRegistration kImport(
    {"import",
     "[--map MAPFILE] [--on-duplicate update|skip|add] [--encoding utf-8|windows-1252] "
     "[--separator comma|semicolon|tab] [--dry-run] CSV PAYER.W226",
     "Imports employees from CSV into the payer file; refused rows are listed on standard error (exit status 1). "
     "--dry-run reports what would change and writes nothing.",
     RunImport});

}  // namespace
}  // namespace qnvr::cli
