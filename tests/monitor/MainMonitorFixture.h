#pragma once
// The main window's monitoring side over the doubles: a recording window, a
// desktop of windows, options and the log in a temporary folder, and a clock
// the test moves.

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

using Rows = std::vector<std::vector<std::string>>;

inline constexpr char kGame[] = "C:\\Games\\game.exe";

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

}  // namespace vh
