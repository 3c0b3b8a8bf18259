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
#include "storage/Options.h"
#include "storage/SQLiteTable3.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr char kGame[] = "C:\\Games\\game.exe";

// Records what the monitor asks of the window.
class RecordingWindow : public IMainWindow {
public:
    struct Reminder {
        bool inFocus;
        std::string remaining;
        bool show5MinButton;
    };
    std::vector<std::string> calls;
    std::vector<TReminderType> periods;
    std::vector<Reminder> reminders;
    bool scanTimerEnabled = true;
    bool reminderOnlyTimerEnabled = false;
    bool grantFiveMinutes = false;
    bool reminderActionFails = false;
    std::function<void()> whileReminderOpen;
    std::function<void()> whileReminderChangeOpen;
    std::string timeLimitText, actionText;
    int normalLayouts = 0, focusLayouts = 0;

    void SetScanTimerEnabled(bool enabled) override {
        scanTimerEnabled = enabled;
        calls.push_back(enabled ? "scan on" : "scan off");
    }
    void SetReminderOnlyTimerEnabled(bool enabled) override { reminderOnlyTimerEnabled = enabled; }
    void SelectReminderPeriod(TReminderType period) override { periods.push_back(period); }
    void ShowNormalLayout() override { ++normalLayouts; }
    void ShowFocusLayout() override { ++focusLayouts; }
    void RefreshUsage() override { calls.push_back("usage"); }
    void RefreshTime() override { calls.push_back("time"); }
    void ClearListViews() override { calls.push_back("clear"); }
    void ShowDayStart(const std::string& limit, const std::string& action) override {
        timeLimitText = limit;
        actionText = action;
        calls.push_back("day start");
    }
    bool ShowReminder(bool inFocus, const std::string& remaining, bool show5MinButton) override {
        reminders.push_back({inFocus, remaining, show5MinButton});
        if (whileReminderOpen) whileReminderOpen();
        if (reminderActionFails) throw EOSError(1190, "The shutdown was refused.");
        return grantFiveMinutes;
    }
    void RunReminderChange() override {
        calls.push_back("reminder change");
        if (whileReminderChangeOpen) whileReminderChangeOpen();
    }
    void MinimizeApplication() override { calls.push_back("minimize"); }
    void TrayIconLeftClick() override { calls.push_back("tray click"); }
    void TerminateApplication() override { calls.push_back("terminate"); }
};

class MainMonitorTest : public ::testing::Test {
protected:
    MainMonitorTest() {
        auto platform = std::make_unique<testing::FakeEnvironmentPlatform>();
        platform_ = platform.get();
        InstallEnvironment(std::move(platform));
        clock_.standardOffsetHours = 0;
        clock_.daylightOffsetHours = 0;
        clock_.utc = EncodeDateTime({2024, 3, 10, 9, 0, 0, 0});
        InitializeProgramClock(clock_);
        testing::CopyReadyMadeDatabase("settings.sqlite", settings_);
        testing::CopyReadyMadeDatabase("actmondb.sqlite", log_);
        const std::uint32_t pid = 40;
        game_ = windows_.AddTopLevel("GameWindow", pid);
        windows_.SetImage(pid, "\\Device\\HarddiskVolume1\\Games\\game.exe");
        windows_.Foreground = game_;
    }
    ~MainMonitorTest() override {
        monitor_.reset();
        options_.reset();
        FinalizeProgramClock();
        UninstallEnvironment();
    }

    // Options and monitor at the clock's present moment.
    void Start(bool listGame = true) {
        TOptionsSite site;
        site.SettingsDBFileName = settings_;
        site.LogDBFileName = log_;
        site.IniFile = []() -> TIniFile& { return GetIniFile(); };
        site.Now = [] { return ProgramNow(); };
        options_ = std::make_unique<TOptions>(site);
        if (listGame) AddEntry(mitApplication, kGame, "Game");
        monitor_ = std::make_unique<TMainMonitor>(*options_, windows_, window_);
        monitor_->Start();
    }
    void AddEntry(TMonitoredItemType type, const std::string& name, const std::string& caption) {
        auto item = std::make_unique<TMonitoredItem>();
        item->ItemType = type;
        item->Name = name;
        item->Caption = caption;
        options_->MonitoredList().Add(caption, std::move(item));
        options_->MonitoredItemsSave();
    }
    void LogRow(const std::string& date, int seconds) {
        testing::RunScript(log_, "INSERT INTO applications VALUES('" + date + "', " + QuotedSqlString(kGame) +
                                     ", '', 'Desktop Application', " + std::to_string(seconds) + ", 1)");
    }
    Rows LogRows() {
        return testing::QueryRows(log_,
                                  "SELECT app_name, browser_url, app_type, duration, origin FROM applications "
                                  "WHERE date_created >= '2024-03-10 09:00:00' ORDER BY rowid");
    }
    std::vector<std::string> Durations() {
        std::vector<std::string> result;
        for (const auto& row : LogRows()) result.push_back(row[3]);
        return result;
    }
    void Pass(double seconds) { clock_.Advance(seconds); }
    void SetNow(int hour, int minute, int second) {
        ShiftProgramClock(EncodeDateTime({2024, 3, 10, hour, minute, second, 0}) - ProgramNow());
    }

    testing::FakeEnvironmentPlatform* platform_ = nullptr;
    testing::FakeEnvironmentClock clock_;
    testing::TempFolder folder_;
    std::string settings_ = testing::FileIn(folder_.Path(), "settings.sqlite");
    std::string log_ = testing::FileIn(folder_.Path(), "actmondb.sqlite");
    testing::FakeWindowSystem windows_;
    TWindowId game_ = 0;
    RecordingWindow window_;
    std::unique_ptr<TOptions> options_;
    std::unique_ptr<TMainMonitor> monitor_;
};

// ------------------------------------------------------------------ helpers

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

class FocusModeTest : public MainMonitorTest {
protected:
    // The program ends and starts again: new options and monitor over the same files.
    void Restart() {
        monitor_.reset();
        options_.reset();
        window_ = RecordingWindow{};
        Start(false);
        // At its start the program's focus end is that very moment.
        Pass(1);
    }
    std::string Common(std::string_view key) { return GetIniFile().ReadString("Common", key, ""); }
};

TEST_F(FocusModeTest, OnlyADurationTheDialogAcceptsStartsFocusMode) {
    struct Case {
        TDateTime duration;
        bool started;
    };
    bool first = true;
    for (const Case& c : {Case{0, false}, Case{-EncodeTime(0, 30, 0), false}, Case{EncodeTime(0, 0, 20), false},
                          Case{1.0, false}, Case{EncodeTime(0, 1, 0), true}, Case{EncodeTime(23, 59, 0), true}}) {
        SCOPED_TRACE(c.duration * 1440);
        Start(first);
        first = false;
        EXPECT_EQ(monitor_->StartFocus(c.duration), c.started);
        Pass(1);
        EXPECT_EQ(monitor_->InFocus(), c.started);
        EXPECT_EQ(window_.focusLayouts, c.started ? 1 : 0);
        EXPECT_EQ(Common("FocusEndTime").empty(), !c.started);
        if (c.started) {
            EXPECT_DOUBLE_EQ(monitor_->FocusEndTime, monitor_->FocusStartTime + c.duration);
        }
        monitor_.reset();
        options_.reset();
        GetIniFile().EraseSection("Common");
        window_ = RecordingWindow{};
    }
}

TEST_F(FocusModeTest, ARunningModeSurvivesARestartAndTheDailyResetUntilItsEnd) {
    Start();
    ASSERT_TRUE(monitor_->StartFocus(EncodeTime(0, 30, 0)));
    const TDateTime start = monitor_->FocusStartTime;
    EXPECT_EQ(Common("FocusStartTime").substr(0, 16), "2024-03-10 09:00");
    Pass(3);
    monitor_->tmrScanTimer();
    ASSERT_EQ(window_.reminders.size(), 1u);
    EXPECT_EQ(window_.reminders[0].remaining, "00:30");

    // Ten minutes on, across the 4:00 AM reset's erasing of the day's keys.
    Pass(600);
    monitor_->DailyReset();
    Restart();
    EXPECT_TRUE(monitor_->InFocus());
    EXPECT_NEAR(monitor_->FocusStartTime, start, 1e-8);
    EXPECT_DOUBLE_EQ(monitor_->FocusDuration, EncodeTime(0, 30, 0));
    EXPECT_EQ(window_.focusLayouts, 1);
    // The reset allowed the focus reminder again; otherwise a restart would not.
    EXPECT_TRUE(monitor_->FocusReminderAllowed);
    Pass(3);
    monitor_->tmrScanTimer();
    ASSERT_EQ(window_.reminders.size(), 1u);
    EXPECT_EQ(window_.reminders[0].remaining, "00:20");
    Restart();
    EXPECT_FALSE(monitor_->FocusReminderAllowed);
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_TRUE(window_.reminders.empty());
    EXPECT_EQ(windows_.Closed, (std::vector<TWindowId>{game_, game_, game_}));

    // Past the end a restart finds focus mode over, and the scan keeps the normal layout.
    Pass(20 * 60);
    Restart();
    EXPECT_FALSE(monitor_->InFocus());
    EXPECT_EQ(window_.focusLayouts, 0);
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_EQ(window_.normalLayouts, 1);
    EXPECT_EQ(windows_.Closed.size(), 3u);
    // A period that is over goes with the rest of the day's keys.
    monitor_->DailyReset();
    EXPECT_FALSE(GetIniFile().SectionExists("Common"));
}

TEST_F(FocusModeTest, APeriodNoDialogCouldHaveStartedIsNotRestored) {
    struct Case {
        const char* start;
        const char* end;
    };
    for (const Case& c : {Case{"2024-03-10 08:50:00.000", "2024-03-10 08:59:00.000"},  // over
                          Case{"2024-03-10 08:50:00.000", "2024-03-11 09:00:00.000"},  // longer than 23:59
                          Case{"2024-03-10 09:10:00.000", "2024-03-10 09:05:00.000"},  // ends before it starts
                          Case{"2024-03-11 12:00:00.000", "2024-03-11 12:30:00.000"},  // more than a day ahead
                          Case{"yesterday", "2024-03-10 09:30:00.000"}, Case{"", "2024-03-10 09:30:00.000"}}) {
        SCOPED_TRACE(std::string(c.start) + " - " + c.end);
        GetIniFile().WriteString("Common", "FocusStartTime", c.start);
        GetIniFile().WriteString("Common", "FocusEndTime", c.end);
        Restart();
        EXPECT_FALSE(monitor_->InFocus());
        EXPECT_EQ(window_.focusLayouts, 0);
    }
    GetIniFile().WriteString("Common", "FocusStartTime", "2024-03-10 08:50:00.000");
    Restart();
    EXPECT_TRUE(monitor_->InFocus());
    EXPECT_EQ(window_.focusLayouts, 1);
}

// 10 March 2024 is a Sunday; the clock starts at 9:00.
TEST_F(FocusModeTest, AScheduledPeriodClosesListedWindowsFromItsStartAndSurvivesARestart) {
    GetIniFile().WriteString("BlockSchedule", "Period1", "Sun 09:01-09:30");
    GetIniFile().WriteString("BlockSchedule", "Period2", "Sun 25:00-26:00");
    int unreadable = 0;
    SetTraceSinkForTesting([&unreadable](char, std::string_view text) {
        if (text.find("Period2=Sun 25:00-26:00") != std::string_view::npos) ++unreadable;
    });
    Start();
    Pass(3);
    monitor_->tmrScanTimer();
    SetTraceSinkForTesting(nullptr);
    EXPECT_EQ(unreadable, 1);
    EXPECT_FALSE(monitor_->InFocus());
    EXPECT_TRUE(windows_.Closed.empty());
    Pass(60);
    monitor_->tmrScanTimer();
    EXPECT_TRUE(monitor_->InFocus());
    EXPECT_TRUE(monitor_->FocusScheduled);
    EXPECT_EQ(window_.focusLayouts, 1);
    ASSERT_EQ(window_.reminders.size(), 1u);
    EXPECT_EQ(window_.reminders[0].remaining, "00:29");
    EXPECT_EQ(windows_.Closed, (std::vector<TWindowId>{game_}));

    // Started again within the period, it is on from the start.
    Pass(600);
    Restart();
    EXPECT_TRUE(monitor_->InFocus());
    EXPECT_TRUE(monitor_->FocusScheduled);
    EXPECT_EQ(window_.focusLayouts, 1);
    EXPECT_NEAR(monitor_->FocusEndTime, EncodeDateTime({2024, 3, 10, 9, 30, 0, 0}), 1e-8);

    // Deleting the running period ends nothing today.
    monitor_->ChangeBlockSchedule({});
    EXPECT_TRUE(GetIniFile().SectionExists("BlockSchedulePending"));
    EXPECT_EQ(GetIniFile().ReadString("BlockSchedule", "Period1", ""), "Sun 09:01-09:30");
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_TRUE(monitor_->InFocus());
    Pass(20 * 60);
    monitor_->tmrScanTimer();
    EXPECT_FALSE(monitor_->InFocus());
    EXPECT_FALSE(monitor_->FocusScheduled);
    EXPECT_EQ(window_.normalLayouts, 1);
}

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

class DailyResetTest : public MainMonitorTest {
protected:
    void Prepare(bool allowed) {
        Start();
        AddEntry(mitWebSite, "example.com", "Example");
        options_->AllowUserToChangeSettings = allowed;
        monitor_->tmrUsageTimer();
        monitor_->LimitReminderAllowed = false;
        monitor_->FocusReminderAllowed = false;
        monitor_->Show5MinButton = false;
        TIniFile& ini = GetIniFile();
        ini.WriteString("Applications", kGame, kGame);
        ini.WriteString("WebSites", "gone.example", "gone.example");
        ini.WriteInteger("Common", "TimeLimitSeconds", 3600);
        ini.WriteBool("Common", "TimeLimitSecondsChanged", true);
    }
    void CheckCommon() {
        TIniFile& ini = GetIniFile();
        EXPECT_FALSE(ini.SectionExists("Applications"));
        EXPECT_FALSE(ini.SectionExists("WebSites"));
        EXPECT_FALSE(ini.SectionExists("Common"));
        EXPECT_TRUE(monitor_->LimitReminderAllowed);
        EXPECT_TRUE(monitor_->FocusReminderAllowed);
        EXPECT_TRUE(monitor_->Show5MinButton);
        EXPECT_DOUBLE_EQ(options_->ResetDateTime, EncodeDateTime({2024, 3, 11, 4, 0, 0, 0}));
    }
    Rows StoredList() { return testing::QueryRows(settings_, "SELECT name FROM applications_list"); }
};

TEST_F(DailyResetTest, AppliesDeferredRemovalsAndPendingLimitWhenAllowed) {
    Prepare(true);
    monitor_->DailyReset();
    CheckCommon();
    EXPECT_LT(options_->MonitoredList().IndexOfName(kGame), 0);
    EXPECT_GE(options_->MonitoredList().IndexOfName("example.com"), 0);
    EXPECT_TRUE(StoredList().empty());  // saved
    EXPECT_LT(monitor_->Logger().TodayList().IndexOfName(kGame), 0);
    EXPECT_EQ(options_->TimeLimitSeconds(), 3600);
    EXPECT_EQ(window_.timeLimitText, "01:00");
    EXPECT_EQ(window_.actionText, "Reminder Only");
}

TEST_F(DailyResetTest, KeepsEverythingButStillErasesTheSectionsWhenNotAllowed) {
    Prepare(false);
    monitor_->DailyReset();
    CheckCommon();
    EXPECT_GE(options_->MonitoredList().IndexOfName(kGame), 0);
    EXPECT_EQ(StoredList(), (Rows{{kGame}}));
    EXPECT_EQ(options_->TimeLimitSeconds(), 28800);
    EXPECT_EQ(window_.timeLimitText, "08:00");
}

TEST_F(DailyResetTest, RowsTheLogDidNotTakeBeforeTheResetAreWrittenAfterIt) {
    Start();
    monitor_->Logger();  // today's totals loaded
    Pass(3);
    {
        // Another program holds the log past the busy time-out.
        TSQLiteDatabase holder(log_);
        holder.ExecSQL("BEGIN EXCLUSIVE");
        monitor_->tmrScanTimer();
        holder.ExecSQL("ROLLBACK");
    }
    ASSERT_EQ(monitor_->Logger().PendingRowCount(), 1u);
    monitor_->DailyReset();
    Pass(4);
    monitor_->tmrScanTimer();
    EXPECT_EQ(Durations(), (std::vector<std::string>{"3", "4"}));
}

TEST_F(DailyResetTest, ANewEngineCountsFromTheLatestFourOClock) {
    LogRow("2024-03-10 03:00:00", 500);
    LogRow("2024-03-10 05:00:00", 70);
    Prepare(false);  // the game stays on the list
    monitor_->Logger().SecondsOnList = 99999;
    monitor_->DailyReset();
    EXPECT_TRUE(monitor_->HasLogger());
    EXPECT_EQ(monitor_->Logger().SecondsOnList, 70);
}

}  // namespace
}  // namespace vh
