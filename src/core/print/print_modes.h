#pragma once
// The page orientation and the two-sided printing mode of a print run, and the whole
// numbers the printer setup and the page snapshot store them as.
namespace qnvr {

enum class PageOrientation : int { Portrait = 0, Landscape = 1 };

// Two-sided printing: none, flipped on the short edge ("Tablet"), flipped on the long
// edge ("Book").
enum class DuplexMode : int { dupSimplex = 0, dupVertical = 1, dupHorizontal = 2 };

// Stored: 0 portrait, 1 landscape. Any other number (the printer setup also accepts 2
// when read) prints portrait.
constexpr int StoredOrientation(PageOrientation orientation) { return static_cast<int>(orientation); }
constexpr PageOrientation OrientationFromStored(int stored) {
    return stored == 1 ? PageOrientation::Landscape : PageOrientation::Portrait;
}

// Stored: 0 none, 1 vertical, 2 horizontal. Any other number prints one-sided.
constexpr int StoredDuplex(DuplexMode duplex) { return static_cast<int>(duplex); }
constexpr DuplexMode DuplexFromStored(int stored) {
    switch (stored) {
        case 1: return DuplexMode::dupVertical;
        case 2: return DuplexMode::dupHorizontal;
        default: return DuplexMode::dupSimplex;
    }
}

}  // namespace qnvr
