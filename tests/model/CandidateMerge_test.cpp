#include "model/CandidateMerge.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vh {
namespace {

void AddEntry(TMonitoredList& list, TMonitoredItemType type, const std::string& name, const std::string& caption,
              bool active = true, bool selected = false) {
    auto item = std::make_unique<TMonitoredItem>();
    item->ItemType = type;
    item->Name = name;
    item->Caption = caption;
    item->Active = active;
    item->Selected = selected;
    list.Add(caption, std::move(item));
}

const TMonitoredItem* Entry(const TMonitoredList& list, const std::string& name) {
    const int index = list.IndexOfName(name);
    return index < 0 ? nullptr : &list.Items(index);
}

TEST(MergeCandidates, AddsUpdatesDeletesAndDefersAsTheMarksSay) {
    TMonitoredList persisted;
    TMonitoredList today;
    for (TMonitoredList* list : {&persisted, &today}) {
        AddEntry(*list, mitApplication, "C:\\a.exe", "A");
        AddEntry(*list, mitWebSite, "gone.com", "Gone");
        AddEntry(*list, mitWebSite, "later.com", "Later");
        AddEntry(*list, mitWebSite, "back.com", "Back", false);
    }
    TMonitoredList candidates;
    AddEntry(candidates, mitWebSite, "new.com", "New", true, true);
    AddEntry(candidates, mitApplication, "c:\\A.EXE", "Renamed", true, true);
    AddEntry(candidates, mitWebSite, "gone.com", "Gone", true, false);
    AddEntry(candidates, mitWebSite, "later.com", "Later", false, false);
    AddEntry(candidates, mitWebSite, "back.com", "Back", true, true);
    AddEntry(candidates, mitApplication, "C:\\Vornhalt.exe", "Me", true, true);
    AddEntry(candidates, mitWebSite, "never.com", "Never", true, false);

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
    AddEntry(persisted, mitWebSite, "example.com", "Example");
    const TCandidateMergeOutcome none = MergeCandidates(TMonitoredList(), persisted, nullptr, "");
    EXPECT_EQ(persisted.Count(), 1);
    EXPECT_TRUE(none.NewlyPending.empty() && none.Reactivated.empty());
    TMonitoredList candidates;
    AddEntry(candidates, mitWebSite, "example.com", "Example", false, true);
    MergeCandidates(candidates, persisted, nullptr, "");
    EXPECT_FALSE(persisted.Items(0).Active);
}

}  // namespace
}  // namespace vh
