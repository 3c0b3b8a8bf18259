// The probe against real windows of other processes: a stand-in browser of
// each family, and Wine's own notepad.

#include <windows.h>
// oleacc.h first: its role and state macros must not clash with the probe's names.
#include <oleacc.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "common/StringUtils.h"
#include "monitor/AccessibilityDefs.h"
#include "monitor/ZuravoZazoApplication.h"
#include "platform/win32/Utf16.h"
#include "platform/win32/WindowSystem.h"
#include "support/E2eSupport.h"
#include "support/ForegroundSupport.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;

static_assert(kRoleSystemText == ROLE_SYSTEM_TEXT && kStateSystemFocused == STATE_SYSTEM_FOCUSED &&
              kStateSystemHotTracked == STATE_SYSTEM_HOTTRACKED && kStateSystemFocusable == STATE_SYSTEM_FOCUSABLE);

std::unique_ptr<TMonitoredItem> Entry(TMonitoredItemType type, const std::string& name) {
    auto item = std::make_unique<TMonitoredItem>();
    item->ItemType = type;
    item->Name = name;
    item->Caption = name;
    return item;
}

bool EndsWithIgnoringAsciiCase(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && SameTextAscii(text.substr(text.size() - suffix.size()), suffix);
}

class ProbeEndToEnd : public ::testing::Test {
protected:
    // Probes until the window is the one probed: another program of the run
    // may take the front for a moment.
    void ProbeInFront(HWND window) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            ASSERT_TRUE(BringToFront(window, 5s)) << "the window did not come to the front";
            probe_.Execute(false, nullptr);
            if (probe_.Window == reinterpret_cast<TWindowId>(window)) return;
        }
        FAIL() << "another window kept the front";
    }

    std::unique_ptr<RunningProgram> StartBrowser(const std::wstring& kind, const std::wstring& title,
                                                 const std::wstring& address, HWND& window, int depth = 0) {
        auto program = std::make_unique<RunningProgram>(OwnFolder() / L"FakeBrowser.exe",
                                                        FakeBrowserArguments(kind, title, address, depth));
        window = program->WaitForWindow(title, 20s);
        return program;
    }

    // Starts a stand-in browser that lives as long as the test and probes it in front.
    void ProbeBrowserInFront(const std::wstring& kind, const std::wstring& title, const std::wstring& address,
                             int depth = 0) {
        HWND window = nullptr;
        browser_ = StartBrowser(kind, title, address, window, depth);
        ASSERT_NE(window, nullptr) << "no window titled " << win32::WideToUtf8(title);
        ProbeInFront(window);
    }

    win32::WindowSystem windows_;
    TZuravoZazoApplication probe_{windows_};
    std::unique_ptr<RunningProgram> browser_;
};

TEST_F(ProbeEndToEnd, ChromeInFrontGivesTheAddressFieldText) {
    ProbeBrowserInFront(L"chrome", L"Fake Chrome", L"example.com/page");
    EXPECT_EQ(probe_.GetKindText(), "Google Chrome");
    EXPECT_EQ(probe_.Address, "example.com/page");
    EXPECT_TRUE(EndsWithIgnoringAsciiCase(probe_.ApplicationPath, "\\FakeBrowser.exe")) << probe_.ApplicationPath;
    EXPECT_EQ(probe_.ApplicationPath.substr(1, 2), ":\\") << probe_.ApplicationPath;
}

TEST_F(ProbeEndToEnd, InternetExplorerInFrontReadsTheEditAfterItsMarker) {
    ProbeBrowserInFront(L"ie", L"Fake Internet Explorer", L"http://www.example.com/\u00E9t\u00E9");
    EXPECT_EQ(probe_.GetKindText(), "MS Internet Explorer");
    EXPECT_EQ(probe_.Address, "http://www.example.com/\xC3\xA9t\xC3\xA9");
}

// Probes until a walk of the old Firefox's tree has ended. Each probe walks
// for the scan's budget at most and goes on where the last one stopped; how
// many probes that takes depends on how fast Wine answers across processes,
// which a loaded machine slows several times over: a time bound, not a count.
bool ProbeUntilWalked(TZuravoZazoApplication& probe) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    do {
        probe.Execute(false, nullptr);
        if (probe.LastAddressRead != TAddressRead::Cut) return true;
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

TEST_F(ProbeEndToEnd, FirefoxInFrontReadsTheAddressFromTheAccessibilityTreeOfAnotherProcess) {
    ProbeBrowserInFront(L"firefox", L"Fake Firefox", L"https://www.example.com/deep", 4);
    EXPECT_EQ(probe_.GetKindText(), "Mozila FireFox");
    ASSERT_TRUE(ProbeUntilWalked(probe_));
    EXPECT_EQ(probe_.Address, "https://www.example.com/deep");
    ProbeInFront(browser_->WaitForWindow(L"Fake Firefox", 1s));
    EXPECT_EQ(probe_.LastAddressRead, TAddressRead::Remembered);
    EXPECT_EQ(probe_.Address, "https://www.example.com/deep");
}

TEST_F(ProbeEndToEnd, FirefoxAddressBelowDepthFourIsNotRead) {
    ProbeBrowserInFront(L"firefox", L"Fake Deep Firefox", L"https://www.example.com/too-deep", 5);
    EXPECT_EQ(probe_.Kind, akFirefox);
    ASSERT_TRUE(ProbeUntilWalked(probe_));
    EXPECT_EQ(probe_.LastAddressRead, TAddressRead::NotFound);
    EXPECT_EQ(probe_.Address, "");
}

TEST_F(ProbeEndToEnd, TodaysBrowsersAreReadFromTheirTreesAndFollowTheirTabs) {
    struct TCase {
        const wchar_t* image;
        const char* kindText;
        TAddressRead again;  // how the address is read once known
    };
    // Chromium's document is read from its render window at each scan;
    // Firefox's where it was found.
    for (const TCase& c : {TCase{L"msedge.exe", "Microsoft Edge", TAddressRead::Document},
                           TCase{L"firefox.exe", "Mozila FireFox", TAddressRead::Remembered}}) {
        SCOPED_TRACE(c.kindText);
        const std::wstring title = std::wstring(L"Stand-in ") + c.image;
        auto browser = StartStandInBrowser(c.image, title, L"https://www.example.com/page");
        HWND window = browser->WaitForWindow(title, 20s);
        ASSERT_NE(window, nullptr);
        ProbeInFront(window);
        EXPECT_EQ(probe_.GetKindText(), c.kindText);
        // The documents come a moment after the first probe asked: it may
        // read only the address field's text.
        EXPECT_TRUE(probe_.Address.empty() || probe_.Address == "https://www.example.com/page" ||
                    probe_.Address == "example.com/page" || probe_.Address == "www.example.com/page")
            << probe_.Address;
        EXPECT_TRUE(WaitUntil(
            [&] {
                probe_.Execute(false, nullptr);
                return probe_.Address == "https://www.example.com/page";
            },
            5s))
            << "address \"" << probe_.Address << "\"";
        ProbeInFront(window);
        EXPECT_EQ(probe_.LastAddressRead, c.again);
        EXPECT_EQ(probe_.Address, "https://www.example.com/page");

        ASSERT_TRUE(NavigateStandIn(window, L"https://other.org/"));
        ProbeInFront(window);
        EXPECT_EQ(probe_.Address, "https://other.org/");
    }
}

TEST_F(ProbeEndToEnd, NotepadInFrontIsADesktopApplicationAndCloseModeClosesIt) {
    RunningProgram notepad(NotepadPath());
    HWND window = WaitForMainWindow(notepad, 20s);
    ASSERT_NE(window, nullptr);
    HWND browserWindow = nullptr;
    auto browser = StartBrowser(L"chrome", L"Fake Chrome Bystander", L"bystander.example.org", browserWindow);
    ASSERT_NE(browserWindow, nullptr);

    ProbeInFront(window);
    EXPECT_TRUE(EndsWithIgnoringAsciiCase(probe_.ApplicationPath, "\\windows\\system32\\notepad.exe"))
        << probe_.ApplicationPath;
    EXPECT_EQ(probe_.GetKindText(), "Desktop Application");
    EXPECT_EQ(probe_.Address, "");

    TMonitoredList list;
    list.Add("Notepad", Entry(mitApplication, probe_.ApplicationPath));
    probe_.Execute(true, &list);
    EXPECT_TRUE(notepad.WaitForExit(10s)) << "notepad did not close";
    EXPECT_FALSE(browser->WaitForExit(500ms)) << "a window that is not on the list was closed";
}

TEST_F(ProbeEndToEnd, CloseModeClosesEveryWindowShowingAListedSite) {
    HWND first = nullptr;
    HWND second = nullptr;
    HWND other = nullptr;
    auto listed1 = StartBrowser(L"chrome", L"Fake Chrome Listed 1", L"news.listed-site.example/today", first);
    auto listed2 = StartBrowser(L"ie", L"Fake IE Listed 2", L"https://www.listed-site.example/", second);
    auto unlisted = StartBrowser(L"chrome", L"Fake Chrome Unlisted", L"other.example/?ref=listed-site.example", other);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(other, nullptr);

    TMonitoredList list;
    list.Add("Listed", Entry(mitWebSite, "listed-site.example"));
    probe_.Execute(true, &list);
    EXPECT_TRUE(listed1->WaitForExit(10s));
    EXPECT_TRUE(listed2->WaitForExit(10s));
    EXPECT_FALSE(unlisted->WaitForExit(500ms));
    EXPECT_FALSE(probe_.CloseMode);
}

}  // namespace
}  // namespace vh::e2e
