#pragma once
// A page as stable text: one drawing operation a line, in drawing order, so that two
// recordings of a page compare as text and a change shows as a readable line diff.
//
//   page 8500 11000
//   text 1250 1830 "Arial" 10pt left "123-45-6789"
//   line 500 600 8000 600 0.5pt
//   rect 500 600 7500 300 0.5pt fill 0.9 round 100 100
//   screen rect 188 500 2625 1000 0.25pt
//
// Positions and sizes on the sheet are whole thousandths of an inch; font sizes and line
// widths are points, and gray levels 0 (black) to 1 (white), to three decimals. A rect
// names its fill and rounded corners only when it has them; "screen" marks what is drawn
// on screen only. Texts are quoted, with \" \\ and \xHH for control characters.
#include <string>

#include "report/page.h"

namespace qnvr::report {

std::string PageText(const Page& page);

}  // namespace qnvr::report
