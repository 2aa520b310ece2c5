#pragma once
// The audit of every EFW2 file a test wrote: an error in the program's own output is a
// fault of the program. Tests that write EFW2 files call this on their temporary folder
// when they end.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/efw2/efw2_audit.h"

namespace qnvr::testing {

// Each error of each EFW2 file (a ".txt" file that begins with an RA or RE record) below
// folder, as "path: finding". A file that lacks its RA or its RF record is audited as a
// part of a master file, which the "Submitter" and "Final" check boxes write.
inline std::vector<std::string> Efw2ErrorsBelow(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> errors;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error) || it->path().extension() != ".txt") continue;
        std::ifstream in(it->path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!bytes.starts_with("RA") && !bytes.starts_with("RE")) continue;
        const bool complete = bytes.starts_with("RA") && bytes.size() >= 514 &&
                              bytes.compare(bytes.size() - 514, 2, "RF") == 0;
        const Efw2AuditResult result = AuditEfw2(bytes, {.partial = !complete});
        for (const AuditFinding& finding : result.findings)
            if (finding.severity == AuditSeverity::Error)
                errors.push_back(it->path().string() + ": " + FindingText(finding));
    }
    return errors;
}

}  // namespace qnvr::testing
