#pragma once
// What the W-2 window keeps about the user's review of the employees: which records it
// has shown since it opened. Only when every employee has been seen may all forms be
// printed at once, and only then does closing the window count as a review.
#include <cstdint>
#include <vector>

namespace qnvr {

// FW2Checked: one flag per W-2 record, set once the record has been shown.
class TW2Checked {
public:
    // Fits the flags to count records: new records are not yet shown, records past the
    // end are dropped.
    void Resize(int count);
    // Record (1-based) has been shown; ignored outside 1..Count().
    void Mark(int record);
    // Record (1-based) was deleted: the later records moved one place down, and their
    // flags move with them.
    void Remove(int record);
    bool IsMarked(int record) const;
    // Every record has been shown (and there is at least one).
    bool AllMarked() const;
    int Count() const { return static_cast<int>(flags_.size()); }

private:
    std::vector<std::uint8_t> flags_;
};

}  // namespace qnvr
