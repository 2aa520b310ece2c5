#include "core/entry/employee_list.h"

#include <gtest/gtest.h>

#include "core/base/scripted_prompter.h"
#include "support/temp_dir.h"

namespace qnvr {
namespace {

using testing::TempDir;

W2Record Named(const std::string& first, const std::string& middle, const std::string& last) {
    W2Record w2;
    w2.Boxe1 = first;
    w2.Boxe2 = middle;
    w2.Boxe3 = last;
    return w2;
}

TEST(EmployeeListText, LastNameCommaTwoBlanksThenFirstNameAndInitial) {
    struct Case {
        W2Record w2;
        std::string text;
    };
    const Case cases[] = {
        {Named("John", "Q", "Public"), "Public,  John Q"},
        {Named("  John ", "", " Public "), "Public,  John"},
        {Named("", "Q", "Public"), "Public,  Q"},  // the first name's blank is trimmed away too
        {Named("", "", ""), ",  "},
        // 20 + 3 + 15 + 2 = 40 characters fit exactly; a longer text is cut.
        {Named("Maximilianusxyz", "Z", "Abcdefghijklmnopqrst"), "Abcdefghijklmnopqrst,  Maximilianusxyz Z"},
    };
    for (const Case& c : cases) EXPECT_EQ(EmployeeListText(c.w2), c.text);
    W2Record tooLong = Named("Maximilianusxyzw", "Z", "Abcdefghijklmnopqrst");
    EXPECT_EQ(EmployeeListText(tooLong).size(), 40u);
}

TEST(EmployeeListSort, IgnoresLetterCaseAndKeepsEqualNamesApart) {
    std::vector<EmployeeListEntry> entries = {
        {"smith,  Ann", 1}, {"Adams,  Bo", 2}, {"SMITH,  ANN", 3}, {"Smith,  Al", 4}, {"smith,  Ann", 5},
    };
    SortEmployeeList(entries);
    const std::vector<EmployeeListEntry> expected = {
        {"Adams,  Bo", 2}, {"Smith,  Al", 4}, {"smith,  Ann", 1}, {"SMITH,  ANN", 3}, {"smith,  Ann", 5},
    };
    EXPECT_EQ(entries, expected);
}

class EmployeeListFile : public ::testing::Test {
protected:
    void SetUp() override {
        dm.OpenPayerFile(dir.File("LIST.W226"));
        ASSERT_TRUE(dm.PayerFileOpen());
        dm.EditW2Rec(Named("Zed", "", "Young"));  // record 1
        dm.RSW2().PostRec();
        for (const auto& [first, last] : {std::pair{"Ann", "Baker"}, {"Cy", "Adams"}, {"Ann", "baker"}}) {
            dm.RSW2().NewRec();
            dm.EditW2Rec(Named(first, "", last));
            dm.RSW2().PostRec();
        }
        dm.RSW2().SetCurrentRecord(2);
        dm.RSW2().GetRec();
    }

    TempDir dir;
    ScriptedPrompter prompter;
    TFrmDataModule dm{CorePorts{.prompter = prompter}};
};

TEST_F(EmployeeListFile, BuildingWalksEveryRecordAndReturnsToTheCurrentOne) {
    dm.EmployeeListChanged();
    const std::vector<EmployeeListEntry> expected = {
        {"Adams,  Cy", 3}, {"Baker,  Ann", 2}, {"baker,  Ann", 4}, {"Young,  Zed", 1},
    };
    EXPECT_EQ(BuildEmployeeList(dm), expected);
    EXPECT_FALSE(dm.EmployeeListDirty());
    EXPECT_EQ(dm.RSW2().CurrentRecord(), 2);
    EXPECT_EQ(dm.W2Rec().Boxe3, "Baker");
}

TEST_F(EmployeeListFile, TheKeptListIsBuiltAgainOnlyWhenDirty) {
    TEmployeeList list;
    dm.EmployeeListChanged();
    ASSERT_EQ(list.For(dm).front().text, "Adams,  Cy");

    // A change the flag does not report is not seen: the file is not walked again.
    dm.RSW2().SetCurrentRecord(3);
    dm.EditW2Rec(Named("Cy", "", "Zimmer"));
    dm.RSW2().PostRec();
    EXPECT_EQ(list.For(dm).front().text, "Adams,  Cy");

    dm.EmployeeListChanged();
    EXPECT_EQ(list.For(dm).back(), (EmployeeListEntry{"Zimmer,  Cy", 3}));
    EXPECT_FALSE(dm.EmployeeListDirty());
}

}  // namespace
}  // namespace qnvr
