#pragma once
// One page of a page snapshot: a display list of drawing operations in inches, measured
// from the sheet's top-left corner with y growing downward. Every renderer (PDF, HTML,
// the preview's painter) draws exactly these operations, so every output agrees.
#include <string>
#include <variant>
#include <vector>

#include "core/print/print_modes.h"

namespace qnvr::report {

inline constexpr double kPointsPerInch = 72.0;

// US Letter, the sheet every form of the program is laid out on.
inline constexpr double kLetterWidthIn = 8.5;
inline constexpr double kLetterHeightIn = 11.0;

enum class TextAlign : unsigned char { Left = 0, Center = 1, Right = 2 };

// Text on one line. x is the left edge, the centre or the right edge as align says;
// y is the baseline. The family is resolved to a face by fonts.h.
struct TextOp {
    double x = 0, y = 0;
    std::string family = "Arial";
    double sizePt = 10;
    TextAlign align = TextAlign::Left;
    std::string text;  // UTF-8
    bool operator==(const TextOp&) const = default;
};

struct LineOp {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double widthPt = 0.5;
    bool operator==(const LineOp&) const = default;
};

// A rectangle, outlined, filled or both; with cornerW/cornerH above zero its corners
// are rounded with an ellipse of that size.
struct RectOp {
    double x = 0, y = 0, w = 0, h = 0;
    double lineWidthPt = 0.5;  // 0: no outline
    double fillGray = -1;      // below 0: not filled; 0 black ... 1 white
    double cornerW = 0, cornerH = 0;
    bool operator==(const RectOp&) const = default;
};

struct DrawOp {
    std::variant<TextOp, LineOp, RectOp> shape;
    // Drawn on screen only (the preview), never on paper: the label outlines, for one.
    // Renderers for paper and exports leave such operations out unless told otherwise.
    bool screenOnly = false;
    bool operator==(const DrawOp&) const = default;
};

struct Page {
    double widthIn = kLetterWidthIn;
    double heightIn = kLetterHeightIn;
    std::vector<DrawOp> ops;
    bool operator==(const Page&) const = default;
};

// The orientation and two-sided modes a run records.
using qnvr::DuplexMode;
using qnvr::PageOrientation;

// The printer settings a job run records with its pages (chosen in the output options
// step, then overridden by OnBeforePrint). Names are the printer's own; a name the
// platform no longer knows is kept as given.
struct PrintSettings {
    std::string printer;
    std::string paper;
    std::string bin;
    PageOrientation orientation = PageOrientation::Portrait;
    bool collate = false;
    DuplexMode duplex = DuplexMode::dupSimplex;
    int copies = 1;
    bool operator==(const PrintSettings&) const = default;
};

}  // namespace qnvr::report
