#include "monitor/MainMonitor.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Exceptions.h"
#include "common/StringUtils.h"
#include "doubles/FakeEnvironmentClock.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/FakeWindowSystem.h"
#include "doubles/TempFolder.h"
#include "environment/DateTimeUtils.h"
#include "environment/IniFile.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "monitor/MainMonitorFixture.h"
#include "storage/Options.h"
#include "storage/SQLiteTable3.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

TEST(MainMonitorRules, ElapsedSecondsRoundHalfToEvenWithinThirtyTwoBits) {
    EXPECT_EQ(ElapsedSeconds(0, 2.5 / kSecondsPerDay), 2);
    EXPECT_EQ(ElapsedSeconds(0, 3.5 / kSecondsPerDay), 4);
    EXPECT_EQ(ElapsedSeconds(0, 3.4 / kSecondsPerDay), 3);
    EXPECT_EQ(ElapsedSeconds(0, 100000), 2147483647);  // centuries do not wrap round
    EXPECT_EQ(ElapsedSeconds(1, 0.5), 0);              // a clock moved back charges nothing
}

// ------------------------------------------------------------------ the scan

TEST_F(MainMonitorTest, ScanChargesTheListedWindowInFrontAndReArmsItself) {
    Start();
    Pass(3);
    monitor_->tmrScanTimer();
    ASSERT_EQ(LogRows(), (Rows{{kGame, "", "Desktop Application", "3", "1"}}));
    EXPECT_EQ(monitor_->Logger().SecondsOnList, 3);
    EXPECT_EQ(window_.calls, (std::vector<std::string>{"scan off", "scan on"}));
    EXPECT_DOUBLE_EQ(monitor_->LastScanTime, ProgramNow());

    windows_.Foreground = windows_.AddTopLevel("Other", 41);  // not listed
    windows_.SetImage(41, "\\Device\\HarddiskVolume1\\Apps\\other.exe");
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_EQ(LogRows().size(), 1u);
    EXPECT_TRUE(window_.scanTimerEnabled);
    EXPECT_DOUBLE_EQ(monitor_->LastScanTime, ProgramNow());
}

TEST_F(MainMonitorTest, ReminderPeriodSwitchesAtFourTwelveAndSix) {
    SetNow(3, 59, 58);
    Start();
    EXPECT_EQ(window_.periods, (std::vector<TReminderType>{rtEvening}));
    for (int hour : {4, 12, 18}) {
        SetNow(hour - 1, 59, 59);
        monitor_->tmrScanTimer();
        SetNow(hour, 0, 0);
        monitor_->tmrScanTimer();
        monitor_->tmrScanTimer();  // no change, no call
    }
    EXPECT_EQ(window_.periods, (std::vector<TReminderType>{rtEvening, rtMorning, rtAfternoon, rtEvening}));
}

TEST_F(MainMonitorTest, ResetRunsBeforeTheProbeSoTheFirstIntervalCountsForTheNewDay) {
    SetNow(3, 59, 57);
    LogRow("2024-03-10 03:00:00", 1000);  // yesterday's allowance
    Start();
    options_->ResetDateTime = EncodeDateTime({2024, 3, 10, 4, 0, 0, 0});
    EXPECT_EQ(monitor_->Logger().SecondsOnList, 1000);
    Pass(5);
    monitor_->tmrScanTimer();
    EXPECT_EQ(monitor_->Logger().SecondsOnList, 5);
    EXPECT_DOUBLE_EQ(options_->ResetDateTime, EncodeDateTime({2024, 3, 11, 4, 0, 0, 0}));
    EXPECT_EQ(window_.calls, (std::vector<std::string>{"scan off", "clear", "day start", "scan on"}));
}

TEST_F(MainMonitorTest, ResetAfterALateStartKeepsTodaysFourOClock) {
    SetNow(1, 0, 0);
    Start();
    options_->ResetDateTime = EncodeDateTime({2024, 3, 8, 4, 0, 0, 0});  // stored days ago
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_DOUBLE_EQ(options_->ResetDateTime, EncodeDateTime({2024, 3, 10, 4, 0, 0, 0}));
}

TEST_F(MainMonitorTest, NothingHappensWhileBusyAndTheLockedHourIsNotCharged) {
    Start();
    Pass(3);
    monitor_->tmrScanTimer();
    window_.calls.clear();
    monitor_->SessionChange(kWtsSessionLock);
    EXPECT_TRUE(monitor_->Locked);
    const TDateTime lastScan = monitor_->LastScanTime;
    for (int i = 0; i < 20; ++i) {
        Pass(180);
        monitor_->tmrScanTimer();
        monitor_->tmrUsageTimer();
        monitor_->tmrTimeTimer();
        monitor_->tmrReminderOnlyTimer();
    }
    EXPECT_EQ(window_.calls, (std::vector<std::string>{"minimize"}));
    EXPECT_DOUBLE_EQ(monitor_->LastScanTime, lastScan);
    monitor_->SessionChange(kWtsSessionUnlock);
    EXPECT_FALSE(monitor_->Locked);
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_EQ(Durations(), (std::vector<std::string>{"3", "3"}));
}

TEST_F(MainMonitorTest, SessionAndPowerCodesOutsideTheirTablesChangeNothing) {
    Start();
    for (std::uintptr_t code : {0u, 9u, 10u, 0x8013u}) {
        monitor_->SessionChange(code);
        monitor_->PowerBroadcast(code);
    }
    EXPECT_FALSE(monitor_->Busy());
    EXPECT_TRUE(window_.calls.empty());
    for (std::uintptr_t code : {kWtsConsoleDisconnect, kWtsRemoteDisconnect, kWtsSessionLogoff}) {
        monitor_->SessionChange(code);
        EXPECT_TRUE(monitor_->Locked) << code;
        monitor_->SessionChange(kWtsConsoleConnect);
        EXPECT_FALSE(monitor_->Locked) << code;
    }
    monitor_->PowerBroadcast(kPbtApmStandby);
    EXPECT_TRUE(monitor_->Suspended);
    monitor_->PowerBroadcast(kPbtApmResumeCritical);
    EXPECT_FALSE(monitor_->Suspended);
}

// A night's sleep without a lock: the resume notice starts a fresh interval.
TEST_F(MainMonitorTest, SleepAnnouncedByTheSystemIsNotCharged) {
    Start();
    monitor_->PowerBroadcast(kPbtApmSuspend);
    EXPECT_TRUE(monitor_->Busy());
    Pass(8 * 3600);
    monitor_->PowerBroadcast(kPbtApmResumeSuspend);
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_EQ(Durations(), (std::vector<std::string>{"3"}));
}

// Modern standby often sends no notice: a gap far longer than the scan
// period is a sleep.
TEST_F(MainMonitorTest, UnannouncedSleepIsNotCharged) {
    Start();
    Pass(3);
    monitor_->tmrScanTimer();
    Pass(8 * 3600);
    monitor_->tmrScanTimer();
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_EQ(monitor_->Logger().SecondsOnList, 6);
}

// Where the sleep threshold lies: a slow timer within a minute is charged,
// anything past it is not.
TEST_F(MainMonitorTest, GapsUpToAMinuteAreChargedLongerOnesAreNot) {
    Start();
    Pass(3);
    monitor_->tmrScanTimer();
    const struct {
        int gap;
        int charged;
    } cases[] = {{50, 50}, {59, 59}, {61, 0}, {5 * 60, 0}, {3, 3}};
    for (const auto& c : cases) {
        const std::int32_t before = monitor_->Logger().SecondsOnList;
        Pass(c.gap);
        monitor_->tmrScanTimer();
        EXPECT_EQ(monitor_->Logger().SecondsOnList - before, c.charged) << c.gap;
    }
}

TEST_F(MainMonitorTest, ReminderLeftOpenThreeMinutesIsChargedInTheSameTick) {
    LogRow("2024-03-10 08:00:00", 28800);  // the day's allowance is used up
    Start();
    window_.whileReminderOpen = [this] { Pass(180); };
    Pass(3);
    monitor_->tmrScanTimer();
    ASSERT_EQ(window_.reminders.size(), 1u);
    EXPECT_FALSE(window_.reminders[0].inFocus);
    EXPECT_EQ(window_.reminders[0].remaining, "");
    EXPECT_TRUE(window_.reminders[0].show5MinButton);
    EXPECT_EQ(Durations(), (std::vector<std::string>{"183"}));
    EXPECT_FALSE(monitor_->LimitReminderAllowed);
    EXPECT_TRUE(window_.reminderOnlyTimerEnabled);
    EXPECT_TRUE(windows_.Closed.empty());  // "Reminder Only" closes nothing
    // No second reminder until the re-arming tick.
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_EQ(window_.reminders.size(), 1u);
    monitor_->tmrReminderOnlyTimer();
    EXPECT_TRUE(monitor_->LimitReminderAllowed);
    EXPECT_FALSE(window_.reminderOnlyTimerEnabled);
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_EQ(window_.reminders.size(), 2u);
}

TEST_F(MainMonitorTest, CloseActionPostsCloseUnlessTheExtensionIsGranted) {
    LogRow("2024-03-10 08:00:00", 28800);
    Start();
    options_->SetExpirationAction(eaCloseBrowserApp);
    window_.grantFiveMinutes = true;
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_TRUE(monitor_->FiveMinutesGranted);
    EXPECT_FALSE(monitor_->Show5MinButton);
    EXPECT_TRUE(windows_.Closed.empty());
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_TRUE(windows_.Closed.empty());
    monitor_->tmrReminderOnlyTimer();
    EXPECT_FALSE(monitor_->FiveMinutesGranted);
    window_.grantFiveMinutes = false;
    Pass(3);
    monitor_->tmrScanTimer();
    ASSERT_EQ(window_.reminders.size(), 2u);
    EXPECT_FALSE(window_.reminders[1].show5MinButton);  // offered once a day
    EXPECT_EQ(windows_.Closed, (std::vector<TWindowId>{game_}));
}

TEST_F(MainMonitorTest, AReminderWhoseActionFailsIsNotShownAgainAtTheNextScan) {
    LogRow("2024-03-10 08:00:00", 28800);
    Start();
    options_->SetExpirationAction(eaShutdownComputer);
    window_.reminderActionFails = true;
    Pass(3);
    EXPECT_THROW(monitor_->tmrScanTimer(), EOSError);
    EXPECT_TRUE(window_.scanTimerEnabled);
    EXPECT_FALSE(monitor_->LimitReminderAllowed);
    EXPECT_TRUE(window_.reminderOnlyTimerEnabled);
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_EQ(window_.reminders.size(), 1u);
}

TEST_F(MainMonitorTest, TheExtensionTakenTodayIsNotOfferedAgainAfterARestart) {
    LogRow("2024-03-10 08:00:00", 28800);
    Start();
    window_.grantFiveMinutes = true;
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_FALSE(monitor_->Show5MinButton);
    monitor_ = std::make_unique<TMainMonitor>(*options_, windows_, window_);
    monitor_->Start();
    EXPECT_FALSE(monitor_->Show5MinButton);
    monitor_->DailyReset();
    EXPECT_TRUE(monitor_->Show5MinButton);
    monitor_ = std::make_unique<TMainMonitor>(*options_, windows_, window_);
    monitor_->Start();
    EXPECT_TRUE(monitor_->Show5MinButton);
}

TEST_F(MainMonitorTest, FocusModeClosesOnEveryScanAndRemindsOnce) {
    Start();
    monitor_->FocusStartTime = ProgramNow();
    monitor_->FocusDuration = EncodeTime(1, 0, 0);
    monitor_->FocusEndTime = ProgramNow() + monitor_->FocusDuration;
    Pass(90);  // two whole minutes have not passed
    monitor_->tmrScanTimer();
    Pass(3);
    monitor_->tmrScanTimer();
    ASSERT_EQ(window_.reminders.size(), 1u);
    EXPECT_TRUE(window_.reminders[0].inFocus);
    EXPECT_EQ(window_.reminders[0].remaining, "00:59");
    EXPECT_EQ(windows_.Closed, (std::vector<TWindowId>{game_, game_}));
}

// ------------------------------------------------------------ focus mode

TEST_F(MainMonitorTest, ABrowsersAddressIsLoggedAsTheEntrysName) {
    Start(false);
    AddEntry(mitWebSite, "example.com", "Example");
    const TWindowId browser = windows_.AddTopLevel("Chrome_WidgetWin_1", 50);
    windows_.SetImage(50, "\\Device\\HarddiskVolume1\\Apps\\chrome.exe");
    const TWindowId pane = windows_.AddChild(browser, "Chrome_RenderWidgetHostHWND");
    windows_.AddChild(pane, "Chrome_AutocompleteEditView", "https://www.example.com/news?id=7");
    windows_.Foreground = browser;
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_EQ(LogRows(), (Rows{{"C:\\Apps\\chrome.exe", "example.com", "Google Chrome", "3", "2"}}));
}

TEST_F(MainMonitorTest, AnExceptionInTheTickStillReArmsTheTimer) {
    Start();
    window_.whileReminderOpen = [] { throw Exception("reminder failed"); };
    LogRow("2024-03-10 08:00:00", 28800);
    monitor_->tmrUsageTimer();
    monitor_->Logger().SecondsOnList = 28800;
    Pass(3);
    EXPECT_THROW(monitor_->tmrScanTimer(), Exception);
    EXPECT_TRUE(window_.scanTimerEnabled);
    EXPECT_DOUBLE_EQ(monitor_->LastScanTime, ProgramNow());
}

// ------------------------------------------------------------ other timers

TEST_F(MainMonitorTest, ReminderChangeIsOfferedOncePerPeriod) {
    Start();
    options_->ReminderChangePeriod = rcpDaily;
    options_->ReminderChangedDateTime = ProgramNow() - 3;
    options_->ReminderShowedDateTime = ProgramNow() - 0.4;  // rounds to 0 days
    monitor_->tmrReminderChangeTimer();
    EXPECT_TRUE(window_.calls.empty());
    options_->ReminderShowedDateTime = ProgramNow() - 0.6;
    window_.whileReminderChangeOpen = [this] {
        EXPECT_TRUE(monitor_->ReminderChangeOpen);
        monitor_->tmrReminderChangeTimer();  // a nested tick opens nothing
    };
    monitor_->tmrReminderChangeTimer();
    EXPECT_EQ(window_.calls, (std::vector<std::string>{"reminder change"}));
    EXPECT_FALSE(monitor_->ReminderChangeOpen);

    window_.calls.clear();
    options_->ReminderChangePeriod = rcpWeekly;
    options_->ReminderShowedDateTime = ProgramNow() - 6.4;
    monitor_->tmrReminderChangeTimer();
    options_->ReminderShowedDateTime = ProgramNow() - 7;
    options_->ReminderChangedDateTime = ProgramNow() - 6;  // changed recently
    monitor_->tmrReminderChangeTimer();
    EXPECT_TRUE(window_.calls.empty());
    options_->ReminderChangePeriod = rcpNever;
    options_->ReminderChangedDateTime = ProgramNow() - 30;
    monitor_->tmrReminderChangeTimer();
    EXPECT_TRUE(window_.calls.empty());
}

// The check runs every 0.9 s: it asks for the file only, not for its volume,
// which the running program's folder answers anyway.
TEST_F(MainMonitorTest, UninstallFlagEndsTheProgramOnceWithoutAVolumeQuery) {
    Start();
    const std::size_t volumeQueries = platform_->volumeQueries.size();
    monitor_->tmrShutdownTimer();
    monitor_->SessionChange(kWtsSessionLock);  // not skipped while locked
    window_.calls.clear();
    platform_->PutFile(GProgramFolder() + kUninstallFlagFileName, "");
    monitor_->tmrShutdownTimer();
    monitor_->tmrShutdownTimer();
    EXPECT_EQ(window_.calls, (std::vector<std::string>{"terminate"}));
    EXPECT_EQ(platform_->volumeQueries.size(), volumeQueries);
}

TEST_F(MainMonitorTest, HotKeyTwiceWithinHalfASecondClicksTheTrayIcon) {
    Start();
    monitor_->HotKeyId = 0xC001;
    Pass(2);
    monitor_->HotKey(0xC001);
    Pass(0.3);
    monitor_->HotKey(0xBEEF);  // another key
    monitor_->HotKey(0xC001);
    EXPECT_EQ(window_.calls, (std::vector<std::string>{"tray click"}));
    Pass(0.3);
    monitor_->HotKey(0xC001);  // a third press starts a new pair
    Pass(1);
    monitor_->HotKey(0xC001);
    EXPECT_EQ(window_.calls.size(), 1u);
    // Two presses a second apart that a busy window handles back to back.
    Pass(2);
    monitor_->HotKey(0xC001, 1.2);
    monitor_->HotKey(0xC001, 0.0);
    EXPECT_EQ(window_.calls.size(), 1u);
}

// ------------------------------------------------------------ daily reset

}  // namespace
}  // namespace vh
