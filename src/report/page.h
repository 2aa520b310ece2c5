#pragma once
// One page of a page snapshot: a display list of drawing operations in inches, measured
// from the sheet's top-left corner with y growing downward. Every renderer (PDF, HTML,
// the preview's painter) draws exactly these operations, so every output agrees.
//
// A page's drawing is in two parts, drawn in this order:
//   1. its artwork (Page::artwork, may be null): a form design's fixed boxes, rules,
//      shading and captions, one object shared by every page of the document that
//      shows the same design at the same place. Renderers write it once per document
//      (a shared PDF content stream, an SVG symbol, a cached picture, one record of the
//      snapshot) and refer to it from each page;
//   2. the page's own operations (Page::ops): its values and anything else drawn on it.
// ForEachOp visits both parts in drawing order; code that does not care about sharing
// (tests, text dumps, checks of a page's content) uses it, or Flattened, and never
// Page::ops alone.
#include <memory>
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

// Fixed drawing shared by pages (see the top of this file). Immutable once a page refers to it.
struct Artwork {
    std::vector<DrawOp> ops;
    bool operator==(const Artwork&) const = default;
};

struct Page {
    double widthIn = kLetterWidthIn;
    double heightIn = kLetterHeightIn;
    std::vector<DrawOp> ops;                  // the page's own operations, drawn over the artwork
    std::shared_ptr<const Artwork> artwork;   // drawn first; null: none
    // Equal when they draw the same: artworks are compared by content, not by identity.
    bool operator==(const Page& other) const {
        const bool sameArtwork = artwork == other.artwork ||
                                 (artwork ? artwork->ops : std::vector<DrawOp>{}) ==
                                     (other.artwork ? other.artwork->ops : std::vector<DrawOp>{});
        return widthIn == other.widthIn && heightIn == other.heightIn && ops == other.ops && sameArtwork;
    }
};

// Calls fn(const DrawOp&) for every operation of the page in drawing order: the
// artwork's first, then the page's own.
template <typename Fn>
void ForEachOp(const Page& page, Fn&& fn) {
    if (page.artwork) {
        for (const DrawOp& op : page.artwork->ops) fn(op);
    }
    for (const DrawOp& op : page.ops) fn(op);
}

// The same page with its artwork's operations copied in front of its own and no shared artwork.
inline Page Flattened(const Page& page) {
    Page flat{page.widthIn, page.heightIn, {}, nullptr};
    flat.ops.reserve((page.artwork ? page.artwork->ops.size() : 0) + page.ops.size());
    ForEachOp(page, [&flat](const DrawOp& op) { flat.ops.push_back(op); });
    return flat;
}

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
