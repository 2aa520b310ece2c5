#pragma once
// The 54 state codes and the letter keys that pick them: typing a letter moves through
// the codes that begin with it (A: AK, AL, AR, AZ, then AK again).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qnvr {

// AK, AL, AR, AZ, CA, ... WV, WY: the states, DC and the territories, in this order.
const std::vector<std::string>& StateCodes();

// The code a typed letter (either case) selects in a field holding current: the next
// code of the letter's cycle when current is in it (wrapping), otherwise the first code
// of the cycle. Nothing when no code begins with the letter.
std::optional<std::string> StateCodeForLetter(std::string_view current, char32_t letter);

}  // namespace qnvr
