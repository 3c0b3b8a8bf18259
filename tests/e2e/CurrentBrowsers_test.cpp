// The real Vornhalt.exe with today's browsers under Wine: "example.com" on
// the list, stand-ins of Edge and Firefox in front in turn, each showing a
// page of the listed site and then another site. Rows of the activity log
// are written for the listed site only, with the browser's type text; once
// the allowance is used up, "Close Application" closes the stand-ins that
// show the listed site and no other. Then a table of the real browsers'
// behaviours, one stand-in option each, over one fixture.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <thread>

#include "support/E2eSupport.h"
#include "support/ForegroundSupport.h"
#include "support/ProgramTest.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;

constexpr char kWebRows[] = "origin = 2";

class CurrentBrowsersEndToEnd : public ProgramTest {
protected:
    struct TStandIn {
        std::unique_ptr<RunningProgram> program;
        HWND window = nullptr;
    };

    static TStandIn Start(const std::wstring& image, const std::wstring& title, const std::wstring& address) {
        TStandIn standIn{StartStandInBrowser(image, title, address)};
        standIn.window = standIn.program->WaitForWindow(title, 20s);
        return standIn;
    }

    // Waits until `count` web rows exist, keeping `window` in front.
    std::size_t WaitForWebRows(std::size_t count, HWND window, std::chrono::milliseconds timeout) const {
        std::size_t found = 0;
        WaitUntil(
            [&] {
                if (GetForegroundWindow() != window) SetForegroundWindow(window);
                return (found = LogRows(kWebRows).size()) >= count;
            },
            timeout);
        return found;
    }

    // Two scans with `window` in front (after one to let a change settle)
    // write no web row.
    void ExpectNoWebRowsWhileInFront(HWND window) const {
        ASSERT_TRUE(BringToFront(window, 10s));
        std::this_thread::sleep_for(3500ms);
        const std::size_t before = LogRows(kWebRows).size();
        std::this_thread::sleep_for(6500ms);
        EXPECT_EQ(LogRows(kWebRows).size(), before)
            << "rows for an unlisted site; in front: " << DescribeForegroundWindow();
    }
};

TEST_F(CurrentBrowsersEndToEnd, ListedSiteIsLoggedInEdgeAndFirefoxAndTheirWindowsAreClosedOverTheLimit) {
    PrepareListedNotepad();
    ListWebSite("example.com");
    SetSetting("TimeLimitSeconds", "30");
    SetSetting("ExpirationAction", "Reminder Only");
    TStandIn edge = Start(L"msedge.exe", L"Edge stand-in", L"https://www.example.com/page");
    TStandIn firefox = Start(L"firefox.exe", L"Firefox stand-in", L"https://other.org/");
    TStandIn bystander = Start(L"msedge.exe", L"Edge bystander", L"https://other.org/");
    ASSERT_NE(edge.window, nullptr);
    ASSERT_NE(firefox.window, nullptr);
    ASSERT_NE(bystander.window, nullptr);
    RunningProgram program(exe_);
    ASSERT_NE(program.WaitForMainWindow(20s), nullptr);

    // Edge with the listed site: its tree is asked for, then read.
    ASSERT_TRUE(BringToFront(edge.window, 10s));
    if (WaitForWebRows(2, edge.window, 30s) < 2) {
        std::string rows;
        for (const LogRow& row : LogRows("1 = 1")) rows += row.app + " | " + row.type + " | " + row.url + "; ";
        FAIL() << "no rows for the listed site in Edge; rows: " << rows << "; in front: " << DescribeForegroundWindow();
    }
    for (const LogRow& row : LogRows(kWebRows)) {
        EXPECT_EQ(row.type, "Microsoft Edge");
        EXPECT_EQ(row.url, "example.com");
        EXPECT_GE(row.duration, 2);
    }

    // Another site, in Edge and then in Firefox: nothing is logged.
    ASSERT_TRUE(NavigateStandIn(edge.window, L"https://other.org/"));
    ExpectNoWebRowsWhileInFront(edge.window);
    ExpectNoWebRowsWhileInFront(firefox.window);

    // Firefox navigates to the listed site.
    const std::size_t edgeRows = LogRows(kWebRows).size();
    ASSERT_TRUE(NavigateStandIn(firefox.window, L"https://www.example.com/page"));
    ASSERT_GE(WaitForWebRows(edgeRows + 2, firefox.window, 20s), edgeRows + 2) << "no rows for Firefox";
    EXPECT_EQ(LogRows(kWebRows).back().type, "Mozila FireFox");
    ASSERT_TRUE(NavigateStandIn(edge.window, L"https://www.example.com/again"));

    // Over the limit: the reminder; "Close Application" closes both
    // stand-ins showing the listed site, not the bystander.
    HWND reminder = nullptr;
    WaitUntil(
        [&] {
            reminder = program.FindWindowTitled(L"Reminder");
            if (reminder == nullptr && GetForegroundWindow() != firefox.window) SetForegroundWindow(firefox.window);
            return reminder && IsWindowVisible(reminder);
        },
        40s);
    ASSERT_TRUE(reminder && IsWindowVisible(reminder)) << "no reminder; rows: " << LogRows(kWebRows).size();
    HWND actions = FindWindowExW(reminder, nullptr, L"ComboBox", nullptr);
    ASSERT_NE(actions, nullptr);
    SendMessageW(actions, CB_SETCURSEL, 1, 0);
    PostMessageW(reminder, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(firefox.program->WaitForExit(15s)) << "Firefox showing the listed site was not closed";
    EXPECT_TRUE(edge.program->WaitForExit(15s)) << "Edge showing the listed site was not closed";
    EXPECT_FALSE(bystander.program->WaitForExit(1s)) << "a browser showing another site was closed";
    EndThroughFlag(program);
}

// One behaviour of a real browser each, as its stand-in shows it, against
// the real program: which log rows the listed sites get while it is in front.
struct TBehaviour {
    const char* name;
    const wchar_t* image;
    const wchar_t* options;
    const wchar_t* address;  // of the shown tab
    const char* typeText;
    const char* loggedSite;  // the one listed site rows are written for
    int thenShowTab;         // then the stand-in shows this tab (-1: none)...
    const char* thenLogged;  // ...and rows are written for this site
};

void PrintTo(const TBehaviour& behaviour, std::ostream* out) {
    *out << behaviour.name;
}

class StandInBehaviourEndToEnd : public ProgramTest, public ::testing::WithParamInterface<TBehaviour> {};

TEST_P(StandInBehaviourEndToEnd, RowsAreWrittenForTheShownPageOnly) {
    const TBehaviour& b = GetParam();
    PrepareListedNotepad();
    ListWebSite("example.com");
    ListWebSite("other.org");
    const std::wstring title = L"Behaviour stand-in";
    auto browser = StartStandInBrowser(b.image, title, b.address, b.options);
    HWND window = browser->WaitForWindow(title, 20s);
    ASSERT_NE(window, nullptr);
    RunningProgram program(exe_);
    ASSERT_NE(program.WaitForMainWindow(20s), nullptr);
    ASSERT_TRUE(BringToFront(window, 10s));

    // Rows for the shown page's site, from the first scans on.
    auto waitForRows = [&](const std::string& site, std::size_t count) {
        std::vector<LogRow> rows;
        WaitUntil(
            [&] {
                if (GetForegroundWindow() != window) SetForegroundWindow(window);
                rows = LogRows(std::string(kWebRows) + " AND browser_url = '" + site + "'");
                return rows.size() >= count;
            },
            30s);
        return rows;
    };
    auto describe = [&] {
        std::string text;
        for (const LogRow& row : LogRows(kWebRows)) text += row.type + " | " + row.url + "; ";
        return text + " in front: " + DescribeForegroundWindow();
    };
    const std::vector<LogRow> rows = waitForRows(b.loggedSite, 2);
    ASSERT_GE(rows.size(), 2u) << "web rows: " << describe();
    for (const LogRow& row : rows) EXPECT_EQ(row.type, b.typeText);
    EXPECT_EQ(LogRows(kWebRows).size(),
              LogRows(std::string(kWebRows) + " AND browser_url = '" + b.loggedSite + "'").size())
        << "rows for a site not shown: " << describe();

    if (b.thenShowTab >= 0) {
        ASSERT_TRUE(SwitchStandInTab(window, b.thenShowTab));
        EXPECT_GE(waitForRows(b.thenLogged, 2).size(), 2u) << "web rows: " << describe();
    }
    EndThroughFlag(program);
}

INSTANTIATE_TEST_SUITE_P(
    Browsers, StandInBehaviourEndToEnd,
    ::testing::Values(
        // Chromium: the page's document comes only after the screen reader's
        // request and a name read; a slow browser answers late.
        TBehaviour{"ChromiumSlowToAnswer", L"msedge.exe", L"--latency=3 --start-cost=500 --build-ms=1000",
                   L"https://www.example.com/page", "Microsoft Edge", "example.com", -1, ""},
        // The user types another site into the omnibox: the page in front
        // is still the one counted.
        TBehaviour{"ChromiumTypingInTheOmnibox", L"msedge.exe", L"--typing=other.org", L"https://www.example.com/page",
                   "Microsoft Edge", "example.com", -1, ""},
        // DevTools' document and render window come before the page's.
        TBehaviour{"ChromiumDevToolsFirst", L"msedge.exe", L"--devtools", L"https://other.org/news", "Microsoft Edge",
                   "other.org", -1, ""},
        // Vivaldi's interface is a document of its own holding the page's.
        TBehaviour{"VivaldiInterfaceDocument", L"vivaldi.exe", L"", L"https://www.example.com/page", "Vivaldi",
                   "example.com", -1, ""},
        // A background tab of a listed site stays in the tree, offscreen;
        // once shown, its site is the one counted.
        TBehaviour{"FirefoxBackgroundTabs", L"firefox.exe", L"--background=https://www.example.com/old",
                   L"https://other.org/", "Mozila FireFox", "other.org", 0, "example.com"},
        // Firefox's documents come from its content processes, late.
        TBehaviour{"FirefoxLateDocuments", L"firefox.exe", L"--build-ms=2500 --latency=2",
                   L"https://www.example.com/page", "Mozila FireFox", "example.com", -1, ""}),
    [](const ::testing::TestParamInfo<TBehaviour>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace vh::e2e
