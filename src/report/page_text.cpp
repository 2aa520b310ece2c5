#include "report/page_text.h"

#include <cmath>
#include <cstdio>
#include <variant>

namespace qnvr::report {
namespace {

// Thousandths, rounded to the nearest: the unit every number of the text is written in.
long long Milli(double value) { return std::llround(value * 1000.0); }

// A length on the sheet, in thousandths of an inch.
std::string Inches(double inches) { return std::to_string(Milli(inches)); }

// A value to three decimals without trailing zeros: 10, 0.5, 0.125.
std::string Decimal(double value) {
    const long long milli = Milli(value);
    const long long whole = std::llabs(milli) / 1000, fraction = std::llabs(milli) % 1000;
    std::string text = (milli < 0 ? "-" : "") + std::to_string(whole);
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, ".%03lld", fraction);
        text += digits;
        while (text.back() == '0') text.pop_back();
    }
    return text;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        } else {
            quoted += c;  // UTF-8 passes as it is
        }
    }
    return quoted + "\"";
}

const char* AlignName(TextAlign align) {
    switch (align) {
        case TextAlign::Left: return "left";
        case TextAlign::Center: return "center";
        case TextAlign::Right: return "right";
    }
    return "?";
}

std::string OpText(const TextOp& op) {
    return "text " + Inches(op.x) + " " + Inches(op.y) + " " + Quoted(op.family) + " " + Decimal(op.sizePt) + "pt " +
           AlignName(op.align) + " " + Quoted(op.text);
}

std::string OpText(const LineOp& op) {
    return "line " + Inches(op.x1) + " " + Inches(op.y1) + " " + Inches(op.x2) + " " + Inches(op.y2) + " " +
           Decimal(op.widthPt) + "pt";
}

std::string OpText(const RectOp& op) {
    std::string text = "rect " + Inches(op.x) + " " + Inches(op.y) + " " + Inches(op.w) + " " + Inches(op.h) + " " +
                       Decimal(op.lineWidthPt) + "pt";
    if (op.fillGray >= 0) text += " fill " + Decimal(op.fillGray);
    if (op.cornerW > 0 || op.cornerH > 0) text += " round " + Inches(op.cornerW) + " " + Inches(op.cornerH);
    return text;
}

}  // namespace

std::string PageText(const Page& page) {
    std::string text = "page " + Inches(page.widthIn) + " " + Inches(page.heightIn) + "\n";
    // The artwork's operations, then the page's own: the page as drawn, whether or not
    // its artwork is shared with other pages.
    ForEachOp(page, [&text](const DrawOp& op) {
        if (op.screenOnly) text += "screen ";
        text += std::visit([](const auto& shape) { return OpText(shape); }, op.shape);
        text += '\n';
    });
    return text;
}

}  // namespace qnvr::report
