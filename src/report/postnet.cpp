#include "report/postnet.h"

#include <array>
#include <stdexcept>

#include "report/surface.h"

namespace qnvr::report {
namespace {

// Each digit is the two weights of its full bars among 7 4 2 1 0; 0 is 7 + 4 (= 11).
constexpr std::array<int, 5> kWeights = {7, 4, 2, 1, 0};

std::string DigitsOf(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9') digits += c;
    }
    return digits;
}

}  // namespace

std::vector<bool> PostnetDigitBars(int digit) {
    if (digit < 0 || digit > 9) throw std::invalid_argument("POSTNET digit out of range");
    const int value = digit == 0 ? 11 : digit;
    for (std::size_t a = 0; a < kWeights.size(); ++a) {
        for (std::size_t b = a + 1; b < kWeights.size(); ++b) {
            if (kWeights[a] + kWeights[b] == value) {
                std::vector<bool> bars(kWeights.size(), false);
                bars[a] = bars[b] = true;
                return bars;
            }
        }
    }
    throw std::logic_error("POSTNET weights cover every digit");
}

int PostnetCheckDigit(std::string_view digits) {
    int sum = 0;
    for (char c : DigitsOf(digits)) sum += c - '0';
    return (10 - sum % 10) % 10;
}

std::vector<bool> PostnetBars(std::string_view text) {
    std::string digits = DigitsOf(text);
    digits += static_cast<char>('0' + PostnetCheckDigit(digits));
    std::vector<bool> bars{true};  // frame bar
    for (char c : digits) {
        const std::vector<bool> digitBars = PostnetDigitBars(c - '0');
        bars.insert(bars.end(), digitBars.begin(), digitBars.end());
    }
    bars.push_back(true);  // frame bar
    return bars;
}

void PostnetBarcode::Print(ReportSurface& surface) const {
    const std::vector<bool> bars = PostnetBars(Text);
    double x = Left;
    for (bool full : bars) {
        const double height = full ? BarHeight : BarHeight * kHalfBarRatio;
        surface.FillRect(x, BarBottom - height, BarWidth, height, 0.0);
        x += Pitch();
    }
}

}  // namespace qnvr::report
