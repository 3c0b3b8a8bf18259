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
    EXPECT_FALSE(Logged(log_, "back.count")) << "a button's children were asked for";
}

TEST_F(BrowserAddressReaderTest, AWalkCutAfterTheFieldTakesItAndTheNextWalksGoOnForTheDocument) {
    // Ten calls per read; panes before the document take more than one read.
    tick_ = 5ms;
    for (int i = 0; i < 4; ++i)
        tree_.contents->Kids.insert(tree_.contents->Kids.begin(), tree_.Node("info bar", kRoleSystemPane));
    std::vector<std::string> addresses;
    for (int reads = 0; reads < 40 && address_ != "https://www.example.com/page"; ++reads) {
        const TAddressRead read = Read();
        EXPECT_TRUE(read == TAddressRead::Cut || read == TAddressRead::Walked || read == TAddressRead::Remembered);
        if (addresses.empty() || addresses.back() != address_) addresses.push_back(address_);
    }
    // Nothing, then the field's text, then the document's full address.
    EXPECT_EQ(addresses, (std::vector<std::string>{"", "www.example.com/page", "https://www.example.com/page"}));
    for (const char* call : {"root.count", "client.count", "browser.count", "contents.count"})
        EXPECT_EQ(std::count(log_.begin(), log_.end(), call), 1) << call << " read twice";
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

// What the tree holds besides the shown page, and what a walk makes of it.
TEST_F(BrowserAddressReaderTest, AWalkTakesOnlyTheShownPagesDocument) {
    struct TCase {
        const char* what;
        // Changes the tree of a fresh fixture.
        void (*change)(TBrowserTree& tree);
        TAddressRead read;
        const char* address;
    };
    const TCase cases[] = {
        {"a background tab's document, offscreen, before the shown one",
         [](TBrowserTree& tree) {
             auto background = tree.Node("background", kRoleSystemDocument);
             background->ValueText = "https://background.example.org/";
             background->StateValue = kStateSystemOffscreen;
             tree.contents->Kids.insert(tree.contents->Kids.begin(), background);
         },
         TAddressRead::Walked, "https://www.example.com/page"},
        {"a hidden document before the shown one",
         [](TBrowserTree& tree) {
             auto hidden = tree.Node("hidden", kRoleSystemDocument);
             hidden->ValueText = "https://hidden.example.org/";
             hidden->StateValue = kStateSystemInvisible;
             tree.contents->Kids.insert(tree.contents->Kids.begin(), hidden);
         },
         TAddressRead::Walked, "https://www.example.com/page"},
        {"DevTools' document before the page's",
         [](TBrowserTree& tree) {
             auto devTools = tree.Node("devtools", kRoleSystemDocument);
             devTools->ValueText = "devtools://devtools/bundled/devtools_app.html";
             devTools->Add(tree.Node("panel", kRoleSystemGrouping));
             tree.contents->Kids.insert(tree.contents->Kids.begin(), devTools);
         },
         TAddressRead::Walked, "https://www.example.com/page"},
        {"the interface's document holding the page's (Vivaldi)",
         [](TBrowserTree& tree) {
             auto page = tree.contents->Kids.back();
             auto ui = tree.Node("interface", kRoleSystemDocument);
             ui->ValueText = "chrome-extension://mpognobbkildjkofajifpdfhcoklimli/browser.html";
             ui->Add(tree.Node("webview", kRoleSystemPane))->Add(page);
             tree.contents->Kids = {ui};
         },
         TAddressRead::Walked, "https://www.example.com/page"},
        {"only the browser's own page: the field", [](TBrowserTree& tree) { tree.document->ValueText = "about:blank"; },
         TAddressRead::Walked, "www.example.com/page"},
        {"the document not built yet and the user typing in the field",
         [](TBrowserTree& tree) {
             tree.document->ValueText = "";
             tree.omnibox->ValueText = "exam";
             tree.omnibox->StateValue = kStateSystemFocusable | kStateSystemFocused;
         },
         TAddressRead::FieldInUse, ""},
        {"the user typing in the field over a built document",
         [](TBrowserTree& tree) {
             tree.omnibox->ValueText = "exam";
             tree.omnibox->StateValue = kStateSystemFocusable | kStateSystemFocused;
         },
         TAddressRead::Walked, "https://www.example.com/page"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> log;
        TBrowserTree tree(&log);
        c.change(tree);
        FakeWindowSystem windows;
        const TWindowId window = windows.AddTopLevel("Chrome_WidgetWin_1", 1);
        windows.At(window).Accessible = tree.root;
        TBrowserAddressReader reader(windows);
        std::string address = "left over";
        EXPECT_EQ(reader.Read(window, address), c.read);
        EXPECT_EQ(address, c.address);
        // Read again where it was found, with the same result.
        EXPECT_EQ(reader.Read(window, address), c.read == TAddressRead::Walked ? TAddressRead::Remembered : c.read);
        EXPECT_EQ(address, c.address);
    }
}

TEST_F(BrowserAddressReaderTest, AnEmptyRenderDocumentLeavesTheFieldAndSidePanelListsAreNotRead) {
    auto panel = tree_.contents->Kids.front();  // the document, not built yet
    panel->ValueText = "";
    // A side panel's list before the toolbar.
    auto list = tree_.Node("reading list", kRoleSystemList);
    for (int i = 0; i < 50; ++i) list->Add(tree_.Node("entry", kRoleSystemListItem));
    auto& browser = tree_.root->Kids[1]->Kids[0]->Kids;
    browser.insert(browser.begin() + 1, list);
    const TWindowId render = windows_.AddChild(window_, "Chrome_RenderWidgetHostHWND");
    windows_.At(render).Accessible = panel;
    EXPECT_EQ(reader_.Read(window_, address_, kAddressWalkBudget, {render}), TAddressRead::Walked);
    EXPECT_EQ(address_, "www.example.com/page");
    EXPECT_FALSE(Logged(log_, "reading list.count"));
    EXPECT_FALSE(Logged(log_, "entry.role"));
}

TEST_F(BrowserAddressReaderTest, AWalkStartsFromTheObjectTheBrowserAnswersForItsClient) {
    // The system's window object, with no children under Wine.
    windows_.At(window_).WindowObject = tree_.Node("system window", 9);
    EXPECT_EQ(Read(), TAddressRead::Walked);
    EXPECT_EQ(address_, "https://www.example.com/page");
    EXPECT_FALSE(Logged(log_, "system window.count"));
}

// Render windows in the system's order: the first that holds a shown page's
// document gives the address, without a walk of the browser's tree.
TEST_F(BrowserAddressReaderTest, TheRenderWindowsDocumentIsReadBeforeAnyWalk) {
    struct TCase {
        const char* what;
        const char* firstValue;  // of the first render window's document
        std::int32_t firstState;
    };
    const TCase cases[] = {
        {"the page's alone", nullptr, 0},
        {"DevTools' first", "devtools://devtools/bundled/devtools_app.html", 0},
        {"Vivaldi's interface first", "chrome-extension://mpognobbkildjkofajifpdfhcoklimli/browser.html", 0},
        {"a hidden tab's first", "https://hidden.example.org/", kStateSystemInvisible},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        log_.clear();
        std::vector<TWindowId> renderWindows;
        if (c.firstValue != nullptr) {
            const TWindowId first = windows_.AddChild(window_, "Chrome_RenderWidgetHostHWND");
            auto document = tree_.Node("first document", kRoleSystemDocument);
            document->ValueText = c.firstValue;
            document->StateValue = c.firstState;
            windows_.At(first).Accessible = document;
            renderWindows.push_back(first);
        }
        const TWindowId page = windows_.AddChild(window_, "Chrome_RenderWidgetHostHWND");
        windows_.At(page).Accessible = tree_.document;
        renderWindows.push_back(page);
        EXPECT_EQ(reader_.Read(window_, address_, kAddressWalkBudget, renderWindows), TAddressRead::Document);
        EXPECT_EQ(address_, "https://www.example.com/page");
        EXPECT_FALSE(Logged(log_, "root.child")) << "the browser's tree was walked";
    }
}

TEST_F(BrowserAddressReaderTest, AnEmptyRenderDocumentHasItsNameReadAndTheFieldServesUntilItIsBuilt) {
    const TWindowId page = windows_.AddChild(window_, "Chrome_RenderWidgetHostHWND");
    auto pageDocument = tree_.Node("page document", kRoleSystemDocument);
    pageDocument->ValueText = "";
    windows_.At(page).Accessible = pageDocument;
    tree_.document->ValueText = "";  // the same, in the browser's tree

    EXPECT_EQ(reader_.Read(window_, address_, kAddressWalkBudget, {page}), TAddressRead::Walked);
    EXPECT_EQ(address_, "www.example.com/page");
    EXPECT_EQ(pageDocument->NameReads, 1) << "Chromium starts its page accessibility on a name read";

    // Built: the document is read at once, and the walk is no longer needed.
    pageDocument->ValueText = "https://www.example.com/page";
    log_.clear();
    EXPECT_EQ(reader_.Read(window_, address_, kAddressWalkBudget, {page}), TAddressRead::Document);
    EXPECT_EQ(address_, "https://www.example.com/page");
    EXPECT_FALSE(Logged(log_, "root.child"));
}

TEST_F(BrowserAddressReaderTest, ARememberedAddressFieldGivesWayToTheDocumentOnceItIsThere) {
    tree_.document->ValueText = "";  // Firefox: the content process has not answered yet
    EXPECT_EQ(Read(), TAddressRead::Walked);
    EXPECT_EQ(address_, "www.example.com/page");
    EXPECT_EQ(Read(), TAddressRead::Remembered);
    EXPECT_EQ(address_, "www.example.com/page");

    tree_.document->ValueText = "https://www.example.com/page";
    EXPECT_EQ(Read(), TAddressRead::Walked);
    EXPECT_EQ(address_, "https://www.example.com/page");
    log_.clear();
    EXPECT_EQ(Read(), TAddressRead::Remembered);
    EXPECT_EQ(address_, "https://www.example.com/page");
    EXPECT_FALSE(Logged(log_, "toolbar.child")) << "the field is still read";
}

TEST_F(BrowserAddressReaderTest, TheOldFirefoxWalkKeepsTheBudgetAndItsPlace) {
    // Old Firefox: a text with the address and its scheme, 4 levels deep at
    // most, below the content window's OBJID_WINDOW object.
    auto root = tree_.Node("old root", 9);
    root->Add(tree_.Node("blank", kRoleSystemText))->ValueText = "about:blank";
    auto parent = root;
    for (int depth = 1; depth < 4; ++depth) parent = parent->Add(tree_.Node("group", kRoleSystemGrouping));
    parent->Add(tree_.Node("url", kRoleSystemText))->ValueText = "https://www.example.com/old";
    const TWindowId content = windows_.AddChild(window_, "MozillaWindowClass");
    windows_.At(content).WindowObject = root;

    tick_ = 10ms;
    int reads = 0;
    TAddressRead result = TAddressRead::Cut;
    while (result == TAddressRead::Cut && reads < 10) {
        result = reader_.ReadOldFirefox(content, address_);
        ++reads;
    }
    EXPECT_EQ(result, TAddressRead::Walked);
    EXPECT_GT(reads, 1) << "the budget did not hold";
    EXPECT_EQ(address_, "https://www.example.com/old");
    log_.clear();
    EXPECT_EQ(reader_.ReadOldFirefox(content, address_), TAddressRead::Remembered);
    EXPECT_EQ(address_, "https://www.example.com/old");
    EXPECT_EQ(log_.size(), 4u) << "one call per level";

    // A text at depth 5 is out of reach, as it always was.
    parent->Kids.clear();
    parent->Add(tree_.Node("group", kRoleSystemGrouping))->Add(tree_.Node("url", kRoleSystemText))->ValueText =
        "https://www.example.com/deep";
    tick_ = 0ms;
    EXPECT_EQ(reader_.ReadOldFirefox(content, address_), TAddressRead::NotFound);
    EXPECT_EQ(address_, "");
}

TEST(BrowserOwnAddress, TheBrowsersOwnPagesAreNoWebPages) {
    for (const char* own : {"chrome-extension://mpognobbkildjkofajifpdfhcoklimli/browser.html", "chrome://newtab/",
                            "about:blank", "About:Home", "vivaldi://startpage", "edge://settings",
                            "moz-extension://1234/popup.html", "devtools://devtools/bundled/devtools_app.html"})
        EXPECT_TRUE(IsBrowserOwnAddress(own)) << own;
    for (const char* page : {"https://www.example.com/", "http://about.example.com/", "example.com/chrome://",
                             "https://chrome.google.com/webstore", ""})
        EXPECT_FALSE(IsBrowserOwnAddress(page)) << page;
}

}  // namespace
}  // namespace vh
