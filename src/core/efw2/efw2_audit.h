#pragma once
// The audit of an EFW2 wage file, ours or another program's, before it is uploaded: the
// format edits that make the SSA reject a file or a record, the totals of each employer,
// and the wage and tax relations of tax year 2026. Every finding names its line, record,
// employee or employer and field with its positions, in a plain sentence.
#include <string>
#include <string_view>
#include <vector>

namespace qnvr {

enum class AuditSeverity {
    Error,    // the SSA would reject the file or the record
    Warning,  // a likely mistake, such as a tax that does not match its wages
};

struct AuditFinding {
    AuditSeverity severity = AuditSeverity::Error;
    int line = 0;             // 1-based line of the record; 0 for the file as a whole
    std::string recordType;   // "RW"; empty when the line has no identifier or for the file
    std::string employee;     // an RW's employee: "ALICE B SMITH"
    std::string ssnLast4;     // and the last four digits of the SSN
    std::string employer;     // an RE's or RT's employer name; "submitter" for the RA
    std::string field;        // "Social security wages"; empty for the record as a whole
    int from = 0, to = 0;     // the field's positions, 1-based and inclusive
    std::string message;      // one sentence
};

struct Efw2AuditResult {
    std::vector<AuditFinding> findings;  // in line order
    int records = 0;
    int employers = 0;
    int employees = 0;

    int Errors() const;
    int Warnings() const;
    bool HasErrors() const { return Errors() > 0; }
};

struct AuditOptions {
    // A client file of a master run holds a part of a wage file: it may lack the RA
    // record at its start and the RF record at its end, and the RF record of the last
    // client counts the employees of the whole master file, so its count is not checked.
    bool partial = false;
};

// Audits the bytes of a wage file.
Efw2AuditResult AuditEfw2(std::string_view bytes, const AuditOptions& options = {});

// Reads and audits a file; raises EQnvrException naming the file when it cannot be read.
Efw2AuditResult AuditEfw2File(const std::string& path, const AuditOptions& options = {});

// One finding on one line:
//   Error, line 3 RW, employee ALICE SMITH (SSN ending 1001), Social security wages
//   (positions 210-220): The social security wages ...
std::string FindingText(const AuditFinding& finding);

// "No problems found in 7 records." or "2 errors and 1 warning in 7 records."
std::string AuditSummary(const Efw2AuditResult& result);

// The findings one per line, then the summary: the text the audit list saves.
std::string AuditReportText(const std::string& path, const Efw2AuditResult& result);

}  // namespace qnvr
