#include "core/program/recent_files.h"

#include <gtest/gtest.h>

#include <vector>

namespace qnvr {
namespace {

std::vector<std::string> Slots(const RecentFiles& list) {
    std::vector<std::string> slots;
    for (int k = 0; k < RecentFiles::kSlots; ++k) slots.push_back(list.Slot(k));
    return slots;
}

std::vector<std::string> Expected(std::vector<std::string> used) {
    used.resize(RecentFiles::kSlots);
    return used;
}

TEST(RecentFilesTest, AddingPutsThePathFirstKeepsItOnceAndDropsTheOldest) {
    RecentFiles list;
    list.Add("/d/A.W226");
    list.Add("/d/B.W226");
    EXPECT_EQ(Slots(list), Expected({"/d/B.W226", "/d/A.W226"}));

    list.Add("/d/A.W226");  // closing the same file again moves it up, once
    list.Add("/d/A.W226");
    EXPECT_EQ(Slots(list), Expected({"/d/A.W226", "/d/B.W226"}));

    list.Add("/d/a.W226");  // another file on Linux
    EXPECT_EQ(Slots(list), Expected({"/d/a.W226", "/d/A.W226", "/d/B.W226"}));

    for (int k = 0; k < 10; ++k) list.Add("/d/" + std::to_string(k) + ".W226");
    EXPECT_EQ(list.Slot(0), "/d/9.W226");
    EXPECT_EQ(list.Slot(9), "/d/0.W226");

    list.Add("/d/0.W226");  // the last slot's own path comes to the top without a copy
    EXPECT_EQ(list.Slot(0), "/d/0.W226");
    EXPECT_EQ(list.Slot(9), "/d/1.W226");
}

TEST(RecentFilesTest, AnEmptyPathNeverTakesASlot) {
    RecentFiles list;
    list.Add("/d/A.W226");
    list.Add("");
    EXPECT_EQ(Slots(list), Expected({"/d/A.W226"}));
}

TEST(RecentFilesTest, TheListSurvivesTheSettingsStoreUnderItsValueNames) {
    MemorySettingsStore settings;
    RecentFiles fresh;
    fresh.Load(settings);  // no key yet: ten free slots
    EXPECT_EQ(Slots(fresh), Expected({}));

    RecentFiles list;
    list.Add("/d/A.W226");
    list.Add("/d/B.W226");
    list.Save(settings);
    EXPECT_EQ(settings.ReadString("RecentFiles", "0"), "/d/B.W226");
    EXPECT_EQ(settings.ReadString("RecentFiles", "1"), "/d/A.W226");
    EXPECT_EQ(settings.ReadString("RecentFiles", "9"), "");

    settings.DeleteValue("RecentFiles", "1");  // a missing value reads as a free slot
    RecentFiles loaded;
    loaded.Load(settings);
    EXPECT_EQ(Slots(loaded), Expected({"/d/B.W226"}));
}

TEST(RecentFilesTest, TheMenuCaptionShowsTheSlotDigitAndEveryAmpersand) {
    EXPECT_EQ(RecentFiles::MenuCaption(0, "/d/ACME.W226"), "&0 /d/ACME.W226");
    EXPECT_EQ(RecentFiles::MenuCaption(7, "/d/A & B.W226"), "&7 /d/A && B.W226");
}

}  // namespace
}  // namespace qnvr
