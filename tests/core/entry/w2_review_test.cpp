#include "core/entry/w2_review.h"

#include <gtest/gtest.h>

namespace qnvr {
namespace {

TEST(W2Checked, AllMarkedOnlyOnceEveryRecordWasShown) {
    TW2Checked checked;
    EXPECT_FALSE(checked.AllMarked());  // no records, nothing reviewed
    checked.Resize(3);
    checked.Mark(1);
    checked.Mark(3);
    checked.Mark(4);  // outside: ignored
    checked.Mark(0);
    EXPECT_FALSE(checked.AllMarked());
    checked.Mark(2);
    EXPECT_TRUE(checked.AllMarked());
    checked.Resize(4);  // a new employee is not yet reviewed
    EXPECT_FALSE(checked.AllMarked());
    checked.Resize(2);
    EXPECT_TRUE(checked.AllMarked());
}

TEST(W2Checked, ADeletedRecordTakesItsFlagWithIt) {
    // Records 1, 2, 3 shown, 4 not: deleting 3 moves 4 into place 3, still not shown.
    TW2Checked checked;
    checked.Resize(4);
    for (int record : {1, 2, 3}) checked.Mark(record);
    checked.Remove(3);
    EXPECT_EQ(checked.Count(), 3);
    EXPECT_TRUE(checked.IsMarked(2));
    EXPECT_FALSE(checked.IsMarked(3));
    EXPECT_FALSE(checked.AllMarked());
}

}  // namespace
}  // namespace qnvr
