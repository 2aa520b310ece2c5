#include "core/text/cp1252.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace qnvr {
namespace {

// Code points of bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

char32_t ByteToCodePoint(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) return kHighControls[b - 0x80];
    return b;
}

bool CodePointToByte(char32_t cp, unsigned char& out) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        out = static_cast<unsigned char>(cp);
        return true;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp && cp != 0xFFFD) {
            out = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one character at pos and advances pos; a broken sequence yields U+FFFD and
// skips one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    const int extra = lead < 0x80                ? 0
                      : (lead & 0xE0) == 0xC0    ? 1
                      : (lead & 0xF0) == 0xE0    ? 2
                      : (lead & 0xF8) == 0xF0    ? 3
                                                 : -1;
    if (extra == 0) {
        ++pos;
        return lead;
    }
    if (extra < 0 || pos + extra >= s.size()) {
        ++pos;
        return 0xFFFD;
    }
    char32_t cp = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const auto c = static_cast<unsigned char>(s[pos + i]);
        if ((c & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    pos += extra + 1;
    return cp;
}

}  // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        unsigned char b;
        out += CodePointToByte(NextCodePoint(utf8, pos), b) ? static_cast<char>(b) : '?';
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    // ASCII is the same in both: most stored text is taken as it stands.
    if (std::all_of(cp1252.begin(), cp1252.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(cp1252);
    std::string out;
    out.reserve(cp1252.size());
    for (unsigned char b : cp1252) AppendUtf8(out, ByteToCodePoint(b));
    return out;
}

namespace {

// The ASCII form of a letter of Latin-1 and Windows-1252 with a diacritic or a
// ligature; nullptr for every other character.
const char* FoldedLetter(char32_t cp) {
    static constexpr const char* kLatin1[64] = {
        // U+00C0 to U+00FF
        "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",  //
        "D", "N", "O", "O", "O", "O", "O", nullptr, "O", "U", "U", "U", "U", "Y", "TH", "ss",  //
        "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",  //
        "d", "n", "o", "o", "o", "o", "o", nullptr, "o", "u", "u", "u", "u", "y", "th", "y",
    };
    if (cp >= 0xC0 && cp <= 0xFF) return kLatin1[cp - 0xC0];
    switch (cp) {
        case 0x0160: return "S";
        case 0x0161: return "s";
        case 0x017D: return "Z";
        case 0x017E: return "z";
        case 0x0178: return "Y";
        case 0x0152: return "OE";
        case 0x0153: return "oe";
        default: return nullptr;
    }
}

}  // namespace

AsciiFolding FoldToAscii(std::string_view utf8) {
    AsciiFolding result;
    result.text.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t cp = NextCodePoint(utf8, pos);
        if (cp < 0x80) {
            result.text += static_cast<char>(cp);
        } else if (const char* letter = FoldedLetter(cp)) {
            result.text += letter;
            result.changed = true;
        } else if (result.refused.empty()) {
            result.refused = std::string(utf8.substr(start, pos - start));
        }
    }
    return result;
}

std::size_t Utf8Length(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++count) NextCodePoint(utf8, pos);
    return count;
}

std::string Utf8Left(std::string_view utf8, std::size_t n) {
    std::size_t pos = 0;
    for (std::size_t count = 0; count < n && pos < utf8.size(); ++count) NextCodePoint(utf8, pos);
    return std::string(utf8.substr(0, pos));
}

std::size_t Utf8CharLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto first = static_cast<unsigned char>(text[0]);
    if (first < 0x80) return 1;
    const std::size_t length = first >= 0xC2 && first <= 0xDF ? 2 : first >= 0xE0 && first <= 0xEF ? 3
                               : first >= 0xF0 && first <= 0xF4                                   ? 4
                                                                                                   : 0;
    if (length == 0 || text.size() < length) return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) return 0;
    const char32_t code = Utf8CharAt(text, length);
    if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
        return 0;
    return length;
}

char32_t Utf8CharAt(std::string_view text, std::size_t length) {
    const auto first = static_cast<unsigned char>(text[0]);
    char32_t code = length == 1 ? first : length == 2 ? first & 0x1F : length == 3 ? first & 0x0F : first & 0x07;
    for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(text[k]) & 0x3F);
    return code;
}

}  // namespace qnvr
