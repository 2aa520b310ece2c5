#include "core/entry/filter_keys.h"

#include "core/text/text.h"

namespace qnvr {
namespace {

// One element of a ValidChars value while it is being read.
struct Element {
    int last = -1;  // code of the last character read; -1 when none yet
    int low = -1;   // low end once a "." made the element a range
    bool range = false;

    void Read(unsigned char c) { last = c; }
    void StartRange() {
        if (range) return;  // the second "." of ".." changes nothing
        range = true;
        low = last < 0 ? 0 : last;
    }
    void AddTo(CharSet& set) const {
        if (range) {
            for (int c = low; c <= (last < 0 ? low : last); ++c) set.set(static_cast<std::size_t>(c));
        } else if (last >= 0) {
            set.set(static_cast<std::size_t>(last));
        }
    }
};

// The Windows-1252 upper-case partner of the UTF-8 letter at text[pos], written into
// out; false when the character there is no lower-case letter.
bool AppendUpperLetter(std::string_view text, std::size_t pos, std::string& out, std::size_t& length) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    length = 1;
    if (b0 >= 'a' && b0 <= 'z') {
        out += static_cast<char>(b0 - 'a' + 'A');
        return true;
    }
    if (pos + 1 >= text.size()) return false;
    const auto b1 = static_cast<unsigned char>(text[pos + 1]);
    length = 2;
    if (b0 == 0xC3 && b1 >= 0xA0 && b1 <= 0xBE && b1 != 0xB7) {  // à..þ without ÷
        out += static_cast<char>(0xC3);
        out += static_cast<char>(b1 - 0x20);
        return true;
    }
    if (b0 == 0xC3 && b1 == 0xBF) {  // ÿ
        out += "\xC5\xB8";
        return true;
    }
    if (b0 == 0xC5 && (b1 == 0xA1 || b1 == 0x93 || b1 == 0xBE)) {  // š, œ, ž
        out += static_cast<char>(0xC5);
        out += static_cast<char>(b1 - 1);
        return true;
    }
    length = 1;
    return false;
}

}  // namespace

std::optional<CharSet> ParseValidChars(std::string_view value) {
    if (value.size() < 2 || value.front() != '[' || value.back() != ']') return std::nullopt;
    CharSet set;
    Element element;
    const std::size_t closing = value.size() - 1;
    std::size_t i = 1;
    while (i < closing) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c == '\'') {
            element.Read(static_cast<unsigned char>(value[i + 1]));  // i + 1 <= closing
            i += 3;  // the quoted character and the closing quote
            continue;
        }
        if (c == ',') {
            element.AddTo(set);
            element = Element{};
        } else if (c == '.') {
            element.StartRange();
        } else {
            element.Read(c);
        }
        ++i;
    }
    element.AddTo(set);  // the closing "]" (or a quote that took it) ends the last element
    return set;
}

std::string InvalidValidCharsText(std::string_view value) { return "Invalid format " + std::string(value); }

bool CharPassesFilter(const CharSet& set, char32_t key) {
    if (set.none() || key == U'\b') return true;
    return key <= 255 && set.test(key);
}

char32_t KeyInCase(CharCase charCase, char32_t key) {
    if (charCase == CharCase::Upper && key >= U'a' && key <= U'z') return key - (U'a' - U'A');
    if (charCase == CharCase::Lower && key >= U'A' && key <= U'Z') return key + (U'a' - U'A');
    return key;
}

std::string CapitalizeFirst(std::string_view text) {
    const std::string trimmed = Trim(text);
    std::string out;
    bool wordStart = true;
    for (std::size_t pos = 0; pos < trimmed.size();) {
        std::size_t length = 1;
        if (!(wordStart && AppendUpperLetter(trimmed, pos, out, length))) out.append(trimmed, pos, length);
        wordStart = trimmed[pos] == ' ';
        pos += length;
    }
    return out;
}

}  // namespace qnvr
