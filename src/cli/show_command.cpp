// qnvr show: the W-3 record and every W-2 record of a payer file as JSON, with the
// records' own field names: texts as strings, amounts as numbers, flags as booleans.
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/command.h"
#include "cli/payer_reader.h"

namespace qnvr::cli {
namespace {

using Json = nlohmann::ordered_json;

// The scrambled file password stays out of the output: it would give the password away.
constexpr std::string_view kHiddenField = "Password";

template <class Record>
Json RecordJson(const std::vector<FieldLayout<Record>>& layout, Record record) {
    Json json = Json::object();
    for (const auto& field : layout) {
        if (field.name == kHiddenField) continue;
        std::visit([&](auto* value) { json[std::string(field.name)] = *value; }, field.Of(record));
    }
    return json;
}

int RunShow(const std::vector<std::string>& args) {
    PayerReader payer(SingleOperand(args, "one payer file"));
    Json w2 = Json::array();
    for (const W2Record& record : payer.Employees()) w2.push_back(RecordJson(W2Layout(), record));
    Json out = Json::object();
    out["w3"] = RecordJson(W3Layout(), payer.W3());
    out["w2"] = std::move(w2);
    std::cout << out.dump(2) << '\n';
    return 0;
}

const CommandRegistration kShow({"show", "PAYER.W226", "Prints the W-3 record and every W-2 record as JSON.", RunShow});

}  // namespace
}  // namespace qnvr::cli
