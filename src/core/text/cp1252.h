#pragma once
// Windows-1252, the single-byte code page of text stored in payer files and EFW2 files.
#include <string>
#include <string_view>

namespace qnvr {

// UTF-8 to Windows-1252; a character the code page lacks (or a broken UTF-8 sequence)
// becomes "?".
std::string Utf8ToCp1252(std::string_view utf8);

// Windows-1252 to UTF-8; the five unassigned bytes become U+FFFD.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Text for a file that holds ASCII only (EFW2): letters with diacritics become their
// base letters, letter case kept (Ö gives O, ñ gives n, ß gives ss, Æ gives AE, œ gives
// oe); ASCII stays as it is. `refused` is the first character that has no ASCII form
// (UTF-8, such as "€" or a typographic quote), empty when there is none; such a
// character is left out of `text`.
struct AsciiFolding {
    std::string text;
    std::string refused;
    bool changed = false;  // a letter was folded
};
AsciiFolding FoldToAscii(std::string_view utf8);

// The number of characters (code points) in a UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);

// The length in bytes of the well-formed UTF-8 character at the start of text (no
// overlong form, no surrogate, nothing beyond U+10FFFF); 0 when text starts with none.
std::size_t Utf8CharLength(std::string_view text);
// The character at the start of text whose length Utf8CharLength gave.
char32_t Utf8CharAt(std::string_view text, std::size_t length);

// The first n characters of a UTF-8 text.
std::string Utf8Left(std::string_view utf8, std::size_t n);

}  // namespace qnvr
