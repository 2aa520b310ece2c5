#pragma once
// POSTNET, the USPS bar code of ZIP codes: every digit is five bars, two of them full
// height, framed by a full bar at each end, with a check digit that brings the digit
// sum to a multiple of ten.
#include <string>
#include <string_view>
#include <vector>

namespace qnvr::report {

class ReportSurface;

// The five bars of a digit, full (true) or half (false), by the weights 7 4 2 1 0.
std::vector<bool> PostnetDigitBars(int digit);
// The digit that brings the sum of the digits to a multiple of ten.
int PostnetCheckDigit(std::string_view digits);
// The bars of a whole bar code for the digits of text (other characters are skipped):
// frame bar, digits, check digit, frame bar.
std::vector<bool> PostnetBars(std::string_view text);

// A POSTNET bar code as the labels draw it: no human-readable text, check digit added.
struct PostnetBarcode {
    double Left = 0;         // x of the first bar's left edge, inches
    double BarBottom = 0;    // y of the bars' bottom, inches
    double BarHeight = 0.125;  // full bar; a half bar is 40 % of it
    double BarWidth = 0.02;
    std::string Text;

    static constexpr double kBarGap = 0.0254;  // pitch = BarWidth + kBarGap
    static constexpr double kHalfBarRatio = 0.4;

    double Pitch() const { return BarWidth + kBarGap; }
    // Draws the bars as filled rectangles, relative to the surface's origin.
    void Print(ReportSurface& surface) const;
};

}  // namespace qnvr::report
