// qnvr show: the W-3 record and every W-2 record of a payer file as JSON, with the
// records' own field names: texts as strings, amounts as numbers, flags as booleans.
// Records are printed as they are read.
#include <iostream>

#include "cli/command.h"
#include "cli/payer_reader.h"
#include "cli/show_json.h"
#include "core/base/errors.h"

namespace qnvr::cli {
namespace {

int RunShow(const CorePorts& ports, const std::vector<std::string>& args) {
    PayerReader payer(ports, SingleOperand(args, "one payer file"));
    WriteShowJson(payer.Data(), std::cout);
    // A full disk or a closed pipe must not pass for a complete listing.
    if (!std::cout.flush()) throw EQnvrException("the standard output could not be written; the listing is incomplete");
    return 0;
}

const CommandRegistration kShow({"show", "PAYER.W226", "Prints the W-3 record and every W-2 record as JSON.", RunShow});

}  // namespace
}  // namespace qnvr::cli
