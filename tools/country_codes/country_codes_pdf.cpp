// Writes "CountryCodes.pdf": the country codes an EFW2 address outside the United States
// carries, two columns of code and country per page, in order of the country names.
//
//     qnvr_country_codes_pdf OUT.pdf
#include <algorithm>
#include <cmath>
#include <exception>
#include <iostream>
#include <string>

#include "../document_main.h"
#include "core/efw2/country_codes.h"
#include "report/fonts.h"
#include "report/surface.h"

namespace qnvr {
namespace {

using report::ReportSurface;

constexpr double kMargin = 0.6;
constexpr double kPageWidth = report::kLetterWidthIn;
constexpr double kColumnGap = 0.3;
constexpr double kColumnWidth = (kPageWidth - 2 * kMargin - kColumnGap) / 2;
constexpr double kCodeWidth = 0.45;  // the code, then the name
constexpr double kRowHeight = 0.19;
constexpr double kFirstTableTop = 2.45;  // page 1 carries the explanation above the table
constexpr double kTableTop = 1.45;
constexpr double kTableBottom = 10.1;
constexpr double kFooterY = 10.5;
constexpr const char* kFont = "Arial";
constexpr const char* kBold = "Arial Bold";
constexpr double kRowFontPt = 9;

const char* const kExplanation[] = {
    "Enter one of these codes in the Country Code fields of the EFW2 window when the company's or the",
    "submitter's address is outside the United States. Leave the Country Code blank for an address in a",
    "U.S. state or possession; the possessions in this list are marked *.",
    "The codes are those of the Social Security Administration's EFW2 specifications (the IRS country codes).",
};

int RowsPerColumn(double top) { return static_cast<int>(std::floor((kTableBottom - top) / kRowHeight)); }

int PageCount(int rows) {
    int pages = 1;
    for (int left = rows - 2 * RowsPerColumn(kFirstTableTop); left > 0; left -= 2 * RowsPerColumn(kTableTop)) ++pages;
    return pages;
}

void DrawHeading(ReportSurface& surface, int pageNo) {
    surface.SetFont(kBold, 16);
    surface.GotoXY(0, 0.95);
    surface.PrintCenter("EFW2 Country Codes", kPageWidth / 2);
    surface.SetFont(kFont, 9);
    surface.GotoXY(0, 1.2);
    surface.PrintCenter("Quenvora W-2 2026", kPageWidth / 2);
    if (pageNo != 1) return;
    surface.SetFont(kFont, 10);
    double y = 1.6;
    for (const char* line : kExplanation) {
        surface.GotoXY(kMargin, y);
        surface.PrintLeft(line, kMargin);
        y += 0.18;
    }
}

void DrawColumnHeads(ReportSurface& surface, double top) {
    surface.SetFont(kBold, 10);
    for (double left : {kMargin, kMargin + kColumnWidth + kColumnGap}) {
        surface.GotoXY(left, top - 0.08);
        surface.PrintLeft("Code", left);
        surface.PrintLeft("Country", left + kCodeWidth);
        surface.Line(left, top - 0.02, left + kColumnWidth, top - 0.02, 0.75);
    }
}

void DrawRow(ReportSurface& surface, const CountryCode& row, double left, double baseline) {
    surface.SetFont(kBold, kRowFontPt);
    surface.GotoXY(left, baseline);
    surface.PrintLeft(std::string(row.code), left);
    surface.SetFont(kFont, kRowFontPt);
    const std::string name = std::string(row.name) + (row.usPossession ? " *" : "");
    if (surface.TextWidth(name) > kColumnWidth - kCodeWidth)
        throw std::runtime_error("the country name does not fit its column: " + name);
    surface.PrintLeft(name, left + kCodeWidth);
}

void DrawFooter(ReportSurface& surface, int pageNo, int pages) {
    surface.SetFont(kFont, 9);
    surface.GotoXY(0, kFooterY);
    surface.PrintCenter("Page " + std::to_string(pageNo) + " of " + std::to_string(pages), kPageWidth / 2);
}

void DrawDocument(ReportSurface& surface) {
    const auto& rows = Efw2CountryCodes();
    const int total = static_cast<int>(rows.size());
    const int pages = PageCount(total);
    int next = 0;
    for (int pageNo = 1; pageNo <= pages; ++pageNo) {
        if (pageNo > 1) surface.NewPage();
        const double top = pageNo == 1 ? kFirstTableTop : kTableTop;
        const int perColumn = RowsPerColumn(top);
        DrawHeading(surface, pageNo);
        DrawColumnHeads(surface, top);
        for (int column = 0; column < 2; ++column) {
            const double left = kMargin + column * (kColumnWidth + kColumnGap);
            for (int line = 0; line < perColumn && next < total; ++line, ++next)
                DrawRow(surface, rows[static_cast<std::size_t>(next)], left, top + (line + 1) * kRowHeight);
        }
        DrawFooter(surface, pageNo, pages);
    }
}

}  // namespace
}  // namespace qnvr

int main(int argc, char** argv) { return qnvr::tools::DocumentMain(argc, argv, "qnvr_country_codes_pdf", qnvr::DrawDocument); }
