#pragma once
// The filtered text field: the ValidChars character filter, letter case and name case.
// Pure logic; the TFilterEdit widget applies it.
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace qnvr {

enum class CharCase { Normal, Upper, Lower };

// The characters a filter lets through, by code 0 to 255. An empty set filters nothing.
using CharSet = std::bitset<256>;

// The set a ValidChars value describes, or nothing when the value is not of the form
// "[...]". "[]" is the empty set (no filter). Between the brackets, read left to right:
// "," and the closing "]" end an element; an element is the last character read before
// its end, or a range when it holds ".": from the last character before the first "."
// (code 0 when there is none) to the last character before the end ("A..Z"); a quote
// takes the next character literally and skips the one after it ("','" is a comma).
std::optional<CharSet> ParseValidChars(std::string_view value);

// What the ValidChars property reads after an invalid value was given.
std::string InvalidValidCharsText(std::string_view value);

// Whether a typed character passes the filter: always with an empty set; otherwise when
// its code is at most 255 and in the set. Backspace always passes.
bool CharPassesFilter(const CharSet& set, char32_t key);

// The typed character in the field's letter case: only "a".."z" and "A".."Z" change.
char32_t KeyInCase(CharCase charCase, char32_t key);

// Name case: the text trimmed, with its first letter and every letter after a blank in
// upper case ("mary ann" gives "Mary Ann"). Letters of Windows-1252 ("élise" gives
// "Élise"); other characters stay as they are.
std::string CapitalizeFirst(std::string_view text);

}  // namespace qnvr
