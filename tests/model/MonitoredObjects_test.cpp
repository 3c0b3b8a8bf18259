#include "model/MonitoredObjects.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/Exceptions.h"

namespace vh {
namespace {

std::unique_ptr<TMonitoredItem> MakeItem(TMonitoredItemType type, std::string name, std::string caption,
                                         bool active = true, bool selected = false) {
    auto item = std::make_unique<TMonitoredItem>();
    item->ItemType = type;
    item->Name = std::move(name);
    item->Caption = std::move(caption);
    item->Active = active;
    item->Selected = selected;
    return item;
}

void AddEntry(TMonitoredList& list, TMonitoredItemType type, const std::string& name, const std::string& caption,
              bool active = true, bool selected = false) {
    list.Add(caption, MakeItem(type, name, caption, active, selected));
}

std::vector<std::string> Keys(const TMonitoredList& list) {
    std::vector<std::string> keys;
    for (int i = 0; i < list.Count(); ++i) keys.push_back(list.Names(i));
    return keys;
}

TEST(NormalizeAddress, DropsSchemeThenWww) {
    const struct {
        const char* address;
        const char* normal;
    } cases[] = {
        {"http://www.example.com/a", "example.com/a"},
        {"https://mail.example.com", "mail.example.com"},
        {"example.com", "example.com"},
        {"  \thttp://www.example.com/www.example.org\r\n", "example.com/www.example.org"},
        {"WWW.example.com", "WWW.example.com"},
        {"a://b://c", "b://c"},  // only the first "://" goes
    };
    for (const auto& c : cases) EXPECT_EQ(NormalizeAddress(c.address), c.normal) << c.address;
}

TEST(WebSiteMatches, FollowsTheExamples) {
    const struct {
        const char* name;
        const char* address;
        bool matches;
    } cases[] = {
        {"example.com", "http://www.example.com", true},
        {"example.com", "https://example.com/x", true},
        {"example.com", "sub.example.com", true},
        {"example.com", "news.example.com/today", true},
        {"example.com", "http://example.org/?u=example.com", false},
        {"example.com", "example.org/example.com", false},
        {"example.com", "other.org/?ref=example.com", false},
        // A "?" right after the host ends the host as "/" does.
        {"example.com", "example.org?u=example.com", false},
        {"example.com", "example.com?u=x", true},
        {"www.example.com", "example.com", true},
        {"Example.com", "example.com", false},
        {"example.com/games", "http://www.example.com/games/chess", true},
        // An empty name matches nothing.
        {"", "example.com", false},
        {"  http://www.", "example.com", false},
    };
    for (const auto& c : cases) EXPECT_EQ(WebSiteMatches(c.name, c.address), c.matches) << c.name << " / " << c.address;
}

TEST(FindMatch, ApplicationPathIgnoresAsciiCaseButNotTrailingBlank) {
    TMonitoredList list;
    AddEntry(list, mitApplication, "C:\\Apps\\Edit.exe", "Edit");
    EXPECT_EQ(list.FindMatch("c:\\apps\\edit.exe", "").Index, 0);
    EXPECT_EQ(list.FindMatch("c:\\apps\\edit.exe", "").Kind, mitApplication);
    EXPECT_EQ(list.FindMatch("c:\\apps\\edit.exe ", "").Index, -1);
    EXPECT_EQ(list.FindMatch("c:\\apps\\edit.exe ", "").Kind, mitApplication);
}

TEST(FindMatch, WebMatchTakesPrecedenceOverApplication) {
    TMonitoredList list;
    AddEntry(list, mitApplication, "C:\\Browser\\browser.exe", "A browser");
    AddEntry(list, mitWebSite, "example.com", "Z example");
    const TMatch match = list.FindMatch("C:\\Browser\\browser.exe", "https://www.example.com/news");
    EXPECT_EQ(match.Index, 1);
    EXPECT_EQ(match.Kind, mitWebSite);
}

TEST(FindMatch, FirstWebEntryWinsLastApplicationEntryWins) {
    TMonitoredList list;
    AddEntry(list, mitWebSite, "example.com", "a");
    AddEntry(list, mitWebSite, "news.example.com", "b");
    EXPECT_EQ(list.FindMatch("", "news.example.com").Index, 0);

    TMonitoredList apps;
    AddEntry(apps, mitApplication, "C:\\x.exe", "first");
    AddEntry(apps, mitApplication, "C:\\X.EXE", "second");
    EXPECT_EQ(apps.FindMatch("c:\\x.exe", "").Index, 1);
    EXPECT_EQ(apps.IndexOfName("c:\\x.exe"), 0);
}

TEST(FindMatch, BlankAddressSkipsWebMatching) {
    TMonitoredList list;
    AddEntry(list, mitWebSite, "example.com", "web");
    EXPECT_EQ(list.FindMatch("example.com", "  ").Index, 0);  // an application-path match on the name
    EXPECT_EQ(list.FindMatch("example.com", "  ").Kind, mitApplication);
    EXPECT_EQ(list.FindMatch("C:\\a.exe", " \t").Index, -1);
}

TEST(FindMatch, PendingRemovalStillMatches) {
    TMonitoredList list;
    AddEntry(list, mitWebSite, "example.com", "web", /*active=*/false);
    EXPECT_EQ(list.FindMatch("", "example.com").Index, 0);
}

TEST(TMonitoredList, KeepsEntriesSortedIgnoringCaseWithDuplicates) {
    TMonitoredList list;
    AddEntry(list, mitApplication, "c", "charlie");
    AddEntry(list, mitApplication, "a", "Alpha");
    AddEntry(list, mitApplication, "b", "bravo");
    AddEntry(list, mitApplication, "a2", "alpha");
    EXPECT_EQ(Keys(list), (std::vector<std::string>{"alpha", "Alpha", "bravo", "charlie"}));
    // A new equal key goes before the ones already there.
    EXPECT_EQ(list.Items(0).Name, "a2");
}

TEST(TMonitoredList, PreconditionsAreAssertions) {
    TMonitoredList list;
    AddEntry(list, mitApplication, "a", "a");
    EXPECT_THROW(list.Delete(1), EAssertionFailed);
    EXPECT_THROW(list.Delete(-1), EAssertionFailed);
    EXPECT_THROW(list.Items(1), EAssertionFailed);
    EXPECT_THROW(list.Names(-1), EAssertionFailed);
    EXPECT_THROW(list.Add("x", nullptr), EAssertionFailed);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 0);
}

TEST(TMonitoredList, CapacityGrowsForBulkLoads) {
    TMonitoredList list;
    list.SetCapacity(40);
    EXPECT_GE(list.Capacity(), 40);
    AddEntry(list, mitApplication, "a", "a");
    EXPECT_EQ(list.Count(), 1);
}

TEST(Classify, ReturnsTheCodesOfTheAddCheck) {
    const std::string self = "C:\\Program Files\\Vornhalt\\Vornhalt.exe";
    TMonitoredList list;
    AddEntry(list, mitApplication, "C:\\a.exe", "a", /*active=*/true, /*selected=*/true);
    AddEntry(list, mitApplication, "C:\\b.exe", "b", /*active=*/false);
    AddEntry(list, mitApplication, "C:\\c.exe", "c", /*active=*/true, /*selected=*/false);
    AddEntry(list, mitApplication, self, "self");

    TMonitoredItem candidate;
    int index = 99;
    candidate.Name = "C:\\new.exe";
    EXPECT_EQ(list.Classify(candidate, index, self), TClassifyCode::NotOnList);
    EXPECT_EQ(index, -1);
    candidate.Name = "c:\\A.exe";
    EXPECT_EQ(list.Classify(candidate, index, self), TClassifyCode::ActiveSelected);
    EXPECT_EQ(index, 0);
    candidate.Name = "C:\\b.exe";
    EXPECT_EQ(list.Classify(candidate, index, self), TClassifyCode::Inactive);
    EXPECT_EQ(index, 1);
    candidate.Name = "C:\\c.exe";
    EXPECT_EQ(list.Classify(candidate, index, self), TClassifyCode::ActiveNotSelected);
    EXPECT_EQ(index, 2);
    // The program's own path wins even though it is on the list; index untouched.
    index = 42;
    candidate.Name = "c:\\program files\\vornhalt\\VORNHALT.EXE";
    EXPECT_EQ(list.Classify(candidate, index, self), TClassifyCode::OwnProgram);
    EXPECT_EQ(index, 42);
}

TEST(CopyFrom, AppendsFilteredCopiesOfNewNamesOnly) {
    TMonitoredList source;
    AddEntry(source, mitWebSite, "games.example.com", "Games");
    AddEntry(source, mitWebSite, "news.example.com", "News");
    AddEntry(source, mitApplication, "C:\\game.exe", "Game app");
    TMonitoredList target;
    AddEntry(target, mitApplication, "c:\\GAME.exe", "already there");

    target.CopyFrom(source, "GAME");
    EXPECT_EQ(Keys(target), (std::vector<std::string>{"already there", "Games"}));
    // Copies, not shared objects.
    target.Items(1).Caption = "changed";
    EXPECT_EQ(source.Items(1).Caption, "Games");

    TMonitoredList all;
    all.CopyFrom(source, "");
    EXPECT_EQ(all.Count(), 3);
}

TEST(AssignFiltered, ReplacesContentsByTypeAndFilter) {
    TMonitoredList source;
    AddEntry(source, mitWebSite, "example.com", "Example");
    AddEntry(source, mitApplication, "C:\\example.exe", "Example app");
    AddEntry(source, mitApplication, "C:\\other.exe", "Other");
    source.Items(0).Seconds = 120;

    TMonitoredList view;
    AddEntry(view, mitApplication, "C:\\stale.exe", "stale");
    view.AssignFiltered(source, mitApplication, "");
    EXPECT_EQ(Keys(view), (std::vector<std::string>{"Example app", "Other"}));
    view.AssignFiltered(source, mitAll, "exam");
    EXPECT_EQ(Keys(view), (std::vector<std::string>{"Example", "Example app"}));
    EXPECT_EQ(view.Items(0).Seconds, 120);
    view.AssignFiltered(source, mitWebSite, "zzz");
    EXPECT_EQ(view.Count(), 0);
}

TEST(LoadFromNameValueLines, AddsApplicationsNotYetMatched) {
    TMonitoredList list;
    AddEntry(list, mitApplication, "C:\\Known.exe", "Known");
    list.LoadFromNameValueLines({"c:\\known.exe=Again", "C:\\New.exe=New=Tool", "C:\\Bare.exe"});
    ASSERT_EQ(list.Count(), 3);
    const int i = list.IndexOfName("C:\\New.exe");
    ASSERT_NE(i, -1);
    EXPECT_EQ(list.Names(i), "New=Tool");
    EXPECT_EQ(list.Items(i).ItemType, mitApplication);
    EXPECT_TRUE(list.Items(i).Active);
    EXPECT_EQ(list.Items(list.IndexOfName("C:\\Bare.exe")).Caption, "");
}

class RecordingTarget : public IMonitoredListTarget {
public:
    void BeginUpdate() override { calls += "B"; }
    void Clear() override {
        calls += "C";
        rows.clear();
    }
    void SetCapacity(int c) override { capacity = c; }
    void Add(const std::string& text, TMonitoredItem* item) override { rows.emplace_back(text, item); }
    void EndUpdate() override { calls += "E"; }

    std::string calls;
    int capacity = -1;
    std::vector<std::pair<std::string, TMonitoredItem*>> rows;
};

TEST(FillStrings, FiltersByTypeAndClearsSelectionOfInactiveEntries) {
    TMonitoredList list;
    AddEntry(list, mitWebSite, "example.com", "Web one", /*active=*/false, /*selected=*/true);
    AddEntry(list, mitApplication, "C:\\a.exe", "App one", /*active=*/true, /*selected=*/true);
    RecordingTarget target;
    target.rows.emplace_back("old", nullptr);

    list.FillStrings(target, mitApplication);
    EXPECT_EQ(target.calls, "BCE");
    EXPECT_EQ(target.capacity, 2);
    ASSERT_EQ(target.rows.size(), 1u);
    EXPECT_EQ(target.rows[0].first, "App one");
    EXPECT_EQ(target.rows[0].second, &list.Items(0));
    // The inactive web entry lost its mark even though it was filtered out.
    EXPECT_FALSE(list.Items(1).Selected);
    EXPECT_TRUE(list.Items(0).Selected);

    list.FillStrings(target, mitAll);
    EXPECT_EQ(target.rows.size(), 2u);
}

TEST(TMonitoredItem, CopiesEveryFieldAndFormatsType) {
    TMonitoredItem a;
    a.Active = false;
    a.Caption = "Cap";
    a.ItemType = mitWebSite;
    a.Name = "example.com";
    a.Selected = true;
    a.Seconds = 5400;
    TMonitoredItem b;
    b.CopyFrom(a);
    EXPECT_FALSE(b.Active);
    EXPECT_EQ(b.Caption, "Cap");
    EXPECT_EQ(b.ItemType, mitWebSite);
    EXPECT_EQ(b.Name, "example.com");
    EXPECT_TRUE(b.Selected);
    EXPECT_EQ(b.Seconds, 5400);
    EXPECT_EQ(b.GetTypeText(), "Web");
    EXPECT_DOUBLE_EQ(b.GetDuration(), 1.5 / 24);
    EXPECT_EQ(MonitoredItemTypeText(mitAll), "all");
    EXPECT_EQ(MonitoredItemTypeText(mitApplication), "App");
}

}  // namespace
}  // namespace vh
