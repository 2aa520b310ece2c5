// The country code table printed in "CountryCodes.pdf".
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "core/efw2/country_codes.h"

namespace qnvr {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

TEST(CountryCodes, TwoCapitalLettersEachCodeOnceInOrderOfTheNames) {
    const auto& codes = Efw2CountryCodes();
    ASSERT_GT(codes.size(), 250u);
    std::set<std::string_view> seen;
    for (std::size_t k = 0; k < codes.size(); ++k) {
        const CountryCode& c = codes[k];
        EXPECT_EQ(c.code.size(), 2u) << c.name;
        EXPECT_TRUE(std::all_of(c.code.begin(), c.code.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; })) << c.code;
        EXPECT_TRUE(seen.insert(c.code).second) << "twice: " << c.code;
        if (k > 0) {
            EXPECT_LT(Lower(codes[k - 1].name), Lower(c.name)) << c.name;
        }
    }
}

// The codes that differ from the ISO ones are the reason the list exists; a few known rows.
TEST(CountryCodes, KnownRowsAndTheUSPossessions) {
    const auto find = [](std::string_view name) {
        const auto& codes = Efw2CountryCodes();
        return *std::find_if(codes.begin(), codes.end(), [&](const CountryCode& c) { return c.name == name; });
    };
    EXPECT_EQ(find("Germany").code, "GM");
    EXPECT_EQ(find("Switzerland").code, "SZ");
    EXPECT_EQ(find("United Kingdom").code, "UK");
    EXPECT_EQ(find("Canada").code, "CA");
    std::set<std::string_view> possessions;
    for (const CountryCode& c : Efw2CountryCodes())
        if (c.usPossession) possessions.insert(c.code);
    EXPECT_EQ(possessions, (std::set<std::string_view>{"AQ", "CQ", "GQ", "RQ", "VQ"}));
}

}  // namespace
}  // namespace qnvr
