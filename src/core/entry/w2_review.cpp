#include "core/entry/w2_review.h"

#include <algorithm>

namespace qnvr {

void TW2Checked::Resize(int count) { flags_.resize(static_cast<std::size_t>(std::max(count, 0)), 0); }

void TW2Checked::Mark(int record) {
    if (record >= 1 && record <= Count()) flags_[static_cast<std::size_t>(record - 1)] = 1;
}

void TW2Checked::Remove(int record) {
    if (record >= 1 && record <= Count()) flags_.erase(flags_.begin() + (record - 1));
}

bool TW2Checked::IsMarked(int record) const {
    return record >= 1 && record <= Count() && flags_[static_cast<std::size_t>(record - 1)] != 0;
}

bool TW2Checked::AllMarked() const {
    return !flags_.empty() && std::all_of(flags_.begin(), flags_.end(), [](std::uint8_t flag) { return flag != 0; });
}


}  // namespace qnvr
