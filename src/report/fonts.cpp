// Font metrics taken from libharu's built-in tables of the PDF base fonts, the same
// figures every PDF viewer lays these fonts out with.
#include "report/fonts.h"

#include <hpdf.h>

#include <array>
#include <stdexcept>

#include "core/text/cp1252.h"

namespace qnvr::report {
namespace {

// Per-font figures in thousandths of the font size.
struct Metrics {
    std::array<int, 256> widths{};  // by Windows-1252 byte
    int ascent = 0;
    int descent = 0;  // negative
    int bboxTop = 0;
    int bboxBottom = 0;
};

Metrics ReadMetrics(HPDF_Doc doc, const char* baseFont) {
    HPDF_Font font = HPDF_GetFont(doc, baseFont, "WinAnsiEncoding");
    if (!font) throw std::runtime_error(std::string("The PDF library has no font ") + baseFont);
    Metrics m;
    for (int b = 0; b < 256; ++b) {
        const HPDF_BYTE byte = static_cast<HPDF_BYTE>(b);
        m.widths[b] = static_cast<int>(HPDF_Font_TextWidth(font, &byte, 1).width);
    }
    m.ascent = HPDF_Font_GetAscent(font);
    m.descent = HPDF_Font_GetDescent(font);
    const HPDF_Box box = HPDF_Font_GetBBox(font);
    m.bboxTop = static_cast<int>(box.top);
    m.bboxBottom = static_cast<int>(box.bottom);
    return m;
}

struct MetricsTables {
    Metrics helvetica;
    Metrics helveticaBold;
    MetricsTables() {
        HPDF_Doc doc = HPDF_New(nullptr, nullptr);
        if (!doc) throw std::runtime_error("The PDF library could not start");
        try {
            helvetica = ReadMetrics(doc, PdfFontName(StandardFont::Helvetica));
            helveticaBold = ReadMetrics(doc, PdfFontName(StandardFont::HelveticaBold));
        } catch (...) {
            HPDF_Free(doc);
            throw;
        }
        HPDF_Free(doc);
    }
};

const Metrics& MetricsOf(std::string_view family) {
    static const MetricsTables tables;
    return ResolveFont(family).base == StandardFont::HelveticaBold ? tables.helveticaBold : tables.helvetica;
}

double ToInches(double thousandths, double sizePt) { return thousandths / 1000.0 * sizePt / 72.0; }

}  // namespace

FontFace ResolveFont(std::string_view family) {
    if (family == "Outline") return {StandardFont::HelveticaBold, true};
    if (family == "Arial Bold") return {StandardFont::HelveticaBold, false};
    return {StandardFont::Helvetica, false};
}

const char* PdfFontName(StandardFont font) {
    return font == StandardFont::HelveticaBold ? "Helvetica-Bold" : "Helvetica";
}

double TextWidthIn(std::string_view family, double sizePt, std::string_view utf8) {
    const Metrics& m = MetricsOf(family);
    long total = 0;
    for (unsigned char c : Utf8ToCp1252(utf8)) total += m.widths[c];
    return ToInches(static_cast<double>(total), sizePt);
}

double LineHeightIn(std::string_view family, double sizePt) {
    const Metrics& m = MetricsOf(family);
    return ToInches(m.bboxTop - m.bboxBottom, sizePt);
}

double AscentIn(std::string_view family, double sizePt) { return ToInches(MetricsOf(family).ascent, sizePt); }

double DescentIn(std::string_view family, double sizePt) { return ToInches(-MetricsOf(family).descent, sizePt); }

}  // namespace qnvr::report
