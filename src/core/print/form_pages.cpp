#include "core/print/form_pages.h"

namespace qnvr {

std::vector<VoidMark> FourUpVoidMarks(int filledSlots) {
    // Two columns centred at 2.2 and 6.3 in; rows with their baselines at 1.83 and 7.25 in.
    static constexpr VoidMark kSlots[kFourUpFormsPerPage] = {
        {1, 2.2, 1.83}, {2, 6.3, 1.83}, {3, 2.2, 7.25}, {4, 6.3, 7.25}};
    std::vector<VoidMark> marks;
    for (int slot = filledSlots + 1; slot <= kFourUpFormsPerPage; ++slot) marks.push_back(kSlots[slot - 1]);
    return marks;
}

}  // namespace qnvr
