#include "cli/show_json.h"

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

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

// A record's JSON as it stands nested at this depth: every line after the first
// indented further. JSON texts hold no line break of their own (it is written \n).
void WriteNested(std::ostream& out, const Json& json, std::string_view indent) {
    const std::string text = json.dump(2);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        out.write(text.data() + start, static_cast<std::streamsize>(end + 1 - start));
        out << indent;
    }
    out.write(text.data() + start, static_cast<std::streamsize>(text.size() - start));
}

}  // namespace

void WriteShowJson(TFrmDataModule& data, std::ostream& out) {
    out << "{\n  \"w3\": ";
    WriteNested(out, RecordJson(W3Layout(), data.W3Rec()), "  ");
    out << ",\n  \"w2\": [";
    bool first = true;
    data.ForEachW2([&](const W2Record& w2) {
        out << (first ? "\n    " : ",\n    ");
        first = false;
        WriteNested(out, RecordJson(W2Layout(), w2), "    ");
    });
    out << (first ? "]" : "\n  ]") << "\n}\n";
}

}  // namespace qnvr::cli
