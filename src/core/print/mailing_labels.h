#pragma once
// Employee mailing labels on Avery 5160 sheets: 30 labels of 2 5/8 x 1 in, three across
// and ten down, filled row by row. Each label holds the employee's name and address and,
// under an address that ends in a full ZIP+4, its POSTNET bar code.
#include <array>
#include <string>

#include "core/store/records.h"

namespace qnvr {

struct LabelSheet {
    double labelWidth = 2.625;
    double labelHeight = 1.0;
    double firstLeft = 0.188;  // left edge of column 1
    double firstTop = 0.5;     // top edge of row 1
    double columnPitch = 2.75;
    double rowPitch = 1.0;
    int columns = 3;
    int rows = 10;
    double border = 0.13;  // the text's inset on all four sides
    // The preview's outline of a label: rounded with a 0.2 x 0.2 in ellipse.
    double cornerW = 0.2, cornerH = 0.2;

    int LabelsPerPage() const { return columns * rows; }
    // The top-left corner of the label at position index (0-based, row by row).
    double LeftOf(int index) const { return firstLeft + (index % columns) * columnPitch; }
    double TopOf(int index) const { return firstTop + (index / columns) * rowPitch; }
};

inline constexpr LabelSheet kAvery5160{};
inline constexpr const char* kLabelFont = "Arial";
inline constexpr double kLabelFontSizePt = 9;

// The bar code under the address: full bars 0.13 in, bars 0.02 in wide, from the text's
// left edge, with its bottom 0.13 in below the line after the address.
inline constexpr double kLabelBarHeight = 0.13;
inline constexpr double kLabelBarWidth = 0.02;
inline constexpr double kLabelBarDrop = 0.13;

struct MailingLabel {
    std::array<std::string, 3> lines;  // name, street, city-state-ZIP, as stored
    std::string zip4;                  // the full ZIP+4 the bar code encodes, or empty
    // The baseline of the first line below the label's top: lower without a bar code,
    // so that the text stands in the middle of the label.
    double FirstBaseline() const { return zip4.empty() ? 0.38 : 0.25; }
};

MailingLabel MailingLabelFor(const W2Record& w2);

}  // namespace qnvr
