#pragma once
// What the W-3 window's typing shortcuts make of a key: the state letter keys of Box 15
// and Boxg_c, and the "T" of Box 13. The key arrives as the field passes it on (upper
// case for the state fields, filtered to letters and Backspace).
#include <optional>
#include <string>
#include <string_view>

namespace qnvr {

inline constexpr const char* kSickPayRecap = "Third-Party Sick Pay Recap";

// A key typed into a state field. Backspace empties the whole text and is then
// processed as usual; a letter that begins state codes replaces the text with the next
// code of its cycle (AK, AL, AR, AZ, AK, ...) and is used up; "X" (more than one state)
// replaces the text and is used up; any other key is discarded.
struct StateFieldKey {
    std::string text;  // the field's text after the key
    bool passKey;      // the key goes on to the field (Backspace)
};
StateFieldKey W3StateKey(std::string_view text, char32_t key);

// A key typed into Box 13: "T" or "t" in an empty (blank) field fills in
// kSickPayRecap and is used up. Nothing for every other key, which types as usual.
std::optional<std::string> Box13Key(std::string_view text, char32_t key);

}  // namespace qnvr
