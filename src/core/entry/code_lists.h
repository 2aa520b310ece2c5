#pragma once
// The two fixed code lists the W-2 window's pickers offer: the IRS Box 12 codes and the
// Treasury tipped occupation codes of box 14b. The occupation list is grouped under
// category heading rows, which carry no code and cannot be picked.
#include <string>
#include <vector>

namespace qnvr {

struct CodeListRow {
    std::string code;         // "A", "DD", "404"; empty on a heading row
    std::string description;  // the code's meaning, or the heading's text

    bool IsHeading() const { return code.empty(); }
    // The row as the list shows it: code, tab, description; a heading row is its text alone.
    std::string Text() const;
};

// The 34 Box 12 codes: rows 0 to 21 have one-letter codes ("A" .. "Z"), rows 22 to 33
// two-letter codes ("AA" .. "TT").
const std::vector<CodeListRow>& Box12CodeRows();

// The 77 rows of the occupation list: row 0 is "000" (tips that are not qualified tips),
// then eight category headings, each followed by its three-digit codes.
const std::vector<CodeListRow>& OccupationCodeRows();

// The code a pick pastes into the field: the row's code, or "" when nothing was picked
// (row -1, a cancelled list), the row is out of range or it is a heading.
std::string CodeOfRow(const std::vector<CodeListRow>& rows, int row);

}  // namespace qnvr
