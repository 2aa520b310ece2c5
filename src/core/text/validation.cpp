#include "core/text/validation.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>

#include "core/text/text.h"

namespace qnvr {
namespace {

static_assert(kEmailPattern.size() == 365, "the e-mail pattern must be kept character for character");

// Prefixes the IRS never assigns to an EIN.
constexpr std::array<std::string_view, 15> kInvalidEinPrefixes = {
    "00", "07", "08", "09", "17", "18", "19", "28", "29", "49", "69", "70", "78", "79", "89"};

// The length is judged without surrounding blanks, the positions on the text as given.
bool FitsLayout(std::string_view text, std::string_view layout) {
    return Trim(text).size() == layout.size() && FollowsLayout(text.substr(0, layout.size()), layout);
}

constexpr std::string_view kSsnLayout = "999-99-9999";

struct PcreCodeFree {
    void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct PcreMatchDataFree {
    void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
using PcreCode = std::unique_ptr<pcre2_code, PcreCodeFree>;

PcreCode CompileEmailPattern() {
    int error = 0;
    PCRE2_SIZE offset = 0;
    // "$" must not match before a final line break: the whole text is the address.
    PcreCode code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(kEmailPattern.data()), kEmailPattern.size(),
                                PCRE2_DOLLAR_ENDONLY, &error, &offset, nullptr));
    if (!code) {
        PCRE2_UCHAR message[256];
        pcre2_get_error_message(error, message, sizeof message);
        throw std::logic_error("e-mail pattern does not compile at " + std::to_string(offset) + ": " +
                               reinterpret_cast<const char*>(message));
    }
    return code;
}

const pcre2_code* EmailCode() {
    static const PcreCode code = CompileEmailPattern();
    return code.get();
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

}  // namespace

bool IsValidSSN(std::string_view text) {
    if (!FitsLayout(text, kSsnLayout) || text[0] == '9') return false;
    const std::string_view ssn = text.substr(0, kSsnLayout.size());
    const std::string_view area = ssn.substr(0, 3), group = ssn.substr(4, 2), serial = ssn.substr(7, 4);
    return area != "000" && area != "666" && group != "00" && serial != "0000" && ssn != "123-45-6789";
}

bool IsValidEIN(std::string_view text) {
    return FitsLayout(text, "99-9999999") &&
           std::find(kInvalidEinPrefixes.begin(), kInvalidEinPrefixes.end(), text.substr(0, 2)) ==
               kInvalidEinPrefixes.end();
}

bool IsValidZip(std::string_view text) { return FitsLayout(text, "99999") || IsValidZip4(text); }

bool IsValidZip4(std::string_view text) { return FitsLayout(text, "99999-9999"); }

bool IsValidPhone(std::string_view text) { return FitsLayout(text, "999-999-9999"); }

bool IsValidEmail(std::string_view text) {
    if (text.empty() || HasControlCharacter(text)) return false;
    const pcre2_code* code = EmailCode();
    const std::unique_ptr<pcre2_match_data, PcreMatchDataFree> match(
        pcre2_match_data_create_from_pattern(code, nullptr));
    if (!match) throw std::bad_alloc();
    // Any negative result (no match, or a match limit hit on a pathological text) rejects.
    return pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0, 0, match.get(),
                       nullptr) >= 0;
}

std::string MaskSSN(std::string_view text) {
    // The serial is taken from the number itself, not from trailing blanks after it.
    return IsValidSSN(text) ? "***-**-" + std::string(text.substr(7, 4)) : std::string();
}

}  // namespace qnvr
