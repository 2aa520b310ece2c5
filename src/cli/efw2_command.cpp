// qnvr efw2: the EFW2 wage report of one payer file (a complete client file) or of
// several (a master file), from the submitter settings of the desktop program. Nothing
// of the desktop program's run state changes, and OUT is written only when every payer
// passes: any refusal leaves an existing OUT as it was.
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include "cli/command.h"
#include "cli/payer_reader.h"
#include "core/base/errors.h"
#include "core/efw2/efw2_files.h"
#include "core/efw2/efw2_records.h"
#include "core/efw2/efw2_run.h"
#include "core/efw2/submitter_record.h"
#include "core/text/files.h"
#include "core/text/text.h"

namespace qnvr::cli {
namespace {

namespace fs = std::filesystem;

struct Efw2Args {
    std::string settingsFile;
    bool allowInvalid = false;
    std::string outFile;
    std::vector<std::string> payers;
};

Efw2Args ParseArgs(const std::vector<std::string>& args) {
    Efw2Args parsed;
    bool operandsOnly = false;  // after "--"
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (operandsOnly) {
            parsed.payers.push_back(a);
            continue;
        }
        if (a == "--") {
            operandsOnly = true;
            continue;
        }
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
            return args[++i];
        };
        if (a == "--settings")
            parsed.settingsFile = value();
        else if (a == "--allow-invalid")
            parsed.allowInvalid = true;
        else if (a == "-o")
            parsed.outFile = value();
        else if (a.starts_with("-") && a.size() > 1)
            throw UsageError("unknown option " + a);
        else
            parsed.payers.push_back(a);
    }
    if (parsed.outFile.empty()) throw UsageError("give the output file with -o OUT");
    if (parsed.payers.empty()) throw UsageError("give at least one payer file");
    if (parsed.settingsFile.empty()) parsed.settingsFile = StateDir() + kSubmitterFileName;
    return parsed;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error) && !error;
}

// OUT must not overwrite an input or a file of the desktop program's run state.
void RefuseProtectedOutput(const Efw2Args& args) {
    const std::string name = fs::path(args.outFile).filename().string();
    for (const char* runFile : {kSubmitterFileName, kClientsFileName, kMasterFileName})
        if (UpperCase(name) == UpperCase(runFile))
            throw EQnvrException(args.outFile + ": the desktop program's " + runFile + " is not written by qnvr");
    std::vector<std::string> inputs = {args.settingsFile};
    for (const auto& payer : args.payers) {
        inputs.push_back(payer);
        inputs.push_back(TFrmDataModule::W3PathFor(payer));
    }
    for (const auto& input : inputs)
        if (SameFile(args.outFile, input)) throw EQnvrException(args.outFile + ": is an input file, not overwritten");
}

// The EFW2 file as it is made. The records stream to a hidden file beside OUT, so that
// the disk writes them while the rest is made, and it replaces OUT only when complete.
// When that file cannot be made at the start, the records are kept and written at the
// end instead, where the failure is reported after the payers' refusals, as a write
// that fails does.
class ReportOutput {
public:
    explicit ReportOutput(const std::string& path) : path_(path) {
        try {
            file_.emplace(path);
        } catch (const std::system_error&) {
        }
    }

    bool Streams() const { return file_.has_value(); }
    void Append(std::string_view text) {
        if (file_)
            file_->Append(text);
        else
            parts_.emplace_back(text);
    }
    void Append(std::string&& text) {
        if (file_)
            file_->Append(text);
        else
            parts_.push_back(std::move(text));
    }
    // Room for text of this length, filled later by Fill.
    std::uint64_t Reserve(std::size_t length) {
        const std::uint64_t at = file_ ? file_->Size() : parts_.size();
        Append(std::string(length, ' '));
        return at;
    }
    void Fill(std::uint64_t at, std::string&& text) {
        if (file_)
            WriteAt(at, text);
        else
            parts_[at] = std::move(text);
    }
    void Finish() {
        if (file_) {
            try {
                file_->Commit();
            } catch (const std::system_error& error) {
                RaiseFileError("save", path_, error.code().message());
            }
            return;
        }
        const std::vector<std::string_view> parts(parts_.begin(), parts_.end());
        WriteWholeFile(path_, parts);
    }

private:
    void WriteAt(std::uint64_t at, std::string_view text) {
        try {
            file_->WriteAt(at, text);
        } catch (const std::system_error& error) {
            RaiseFileError("save", path_, error.code().message());
        }
    }

    std::string path_;
    std::optional<FileReplacement> file_;
    std::vector<std::string> parts_;
};

// RW records go to the file in parts of about this size.
constexpr std::size_t kStreamedBytes = std::size_t{1} << 20;

struct Employer {
    std::string ein;  // digits only
    std::string path;
};

struct Report {
    explicit Report(const std::string& path) : output(path) {}
    ReportOutput output;  // the records so far, each followed by CR LF
    std::vector<Employer> employers;
    int rwCount = 0;
    double wages = 0;
};

void AppendRecord(ReportOutput& output, std::string record) { output.Append(std::move(record.append("\r\n"))); }

// One payer's RE, RW and RT records, after the checks that may refuse it. The payer file
// is read once: each W-2 record is added to the W-3 totals, checked and written as it
// comes, and the refusals are raised in the order of the checks.
void AddPayer(const CorePorts& ports, const std::string& path, bool allowInvalid, Report& report) {
    PayerReader payer(ports, path);
    W3TotalsSum totals;
    int forms = 0;
    int formsWithWages = 0;
    PayerCheck check(false);
    ClientRecordsBuilder client;
    const int records = payer.Data().RSW2().RecordCount();
    const bool streams = report.output.Streams();
    const int chunk = static_cast<int>(kStreamedBytes / (kEfw2RecordLength + 2));
    client.Reserve(streams ? std::min(records, chunk + 1) : records);
    // The RE record comes first but is made at the end.
    const std::uint64_t employerAt = report.output.Reserve(streams ? kEfw2RecordLength + 2 : 0);
    payer.Data().ReadEachW2([&](const W2Record& w2) {
        ++forms;
        totals.Add(w2);
        if (HasWages(w2)) ++formsWithWages;
        if (!allowInvalid) check.Add(w2);
        client.Add(w2);
        if (streams && client.Pending().size() >= kStreamedBytes) {
            report.output.Append(client.Pending());
            client.ClearPending();
        }
    });
    W3Record w3 = payer.Data().W3Rec();
    totals.ApplyTo(w3, forms);
    if (formsWithWages == 0) throw ENoEmployeesException(path + ": " + kNoEmployeesMessage);
    if (!allowInvalid) {
        const std::vector<std::string> failures = check.Finish(w3, nullptr);
        if (!failures.empty()) {
            std::string message = path + ": does not pass qnvr check (--allow-invalid writes it anyway)";
            for (const auto& failure : failures) message += "\n" + path + ": " + failure;
            throw EQnvrException(message);
        }
    }
    // The same employer is the same EIN, however its name is written.
    const std::string ein = FilterChars(w3.Boxe, "0123456789");
    for (const Employer& earlier : report.employers)
        if (earlier.ein == ein)
            throw EQnvrException(path + ": the employer with EIN " + Trim(w3.Boxe) + " is already in this report, from " +
                                 earlier.path);
    try {
        std::array<std::string, 3> text = client.TakeText(w3);
        report.output.Fill(employerAt, std::move(text[0]));
        report.output.Append(std::move(text[1]));
        report.output.Append(std::move(text[2]));
        report.rwCount += client.Count();
    } catch (const EProcessException& error) {
        throw EProcessException(path + ": " + error.what());
    }
    report.employers.push_back({ein, path});
    report.wages += w3.Amount1;
}

int RunEfw2(const CorePorts& ports, const std::vector<std::string>& argv) {
    const Efw2Args args = ParseArgs(argv);
    RefuseProtectedOutput(args);
    const SubmitterRecord settings = ReadSubmitterFile(args.settingsFile);
    RaiseIfFailed(ValidateSubmitter(settings));

    Report report(args.outFile);
    AppendRecord(report.output, BuildSubmitterRecord(settings));
    for (const std::string& payer : args.payers) AddPayer(ports, payer, args.allowInvalid, report);
    AppendRecord(report.output, BuildFinalRecord(report.rwCount));
    report.output.Finish();

    const std::size_t employers = report.employers.size();
    std::cout << args.outFile << ": " << employers << (employers == 1 ? " employer, " : " employers, ") << report.rwCount
              << " Forms W-2, wages " << FormatDollars(report.wages) << '\n';
    return 0;
}

const CommandRegistration kEfw2({"efw2", "[--settings FILE] [--allow-invalid] -o OUT PAYER.W226 [PAYER.W226 ...]",
                                 "Writes the EFW2 wage report of one payer file, or the master file of several.",
                                 RunEfw2});

}  // namespace
}  // namespace qnvr::cli
