#include "monitor/AccessibilityDefs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Exceptions.h"
#include "doubles/FakeAccessibleObject.h"
#include "doubles/FakeWindowSystem.h"

namespace vh {
namespace {

using testing::FakeAccessibleObject;
using testing::FakeWindowSystem;
using TAccess = FakeAccessibleObject::TChildAccess;

struct TVisits {
    std::vector<std::string> Seen;  // "name@depth"
    std::string StopAt;

    static bool Record(IAccessibleObject& object, void* data, int depth) {
        auto& self = *static_cast<TVisits*>(data);
        auto& fake = static_cast<FakeAccessibleObject&>(object);
        self.Seen.push_back(fake.Name + "@" + std::to_string(depth));
        return fake.Name != self.StopAt;
    }
};

// A chain root -> d1 -> d2 -> ... -> d<levels>, each also with a leaf sibling.
std::shared_ptr<FakeAccessibleObject> Chain(int levels, TAccess access) {
    auto root = std::make_shared<FakeAccessibleObject>("root");
    root->Access = access;
    auto parent = root;
    for (int d = 1; d <= levels; ++d) {
        auto node = parent->Add(std::make_shared<FakeAccessibleObject>("d" + std::to_string(d)));
        parent->Add(std::make_shared<FakeAccessibleObject>("leaf" + std::to_string(d)));
        node->Access = access;
        parent = node;
    }
    return root;
}

class WalkAccessibleTreeTest : public ::testing::Test {
protected:
    TVisits Walk(std::shared_ptr<IAccessibleObject> root, int maxDepth, std::string stopAt = std::string()) {
        const TWindowId window = windows_.AddTopLevel("MozillaWindowClass", 1);
        windows_.At(window).Accessible = std::move(root);
        TVisits visits;
        visits.StopAt = std::move(stopAt);
        WalkAccessibleTree(windows_, window, &TVisits::Record, &visits, maxDepth);
        return visits;
    }
    FakeWindowSystem windows_;
};

TEST_F(WalkAccessibleTreeTest, VisitsInPreOrderDownToTheMaximumDepthInclusive) {
    const std::vector<std::string> expected4 = {"root@0",  "d1@1",    "d2@2",    "d3@3",   "d4@4",
                                                "leaf4@4", "leaf3@3", "leaf2@2", "leaf1@1"};
    EXPECT_EQ(Walk(Chain(10, TAccess::ChildrenAsObjects), 4).Seen, expected4);

    const TVisits deep = Walk(Chain(10, TAccess::ChildrenAsIds), 8);
    ASSERT_EQ(deep.Seen.size(), 17u);
    EXPECT_EQ(deep.Seen[8], "d8@8");
    EXPECT_EQ(deep.Seen[9], "leaf8@8");
    for (const std::string& seen : deep.Seen) EXPECT_EQ(seen.find("d9"), std::string::npos) << seen;

    EXPECT_EQ(Walk(Chain(3, TAccess::ChildrenAsObjects), 0).Seen, std::vector<std::string>{"root@0"});
}

TEST_F(WalkAccessibleTreeTest, AFalseVisitorResultEndsTheWholeWalk) {
    const TVisits visits = Walk(Chain(6, TAccess::ChildrenAsObjects), 8, "d2");
    const std::vector<std::string> expected = {"root@0", "d1@1", "d2@2"};
    EXPECT_EQ(visits.Seen, expected);  // no leaf2, leaf1 or deeper levels after the stop
}

TEST_F(WalkAccessibleTreeTest, EachWayOfReachingChildrenGivesTheSameWalk) {
    const std::vector<std::string> expected = {"root@0", "d1@1", "d2@2", "leaf2@2", "leaf1@1"};
    for (TAccess access : {TAccess::ChildrenAsObjects, TAccess::ChildrenAsIds, TAccess::Enumerator, TAccess::Navigation,
                           TAccess::NavigationObjects}) {
        EXPECT_EQ(Walk(Chain(2, access), 4).Seen, expected) << static_cast<int>(access);
    }
}

TEST_F(WalkAccessibleTreeTest, TriesAccessibleChildrenThenTheEnumeratorThenNavigation) {
    std::vector<std::string> log;
    auto root = std::make_shared<FakeAccessibleObject>("root", &log);
    root->Add(std::make_shared<FakeAccessibleObject>("a"));
    root->Access = TAccess::Navigation;
    Walk(root, 4);
    const std::vector<std::string> expected = {"root.count",    "root.children", "root.enumerator",
                                               "root.navigate", "root.child",    "root.navigate"};
    EXPECT_EQ(log, expected);

    log.clear();
    root->Access = TAccess::Enumerator;
    Walk(root, 4);
    EXPECT_EQ(log, (std::vector<std::string>{"root.count", "root.children", "root.enumerator"}));

    log.clear();
    root->Access = TAccess::ChildrenAsObjects;
    Walk(root, 4);
    EXPECT_EQ(log, (std::vector<std::string>{"root.count", "root.children"}));
}

TEST_F(WalkAccessibleTreeTest, SkipsWhatCannotBeReached) {
    auto root = std::make_shared<FakeAccessibleObject>("root");
    root->Access = TAccess::ChildrenAsIds;
    root->ChildCountOverride = 3;  // claims more than it can hand out
    root->Add(std::make_shared<FakeAccessibleObject>("a"));
    EXPECT_EQ(Walk(root, 4).Seen, (std::vector<std::string>{"root@0", "a@1"}));

    auto silent = std::make_shared<FakeAccessibleObject>("silent");
    silent->Access = TAccess::Nothing;
    silent->Add(std::make_shared<FakeAccessibleObject>("hidden"));
    EXPECT_EQ(Walk(silent, 4).Seen, std::vector<std::string>{"silent@0"});

    auto failingCount = std::make_shared<FakeAccessibleObject>("nocount");
    failingCount->ChildCountOverride = 0;
    failingCount->Add(std::make_shared<FakeAccessibleObject>("unseen"));
    EXPECT_EQ(Walk(failingCount, 4).Seen, std::vector<std::string>{"nocount@0"});

    EXPECT_TRUE(Walk(nullptr, 4).Seen.empty());  // the window has no accessible object
}

TEST_F(WalkAccessibleTreeTest, AnEnumerationThatNeverEndsIsBoundedByTheChildCount) {
    auto endless = Chain(1, TAccess::Enumerator);
    endless->EndlessEnumerator = true;
    EXPECT_EQ(Walk(endless, 1).Seen, (std::vector<std::string>{"root@0", "d1@1", "d1@1"}));

    auto circular = Chain(1, TAccess::Navigation);
    circular->CircularNavigation = true;
    EXPECT_EQ(Walk(circular, 1).Seen, (std::vector<std::string>{"root@0", "d1@1", "leaf1@1"}));

    auto circularObjects = Chain(1, TAccess::NavigationObjects);
    circularObjects->CircularNavigation = true;
    EXPECT_EQ(Walk(circularObjects, 1).Seen, (std::vector<std::string>{"root@0", "d1@1", "leaf1@1"}));
}

TEST_F(WalkAccessibleTreeTest, AWildChildCountIsCappedBeforeItSizesAnything) {
    auto root = Chain(1, TAccess::ChildrenAsIds);
    root->ChildCountOverride = 0x7FFFFFFF;
    EXPECT_EQ(Walk(root, 1).Seen, (std::vector<std::string>{"root@0", "d1@1", "leaf1@1"}));
    EXPECT_EQ(root->LastChildrenCount, kMaxAccessibleChildren);

    auto endless = Chain(1, TAccess::Enumerator);
    endless->EndlessEnumerator = true;
    endless->ChildCountOverride = 0x7FFFFFFF;
    EXPECT_EQ(Walk(endless, 1).Seen.size(), static_cast<size_t>(kMaxAccessibleChildren) + 1);
}

TEST_F(WalkAccessibleTreeTest, NavigationStopsWhenTheNextChildEqualsThePreviousOne) {
    // One child whose "next" is itself: it is visited once.
    auto root = Chain(0, TAccess::Navigation);
    root->Add(std::make_shared<FakeAccessibleObject>("only"));
    root->CircularNavigation = true;
    root->ChildCountOverride = 5;
    EXPECT_EQ(Walk(root, 2).Seen, (std::vector<std::string>{"root@0", "only@1"}));
}

TEST_F(WalkAccessibleTreeTest, AssertsThatAVisitorIsGiven) {
    const TWindowId window = windows_.AddTopLevel("MozillaWindowClass", 1);
    EXPECT_THROW(WalkAccessibleTree(windows_, window, nullptr, nullptr, 4), EAssertionFailed);
}

}  // namespace
}  // namespace vh
