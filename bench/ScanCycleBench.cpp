// Not a test: the processor time of one scan cycle of the hidden main window
// over the test doubles (a listed program in front, the program clock moved
// on 3 s a scan, real database files), and of its parts, and what an hour of
// monitoring costs at one scan every 3 s:
//   - the whole scan (tmrScanTimer: probe, match, one log row),
//   - the probe alone, a row alone, and a row written the former way (a
//     connection opened, its statement prepared, closed, for every row),
//   - the other timers' ticks while hidden (the time display every second,
//     the usage list every 12 s) and the options' save every 4 minutes.
//   build/bench/bench/scan_cycle_benchmark [scans=3000]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "doubles/FakeEnvironmentClock.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/FakeWindowSystem.h"
#include "environment/DateTimeUtils.h"
#include "environment/IniFile.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "monitor/MainMonitor.h"
#include "storage/Options.h"
#include "storage/SQLiteTable3.h"
#include "support/StorageTestSupport.h"

namespace {

using namespace vh;

constexpr char kGame[] = "C:\\Games\\game.exe";
constexpr double kScansPerHour = 3600.0 / 3;

// The hidden window: every call does nothing, as a window that paints only
// when shown.
class HiddenWindow : public IMainWindow {
public:
    void SetScanTimerEnabled(bool) override {}
    void SetReminderOnlyTimerEnabled(bool) override {}
    void SelectReminderPeriod(TReminderType) override {}
    void ShowNormalLayout() override {}
    void ShowFocusLayout() override {}
    void RefreshUsage() override {}
    void RefreshTime() override {}
    void ClearListViews() override {}
    void ShowDayStart(const std::string&, const std::string&) override {}
    bool ShowReminder(bool, const std::string&, bool) override { return false; }
    void RunReminderChange() override {}
    void MinimizeApplication() override {}
    void TrayIconLeftClick() override {}
    void TerminateApplication() override {}
};

struct Figures {
    double medianCpuUs;
    double medianWallUs;
};

// Processor and wall time of `runs` calls, medians in microseconds; `between`
// runs untimed before each call.
Figures Time(int runs, const std::function<void()>& call, const std::function<void()>& between) {
    std::vector<double> cpu;
    std::vector<double> wall;
    for (int i = 0; i < runs; ++i) {
        if (between) between();
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        call();
        wall.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        cpu.push_back(1e6 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());
    // clock() ticks coarsely: the mean of processor time is the honest figure.
    double cpuSum = 0;
    for (double c : cpu) cpuSum += c;
    return {cpuSum / runs, wall[wall.size() / 2]};
}

void Print(const char* what, const Figures& f, double perHour) {
    std::printf("%-44s %10.1f us CPU (mean) %10.1f us wall (median) %9.1f ms CPU per hour\n", what, f.medianCpuUs,
                f.medianWallUs, f.medianCpuUs * perHour / 1000.0);
}

}  // namespace

int main(int argc, char** argv) {
    const int scans = argc > 1 ? std::max(10, std::atoi(argv[1])) : 3000;

    InstallEnvironment(std::make_unique<testing::FakeEnvironmentPlatform>());
    testing::FakeEnvironmentClock clock;
    clock.standardOffsetHours = 0;
    clock.daylightOffsetHours = 0;
    clock.utc = EncodeDateTime({2024, 3, 10, 9, 0, 0, 0});
    InitializeProgramClock(clock);
    {
        testing::TempFolder folder;
        const std::string settings = testing::FileIn(folder.Path(), "settings.sqlite");
        const std::string log = testing::FileIn(folder.Path(), "actmondb.sqlite");
        testing::CopyReadyMadeDatabase("settings.sqlite", settings);
        testing::CopyReadyMadeDatabase("actmondb.sqlite", log);
        testing::FakeWindowSystem windows;
        const TWindowId game = windows.AddTopLevel("GameWindow", 40);
        windows.SetImage(40, "\\Device\\HarddiskVolume1\\Games\\game.exe");
        windows.Foreground = game;

        TOptionsSite site;
        site.SettingsDBFileName = settings;
        site.LogDBFileName = log;
        site.IniFile = []() -> TIniFile& { return GetIniFile(); };
        site.Now = [] { return ProgramNow(); };
        TOptions options(site);
        auto item = std::make_unique<TMonitoredItem>();
        item->ItemType = mitApplication;
        item->Name = kGame;
        item->Caption = "Game";
        options.MonitoredList().Add("Game", std::move(item));
        options.MonitoredItemsSave();
        HiddenWindow window;
        TMainMonitor monitor(options, windows, window);
        monitor.Start();
        const auto pass = [&clock] { clock.Advance(3); };

        std::printf("scan cycle over the doubles, %d scans (one every 3 s of program time)\n", scans);
        Print("whole scan (tmrScanTimer)",
              Time(
                  scans, [&] { monitor.tmrScanTimer(); }, pass),
              kScansPerHour);
        Print("probe (Execute)",
              Time(
                  scans, [&] { monitor.Probe().Execute(false, nullptr); }, pass),
              kScansPerHour);
        TZuravoZazoApplication& probe = monitor.Probe();
        Print("row through the open connection (Log)",
              Time(
                  scans, [&] { monitor.Logger().Log(&probe, 3); }, pass),
              kScansPerHour);
        const TSQLiteParams row =
            ActivityRowParams("2024-03-10 09:00:00", kGame, "", "Desktop Application", 3, mitApplication);
        Print("row the former way (open, prepare, close)",
              Time(
                  scans,
                  [&] {
                      TSQLiteDatabase db(log);
                      db.ExecSQL(kActivityRowInsertSql, row);
                  },
                  nullptr),
              kScansPerHour);
        Print("time display tick, hidden (tmrTimeTimer)",
              Time(
                  scans, [&] { monitor.tmrTimeTimer(); }, nullptr),
              3600.0);
        Print("usage tick, hidden (tmrUsageTimer)",
              Time(
                  scans, [&] { monitor.tmrUsageTimer(); }, nullptr),
              3600.0 / (kUsageInterval / 1000.0));
        Print("options saved (tmrSaveOptionsTimer)",
              Time(
                  std::min(scans, 200), [&] { monitor.tmrSaveOptionsTimer(); }, nullptr),
              3600.0 / (kSaveOptionsInterval / 1000.0));
        const auto rows = testing::QueryRows(log, "SELECT COUNT(*) FROM applications");
        std::printf("log rows written: %s\n", rows.at(0).at(0).c_str());
    }
    FinalizeProgramClock();
    UninstallEnvironment();
    return 0;
}
