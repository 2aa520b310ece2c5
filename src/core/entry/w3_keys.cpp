#include "core/entry/w3_keys.h"

#include "core/entry/money_keys.h"
#include "core/entry/state_keys.h"
#include "core/text/text.h"

namespace qnvr {

StateFieldKey W3StateKey(std::string_view text, char32_t key) {
    if (key == kBackspaceKey) return {"", true};
    // "X" stands for every state at once; typed over a code it replaces the code, so the
    // field never holds a mix such as "CX".
    if (key == U'X' || key == U'x') return {"X", false};
    if (const auto code = StateCodeForLetter(text, key)) return {*code, false};
    return {std::string(text), false};
}

std::optional<std::string> Box13Key(std::string_view text, char32_t key) {
    if ((key == U'T' || key == U't') && IsBlank(text)) return kSickPayRecap;
    return std::nullopt;
}

}  // namespace qnvr
