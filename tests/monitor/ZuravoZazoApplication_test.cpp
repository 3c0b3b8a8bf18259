#include "monitor/ZuravoZazoApplication.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/Exceptions.h"
#include "doubles/FakeAccessibleObject.h"
#include "doubles/FakeWindowSystem.h"
#include "environment/Trace.h"
#include "monitor/AccessibilityDefs.h"
#include "monitor/BrowserRecognition.h"

namespace vh {
namespace {

using testing::FakeAccessibleObject;
using testing::FakeWindowSystem;
using testing::MakeAccessible;

constexpr std::int32_t kOperaState = kStateSystemFocusable | kStateSystemHotTracked;

void AddEntry(TMonitoredList& list, TMonitoredItemType type, const std::string& name, const std::string& caption) {
    auto item = std::make_unique<TMonitoredItem>();
    item->ItemType = type;
    item->Name = name;
    item->Caption = caption;
    list.Add(caption, std::move(item));
}

class ProbeTest : public ::testing::Test {
protected:
    // A top-level window of process `pid` whose image is C:\Apps\<exe>.
    TWindowId AddWindow(std::uint32_t pid, const std::string& exe, const std::string& className = "AppWindow") {
        windows_.SetImage(pid, "\\Device\\HarddiskVolume1\\Apps\\" + exe);
        return windows_.AddTopLevel(className, pid);
    }
    TZuravoZazoApplication& ProbeForeground(TWindowId window) {
        windows_.Foreground = window;
        probe_.Execute(false, nullptr);
        return probe_;
    }
    // A Firefox-like window: a MozillaWindowClass child with the given tree.
    TWindowId AddFirefox(std::shared_ptr<IAccessibleObject> tree, std::uint32_t pid = 20) {
        const TWindowId top = AddWindow(pid, "firefox.exe", "MozillaWindowClass");
        const TWindowId content = windows_.AddChild(top, "MozillaWindowClass");
        windows_.At(content).Accessible = std::move(tree);
        return top;
    }
    TWindowId AddOpera(std::shared_ptr<IAccessibleObject> tree) {
        const TWindowId top = AddWindow(30, "opera.exe");
        const TWindowId content = windows_.AddChild(top, "OperaWindowClass");
        windows_.At(content).Accessible = std::move(tree);
        return top;
    }

    FakeWindowSystem windows_;
    TZuravoZazoApplication probe_{windows_};
};

TEST_F(ProbeTest, ADesktopApplicationGivesItsPathAndNoAddress) {
    const TWindowId window = AddWindow(7, "Edit.exe");
    windows_.AddChild(window, "Edit", "https://typed.into.an.editor");
    auto& probe = ProbeForeground(window);
    EXPECT_TRUE(probe.Probed);
    EXPECT_EQ(probe.Window, window);
    EXPECT_EQ(probe.ApplicationPath, "C:\\Apps\\Edit.exe");
    EXPECT_EQ(probe.Kind, akDesktop);
    EXPECT_EQ(probe.GetKindText(), "Desktop Application");
    EXPECT_EQ(probe.Address, "");
}

TEST_F(ProbeTest, KindTexts) {
    EXPECT_EQ(ApplicationKindText(akDesktop), "Desktop Application");
    EXPECT_EQ(ApplicationKindText(akInternetExplorer), "MS Internet Explorer");
    EXPECT_EQ(ApplicationKindText(akFirefox), "Mozila FireFox");
    EXPECT_EQ(ApplicationKindText(akChrome), "Google Chrome");
    EXPECT_EQ(ApplicationKindText(akOpera), "Opera");
}

TEST_F(ProbeTest, ChromeGivesTheAddressFieldTextAsShown) {
    const TWindowId window = AddWindow(8, "chrome.exe", "Chrome_WidgetWin_1");
    const TWindowId pane = windows_.AddChild(window, "Chrome_RenderWidgetHostHWND");
    windows_.AddChild(pane, "Chrome_AutocompleteEditView", "example.com/page");
    windows_.AddChild(window, "Chrome_AutocompleteEditView", "second.example.org");
    auto& probe = ProbeForeground(window);
    EXPECT_EQ(probe.Kind, akChrome);
    EXPECT_EQ(probe.GetKindText(), "Google Chrome");
    EXPECT_EQ(probe.Address, "example.com/page");

    TMonitoredList list;
    AddEntry(list, mitWebSite, "example.com", "Example");
    int index = -1;
    TMonitoredItemType kind = mitAll;
    std::string caption = "stale";
    EXPECT_TRUE(probe.IsOnList(&list, index, kind, &caption));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(kind, mitWebSite);
    EXPECT_EQ(caption, "Example");
}

TEST_F(ProbeTest, InternetExplorerReadsTheFirstEditAfterItsMarker) {
    const TWindowId window = AddWindow(9, "iexplore.exe", "IEFrame");
    windows_.AddChild(window, "Edit", "search box before the marker");
    const TWindowId band = windows_.AddChild(window, "Address Band Root");
    windows_.AddChild(band, "Edit", "http://www.example.com/");
    windows_.AddChild(window, "Edit", "a later edit");
    auto& probe = ProbeForeground(window);
    EXPECT_EQ(probe.Kind, akInternetExplorer);
    EXPECT_EQ(probe.Address, "http://www.example.com/");

    const TWindowId older = AddWindow(10, "iexplore.exe", "IEFrame");
    windows_.AddChild(older, "AddressDisplay Control");
    windows_.AddChild(older, "ComboBox");
    windows_.AddChild(older, "Edit", "https://old.example.net");
    EXPECT_EQ(ProbeForeground(older).Address, "https://old.example.net");

    const TWindowId markerOnly = AddWindow(11, "iexplore.exe", "IEFrame");
    windows_.AddChild(markerOnly, "Edit", "before");
    windows_.AddChild(markerOnly, "Address Band Root");
    auto& noEdit = ProbeForeground(markerOnly);
    EXPECT_EQ(noEdit.Kind, akInternetExplorer);
    EXPECT_EQ(noEdit.Address, "");
}

TEST_F(ProbeTest, FirefoxTakesTheFirstTextObjectWithASchemeAndSkipsAboutBlank) {
    auto root = MakeAccessible("root", 9);
    auto toolbar = root->Add(MakeAccessible("toolbar", 22));
    toolbar->Add(MakeAccessible("blank", kRoleSystemText, "about:blank"));
    toolbar->Add(MakeAccessible("link", 30, "https://not.a.text.object"));
    toolbar->Add(MakeAccessible("norole", std::nullopt, "https://no.role"));
    toolbar->Add(MakeAccessible("upper", kRoleSystemText, "HTTP://upper.case"));
    toolbar->Add(MakeAccessible("address", kRoleSystemText, "https://www.example.com/a"));
    toolbar->Add(MakeAccessible("later", kRoleSystemText, "ftp://later.example.com"));
    auto& probe = ProbeForeground(AddFirefox(root));
    EXPECT_EQ(probe.Kind, akFirefox);
    EXPECT_EQ(probe.GetKindText(), "Mozila FireFox");
    EXPECT_EQ(probe.Address, "https://www.example.com/a");
}

TEST_F(ProbeTest, FirefoxAddressesKeepTextOutsideTheCodePage) {
    auto root = MakeAccessible("root", 9);
    root->Add(MakeAccessible("address", kRoleSystemText,
                             "https://\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84/"));
    EXPECT_EQ(ProbeForeground(AddFirefox(root)).Address,
              "https://\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84/");
}

TEST_F(ProbeTest, FirefoxLooksNoDeeperThanFour) {
    auto root = MakeAccessible("root", 9);
    auto parent = root;
    for (int depth = 1; depth <= 5; ++depth) {
        parent = parent->Add(MakeAccessible("level" + std::to_string(depth), 20));
        if (depth >= 4)
            parent->Add(MakeAccessible("text", kRoleSystemText, "http://depth" + std::to_string(depth + 1)));
    }
    // The text under level 4 sits at depth 5: out of reach.
    EXPECT_EQ(ProbeForeground(AddFirefox(root)).Address, "");

    auto shallow = MakeAccessible("root", 9);
    shallow->Add(MakeAccessible("a", 20))
        ->Add(MakeAccessible("b", 20))
        ->Add(MakeAccessible("c", 20))
        ->Add(MakeAccessible("text", kRoleSystemText, "http://depth4"));
    EXPECT_EQ(ProbeForeground(AddFirefox(shallow, 21)).Address, "http://depth4");
}

TEST_F(ProbeTest, OperaNeedsTheExactStateAndReachesDepthEight) {
    auto root = MakeAccessible("root", 9);
    auto parent = root;
    for (int depth = 1; depth <= 7; ++depth) parent = parent->Add(MakeAccessible("level", 20));
    parent->Add(MakeAccessible("focused", kRoleSystemText, "http://focused", kOperaState | kStateSystemFocused));
    parent->Add(MakeAccessible("nostate", kRoleSystemText, "http://nostate"));
    parent->Add(MakeAccessible("address", kRoleSystemText, "https://opera.example.com", kOperaState));
    auto& probe = ProbeForeground(AddOpera(root));
    EXPECT_EQ(probe.Kind, akOpera);
    EXPECT_EQ(probe.GetKindText(), "Opera");
    EXPECT_EQ(probe.Address, "https://opera.example.com");
}

TEST_F(ProbeTest, TheFirstBrowserChildDecidesAndEndsTheChildSearch) {
    const TWindowId window = AddWindow(12, "mixed.exe");
    windows_.AddChild(window, "Chrome_AutocompleteEditView", "chrome.example.com");
    const TWindowId firefox = windows_.AddChild(window, "MozillaWindowClass");
    windows_.At(firefox).ThrowOnClassName = true;  // reading it would fail the probe
    auto& probe = ProbeForeground(window);
    EXPECT_EQ(probe.Kind, akChrome);
    EXPECT_EQ(probe.Address, "chrome.example.com");
}

TEST_F(ProbeTest, AProcessThatCannotBeOpenedNeverMatches) {
    const TWindowId window = windows_.AddTopLevel("Elevated", 13);
    windows_.SetImageError(13, "Access is denied.");
    auto& probe = ProbeForeground(window);
    EXPECT_EQ(probe.ApplicationPath, "Error: Access is denied.");

    TMonitoredList list;
    AddEntry(list, mitApplication, "Error: Access is denied.x", "Almost");
    AddEntry(list, mitApplication, "", "Empty name");
    int index = 5;
    TMonitoredItemType kind = mitAll;
    EXPECT_FALSE(probe.IsOnList(&list, index, kind));
    EXPECT_EQ(index, -1);
    windows_.AddChild(window, "Nothing");
    probe_.Execute(true, &list);
    EXPECT_TRUE(windows_.Closed.empty());
}

TEST_F(ProbeTest, NoForegroundWindowReadsNoOtherWindow) {
    auto root = MakeAccessible("root", 9);
    root->Add(MakeAccessible("address", kRoleSystemText, "https://background.example.com"));
    AddFirefox(root);
    auto& probe = ProbeForeground(0);
    EXPECT_TRUE(probe.Probed);
    EXPECT_EQ(probe.Window, 0u);
    EXPECT_EQ(probe.Kind, akDesktop);
    EXPECT_EQ(probe.Address, "");
}

TEST_F(ProbeTest, IsOnListClearsTheCaptionAndAssertsAList) {
    const TWindowId window = AddWindow(14, "Game.exe");
    auto& probe = ProbeForeground(window);
    TMonitoredList list;
    AddEntry(list, mitApplication, "c:\\apps\\game.exe", "Game");
    int index = -1;
    TMonitoredItemType kind = mitAll;
    std::string caption;
    EXPECT_TRUE(probe.IsOnList(&list, index, kind, &caption));
    EXPECT_EQ(kind, mitApplication);
    EXPECT_EQ(caption, "Game");

    TMonitoredList other;
    caption = "stale";
    EXPECT_FALSE(probe.IsOnList(&other, index, kind, &caption));
    EXPECT_EQ(caption, "");
    EXPECT_THROW(probe.IsOnList(nullptr, index, kind), EAssertionFailed);
}

TEST_F(ProbeTest, CloseModePostsToEveryMatchingTopLevelWindowAndNoOther) {
    const TWindowId game1 = AddWindow(40, "Game.exe");
    const TWindowId editor = AddWindow(41, "Editor.exe");
    const TWindowId game2 = AddWindow(40, "Game.exe");
    const TWindowId chrome1 = AddWindow(42, "chrome.exe");
    windows_.AddChild(chrome1, "Chrome_AutocompleteEditView", "news.example.com/today");
    const TWindowId chrome2 = AddWindow(42, "chrome.exe");
    windows_.AddChild(chrome2, "Chrome_AutocompleteEditView", "other.org/?ref=example.com");
    const TWindowId chrome3 = AddWindow(42, "chrome.exe");
    windows_.AddChild(chrome3, "Chrome_AutocompleteEditView", "https://example.com/x");

    TMonitoredList list;
    AddEntry(list, mitApplication, "C:\\APPS\\GAME.EXE", "Game");
    AddEntry(list, mitWebSite, "example.com", "Example");
    probe_.Execute(true, &list);
    EXPECT_EQ(windows_.Closed, (std::vector<TWindowId>{game1, game2, chrome1, chrome3}));
    EXPECT_FALSE(probe_.CloseMode);
    EXPECT_EQ(probe_.CloseList, nullptr);
    EXPECT_FALSE(probe_.Probed);
    EXPECT_EQ(probe_.Window, chrome3);  // the last window probed
    (void)editor;
}

TEST_F(ProbeTest, ASingleProbeLooksAtTheForegroundWindowOnly) {
    const TWindowId other = AddWindow(50, "Game.exe");
    const TWindowId front = AddWindow(51, "Editor.exe");
    TMonitoredList list;
    AddEntry(list, mitApplication, "C:\\Apps\\Game.exe", "Game");
    windows_.Foreground = front;
    probe_.Execute(false, &list);
    EXPECT_TRUE(windows_.Closed.empty());
    EXPECT_EQ(probe_.Window, front);
    EXPECT_EQ(probe_.ApplicationPath, "C:\\Apps\\Editor.exe");
    (void)other;
}

TEST_F(ProbeTest, AnExceptionInsideExecuteIsTracedAndKeepsWhatWasFilled) {
    std::vector<std::string> traced;
    SetTraceSinkForTesting([&](char kind, std::string_view text) {
        if (kind == 'X') traced.emplace_back(text);
    });
    const TWindowId window = AddWindow(60, "Broken.exe");
    const TWindowId child = windows_.AddChild(window, "Address Band Root");
    const TWindowId unreadable = windows_.AddChild(window, "Unreadable");
    windows_.At(unreadable).ThrowOnClassName = true;
    windows_.AddChild(window, "Edit", "http://never.read");
    (void)child;
    TMonitoredList list;
    windows_.Foreground = window;
    EXPECT_NO_THROW(probe_.Execute(false, &list));
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_EQ(traced[0], "ErrorClassName: Exception; TZuravoZazoApplication.Execute: class name unreadable");
    EXPECT_EQ(probe_.ApplicationPath, "C:\\Apps\\Broken.exe");
    EXPECT_EQ(probe_.Kind, akInternetExplorer);
    EXPECT_EQ(probe_.Address, "");

    traced.clear();
    windows_.At(unreadable).ThrowOnClassName = false;
    probe_.Execute(true, nullptr);  // close mode without a list: the assertion is traced too
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_TRUE(traced[0].starts_with("ErrorClassName: EAssertionFailed; TZuravoZazoApplication.Execute: "))
        << traced[0];
    EXPECT_FALSE(probe_.CloseMode);
    EXPECT_EQ(probe_.CloseList, nullptr);
    SetTraceSinkForTesting(nullptr);
}

TEST_F(ProbeTest, TodaysBrowsersAreToldByWindowClassAndImageName) {
    struct TCase {
        const char* windowClass;
        const char* image;
        TApplicationKind kind;
        const char* text;
    };
    const TCase cases[] = {
        {"Chrome_WidgetWin_1", "Google\\Chrome\\Application\\chrome.exe", akChrome, "Google Chrome"},
        {"Chrome_WidgetWin_1", "Microsoft\\Edge\\Application\\MSEDGE.EXE", akEdge, "Microsoft Edge"},
        {"Chrome_WidgetWin_1", "BraveSoftware\\brave.exe", akBrave, "Brave"},
        {"Chrome_WidgetWin_1", "Vivaldi\\vivaldi.exe", akVivaldi, "Vivaldi"},
        {"Chrome_WidgetWin_1", "Opera\\opera.exe", akOpera, "Opera"},
        {"Chrome_WidgetWin_1", "Chromium\\chromium.exe", akChromium, "Chromium"},
        {"MozillaWindowClass", "Mozilla Firefox\\firefox.exe", akFirefox, "Mozila FireFox"},
        // The class alone is every Electron program's; the image alone any window's.
        {"Chrome_WidgetWin_1", "Editor\\Code.exe", akDesktop, "Desktop Application"},
        {"Chrome_WidgetWin_1", "Tools\\notchrome.exe", akDesktop, "Desktop Application"},
        {"Chrome_WidgetWin_0", "chrome.exe", akDesktop, "Desktop Application"},
        {"MozillaWindowClass", "chrome.exe", akDesktop, "Desktop Application"},
        {"Notepad", "firefox.exe", akDesktop, "Desktop Application"},
    };
    std::uint32_t pid = 100;
    for (const TCase& c : cases) {
        // Each browser has a document in its tree: only those recognised read it.
        auto root = MakeAccessible("root", 9);
        root->Add(MakeAccessible("document", kRoleSystemDocument, "https://www.example.com/page"));
        const TWindowId window = AddWindow(++pid, c.image, c.windowClass);
        windows_.At(window).Accessible = root;
        auto& probe = ProbeForeground(window);
        EXPECT_EQ(probe.Kind, c.kind) << c.image;
        EXPECT_EQ(probe.GetKindText(), c.text) << c.image;
        EXPECT_EQ(probe.Address, c.kind == akDesktop ? "" : "https://www.example.com/page") << c.image;
    }
    EXPECT_EQ(RecognizeBrowser("Chrome_WidgetWin_1", "Error: Access is denied."), akDesktop);
    EXPECT_EQ(RecognizeBrowser("Chrome_WidgetWin_1", "C:/Apps/Chrome.exe"), akChrome);
    // Yandex's program is a plain browser.exe: only its folder tells it.
    EXPECT_EQ(RecognizeBrowser("Chrome_WidgetWin_1",
                               "C:\\Users\\Ann\\AppData\\Local\\Yandex\\YandexBrowser\\Application\\browser.exe"),
              akChromium);
    EXPECT_EQ(RecognizeBrowser("Chrome_WidgetWin_1",
                               "C:/Users/Ann/AppData/Local/Yandex/yandexbrowser/application/BROWSER.EXE"),
              akChromium);
    EXPECT_EQ(RecognizeBrowser("Chrome_WidgetWin_1", "C:\\Tools\\Application\\browser.exe"), akDesktop);
    EXPECT_EQ(RecognizeBrowser("AppWindow", "C:\\Yandex\\YandexBrowser\\Application\\browser.exe"), akDesktop);
}

TEST_F(ProbeTest, ABrowserInFrontWithoutAnAddressIsTracedOncePerWindowWithTheReason) {
    std::vector<std::string> traced;
    SetTraceSinkForTesting([&](char, std::string_view text) { traced.emplace_back(text); });
    const TWindowId window = AddWindow(81, "msedge.exe", "Chrome_WidgetWin_1");
    windows_.At(window).Accessible = MakeAccessible("root", 9);  // nothing built yet
    const TWindowId other = AddWindow(82, "firefox.exe", "MozillaWindowClass");
    windows_.At(other).Accessible = MakeAccessible("root", 9);
    const TWindowId editor = AddWindow(83, "Edit.exe");
    for (int scan = 0; scan < 3; ++scan)
        for (TWindowId w : {window, other, editor}) EXPECT_EQ(ProbeForeground(w).Address, "");
    SetTraceSinkForTesting(nullptr);
    ASSERT_EQ(traced.size(), 2u);
    EXPECT_NE(traced[0].find("Microsoft Edge"), std::string::npos) << traced[0];
    EXPECT_NE(traced[0].find("no page document or address field"), std::string::npos) << traced[0];
    EXPECT_NE(traced[1].find("Mozila FireFox"), std::string::npos) << traced[1];
}

TEST_F(ProbeTest, ChromiumIsAskedForItsTreeOnceAndReadAtTheNextScan) {
    const TWindowId window = AddWindow(80, "msedge.exe", "Chrome_WidgetWin_1");
    windows_.AddChild(window, "Intermediate D3D Window");
    const TWindowId content = windows_.AddChild(window, "Chrome_RenderWidgetHostHWND");
    windows_.At(windows_.AddChild(window, "Chrome_RenderWidgetHostHWND")).Visible = false;  // a hidden tab's
    auto root = MakeAccessible("root", 9);
    windows_.At(window).Accessible = root;

    // Not built yet: the first scan asks for it and records nothing.
    auto& first = ProbeForeground(window);
    EXPECT_EQ(first.Kind, akEdge);
    EXPECT_EQ(first.Address, "");
    EXPECT_EQ(windows_.AccessibilityRequests, std::vector<TWindowId>{content});

    // The interface's tree is there, the page's document still empty: the
    // address field's text serves.
    auto toolbar = root->Add(MakeAccessible("toolbar", kRoleSystemToolBar));
    toolbar->Add(MakeAccessible("address field", kRoleSystemText, "www.example.com/page"));
    auto document = MakeAccessible("document", kRoleSystemDocument, "", 0);
    windows_.At(content).Accessible = document;
    auto& next = ProbeForeground(window);
    EXPECT_EQ(next.Address, "www.example.com/page");
    EXPECT_EQ(next.LastAddressRead, TAddressRead::Walked);
    EXPECT_EQ(document->NameReads, 1);

    // Built: from the render window's document at every scan.
    document->ValueText = "https://www.example.com/page";
    EXPECT_EQ(ProbeForeground(window).Address, "https://www.example.com/page");
    EXPECT_EQ(probe_.LastAddressRead, TAddressRead::Document);
    EXPECT_EQ(ProbeForeground(window).LastAddressRead, TAddressRead::Document);
    EXPECT_EQ(windows_.AccessibilityRequests.size(), 1u) << "asked again";

    TMonitoredList list;
    AddEntry(list, mitWebSite, "example.com", "Example");
    int index = -1;
    TMonitoredItemType kind = mitAll;
    EXPECT_TRUE(probe_.IsOnList(&list, index, kind));
    EXPECT_EQ(kind, mitWebSite);

    // A private window is read the same way, and closed in close mode.
    const TWindowId incognito = AddWindow(81, "chrome.exe", "Chrome_WidgetWin_1");
    windows_.AddChild(incognito, "Chrome_RenderWidgetHostHWND");
    auto privateRoot = MakeAccessible("root", 9);
    privateRoot->Add(MakeAccessible("document", kRoleSystemDocument, "https://news.example.com/", 0));
    windows_.At(incognito).Accessible = privateRoot;
    const TWindowId other = AddWindow(82, "chrome.exe", "Chrome_WidgetWin_1");
    auto otherRoot = MakeAccessible("root", 9);
    otherRoot->Add(MakeAccessible("document", kRoleSystemDocument, "https://other.org/", 0));
    windows_.At(other).Accessible = otherRoot;
    probe_.Execute(true, &list);
    EXPECT_EQ(windows_.Closed, (std::vector<TWindowId>{window, incognito}));
}

TEST_F(ProbeTest, AScanRecordsNothingFromACutWalkButClosingReadsOn) {
    // Each look at the clock takes 20 ms: the scan's walk is cut before the document.
    std::chrono::steady_clock::time_point now{};
    TZuravoZazoApplication slowProbe(windows_, [&now] { return now += std::chrono::milliseconds(20); });
    const TWindowId window = AddWindow(90, "firefox.exe", "MozillaWindowClass");
    auto root = MakeAccessible("root", 9);
    root->Add(MakeAccessible("pane", kRoleSystemPane))
        ->Add(MakeAccessible("pane", kRoleSystemPane))
        ->Add(MakeAccessible("document", kRoleSystemDocument, "https://www.example.com/", 0));
    windows_.At(window).Accessible = root;
    windows_.Foreground = window;
    slowProbe.Execute(false, nullptr);
    EXPECT_EQ(slowProbe.Kind, akFirefox);
    EXPECT_EQ(slowProbe.LastAddressRead, TAddressRead::Cut);
    EXPECT_EQ(slowProbe.Address, "");

    // Closing happens once: the listed browser is read however long it takes.
    slowProbe.ForgetAddressPlaces();
    TMonitoredList list;
    AddEntry(list, mitWebSite, "example.com", "Example");
    slowProbe.Execute(true, &list);
    EXPECT_EQ(windows_.Closed, std::vector<TWindowId>{window});
}

TEST_F(ProbeTest, EachExecuteStartsFromEmptyFields) {
    const TWindowId chrome = AddWindow(70, "chrome.exe");
    windows_.AddChild(chrome, "Chrome_AutocompleteEditView", "example.com");
    ProbeForeground(chrome);
    const TWindowId plain = AddWindow(71, "Plain.exe");
    auto& probe = ProbeForeground(plain);
    EXPECT_EQ(probe.Kind, akDesktop);
    EXPECT_EQ(probe.Address, "");
    EXPECT_EQ(probe.Window, plain);
}

}  // namespace
}  // namespace vh
