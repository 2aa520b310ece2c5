// qnvr check: the W-3 and W-2 rule sets on a payer file; one line per failing record,
// then one per warning (names the EFW2 file will not carry as they stand).
#include <iostream>

#include "cli/command.h"
#include "cli/payer_reader.h"

namespace qnvr::cli {
namespace {

int RunCheck(const CorePorts& ports, const std::vector<std::string>& args) {
    PayerReader payer(ports, SingleOperand(args, "one payer file"));
    std::vector<std::string> warnings;
    const std::vector<std::string> failures = CheckPayer(payer, &warnings);
    for (const std::string& line : failures) std::cout << line << '\n';
    for (const std::string& line : warnings) std::cout << line << '\n';
    return failures.empty() ? 0 : 1;
}

const CommandRegistration kCheck({"check", "PAYER.W226",
                                  "Checks the W-3 record and every W-2 record; exit status 1 when any fails (warnings alone give 0).",
                                  RunCheck});

}  // namespace
}  // namespace qnvr::cli
