// qnvr totals: the W-3 totals recomputed from the W-2 records, one "Name: value" line
// each. The payer file is not changed.
#include <cstdio>
#include <iostream>
#include <set>

#include "cli/command.h"
#include "cli/payer_reader.h"
#include "core/text/text.h"

namespace qnvr::cli {
namespace {

// The W-3 fields that the totals computation sets.
const std::set<std::string_view> kTotalFields = {
    "Boxc",     "Amount1",  "Amount2", "Amount3", "Amount4", "Amount5", "Amount6", "Amount7", "Amount8",
    "Amount9",  "Amount10", "Amount11", "Box12a", "Box16",   "Box17",   "Box18",   "Box19",
};

std::string AmountText(double amount) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", RoundTo(amount, 2));
    return text;
}

int RunTotals(const CorePorts& ports, const std::vector<std::string>& args) {
    PayerReader payer(ports, SingleOperand(args, "one payer file"));
    payer.RecomputeTotals();
    W3Record w3 = payer.W3();
    for (const auto& field : W3Layout()) {
        if (!kTotalFields.contains(field.name)) continue;
        std::cout << field.name << ": ";
        std::visit(
            [](auto* value) {
                using T = std::remove_pointer_t<decltype(value)>;
                if constexpr (std::is_same_v<T, double>)
                    std::cout << AmountText(*value);
                else
                    std::cout << *value;
            },
            field.Of(w3));
        std::cout << '\n';
    }
    return 0;
}

const CommandRegistration kTotals({"totals", "PAYER.W226",
                                   "Prints the W-3 totals recomputed from the W-2 records (the file is not changed).",
                                   RunTotals});

}  // namespace
}  // namespace qnvr::cli
