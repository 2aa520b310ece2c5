// qnvr print: the program's printed forms and labels for one payer file, without a
// window: to a PDF, an HTML page, a snapshot document or a printer, and the employee
// copies also as one PDF per employee. Each kind runs the same print job as the desktop
// program; only the output is chosen here. Nothing is written unless the whole output
// could be made: a refusal leaves an existing OUT as it was.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <set>

#include "cli/command.h"
#include "cli/printing_commands.h"
#include "cli/payer_reader.h"
#include "core/program/program_setup.h"
#include "core/base/errors.h"
#include "core/text/text.h"
#include "core/text/validation.h"
#include "forms/form_jobs.h"
#include "platform/print/cups_printer_port.h"
#include "platform/qt_folders.h"
#include "platform/qt_settings_store.h"
#include "report/html_renderer.h"
#include "report/pdf_renderer.h"
#include "report/printer_port.h"
#include "report/report_job.h"
#include "report/report_ports.h"

namespace qnvr::cli {
namespace {

namespace fs = std::filesystem;
using forms::FormPrinting;
using forms::W2FormType;
using forms::W2PrintRange;

enum class Kind { Employee, Employer, State, W3, Labels, Ssa };
enum class Output { Pdf, Html, Ndr, Printer };

const std::map<std::string, Kind>& Kinds() {
    static const std::map<std::string, Kind> kinds = {{"employee", Kind::Employee}, {"employer", Kind::Employer},
                                                      {"state", Kind::State},       {"w3", Kind::W3},
                                                      {"labels", Kind::Labels},     {"ssa", Kind::Ssa}};
    return kinds;
}

struct PrintArgs {
    Kind kind = Kind::Employee;
    bool unmasked = false;
    std::optional<report::PreprintedForms> preprinted;
    fs::path splitDir;
    std::optional<Output> output;
    std::string target;  // OUT, or the printer's name
    std::string payer;
};

// "X,Y" in inches, each from -0.50 to +0.50.
report::PreprintedForms ParseOffset(const std::string& text) {
    const std::size_t comma = text.find(',');
    report::PreprintedForms preprinted{true, 0, 0};
    try {
        if (comma == std::string::npos) throw std::invalid_argument(text);
        std::size_t used = 0;
        preprinted.offsetX = std::stod(text.substr(0, comma), &used);
        if (used != comma) throw std::invalid_argument(text);
        const std::string y = text.substr(comma + 1);
        preprinted.offsetY = std::stod(y, &used);
        if (used != y.size()) throw std::invalid_argument(text);
    } catch (const std::logic_error&) {
        throw UsageError("--offset takes X,Y in inches, for example 0.05,-0.10");
    }
    auto inRange = [](double v) { return v >= -0.5 && v <= 0.5; };
    if (!inRange(preprinted.offsetX) || !inRange(preprinted.offsetY))
        throw UsageError("--offset: each offset must be between -0.50 and +0.50 inches");
    return preprinted;
}

PrintArgs ParseArgs(const std::vector<std::string>& args) {
    PrintArgs parsed;
    std::vector<std::string> operands;
    std::optional<std::string> offset;
    bool preprinted = false, optionsEnded = false;
    auto setOutput = [&](Output output, const std::string& target) {
        if (parsed.output) throw UsageError("give exactly one of --pdf, --html, --ndr and --printer");
        parsed.output = output;
        parsed.target = target;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
            return args[++i];
        };
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") operands.push_back(a);
        else if (a == "--") optionsEnded = true;
        else if (a == "--unmasked") parsed.unmasked = true;
        else if (a == "--preprinted") preprinted = true;
        else if (a == "--offset") offset = value();
        else if (a == "--split") parsed.splitDir = value();
        else if (a == "--pdf") setOutput(Output::Pdf, value());
        else if (a == "--html") setOutput(Output::Html, value());
        else if (a == "--ndr") setOutput(Output::Ndr, value());
        else if (a == "--printer") setOutput(Output::Printer, value());
        else throw UsageError("unknown option " + a);
    }
    if (operands.size() != 2) throw UsageError("give the KIND and one payer file");
    const auto kind = Kinds().find(operands[0]);
    if (kind == Kinds().end())
        throw EQnvrException("unknown KIND \"" + operands[0] + "\": give employee, employer, state, w3, labels or ssa");
    parsed.kind = kind->second;
    parsed.payer = operands[1];
    if (offset && !preprinted) throw UsageError("--offset goes with --preprinted");
    if (preprinted) parsed.preprinted = offset ? ParseOffset(*offset) : report::PreprintedForms{true, 0, 0};
    if (!parsed.splitDir.empty()) {
        if (parsed.output) throw UsageError("--split DIR writes the PDFs itself: give no other output");
        parsed.output = Output::Pdf;
    }
    if (!parsed.output) throw UsageError("give one of --pdf, --html, --ndr and --printer");
    if (parsed.unmasked && parsed.kind != Kind::Employee) throw UsageError("--unmasked applies to the employee copies");
    if (parsed.preprinted && parsed.kind != Kind::Ssa && parsed.kind != Kind::W3)
        throw UsageError("--preprinted applies to the red-ink forms: ssa and w3");
    if (!parsed.splitDir.empty() && parsed.kind != Kind::Employee && parsed.kind != Kind::Employer &&
        parsed.kind != Kind::State)
        throw UsageError("--split makes one PDF per employee: it applies to employee, employer and state");
    // Copy A is read by the SSA's scanners from the official red-ink form: a drawn
    // facsimile is never printed or exported.
    if (parsed.kind == Kind::Ssa && !parsed.preprinted)
        throw EQnvrException("Copy A is printed only onto the official red-ink forms: give --preprinted");
    return parsed;
}

void SetupJob(FormPrinting& printing, report::ReportJob& job, Kind kind, W2PrintRange range, bool unmasked) {
    switch (kind) {
        case Kind::Employee: return printing.SetupEmployeeW2(job, range, !unmasked);
        case Kind::Employer: return printing.SetupCopyD1(job, range, W2FormType::Employer);
        case Kind::State: return printing.SetupCopyD1(job, range, W2FormType::State);
        case Kind::Ssa: return printing.SetupSsaW2(job);
        case Kind::W3: return printing.SetupFormW3(job);
        case Kind::Labels: return printing.SetupLabels(job);
    }
}

// A snapshot file of this run's own, removed at the end.
struct RunSnapshot {
    fs::path path = fs::temp_directory_path() / ("qnvr-print-" + std::to_string(::getpid()) + ".rpt");
    ~RunSnapshot() {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
};

report::PageSnapshot Record(report::ReportJob& job) {
    if (!job.Generate()) throw EQnvrException("The print job was cancelled.");
    return job.OpenSnapshot();
}

void Deliver(const report::PageSnapshot& snapshot, Output output, const std::string& target,
             report::PrinterPort* printers, const std::string& jobTitle) {
    switch (output) {
        case Output::Pdf: report::RenderPdf(snapshot, target); return;
        case Output::Html: report::RenderHtml(snapshot, target); return;
        case Output::Ndr: snapshot.SaveAs(target); return;
        case Output::Printer: {
            report::PrintSettings settings = snapshot.Settings();
            settings.printer = target;
            report::PrintSnapshot(snapshot, *printers, jobTitle, settings);
            return;
        }
    }
}

// "Last_First_6789.pdf": the employee's last and first name as typed and the last four
// digits of the SSN, with anything a file name cannot safely hold left out.
std::string SplitFileName(const W2Record& w2) {
    auto part = [](const std::string& text) {
        std::string cleaned;
        for (char c : Trim(text)) {
            if (std::isalnum(static_cast<unsigned char>(c)) || c == '-') cleaned += c;
            else if (c == ' ' && !cleaned.empty() && cleaned.back() != '-') cleaned += '-';
        }
        return cleaned;
    };
    std::vector<std::string> parts;
    for (const std::string& p : {part(w2.Boxe3), part(w2.Boxe1)})
        if (!p.empty()) parts.push_back(p);
    if (IsValidSSN(w2.Boxa)) parts.push_back(w2.Boxa.substr(7, 4));
    std::string name;
    for (const std::string& p : parts) name += (name.empty() ? "" : "_") + p;
    return name.empty() ? "employee" : name;
}

// One PDF per employee into dir. The PDFs are made in a hidden folder inside dir and
// moved into place only when every one of them was written.
int PrintSplit(const report::ReportPorts& ports, FormPrinting& printing, const PrintArgs& args,
               const fs::path& snapshotFile) {
    TFrmDataModule& dm = printing.DataModule();
    fs::create_directories(args.splitDir);
    const fs::path staging = args.splitDir / (".qnvr-split-" + std::to_string(::getpid()));
    fs::create_directory(staging);
    struct RemoveStaging {
        fs::path path;
        ~RemoveStaging() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } removeStaging{staging};

    std::set<std::string> taken;
    std::vector<std::string> names;
    for (int record = dm.RSW2().FirstRecord(); record <= dm.RSW2().LastRecord(); ++record) {
        report::ReportJob job(ports);
        job.StreamMode = report::SnapshotStore::File;
        SetupJob(printing, job, args.kind, {record, record}, args.unmasked);
        job.StreamFileName = snapshotFile;
        dm.RSW2().SetCurrentRecord(record);
        dm.RSW2().GetRec();
        std::string name = SplitFileName(dm.W2Rec());
        for (int n = 2; taken.count(name) || fs::exists(args.splitDir / (name + ".pdf")); ++n)
            name = SplitFileName(dm.W2Rec()) + "_" + std::to_string(n);
        taken.insert(name);
        report::RenderPdf(Record(job), staging / (name + ".pdf"));
        names.push_back(name);
    }
    for (const std::string& name : names) fs::rename(staging / (name + ".pdf"), args.splitDir / (name + ".pdf"));
    std::cout << names.size() << (names.size() == 1 ? " PDF" : " PDFs") << " written to " << args.splitDir.string() << '\n';
    return 0;
}

int RunPrint(const CorePorts& ports, const std::vector<std::string>& cmdArgs) {
    const PrintArgs args = ParseArgs(cmdArgs);
    platform::CupsPrinterPort printSystem;
    report::PrinterPort* printers = nullptr;
    if (args.output == Output::Printer) {
        const std::vector<std::string> known = printSystem.Printers();
        if (std::find(known.begin(), known.end(), args.target) == known.end())
            throw EQnvrException("There is no printer named \"" + args.target + "\".");
        printers = &printSystem;
    }
    // The jobs know the print system's printers only when they print to one, and run
    // without windows.
    const report::ReportPorts jobPorts{ports, printers ? *printers : report::NoPrinters()};

    PayerReader payer(ports, args.payer);
    platform::QtSettingsStore settings(SettingsRoot(platform::DevelopmentEnvironment()));
    RunSnapshot snapshot;
    FormPrinting printing(payer.Data(), settings, ProgramDir() + kReportDesignFileName, snapshot.path);
    printing.PreprintedOverride = args.preprinted;
    if (args.kind == Kind::W3) payer.RecomputeTotals();

    if (!args.splitDir.empty()) return PrintSplit(jobPorts, printing, args, snapshot.path);

    report::ReportJob job(jobPorts);
    SetupJob(printing, job, args.kind, printing.AllRecords(), args.unmasked);
    job.StreamMode = report::SnapshotStore::File;
    job.StreamFileName = snapshot.path;
    const report::PageSnapshot pages = Record(job);  // a record that cannot be read raises
    Deliver(pages, *args.output, args.target, printers, job.JobTitle);
    std::cout << pages.PageCount() << (pages.PageCount() == 1 ? " page" : " pages")
              << (args.output == Output::Printer ? " sent to " : " written to ") << args.target << '\n';
    return 0;
}

const CommandRegistration registration{{kPrintCommand.name, kPrintCommand.usage, kPrintCommand.summary, RunPrint}};

}  // namespace
}  // namespace qnvr::cli
