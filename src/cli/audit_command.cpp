// qnvr audit: audits an EFW2 wage file (ours or another program's) before it is
// uploaded. One finding per line, or JSON with --json, then a summary. Exit status 0 when
// there is no error (warnings may be present), 1 when there are errors.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/command.h"
#include "core/efw2/efw2_audit.h"

namespace qnvr::cli {
namespace {

using Json = nlohmann::ordered_json;

Json FindingJson(const AuditFinding& f) {
    Json json = Json::object();
    json["severity"] = f.severity == AuditSeverity::Error ? "error" : "warning";
    json["line"] = f.line;
    json["record"] = f.recordType;
    if (!f.employee.empty() || !f.ssnLast4.empty())
        json["employee"] = {{"name", f.employee}, {"ssnLast4", f.ssnLast4}};
    if (!f.employer.empty()) json["employer"] = f.employer;
    if (!f.field.empty()) json["field"] = {{"name", f.field}, {"from", f.from}, {"to", f.to}};
    json["message"] = f.message;
    return json;
}

int RunAudit(const CorePorts&, const std::vector<std::string>& args) {
    bool asJson = false;
    std::string file;
    for (const std::string& a : args) {
        if (a == "--json")
            asJson = true;
        else if (a.starts_with("-") && a.size() > 1)
            throw UsageError("unknown option " + a);
        else if (!file.empty())
            throw UsageError("give one EFW2 file");
        else
            file = a;
    }
    if (file.empty()) throw UsageError("give one EFW2 file");

    const Efw2AuditResult result = AuditEfw2File(file);
    if (asJson) {
        Json json = Json::object();
        json["file"] = file;
        json["records"] = result.records;
        json["employers"] = result.employers;
        json["employees"] = result.employees;
        json["errors"] = result.Errors();
        json["warnings"] = result.Warnings();
        Json findings = Json::array();
        for (const AuditFinding& f : result.findings) findings.push_back(FindingJson(f));
        json["findings"] = std::move(findings);
        json["summary"] = AuditSummary(result);
        std::cout << json.dump(2) << '\n';
    } else {
        std::string out;
        for (const AuditFinding& f : result.findings) out += FindingText(f) + '\n';
        std::cout << out << file << ": " << AuditSummary(result) << '\n';
    }
    return result.HasErrors() ? 1 : 0;
}

const CommandRegistration kAudit({"audit", "FILE [--json]",
                                  "Audits an EFW2 wage file; exit status 1 when it holds errors (warnings alone give 0).",
                                  RunAudit});

}  // namespace
}  // namespace qnvr::cli
