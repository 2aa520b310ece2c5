#pragma once
// Reads recorded pages back as the parameters that were printed: every text drawn at a
// field's place in a design (same position, font and size) is that field's value. So a
// test checks what a job printed in each box of each slot, and what it drew besides.
#include <map>
#include <string>
#include <vector>

#include "report/design.h"
#include "report/page.h"
#include "report/snapshot.h"

namespace qnvr::testing {

struct PrintedPage {
    std::map<std::string, std::string> params;  // parameter name -> the text printed there
    std::vector<report::TextOp> otherTexts;     // texts that are neither artwork nor a field
    std::vector<report::DrawOp> screenOnly;
    std::vector<report::DrawOp> ops;            // every operation, artwork included
};

inline bool SamePlace(const report::TextOp& a, const report::TextOp& b) {
    constexpr double kEps = 1e-9;
    return std::abs(a.x - b.x) < kEps && std::abs(a.y - b.y) < kEps && a.family == b.family &&
           a.sizePt == b.sizePt && a.align == b.align;
}

inline PrintedPage ReadPrinted(const report::Page& page, const report::ReportDesign* design) {
    PrintedPage printed;
    printed.ops = report::Flattened(page).ops;
    for (const report::DrawOp& op : printed.ops) {
        if (op.screenOnly) {
            printed.screenOnly.push_back(op);
            continue;
        }
        const auto* text = std::get_if<report::TextOp>(&op.shape);
        if (!text) continue;
        bool known = false;
        if (design) {
            for (const report::DrawOp& art : design->artwork) {
                if (art == op) known = true;
            }
            for (const report::DesignField& field : design->fields) {
                if (!known && SamePlace(field.text, *text)) {
                    printed.params[field.param] = text->text;
                    known = true;
                }
            }
        }
        if (!known) printed.otherTexts.push_back(*text);
    }
    return printed;
}

inline std::vector<PrintedPage> ReadPrinted(const report::PageSnapshot& snapshot, const report::ReportDesign* design) {
    std::vector<PrintedPage> pages;
    for (int n = 1; n <= snapshot.PageCount(); ++n) pages.push_back(ReadPrinted(snapshot.ReadPage(n), design));
    return pages;
}

// The value printed for a parameter, or "" when nothing was printed there.
inline std::string Param(const PrintedPage& page, const std::string& name) {
    auto it = page.params.find(name);
    return it == page.params.end() ? std::string() : it->second;
}

}  // namespace qnvr::testing
