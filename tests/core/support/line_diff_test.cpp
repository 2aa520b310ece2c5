#include "support/line_diff.h"

#include <gtest/gtest.h>

namespace qnvr::testing {
namespace {

std::string Numbers(int from, int to) {
    std::string text;
    for (int k = from; k <= to; ++k) text += std::to_string(k) + "\n";
    return text;
}

TEST(LineDiff, EqualTextsHaveNoDiff) {
    EXPECT_EQ(LineDiff("", ""), "");
    EXPECT_EQ(LineDiff(Numbers(1, 5), Numbers(1, 5)), "");
}

TEST(LineDiff, ChangesShowWithTheirContextInHunks) {
    struct Case {
        const char* what;
        std::string expected, actual, diff;
    };
    const std::string ten = Numbers(1, 10);
    const Case cases[] = {
        {"one line changed", ten, Numbers(1, 4) + "five\n" + Numbers(6, 10),
         "@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n"},
        {"a line added at the end", Numbers(1, 3), Numbers(1, 4), "@@ -1,3 +1,4 @@\n 1\n 2\n 3\n+4\n"},
        {"a line removed at the start", Numbers(1, 3), Numbers(2, 3), "@@ -1,3 +1,2 @@\n-1\n 2\n 3\n"},
        {"everything replaced", "a\n", "b\n", "@@ -1,1 +1,1 @@\n-a\n+b\n"},
        {"from nothing", "", "a\n", "@@ -0,0 +1,1 @@\n+a\n"},
        {"changes far apart are two hunks", Numbers(1, 20),
         "one\n" + Numbers(2, 19) + "twenty\n",
         "@@ -1,4 +1,4 @@\n-1\n+one\n 2\n 3\n 4\n@@ -17,4 +17,4 @@\n 17\n 18\n 19\n-20\n+twenty\n"},
        {"changes close together are one hunk", ten, "one\n" + Numbers(2, 6) + "seven\n" + Numbers(8, 10),
         "@@ -1,10 +1,10 @@\n-1\n+one\n 2\n 3\n 4\n 5\n 6\n-7\n+seven\n 8\n 9\n 10\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(LineDiff(c.expected, c.actual), c.diff) << c.what;
}

}  // namespace
}  // namespace qnvr::testing
