#include "core/entry/state_keys.h"

#include <algorithm>

namespace qnvr {

const std::vector<std::string>& StateCodes() {
    static const std::vector<std::string> codes = {
        "AK", "AL", "AR", "AZ", "CA", "CO", "CT", "DC", "DE", "FL", "GA", "GU", "HI", "IA",
        "ID", "IL", "IN", "KS", "KY", "LA", "MA", "MD", "ME", "MI", "MN", "MO", "MS", "MT",
        "NC", "ND", "NE", "NH", "NJ", "NM", "NV", "NY", "OH", "OK", "OR", "PA", "PR", "RI",
        "SC", "SD", "TN", "TX", "UT", "VA", "VI", "VT", "WA", "WI", "WV", "WY"};
    return codes;
}

std::optional<std::string> StateCodeForLetter(std::string_view current, char32_t letter) {
    if (letter >= U'a' && letter <= U'z') letter -= U'a' - U'A';
    if (letter < U'A' || letter > U'Z') return std::nullopt;
    const char first = static_cast<char>(letter);
    // The codes are sorted, so a letter's cycle is one run of the list.
    const auto& codes = StateCodes();
    const auto begin = std::find_if(codes.begin(), codes.end(), [&](const std::string& c) { return c[0] == first; });
    const auto end = std::find_if(begin, codes.end(), [&](const std::string& c) { return c[0] != first; });
    if (begin == end) return std::nullopt;
    const auto now = std::find(begin, end, current);
    if (now == end || now + 1 == end) return *begin;
    return *(now + 1);
}

}  // namespace qnvr
