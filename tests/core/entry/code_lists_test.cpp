#include "core/entry/code_lists.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace qnvr {
namespace {

TEST(CodeLists, Box12HasThirtyFourCodesOneLetterThenTwo) {
    const auto& rows = Box12CodeRows();
    ASSERT_EQ(rows.size(), 34u);
    std::set<std::string> codes;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].code.size(), i < 22 ? 1u : 2u) << "row " << i;
        EXPECT_FALSE(rows[i].description.empty()) << "row " << i;
        codes.insert(rows[i].code);
    }
    EXPECT_EQ(codes.size(), rows.size()) << "a code is listed twice";
    const struct {
        int row;
        const char* code;
    } landmarks[] = {{0, "A"}, {3, "D"}, {21, "Z"}, {22, "AA"}, {29, "II"}, {30, "TA"}, {33, "TT"}};
    for (const auto& l : landmarks) EXPECT_EQ(CodeOfRow(rows, l.row), l.code) << "row " << l.row;
    EXPECT_EQ(rows[30].description, "Employer contributions under a section 128 account contribution program");
    EXPECT_EQ(rows[0].Text(), "A\tUncollected social security or RRTA tax on tips");
}

TEST(CodeLists, OccupationListHasItsHeadingsWhereTheyBelong) {
    const auto& rows = OccupationCodeRows();
    ASSERT_EQ(rows.size(), 77u);
    const std::set<int> headings = {1, 12, 24, 29, 39, 48, 60, 67};
    int category = 0;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const CodeListRow& row = rows[static_cast<std::size_t>(i)];
        EXPECT_EQ(row.IsHeading(), headings.count(i) == 1) << "row " << i;
        if (row.IsHeading()) {
            ++category;
            EXPECT_EQ(row.Text(), row.description) << "a heading row has no code and no tab";
            EXPECT_EQ(row.description.back(), ':');
        } else if (i > 0) {
            // Codes run 101, 102, ... under the first heading, 201, ... under the second.
            ASSERT_EQ(row.code.size(), 3u) << "row " << i;
            EXPECT_EQ(row.code[0] - '0', category) << "row " << i;
        }
    }
    EXPECT_EQ(rows[0].Text(), "000\tCash tips are not qualified tips");
    EXPECT_EQ(rows[29].description, "HOME SERVICES:");
    EXPECT_EQ(CodeOfRow(rows, 33), "404");
    EXPECT_EQ(rows[33].description, "Home Plumbers");
    EXPECT_EQ(CodeOfRow(rows, 76), "809");
}

TEST(CodeLists, OnlyACodedRowPastesACode) {
    const auto& rows = OccupationCodeRows();
    EXPECT_EQ(CodeOfRow(rows, -1), "");  // cancelled
    EXPECT_EQ(CodeOfRow(rows, 12), "");  // a heading
    EXPECT_EQ(CodeOfRow(rows, 77), "");  // past the end
    EXPECT_EQ(CodeOfRow(rows, 0), "000");
}

}  // namespace
}  // namespace qnvr
