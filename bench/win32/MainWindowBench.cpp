// Not a test: times the main window under Wine with 200 entries on the list
// and a generated 90-day activity log, and prints
//   - painting the whole window (its off-screen buffer, blit and the lists),
//   - switching to the usage view ("Today": the log's totals and the list),
//   - opening the usage history over three years of daily totals, and its
//     export to CSV.
//   main_window_benchmark [rows=1000000] [runs=50]
// Everything lives in a temporary folder removed at the end.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "doubles/FakeEnvironmentClock.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/TempFolder.h"
#include "environment/DateTimeUtils.h"
#include "environment/IniFile.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "model/DayRules.h"
#include "storage/AppearancePreferences.h"
#include "storage/DailyHistory.h"
#include "storage/DailyTotals.h"
#include "storage/Options.h"
#include "storage/UsageCsvExport.h"
#include "storage/UsageStatistics.h"
#include "support/StorageTestSupport.h"
#include "ui/win32/dialogs/HistoryFRM.h"
#include "ui/win32/main/MainFRM.h"
#include "ui/win32/skin/Skins.h"

namespace {

using namespace vh;
using namespace vh::win32;
using Clock = std::chrono::steady_clock;

constexpr int kEntries = 200;

// 100 applications and 100 sites on both lists; `rows` log rows spread over
// the 90 days before `now`, alternating between them.
void Prepare(const std::string& settings, const std::string& log, int rows, TDateTime now) {
    vh::testing::CopyReadyMadeDatabase("settings.sqlite", settings);
    vh::testing::CopyReadyMadeDatabase("actmondb.sqlite", log);
    for (int i = 0; i < kEntries / 2; ++i) {
        const std::string app = "C:\\Program Files\\App" + std::to_string(i) + "\\app.exe";
        const std::string site = "site" + std::to_string(i) + ".example.com";
        for (const std::string& file : {settings, log}) {
            vh::testing::InsertListEntry(file, "applications_list", app, "Application " + std::to_string(i));
            vh::testing::InsertListEntry(file, "websites_list", site, site);
        }
    }
    // One statement generates the log: julianday counts from noon, 4713 BC;
    // TDateTime from 30 December 1899.
    const double end = now + 2415018.5;
    vh::testing::RunScript(
        log, "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows - 1) +
                 ") INSERT INTO applications SELECT strftime('%Y-%m-%d %H:%M:%S', " + std::to_string(end) +
                 " - 90.0 * (" + std::to_string(rows) + " - i) / " + std::to_string(rows) +
                 "), CASE i % 2 WHEN 0 THEN 'C:\\Program Files\\App' || (i / 2 % 100) || '\\app.exe' "
                 "ELSE 'C:\\Chrome\\chrome.exe' END, CASE i % 2 WHEN 0 THEN '' ELSE 'site' || (i / 2 % 100) || "
                 "'.example.com' END, CASE i % 2 WHEN 0 THEN 'Desktop Application' ELSE 'Google Chrome' END, 3, "
                 "1 + i % 2 FROM n");
}

// Median and worst milliseconds of `runs` calls, each after an untimed `before`.
void Report(
    const char* what, int runs, const std::function<void()>& action, const std::function<void()>& before = [] {}) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        before();
        const auto begin = Clock::now();
        action();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%-46s median %8.2f ms   worst %8.2f ms   (%d runs)\n", what, times[times.size() / 2], times.back(),
                runs);
}

// Three years of daily totals: the log's 90 days summed from its rows, the
// days before as the engine would have kept them, 200 entries a day.
void PrepareHistory(const std::string& log, TDateTime now) {
    vh::testing::RunScript(log, "DROP TABLE daily_totals");
    const auto filling = Clock::now();
    {
        TSQLiteDatabase db(log);
        EnsureDailyTotals(db);
    }
    const double today = TodayStart(now) + 2415018.5;
    vh::testing::RunScript(
        log,
        "WITH RECURSIVE d(k) AS (SELECT 91 UNION ALL SELECT k + 1 FROM d WHERE k < 1095), "
        "e(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM e WHERE i < 199) "
        "INSERT INTO daily_totals SELECT date(" +
            std::to_string(today) +
            " - k), 1 + i % 2, CASE i % 2 WHEN 0 THEN 'C:\\Program Files\\App' || (i / 2) || '\\app.exe' "
            "ELSE 'C:\\Chrome\\chrome.exe' END, CASE i % 2 WHEN 0 THEN '' ELSE 'site' || (i / 2) || "
            "'.example.com' END, 30 + (k * 7 + i) % 300 FROM d, e");
    std::printf("daily totals: the log's 90 days summed in %.2f s, 1,005 days before them added\n",
                std::chrono::duration<double>(Clock::now() - filling).count());
}

TfrmHistory* OpenHistory() {
    for (TForm* form : LiveForms()) {
        if (auto* history = dynamic_cast<TfrmHistory*>(form)) return history;
    }
    return nullptr;
}

void CloseHistory() {
    if (TfrmHistory* history = OpenHistory()) FreeForm(history);
    ProcessMessages();
}

void ReportHistory(TfrmMain& form, const std::string& log, int runs) {
    PrepareHistory(log, ProgramNow());
    const TDateTime today = DateOf(TodayStart(ProgramNow()));
    for (const auto& [days, what] :
         {std::pair{90, "  of which reading 90 days"}, std::pair{365, "  of which reading 365 days"},
          std::pair{1098, "  of which reading three years"}}) {
        Report(what, std::max(1, runs / 5), [&, days = days] {
            TSQLiteDatabase db(log);
            DailyHistory(db, today - (days - 1), today);
        });
    }
    for (const auto& [range, what] : {std::pair{0, "open and paint the usage history (Last 7 Days)"},
                                      std::pair{1, "open and paint the usage history (Last 30 Days)"},
                                      std::pair{2, "open and paint the usage history (Last 90 Days)"},
                                      std::pair{3, "open and paint the usage history (Last 12 Months)"}}) {
        AppearancePreferences().SetHistoryRange(range);
        Report(
            what, std::max(1, runs / 5),
            [&] {
                form.actHistoryExecute();
                TfrmHistory* history = OpenHistory();
                RedrawWindow(history->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                GdiFlush();
            },
            &CloseHistory);
        CloseHistory();
    }
    Report("export three years of days to CSV", std::max(1, runs / 10), [&] {
        TSQLiteDatabase db(log);
        WriteUsageCsv(Environment().Platform(), "C:\\usage.csv", DailyHistory(db, today - 1097, today));
    });
    TSQLiteDatabase db(log);
    std::printf("the export: %zu bytes\n", UsageCsvText(DailyHistory(db, today - 1097, today)).size());
}

int Run(int rows, int runs) {
    InstallEnvironment(std::make_unique<vh::testing::FakeEnvironmentPlatform>());
    vh::testing::FakeEnvironmentClock clock;
    clock.standardOffsetHours = 0;
    clock.daylightOffsetHours = 0;
    clock.utc = EncodeDateTime({2024, 3, 10, 13, 30, 0, 0});
    InitializeProgramClock(clock);
    SetSkinFolder(VH_TEST_SKIN_DIR);
    vh::testing::TempFolder folder;
    const std::string settings = vh::testing::FileIn(folder.Path(), "settings.sqlite");
    const std::string log = vh::testing::FileIn(folder.Path(), "actmondb.sqlite");
    const auto generating = Clock::now();
    Prepare(settings, log, rows, ProgramNow());
    std::printf("%d list entries, %d log rows over 90 days (generated in %.1f s)\n", kEntries, rows,
                std::chrono::duration<double>(Clock::now() - generating).count());
    {
        TOptionsSite site;
        site.SettingsDBFileName = settings;
        site.LogDBFileName = log;
        site.IniFile = []() -> TIniFile& { return GetIniFile(); };
        site.Now = [] { return ProgramNow(); };
        TOptions options(site);
        auto& form = CreateForm<TfrmMain>(options);
        form.Show();
        form.ShowView(form.tsMain, false);
        std::printf("main list: %d rows\n", form.lbxMain_Applications.Count());
        ProcessMessages();
        Report("paint the whole window (all view)", runs, [&] {
            RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            GdiFlush();
        });
        Report("  of which the off-screen buffer", runs, [&] {
            TBitmap32 buffer;
            form.RenderClient(buffer);
        });
        Report("  of which the native children", runs, [&] {
            for (const auto& control : form.WinControls()) {
                if (control->Visible())
                    RedrawWindow(control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            }
            GdiFlush();
        });
        Report("usage totals of Today from the log", std::max(1, runs / 10), [&] {
            const TPeriodBounds bounds = UsagePeriodBounds(upToday, ProgramNow());
            form.Monitor().Logger().UsageListLoad(false, bounds.From, bounds.To);
            form.lbxUsage_Applications.Clear();  // its rows pointed into the old list
        });
        Report(
            "switch to the usage view (Today)", std::max(1, runs / 10),
            [&] {
                form.ShowView(form.tsUsage, false);
                UpdateWindow(form.Handle());
            },
            [&] {
                form.ShowView(form.tsMain, false);
                UpdateWindow(form.Handle());
            });
        std::printf("usage list: %d rows\n", form.lbxUsage_Applications.Count());
        ReportHistory(form, log, runs);
        FreeForm(&form);
    }
    FinalizeProgramClock();
    UninstallEnvironment();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 50;
    try {
        return Run(std::max(1, rows), std::max(1, runs));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "main_window_benchmark: %s\n", e.what());
        return 1;
    }
}
