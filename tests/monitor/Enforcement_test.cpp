#include "monitor/Enforcement.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/Exceptions.h"
#include "doubles/FakeSystemShutdown.h"
#include "doubles/FakeWindowSystem.h"

namespace vh {
namespace {

using Calls = std::vector<std::string>;
using Windows = std::vector<TWindowId>;

class EnforcementTest : public ::testing::Test {
protected:
    EnforcementTest() {
        game_ = AddWindow(40, "Game.exe");
        editor_ = AddWindow(41, "Editor.exe");
        AddEntry(mitApplication, "C:\\Apps\\Game.exe", "Game", true);
    }
    TWindowId AddWindow(std::uint32_t pid, const std::string& exe) {
        windows_.SetImage(pid, "\\Device\\HarddiskVolume1\\Apps\\" + exe);
        return windows_.AddTopLevel("AppWindow", pid);
    }
    void AddEntry(TMonitoredItemType type, const std::string& name, const std::string& caption, bool active) {
        auto item = std::make_unique<TMonitoredItem>();
        item->ItemType = type;
        item->Name = name;
        item->Caption = caption;
        item->Active = active;
        list_.Add(caption, std::move(item));
    }

    testing::FakeWindowSystem windows_;
    testing::FakeSystemShutdown shutdown_;
    TEnforcement enforcement_{windows_, shutdown_};
    TMonitoredList list_;
    TWindowId game_ = 0;
    TWindowId editor_ = 0;
};

TEST(ReminderEndActionRule, FocusModeAlwaysClosesOtherwiseTheChoiceHolds) {
    for (int chosen : {eaReminderOnly, eaCloseBrowserApp, eaShutdownComputer})
        EXPECT_EQ(ReminderEndAction(true, chosen), eaCloseBrowserApp) << chosen;
    for (int chosen : {eaReminderOnly, eaCloseBrowserApp, eaShutdownComputer})
        EXPECT_EQ(ReminderEndAction(false, chosen), chosen);
}

TEST_F(EnforcementTest, FocusModeWithShutdownChosenClosesTheListedWindowsAndDoesNotShutDown) {
    enforcement_.EndReminder(false, true, eaShutdownComputer, list_);
    EXPECT_EQ(windows_.Closed, Windows{game_});
    EXPECT_TRUE(shutdown_.Calls.empty());
}

TEST_F(EnforcementTest, ShutdownChosenInAReminderOnlyReminderShutsDownWithSixtySeconds) {
    enforcement_.EndReminder(false, false, eaShutdownComputer, list_);
    EXPECT_EQ(shutdown_.Calls, (Calls{"privilege", "exit", "initiate 60"}));
    EXPECT_TRUE(windows_.Closed.empty());
}

TEST_F(EnforcementTest, TheExtensionDoesNothingWhateverTheChoice) {
    for (bool focus : {false, true}) {
        for (int chosen : {eaReminderOnly, eaCloseBrowserApp, eaShutdownComputer})
            enforcement_.EndReminder(true, focus, chosen, list_);
    }
    EXPECT_TRUE(windows_.Closed.empty());
    EXPECT_TRUE(shutdown_.Calls.empty());
}

TEST_F(EnforcementTest, ContinueAndAMissingChoiceDoNothing) {
    for (int chosen : {0, -1, 3}) enforcement_.EndReminder(false, false, chosen, list_);
    EXPECT_TRUE(windows_.Closed.empty());
    EXPECT_TRUE(shutdown_.Calls.empty());
}

TEST_F(EnforcementTest, ClosingReachesInactiveEntriesAndBrowsersShowingAListedSiteOnly) {
    const TWindowId game2 = AddWindow(40, "Game.exe");
    const TWindowId paused = AddWindow(43, "Paused.exe");
    AddEntry(mitApplication, "C:\\Apps\\Paused.exe", "Paused", false);
    AddEntry(mitWebSite, "example.com", "Example", true);
    const TWindowId listedSite = AddWindow(42, "chrome.exe");
    windows_.AddChild(listedSite, "Chrome_AutocompleteEditView", "https://example.com/news");
    const TWindowId otherSite = AddWindow(42, "chrome.exe");
    windows_.AddChild(otherSite, "Chrome_AutocompleteEditView", "https://other.org/");

    enforcement_.EndReminder(false, false, eaCloseBrowserApp, list_);
    EXPECT_EQ(windows_.Closed, (Windows{game_, game2, paused, listedSite}));
}

TEST_F(EnforcementTest, ARefusedPrivilegeStopsTheShutdownAndReachesTheCaller) {
    shutdown_.Fail["privilege"] = 1300;
    try {
        enforcement_.ShutdownComputer(kShutdownWarningSeconds);
        FAIL() << "no error raised";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Code(), 1300u);
        EXPECT_EQ(std::string(e.what()), "System Error.  Code: 1300.\nRefused by the test");
    }
    EXPECT_EQ(shutdown_.Calls, Calls{"privilege"});
}

TEST_F(EnforcementTest, ARefusedEndOfSessionIsRaisedAndNoTimedShutdownIsAsked) {
    shutdown_.Fail["exit"] = 5;
    EXPECT_THROW(enforcement_.ShutdownComputer(kShutdownWarningSeconds), EOSError);
    EXPECT_EQ(shutdown_.Calls, (Calls{"privilege", "exit"}));
}

TEST_F(EnforcementTest, AShutdownAlreadyUnderwayIsNoFailureButOtherRefusalsAre) {
    shutdown_.Fail["initiate"] = kErrorShutdownInProgress;
    EXPECT_NO_THROW(enforcement_.ShutdownComputer(kShutdownWarningSeconds));
    shutdown_.Fail["initiate"] = 5;
    EXPECT_THROW(enforcement_.EndReminder(false, false, eaShutdownComputer, list_), EOSError);
}

}  // namespace
}  // namespace vh
