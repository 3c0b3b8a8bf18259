// Times the usage-statistics loads on a generated 90-day activity log against
// the straightforward form of the queries, and prints one line per period:
// the log alone, and whole past days from the daily totals. Then the engine's
// cost per logged interval, its row with and without the day's upsert:
//   usage_statistics_bench [rows=1000000] [runs=5] [intervals=2000]
// The log file is made in the system's temporary folder and removed at the end.

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "common/StringUtils.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "monitor/ZuravoZazoApplicationLogger.h"
#include "storage/DailyHistory.h"
#include "storage/DailyTotals.h"
#include "storage/SQLiteTable3.h"
#include "storage/UsageStatistics.h"
#include "support/ReferenceUsageQueries.h"

namespace {

using namespace vh;
using Clock = std::chrono::steady_clock;

std::string DbText(TDateTime value) {
    const DateTimeParts p = DecodeDateTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                  p.second);
    return text;
}

void Exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "?";
        sqlite3_free(error);
        throw std::runtime_error(message);
    }
}

// A log as the program writes it: every 3-second interval on a listed item,
// desktop rows with an empty address, browser rows under the entry's name.
void Generate(const std::string& file, int rows, TDateTime now) {
    std::filesystem::copy_file(VH_READY_LOG, file);
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot open " + file);

    std::vector<std::string> apps, sites;
    for (int i = 0; i < 25; ++i) apps.push_back("C:\\Program Files\\App" + std::to_string(i) + "\\app.exe");
    for (int i = 0; i < 25; ++i) sites.push_back("site" + std::to_string(i) + ".example.com");
    const std::vector<std::string> browsers = {"C:\\Chrome\\chrome.exe", "C:\\Firefox\\firefox.exe"};
    Exec(db, "BEGIN");
    for (const auto& a : apps) Exec(db, "INSERT INTO applications_list VALUES(" + QuotedSqlString(a) + ", 'App', 1)");
    for (const auto& s : sites) Exec(db, "INSERT INTO websites_list VALUES(" + QuotedSqlString(s) + ", 'Site', 1)");

    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO applications VALUES(?, ?, ?, ?, ?, ?)", -1, &insert, nullptr);
    std::mt19937 random(42);
    const TDateTime start = now - 90;
    for (int i = 0; i < rows; ++i) {
        const std::string date = DbText(start + 90.0 * i / rows);
        const bool web = random() % 2 == 0;
        const std::string app = web ? browsers[random() % 2] : apps[random() % apps.size()];
        const std::string url = web ? sites[random() % sites.size()] : "";
        sqlite3_bind_text(insert, 1, date.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, app.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, url.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, web ? "Google Chrome" : "Desktop Application", -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 5, 3);
        sqlite3_bind_int(insert, 6, web ? 2 : 1);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Exec(db, "COMMIT");
    sqlite3_close(db);
}

// Median milliseconds of `runs` loads, one connection each, as the engine
// does: `load` gives one type's totals from an open connection.
template <class Load>
double TimeRuns(int runs, long long& total, const Load& load) {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const auto begin = Clock::now();
        total = load();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The straightforward queries' sums.
long long ReferenceTotal(const std::string& file, const std::string& web, const std::string& apps) {
    long long total = 0;
    for (const std::string* query : {&web, &apps}) {
        TSQLiteDatabase db(file);
        auto table = db.GetTable(*query);
        const int field = table->RowCount() ? table->FieldIndex("total_duration") : 0;
        for (table->MoveFirst(); !table->Eof(); table->Next()) total += table->FieldAsInteger(field);
    }
    return total;
}

long long ProgramTotal(const std::string& file, const std::string& from, const std::string& to) {
    long long total = 0;
    {
        TSQLiteDatabase db(file);
        for (const TUsageTotal& t : WebSiteTotals(db, from, to)) total += t.Seconds;
    }
    TSQLiteDatabase db(file);
    for (const TUsageTotal& t : ApplicationTotals(db, from, to)) total += t.Seconds;
    return total;
}

// The loads as the usage view runs them: whole past days from the daily totals.
long long DailyTotalsTotal(const std::string& file, const TPeriodBounds& bounds) {
    long long total = 0;
    for (TMonitoredItemType type : {mitWebSite, mitApplication}) {
        TSQLiteDatabase db(file);
        for (const TUsageTotal& t : UsageTotals(db, type, bounds.From, bounds.To)) total += t.Seconds;
    }
    return total;
}

double Milliseconds(Clock::time_point begin) {
    return std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
}

// The daily totals made from the whole log, as for a file that lacks them.
double RebuildDailyTotals(const std::string& file) {
    TSQLiteDatabase db(file);
    db.ExecSQL("DROP TABLE daily_totals");
    const auto begin = Clock::now();
    EnsureDailyTotals(db);
    return Milliseconds(begin);
}

// Microseconds per logged interval: as the engine writes it, one transaction
// with the row and with or without the day's upsert, or all in one
// transaction, which leaves the statements' own cost without the commits.
double MicrosecondsPerInterval(const std::string& file, int intervals, TDateTime start, bool withUpsert,
                               bool commitEach) {
    TSQLiteDatabase db(file);
    TSQLiteStatement insert(db, kActivityRowInsertSql);
    TSQLiteStatement addToDay(db, DailyTotalUpsertSql());
    const auto begin = Clock::now();
    std::optional<TSQLiteTransaction> all;
    if (!commitEach) all.emplace(db);
    for (int i = 0; i < intervals; ++i) {
        const TSQLiteParams row = ActivityRowParams(DbText(start + 3.0 * i / kSecondsPerDay),
                                                    "C:\\Program Files\\App" + std::to_string(i % 25) + "\\app.exe", "",
                                                    "Desktop Application", 3, mitApplication);
        std::optional<TSQLiteTransaction> one;
        if (commitEach) one.emplace(db);
        insert.Exec(row);
        if (withUpsert) addToDay.Exec(row);
        if (one) one->Commit();
    }
    if (all) all->Commit();
    return Milliseconds(begin) * 1000.0 / intervals;
}

long long RowsIn(const std::string& file, const std::string& from, const std::string& to) {
    TSQLiteDatabase db(file);
    auto table = db.GetTable("SELECT COUNT(*) AS n FROM applications WHERE date_created BETWEEN ? AND ?", {from, to});
    return table->FieldAsInteger(0);
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1'000'000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const int intervals = argc > 3 ? std::atoi(argv[3]) : 2000;
    InstallEnvironment(std::make_unique<testing::FakeEnvironmentPlatform>());
    const auto file = std::filesystem::temp_directory_path() / "vornhalt-usage-bench.sqlite";
    std::filesystem::remove(file);
    const TDateTime now = EncodeDateTime({2026, 12, 8, 15, 30, 0, 0});
    std::printf("generating %d log rows over 90 days with 25 application and 25 web-site entries...\n", rows);
    Generate(file.string(), rows, now);
    std::printf("daily totals made from the whole log in %.0f ms\n", RebuildDailyTotals(file.string()));
    std::printf("%-14s %9s %14s %12s %15s  %s\n", "period", "rows", "as written ms", "log ms", "daily totals ms",
                "totals");
    double lastLog = 0, lastDaily = 0;
    for (int p = upToday; p <= upLast3Months; ++p) {
        const TPeriodBounds bounds = UsagePeriodBounds(static_cast<TUsagePeriod>(p), now);
        const std::string from = DbText(bounds.From), to = DbText(bounds.To);
        long long referenceTotal = 0, total = 0, dailyTotal = 0;
        const double reference = TimeRuns(std::max(1, runs / 5), referenceTotal, [&] {
            return ReferenceTotal(file.string(), testing::ReferenceWebSitesQuery(from, to),
                                  testing::ReferenceApplicationsQuery(from, to));
        });
        lastLog = TimeRuns(runs, total, [&] { return ProgramTotal(file.string(), from, to); });
        lastDaily = TimeRuns(runs, dailyTotal, [&] { return DailyTotalsTotal(file.string(), bounds); });
        std::printf("%-14s %9lld %14.1f %12.2f %15.2f  %s\n", std::string(kUsagePeriodTexts[p]).c_str(),
                    RowsIn(file.string(), from, to), reference, lastLog, lastDaily,
                    referenceTotal == total && total == dailyTotal ? "equal" : "DIFFERENT");
    }
    std::printf("\"Last 3 months\": %.2f ms from the log alone, %.2f ms with the daily totals\n", lastLog, lastDaily);
    long long historyDays = 0;
    const double history = TimeRuns(runs, historyDays, [&] {
        TSQLiteDatabase db(file.string());
        return static_cast<long long>(DailyHistory(db, now - 90, now).size());
    });
    std::printf("history of %lld days by day and entry: %.2f ms\n", historyDays, history);
    for (const bool commitEach : {true, false}) {
        const double insertOnly = MicrosecondsPerInterval(file.string(), intervals, now + 1, false, commitEach);
        const double withUpsert = MicrosecondsPerInterval(file.string(), intervals, now + 2, true, commitEach);
        std::printf("per logged interval (%d, %s): insert %.1f us, insert and upsert %.1f us\n", intervals,
                    commitEach ? "one transaction each, as the engine" : "all in one transaction", insertOnly,
                    withUpsert);
    }
    if (!std::getenv("VH_BENCH_KEEP")) std::filesystem::remove(file);
    UninstallEnvironment();
    return 0;
}
