#include "model/CandidateMerge.h"
#include "support/ListEntries.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vh {
namespace {

const TMonitoredItem* Entry(const TMonitoredList& list, const std::string& name) {
    const int index = list.IndexOfName(name);
    return index < 0 ? nullptr : &list.Items(index);
}

TEST(MergeCandidates, AddsUpdatesDeletesAndDefersAsTheMarksSay) {
    TMonitoredList persisted;
    TMonitoredList today;
    for (TMonitoredList* list : {&persisted, &today}) {
        testing::AddListEntry(*list, mitApplication, "C:\\a.exe", "A");
        testing::AddListEntry(*list, mitWebSite, "gone.com", "Gone");
        testing::AddListEntry(*list, mitWebSite, "later.com", "Later");
        testing::AddListEntry(*list, mitWebSite, "back.com", "Back", false);
    }
    TMonitoredList candidates;
    testing::AddListEntry(candidates, mitWebSite, "new.com", "New", true, true);
    testing::AddListEntry(candidates, mitApplication, "c:\\A.EXE", "Renamed", true, true);
    testing::AddListEntry(candidates, mitWebSite, "gone.com", "Gone", true, false);
    testing::AddListEntry(candidates, mitWebSite, "later.com", "Later", false, false);
    testing::AddListEntry(candidates, mitWebSite, "back.com", "Back", true, true);
    testing::AddListEntry(candidates, mitApplication, "C:\\Vornhalt.exe", "Me", true, true);
    testing::AddListEntry(candidates, mitWebSite, "never.com", "Never", true, false);

    const TCandidateMergeOutcome outcome = MergeCandidates(candidates, persisted, &today, "c:\\vornhalt.exe");

    for (const TMonitoredList* list : {&persisted, &today}) {
        ASSERT_NE(Entry(*list, "new.com"), nullptr);
        EXPECT_TRUE(Entry(*list, "new.com")->Active);
        EXPECT_EQ(Entry(*list, "C:\\a.exe")->Caption, "Renamed");
        EXPECT_EQ(Entry(*list, "gone.com"), nullptr);
        EXPECT_FALSE(Entry(*list, "later.com")->Active);
        EXPECT_TRUE(Entry(*list, "back.com")->Active);
        EXPECT_EQ(Entry(*list, "C:\\Vornhalt.exe"), nullptr);
        EXPECT_EQ(Entry(*list, "never.com"), nullptr);
        EXPECT_EQ(list->Count(), 4);
    }
    ASSERT_EQ(outcome.NewlyPending.size(), 1u);
    EXPECT_EQ(outcome.NewlyPending[0].Name, "later.com");
    ASSERT_EQ(outcome.Reactivated.size(), 1u);
    EXPECT_EQ(outcome.Reactivated[0].Name, "back.com");
}

TEST(MergeCandidates, WorksWithoutTodaysListAndAnEmptyListChangesNothing) {
    TMonitoredList persisted;
    testing::AddListEntry(persisted, mitWebSite, "example.com", "Example");
    const TCandidateMergeOutcome none = MergeCandidates(TMonitoredList(), persisted, nullptr, "");
    EXPECT_EQ(persisted.Count(), 1);
    EXPECT_TRUE(none.NewlyPending.empty() && none.Reactivated.empty());
    TMonitoredList candidates;
    testing::AddListEntry(candidates, mitWebSite, "example.com", "Example", false, true);
    MergeCandidates(candidates, persisted, nullptr, "");
    EXPECT_FALSE(persisted.Items(0).Active);
}

}  // namespace
}  // namespace vh
