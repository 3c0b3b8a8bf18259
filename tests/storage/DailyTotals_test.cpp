#include "storage/DailyTotals.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/StringUtils.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/TempFolder.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "storage/DailyHistory.h"
#include "storage/DatabaseFiles.h"
#include "storage/UsageStatistics.h"
#include "support/ReferenceUsageQueries.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

using testing::QueryRows;
using testing::RunScript;
using Rows = std::vector<std::vector<std::string>>;

class DailyTotals : public ::testing::Test {
protected:
    DailyTotals() {
        InstallEnvironment(std::make_unique<testing::FakeEnvironmentPlatform>());
        testing::CopyReadyMadeDatabase("actmondb.sqlite", db_);
    }
    ~DailyTotals() override { UninstallEnvironment(); }

    // A log row with its interval added to its day, as the engine writes them.
    void Log(const std::string& date, const std::string& app, const std::string& url, int seconds, int origin) {
        testing::InsertLogRow(db_, date, app, url, seconds, origin);
        TSQLiteDatabase(db_).ExecSQL(DailyTotalUpsertSql(),
                                     {date, app, url, std::string("x"), std::int64_t{seconds}, std::int64_t{origin}});
    }
    Rows Contents() { return QueryRows(db_, "SELECT * FROM daily_totals ORDER BY day, origin, app_name, browser_url"); }

    testing::TempFolder folder_;
    std::string db_ = testing::FileIn(folder_.Path(), "actmondb.sqlite");
};

// A row counts whole for the day of its written moment, as the log's queries
// count it: from 4:00:00 to 3:59:59 by the text, midnight no border, and an
// interval begun before 4:00 but written after it on the new day. (Dates are
// local; the engine's test runs through days of 23 and 25 hours.)
TEST_F(DailyTotals, EachRowFallsWholeOnTheDayOfItsTextSplitAtFourOClock) {
    struct Case {
        const char* date;
        const char* day;
        const char* next;
    } const cases[] = {
        {"2024-03-10 03:59:59", "2024-03-09", "2024-03-10"}, {"2024-03-10 04:00:00", "2024-03-10", "2024-03-11"},
        {"2024-03-11 04:00:02", "2024-03-11", "2024-03-12"},  // begun at 3:59:57
        {"2024-03-11 00:00:02", "2024-03-10", "2024-03-11"},  // begun at 23:59:57
        {"2024-03-01 03:00:00", "2024-02-29", "2024-03-01"}, {"2025-01-01 01:00:00", "2024-12-31", "2025-01-01"},
        {"2024-05-05 03.59.59", "2024-05-04", "2024-05-05"},  // a locale's "." as time separator
    };
    RunScript(db_, "INSERT INTO applications_list VALUES('C:\\Apps\\game.exe', 'Game', 1);");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.date);
        RunScript(db_, "DELETE FROM applications; DELETE FROM daily_totals;");
        Log(c.date, "C:\\Apps\\game.exe", "", 5, 1);
        EXPECT_EQ(QueryRows(db_, "SELECT day, seconds FROM daily_totals"), (Rows{{c.day, "5"}}));
        const std::string s(1, c.date[13]);
        const std::string from = std::string(c.day) + " 04" + s + "00" + s + "00";
        const std::string to = std::string(c.next) + " 03" + s + "59" + s + "59";
        EXPECT_EQ(QueryRows(db_, testing::ReferenceApplicationsQuery(from, to)).at(0).at(3), "5");
    }
}

// A log of 100 days with rows on 4:00, on the periods' bounds and at random,
// names inside names: every period's totals, whole past days read from the
// daily totals, equal the straightforward queries over the log.
TEST_F(DailyTotals, PeriodTotalsEqualTheStraightforwardQueriesForEveryPeriod) {
    const TDateTime now = EncodeDateTime({2024, 6, 20, 15, 30, 12, 0});
    RunScript(db_,
              "INSERT INTO websites_list VALUES('example.com', 'w', 1), ('news.example.com', 'w', 1), "
              "('EXAMPLE.org', 'w', 1), ('a_b', 'w', 1), ('ex', 'w', 1);"
              "INSERT INTO applications_list VALUES('C:\\A\\game.exe', 'a', 1), ('C:\\a\\GAME.exe', 'a', 1), "
              "('C:\\B\\tool.exe', 'a', 1), ('C:\\Chrome\\chrome.exe', 'a', 1);");
    const std::vector<std::string> apps = {"C:\\A\\game.exe", "C:\\B\\tool.exe", "C:\\Chrome\\chrome.exe"};
    const std::vector<std::string> addresses = {"",    "example.com", "news.example.com",       "Example.org",
                                                "aXb", "EX",          "C:\\Chrome\\chrome.exe", "other.org"};
    std::mt19937 random(20240620);
    std::vector<TDateTime> moments;
    for (int i = 0; i < 1000; ++i) moments.push_back(now - 100 * (random() % 100000) / 100000.0);
    for (int day = 0; day < 100; ++day) moments.push_back(DateOf(now) - day + 4.0 / 24);
    for (int p = upLast24Hours; p <= upLast3Months; ++p)
        for (double offset : {-1.0, 0.0})
            moments.push_back(UsagePeriodBounds(static_cast<TUsagePeriod>(p), now).From + offset / kSecondsPerDay);
    for (TDateTime moment : moments) {
        const std::string& url = addresses[random() % addresses.size()];
        Log(FormatDbDateTime(moment, ":"), apps[random() % apps.size()], url, 1 + random() % 9, url.empty() ? 1 : 2);
    }
    auto totals = [&](int p, bool reference) {
        const TPeriodBounds bounds = UsagePeriodBounds(static_cast<TUsagePeriod>(p), now);
        const std::string from = FormatDbDateTime(bounds.From, ":"), to = FormatDbDateTime(bounds.To, ":");
        std::map<std::string, std::string> byName;
        TSQLiteDatabase db(db_);
        for (TMonitoredItemType type : {mitWebSite, mitApplication}) {
            if (!reference) {
                for (const TUsageTotal& total : UsageTotals(db, type, bounds.From, bounds.To))
                    byName[std::to_string(type) + total.Name] = std::to_string(total.Seconds);
                continue;
            }
            const std::string sql = type == mitWebSite
                                        ? testing::ReferenceWebSitesQuery(from, to)
                                        : testing::ReferenceApplicationsQueryWithCaseAndBrowserRows(from, to);
            for (const auto& row : QueryRows(db_, sql)) byName[std::to_string(type) + row[2]] = row[3];
        }
        return byName;
    };
    for (int p = upToday; p <= upLast3Months; ++p) {
        SCOPED_TRACE(std::string(kUsagePeriodTexts[p]));
        EXPECT_EQ(totals(p, false), totals(p, true));
    }
}

// Each logged second once on the list; every entry a row counts for (a name
// inside another counts for both), by caption, an address in any letter case
// once; days without time are there.
TEST_F(DailyTotals, HistoryGivesEachDayItsListSecondsAndItsEntriesSeconds) {
    RunScript(db_,
              "INSERT INTO websites_list VALUES('news.example.com', 'News', 1), ('example.com', 'Example', 1);"
              "INSERT INTO applications_list VALUES('notepad.exe', 'Notepad', 1), ('C:\\idle.exe', 'Idle', 1);");
    Log("2024-03-10 05:00:00", "C:\\chrome.exe", "news.example.com", 10, 2);
    Log("2024-03-11 03:00:00", "C:\\Windows\\NOTEPAD.EXE", "", 20, 1);
    Log("2024-03-12 09:00:00", "D:\\notepad.exe", "", 30, 1);
    // The same address in other letter case on another day: counted once.
    Log("2024-03-12 10:00:00", "C:\\chrome.exe", "NEWS.example.com", 5, 2);
    TSQLiteDatabase db(db_);
    std::vector<std::string> days;
    for (const TDailyHistoryDay& day : DailyHistory(db, EncodeDate(2024, 3, 10), EncodeDate(2024, 3, 12))) {
        std::string text = FormatDbDate(day.Date) + " " + std::to_string(day.SecondsOnList);
        for (const TDailyEntrySeconds& e : day.Entries)
            text +=
                "; " + std::to_string(e.ItemType) + " " + e.Caption + " " + e.Name + " " + std::to_string(e.Seconds);
        days.push_back(text);
    }
    EXPECT_EQ(days,
              (std::vector<std::string>{
                  "2024-03-10 30; 2 Example example.com 10; 2 News news.example.com 10; 1 Notepad notepad.exe 20",
                  "2024-03-11 0",
                  "2024-03-12 35; 2 Example example.com 5; 2 News news.example.com 5; 1 Notepad notepad.exe 30"}));
}

// A month's period holds exactly its days' sums: the range's first and last
// month only in part, a night after midnight on the first of a month in the
// month before, months without time there and empty.
TEST_F(DailyTotals, MonthsSumTheirDaysOfTheRangeOnly) {
    RunScript(db_,
              "INSERT INTO websites_list VALUES('example.com', 'Example', 1);"
              "INSERT INTO applications_list VALUES('notepad.exe', 'Notepad', 1);");
    for (const auto& [date, seconds] : {std::pair{"2024-01-31 12:00:00", 1},
                                        {"2024-02-01 05:00:00", 2},
                                        {"2024-02-29 23:00:00", 4},
                                        {"2024-04-01 03:59:59", 8},
                                        {"2024-04-01 04:00:00", 16},
                                        {"2024-05-02 12:00:00", 32}}) {
        Log(date, "C:\\Windows\\notepad.exe", "", seconds, 1);
        Log(date, "C:\\chrome.exe", "example.com/a", seconds * 100, 2);
    }
    TSQLiteDatabase db(db_);
    const TDateTime first = EncodeDate(2024, 2, 1), last = EncodeDate(2024, 5, 1);
    std::vector<std::string> months;
    for (const TDailyHistoryDay& month : MonthlyHistory(db, first, last)) {
        std::string text = FormatDbDate(month.Date) + " " + std::to_string(month.SecondsOnList);
        for (const TDailyEntrySeconds& e : month.Entries) text += "; " + e.Caption + " " + std::to_string(e.Seconds);
        months.push_back(text);
    }
    EXPECT_EQ(months, (std::vector<std::string>{"2024-02-01 606; Example 600; Notepad 6",
                                                "2024-03-01 808; Example 800; Notepad 8",
                                                "2024-04-01 1616; Example 1600; Notepad 16", "2024-05-01 0"}));
}

// The clean-up keeps days past the log's 90 for three years, and takes an
// unlisted program's days with its rows.
TEST_F(DailyTotals, CleanUpKeepsOldDaysForThreeYearsAndDropsUnlistedPrograms) {
    RunScript(db_, "INSERT INTO applications_list VALUES('C:\\kept.exe', 'Kept', 1);");
    Log("2021-06-19 12:00:00", "C:\\kept.exe", "", 1, 1);
    Log("2021-06-20 12:00:00", "C:\\kept.exe", "", 2, 1);
    Log("2024-06-01 12:00:00", "C:\\gone.exe", "", 4, 1);
    Log("2024-06-01 12:00:00", "C:\\chrome.exe", "gone.example.com", 5, 2);
    const TDateTime now = EncodeDateTime({2024, 6, 20, 12, 0, 0, 0});
    PurgeActivityLog(db_, FormatDbDateTime(now - kActivityLogDays, ":"), OldestDailyTotalsDay(now));
    EXPECT_EQ(QueryRows(db_, "SELECT app_name FROM applications"), (Rows{{"C:\\chrome.exe"}}));
    EXPECT_EQ(Contents(), (Rows{{"2021-06-20", "1", "C:\\kept.exe", "", "2"},
                                {"2024-06-01", "2", "C:\\chrome.exe", "gone.example.com", "5"}}));
}

// Totals kept before the range index came (their table only) keep every row
// and gain the index; a file without totals gets both, filled from the log.
// Either way the range read then takes the index instead of the table.
TEST_F(DailyTotals, MissingTotalsOrTheirRangeIndexAreMadeAndTheRangeReadUsesIt) {
    struct Case {
        const char* dropped;
        bool created;
    } const cases[] = {{"DROP INDEX daily_totals_days; DELETE FROM applications;", false},
                       {"DROP TABLE daily_totals;", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dropped);
        RunScript(db_, "DELETE FROM applications; DELETE FROM daily_totals;");
        Log("2024-06-01 12:00:00", "C:\\kept.exe", "", 4, 1);
        RunScript(db_, c.dropped);
        TSQLiteDatabase db(db_);
        EXPECT_EQ(EnsureDailyTotals(db), c.created);
        EXPECT_FALSE(EnsureDailyTotals(db)) << "made twice";
        EXPECT_EQ(Contents(), (Rows{{"2024-06-01", "1", "C:\\kept.exe", "", "4"}}));
        const Rows plan = QueryRows(db_,
                                    "EXPLAIN QUERY PLAN SELECT day, origin, app_name, browser_url, seconds FROM "
                                    "daily_totals WHERE day BETWEEN '2024-01-01' AND '2024-12-31' ORDER BY day");
        ASSERT_FALSE(plan.empty());
        EXPECT_NE(plan[0].back().find("COVERING INDEX daily_totals_days"), std::string::npos) << plan[0].back();
    }
}

}  // namespace
}  // namespace vh
