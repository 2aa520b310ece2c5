// qnvr design: renders one page of a report design with the given parameters, so that
// anyone can look at where each box and value lands.
#include <filesystem>
#include <iostream>

#include "cli/command.h"
#include "cli/printing_commands.h"
#include "cli/payer_reader.h"
#include "core/program/program_setup.h"
#include "report/html_renderer.h"
#include "report/pdf_renderer.h"
#include "report/report_job.h"
#include "report/report_ports.h"
#include "report/report_project.h"

namespace qnvr::cli {
namespace {

enum class Output { Pdf, Html, Ndr };

struct DesignArgs {
    std::string design;
    std::vector<std::pair<std::string, std::string>> params;
    bool names = false;  // every parameter the design prints shows its own name
    std::filesystem::path designFile;
    Output output = Output::Pdf;
    std::filesystem::path outFile;
};

const std::string& ValueOf(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) throw UsageError(args[i] + " needs a value");
    return args[++i];
}

DesignArgs ParseArgs(const std::vector<std::string>& args) {
    DesignArgs parsed;
    bool haveOutput = false;
    auto setOutput = [&](Output output, const std::string& file) {
        if (haveOutput) throw UsageError("give exactly one of --pdf, --html and --ndr");
        haveOutput = true;
        parsed.output = output;
        parsed.outFile = file;
    };
    bool operandsOnly = false;  // after "--"
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!operandsOnly && a == "--") {
            operandsOnly = true;
        } else if (operandsOnly) {
            if (!parsed.design.empty()) throw UsageError("only one design name can be given");
            parsed.design = a;
        } else if (a == "--param") {
            const std::string& assignment = ValueOf(args, i);
            const std::size_t eq = assignment.find('=');
            if (eq == std::string::npos || eq == 0) throw UsageError("--param takes NAME=VALUE, not \"" + assignment + "\"");
            parsed.params.emplace_back(assignment.substr(0, eq), assignment.substr(eq + 1));
        } else if (a == "--names") {
            parsed.names = true;
        } else if (a == "--designs") {
            parsed.designFile = ValueOf(args, i);
        } else if (a == "--pdf") {
            setOutput(Output::Pdf, ValueOf(args, i));
        } else if (a == "--html") {
            setOutput(Output::Html, ValueOf(args, i));
        } else if (a == "--ndr") {
            setOutput(Output::Ndr, ValueOf(args, i));
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError("unknown option " + a);
        } else if (parsed.design.empty()) {
            parsed.design = a;
        } else {
            throw UsageError("only one design name can be given");
        }
    }
    if (parsed.design.empty()) throw UsageError("no design name given");
    if (!haveOutput) throw UsageError("give one of --pdf, --html and --ndr");
    if (parsed.designFile.empty()) parsed.designFile = ProgramDir() + kReportDesignFileName;
    return parsed;
}

int RunDesign(const CorePorts& ports, const std::vector<std::string>& args) {
    const DesignArgs parsed = ParseArgs(args);
    report::ReportProject project;
    project.SetProjectFile(parsed.designFile);
    project.Open();
    project.SelectReport(parsed.design);
    if (parsed.names) {
        for (const std::string& name : project.ParameterNames()) project.SetParam(name, name);
    }
    for (const auto& [name, value] : parsed.params) project.SetParam(name, value);

    // A design's page goes to a file only: the job knows no printers and shows no windows.
    report::ReportJob job(report::ReportPorts{ports});
    job.JobTitle = "Design " + parsed.design;
    job.OnPrint = [&project](report::ReportSurface&) { project.Execute(); };
    project.SetEngine(&job);
    job.Generate();
    const report::PageSnapshot snapshot = job.OpenSnapshot();
    switch (parsed.output) {
        case Output::Pdf: report::RenderPdf(snapshot, parsed.outFile); break;
        case Output::Html: report::RenderHtml(snapshot, parsed.outFile); break;
        case Output::Ndr: snapshot.SaveAs(parsed.outFile); break;
    }
    project.ClearParams();
    project.Close();
    return 0;
}

const CommandRegistration registration{{kDesignCommand.name, kDesignCommand.usage, kDesignCommand.summary, RunDesign}};

}  // namespace
}  // namespace qnvr::cli
