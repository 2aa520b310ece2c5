#include "core/transfer/prior_year_records.h"

#include <algorithm>
#include <stdexcept>

namespace qnvr {
namespace {

// A stored text: length byte, then characters. A length byte beyond the field is taken
// as the field's width, so a damaged record never reads past its field.
std::string_view StoredText(const std::uint8_t* at, int chars) {
    const int length = std::min<int>(at[0], chars);
    return {reinterpret_cast<const char*>(at + 1), static_cast<std::size_t>(length)};
}

void PutStoredText(std::uint8_t* at, int chars, std::string_view text) {
    const auto length = std::min<std::size_t>(text.size(), static_cast<std::size_t>(chars));
    at[0] = static_cast<std::uint8_t>(length);
    std::copy_n(text.begin(), length, at + 1);
}

template <class Record>
const FieldLayout<Record>& Field(const std::vector<FieldLayout<Record>>& layout, std::string_view name) {
    for (const auto& field : layout)
        if (field.name == name) return field;
    throw std::logic_error("record layout has no field " + std::string(name));
}

// Where a text lies in last year's employee record.
struct PriorText {
    int offset;
    int chars;
};
constexpr PriorText kSsn{0, 11}, kControl{12, 10}, kFirstName{23, 15}, kLastName{39, 15}, kSuffix{55, 3},
    kStreet{59, 22}, kCity{82, 22}, kState{105, 2}, kZip{108, 10}, kCityStateZip{119, 36};

bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

NameSplit SplitFirstName(std::string_view field) {
    while (!field.empty() && IsBlankByte(field.front())) field.remove_prefix(1);
    while (!field.empty() && IsBlankByte(field.back())) field.remove_suffix(1);
    const auto blank = field.find(' ');
    if (blank == std::string_view::npos) return {std::string(field.substr(0, 15)), {}};
    // Blanks after the first one are passed over: "Mary  Ann" has the initial "A", not " ".
    const auto initial = field.find_first_not_of(' ', blank);
    return {std::string(field.substr(0, std::min<std::size_t>(blank, 15))), std::string(field.substr(initial, 1))};
}

std::array<std::uint8_t, W3Record::kSize> ConvertPayerRecord(std::span<const std::uint8_t, kPriorPayerRecordSize> prior) {
    std::array<std::uint8_t, W3Record::kSize> out{};
    static constexpr std::string_view kTexts[] = {"Boxa",    "Boxd",    "Boxe",     "Boxf_a",  "Boxf_b",  "Boxg_a",
                                                  "Boxg_b",  "Boxg_c",  "Boxg_d",   "Boxg_csz", "Box15",  "StateID",
                                                  "Contact", "TelNum",  "Email",    "FaxNum",  "SignerName", "Title",
                                                  "Password"};
    for (std::string_view name : kTexts) {
        const auto& field = Field(W3Layout(), name);
        PutStoredText(out.data() + field.offset, field.chars, StoredText(prior.data() + field.offset, field.chars));
    }
    // The kinds of payer and employer: flags Boxb1 to Boxb12, one byte each.
    const auto& flags = Field(W3Layout(), "Boxb1");
    std::copy_n(prior.data() + flags.offset, 12, out.data() + flags.offset);
    return out;
}

std::array<std::uint8_t, W2Record::kSize> ConvertEmployeeRecord(
    std::span<const std::uint8_t, kPriorEmployeeRecordSize> prior) {
    std::array<std::uint8_t, W2Record::kSize> out{};
    auto put = [&](std::string_view name, std::string_view text) {
        const auto& field = Field(W2Layout(), name);
        PutStoredText(out.data() + field.offset, field.chars, text);
    };
    auto text = [&](PriorText at) { return StoredText(prior.data() + at.offset, at.chars); };
    put("Boxa", text(kSsn));
    put("Boxd", text(kControl));
    const NameSplit name = SplitFirstName(text(kFirstName));
    put("Boxe1", name.first);
    put("Boxe2", name.middle);
    put("Boxe3", text(kLastName));
    put("Suffix", text(kSuffix));
    put("Boxf_a", text(kStreet));
    put("Boxf_b", text(kCity));
    put("Boxf_c", text(kState));
    put("Boxf_d", text(kZip));
    put("Boxf_csz", text(kCityStateZip));
    return out;
}

}  // namespace qnvr
