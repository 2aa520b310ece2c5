#pragma once
// Fonts of the report engine. Layout uses the standard metrics that every PDF viewer
// has for the base fonts (Helvetica for "Arial"), so a centred or right-aligned text
// measures the same in the PDF, the HTML and the preview.
//
// Families: "Arial" (and anything unknown) is Helvetica; "Arial Bold" is
// Helvetica-Bold; "Outline" (the void marks) is Helvetica-Bold drawn as outlines.
#include <string_view>

namespace qnvr::report {

enum class StandardFont { Helvetica, HelveticaBold };

struct FontFace {
    StandardFont base = StandardFont::Helvetica;
    bool outlined = false;  // glyphs stroked, not filled
};

FontFace ResolveFont(std::string_view family);

// The PDF base-font name ("Helvetica", "Helvetica-Bold").
const char* PdfFontName(StandardFont font);

// Width of a UTF-8 text in inches. Characters outside Windows-1252 measure as "?",
// which is how every renderer prints them.
double TextWidthIn(std::string_view family, double sizePt, std::string_view utf8);

// Distance from one baseline to the next for this font (one "line" of it).
double LineHeightIn(std::string_view family, double sizePt);

// Height above and depth below the baseline of the font's capitals and descenders,
// both positive, in inches.
double AscentIn(std::string_view family, double sizePt);
double DescentIn(std::string_view family, double sizePt);

}  // namespace qnvr::report
