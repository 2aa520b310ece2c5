#pragma once
// The country codes of an EFW2 address outside the United States: the two-letter codes
// of the SSA's EFW2 publication (the IRS country code list), in order of the country
// names. They are printed in "CountryCodes.pdf", which the EFW2 window opens.
#include <string_view>
#include <vector>

namespace qnvr {

struct CountryCode {
    std::string_view code;
    std::string_view name;
    // A U.S. possession with a state code of its own: its addresses leave the country
    // code blank.
    bool usPossession = false;
};

const std::vector<CountryCode>& Efw2CountryCodes();

}  // namespace qnvr
