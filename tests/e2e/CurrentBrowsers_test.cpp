// The real Vornhalt.exe with today's browsers under Wine: "example.com" on
// the list, stand-ins of Edge and Firefox in front in turn, each showing a
// page of the listed site and then another site. Rows of the activity log
// are written for the listed site only, with the browser's type text; once
// the allowance is used up, "Close Application" closes the stand-ins that
// show the listed site and no other.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
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

}  // namespace
}  // namespace vh::e2e
