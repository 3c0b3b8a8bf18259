#include "monitor/BrowserAddressReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "doubles/FakeAccessibleObject.h"
#include "doubles/FakeWindowSystem.h"
#include "model/MonitoredObjects.h"
#include "monitor/AccessibilityDefs.h"

namespace vh {
namespace {

using namespace std::chrono_literals;
using testing::FakeAccessibleObject;
using testing::FakeWindowSystem;

// A browser window's tree as Chromium lays it out: a title bar, tabs, a
// toolbar with the address field (no scheme) and, deeper, the web document
// (the full address) with the page below it.
struct TBrowserTree {
    explicit TBrowserTree(std::vector<std::string>* log) : log_(log) {
        root = Node("root", 9);
        root->Add(Node("titlebar", kRoleSystemTitleBar));
        auto client = root->Add(Node("client", 10));
        auto browser = client->Add(Node("browser", kRoleSystemPane));
        auto tabs = browser->Add(Node("tabstrip", kRoleSystemPane));
        auto tabList = tabs->Add(Node("tablist", kRoleSystemPageTabList));
        for (int i = 0; i < 3; ++i) tabList->Add(Node("tab", kRoleSystemPageTab));
        tabs->Add(Node("newtab", kRoleSystemPushButton));
        auto toolbar = browser->Add(Node("toolbar", kRoleSystemToolBar));
        toolbar->Add(Node("back", kRoleSystemPushButton));
        omnibox = toolbar->Add(Node("location", kRoleSystemGrouping))->Add(Node("omnibox", kRoleSystemText));
        omnibox->ValueText = "www.example.com/page";
        contents = browser->Add(Node("contents", kRoleSystemPane));
        document = contents->Add(Node("document", kRoleSystemDocument));
        document->ValueText = "https://www.example.com/page";
        document->StateValue = 0;
        document->Add(Node("paragraph", kRoleSystemGrouping))->Add(Node("page text", kRoleSystemText));
    }

    std::shared_ptr<FakeAccessibleObject> Node(const std::string& name, std::int32_t role) const {
        auto node = std::make_shared<FakeAccessibleObject>(name, log_);
        node->RoleValue = role;
        return node;
    }

    std::shared_ptr<FakeAccessibleObject> root, omnibox, contents, document;

private:
    std::vector<std::string>* log_;
};

bool Logged(const std::vector<std::string>& log, const std::string& call) {
    return std::find(log.begin(), log.end(), call) != log.end();
}

class BrowserAddressReaderTest : public ::testing::Test {
protected:
    BrowserAddressReaderTest() {
        window_ = windows_.AddTopLevel("Chrome_WidgetWin_1", 1);
        windows_.At(window_).Accessible = tree_.root;
    }

    TAddressRead Read() { return reader_.Read(window_, address_); }

    std::vector<std::string> log_;
    TBrowserTree tree_{&log_};
    FakeWindowSystem windows_;
    TWindowId window_ = 0;
    // Time passes with the calls that reach the tree's children: tick_ each.
    std::chrono::milliseconds tick_{0};
    TBrowserAddressReader reader_{
        windows_, [this] { return std::chrono::steady_clock::time_point{} + tick_ * static_cast<int>(log_.size()); }};
    std::string address_;
};

TEST_F(BrowserAddressReaderTest, AWalkTakesTheDocumentAndReadsNeitherTabsNorThePage) {
    EXPECT_EQ(Read(), TAddressRead::Walked);
    EXPECT_EQ(address_, "https://www.example.com/page");
    EXPECT_TRUE(reader_.Remembers(window_));
    EXPECT_FALSE(Logged(log_, "tablist.count"));
    EXPECT_FALSE(Logged(log_, "document.count"));
    EXPECT_FALSE(Logged(log_, "toolbar.count")) << "the toolbar is only the fallback";
}

TEST_F(BrowserAddressReaderTest, TheRememberedPlaceIsReadAloneUntilItFails) {
    ASSERT_EQ(Read(), TAddressRead::Walked);
    log_.clear();
    // Hit: the same place, read with one call per level, shows the new page.
    tree_.document->ValueText = "https://other.org/";
    EXPECT_EQ(Read(), TAddressRead::Remembered);
    EXPECT_EQ(address_, "https://other.org/");
    EXPECT_EQ(log_, (std::vector<std::string>{"root.child", "client.child", "browser.child", "contents.child"}));

    // Stale: a navigation put an info bar before the document, whose old
    // place now holds a pane. The walk finds it again and remembers it anew.
    tree_.contents->Kids.insert(tree_.contents->Kids.begin(), tree_.Node("infobar", kRoleSystemPane));
    tree_.document->ValueText = "https://www.example.com/next";
    EXPECT_EQ(Read(), TAddressRead::Walked);
    EXPECT_EQ(address_, "https://www.example.com/next");
    EXPECT_EQ(Read(), TAddressRead::Remembered);
    EXPECT_EQ(address_, "https://www.example.com/next");

    // Miss: the tab switched to one whose document is hidden in the tree.
    tree_.document->StateValue = kStateSystemInvisible;
    auto shown = tree_.contents->Add(tree_.Node("other tab", kRoleSystemDocument));
    shown->ValueText = "https://shown.example.net/";
    EXPECT_EQ(Read(), TAddressRead::Walked);
    EXPECT_EQ(address_, "https://shown.example.net/");
}

TEST_F(BrowserAddressReaderTest, WithoutADocumentTheAddressFieldIsTakenAndMatchesTheSame) {
    tree_.contents->Kids.clear();
    EXPECT_EQ(Read(), TAddressRead::Walked);
    EXPECT_EQ(address_, "www.example.com/page");
    EXPECT_EQ(Read(), TAddressRead::Remembered);

    // The two forms of one address are the same once normalised.
    EXPECT_EQ(NormalizeAddress(address_), "example.com/page");
    EXPECT_EQ(NormalizeAddress("https://www.example.com/page"), "example.com/page");
    for (const char* shown : {"www.example.com/page", "https://www.example.com/page", "example.com/page"}) {
        EXPECT_TRUE(WebSiteMatches("example.com", shown)) << shown;
        EXPECT_TRUE(WebSiteMatches("www.example.com/page", shown)) << shown;
    }
    for (const char* shown : {"other.org/", "https://other.org/", "https://other.org/?u=example.com"})
        EXPECT_FALSE(WebSiteMatches("example.com", shown)) << shown;
}

TEST_F(BrowserAddressReaderTest, ATreeNotBuiltYetGivesNothingAndIsReadAgainLater) {
    auto bare = tree_.Node("bare root", 9);
    windows_.At(window_).Accessible = bare;
    EXPECT_EQ(Read(), TAddressRead::NotFound);
    EXPECT_EQ(address_, "");
    EXPECT_FALSE(reader_.Remembers(window_));
    windows_.At(window_).Accessible = tree_.root;
    EXPECT_EQ(Read(), TAddressRead::Walked);
}

TEST_F(BrowserAddressReaderTest, AWalkOverItsBudgetRecordsNothingAndTheNextGoesOnFromThere) {
    tick_ = 10ms;
    address_ = "left over";
    EXPECT_EQ(Read(), TAddressRead::Cut);
    EXPECT_EQ(address_, "");
    EXPECT_FALSE(reader_.Remembers(window_));
    EXPECT_FALSE(Logged(log_, "contents.count")) << "the walk went on past its budget";

    // Each later walk goes on where the last one stopped: no object is
    // fetched or counted twice, and the document is reached in the end.
    int reads = 1;
    TAddressRead result = TAddressRead::Cut;
    while (result == TAddressRead::Cut && reads < 10) {
        result = Read();
        ++reads;
    }
    EXPECT_EQ(result, TAddressRead::Walked);
    EXPECT_GT(reads, 2);
    EXPECT_EQ(address_, "https://www.example.com/page");
    for (const char* call : {"root.count", "client.count", "browser.count", "tabstrip.count", "contents.count"})
        EXPECT_EQ(std::count(log_.begin(), log_.end(), call), 1) << call;
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "root.child"), 2);
}

TEST_F(BrowserAddressReaderTest, TheWalkStopsAtItsDepth) {
    auto deep = tree_.Node("deep root", 9);
    auto parent = deep;
    for (int depth = 1; depth < kAddressWalkMaxDepth + 1; ++depth) parent = parent->Add(tree_.Node("level", 20));
    // At depth kAddressWalkMaxDepth + 1: out of reach.
    parent->Add(tree_.Node("too deep", kRoleSystemDocument))->ValueText = "https://deep.example.com/";
    windows_.At(window_).Accessible = deep;
    EXPECT_EQ(Read(), TAddressRead::NotFound);

    parent->ValueText = "https://reachable.example.com/";
    parent->RoleValue = kRoleSystemDocument;
    EXPECT_EQ(Read(), TAddressRead::Walked);
    EXPECT_EQ(address_, "https://reachable.example.com/");
}

}  // namespace
}  // namespace vh
