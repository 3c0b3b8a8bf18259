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
#include "storage/SQLiteTable3.h"
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

    // A row of the log with its interval added to its day, as the engine writes them.
    void Log(const std::string& date, const std::string& app, const std::string& url, int seconds, int origin) {
        testing::InsertLogRow(db_, date, app, url, seconds, origin);
        TSQLiteDatabase(db_).ExecSQL(DailyTotalUpsertSql(),
                                     {date, app, url, std::string("x"), std::int64_t{seconds}, std::int64_t{origin}});
    }
    Rows Contents() {
        return QueryRows(db_,
                         "SELECT day, origin, app_name, browser_url, seconds FROM daily_totals ORDER BY day, origin, "
                         "app_name, browser_url");
    }
    // The daily totals made again from the log alone.
    Rows Rebuilt() {
        RunScript(db_, "DROP TABLE daily_totals;");
        TSQLiteDatabase db(db_);
        EXPECT_TRUE(EnsureDailyTotals(db));
        EXPECT_FALSE(EnsureDailyTotals(db));
        return Contents();
    }

    testing::TempFolder folder_;
    std::string db_ = testing::FileIn(folder_.Path(), "actmondb.sqlite");
};

// A row counts whole for the day of its written moment, as the log's queries
// count it: the day runs from 4:00:00 to 3:59:59 by the text, midnight is no
// border, and an interval that began before 4:00 but was written after it
// belongs to the new day. The program's clock is local time, so a day with a
// daylight-saving change is the 23 or 25 hours between two 4:00 texts (the
// engine's test runs through both).
TEST_F(DailyTotals, EachRowFallsOnTheDayOfItsTextSplitAtFourOClock) {
    struct Case {
        const char* date;
        int seconds;
        const char* day;
    } const cases[] = {
        {"2024-03-10 03:59:59", 3, "2024-03-09"},  // the last second of the day before
        {"2024-03-10 04:00:00", 4, "2024-03-10"},  // the first of the day
        {"2024-03-10 04:00:02", 5, "2024-03-10"},  // begun at 3:59:57, written after 4:00
        {"2024-03-10 23:59:59", 6, "2024-03-10"},
        {"2024-03-11 00:00:02", 7, "2024-03-10"},  // across midnight: still the day of 4:00 before
        {"2024-03-31 01:59:59", 8, "2024-03-30"},  // before a spring-forward gap, 2:00-3:00 never written
        {"2024-03-31 03:00:00", 9, "2024-03-30"},
        {"2024-10-27 02:30:00", 10, "2024-10-26"},  // the hour a fall-back writes twice
        {"2024-10-27 02:30:00", 11, "2024-10-26"},
        {"2024-03-01 03:00:00", 12, "2024-02-29"},  // a leap day
        {"2025-01-01 01:00:00", 13, "2024-12-31"},  // a year
        {"2024-05-05 03.59.59", 14, "2024-05-04"},  // a locale's "." as time separator
    };
    RunScript(db_, "INSERT INTO applications_list VALUES('C:\\Apps\\game.exe', 'Game', 1);");
    for (const Case& c : cases) Log(c.date, "C:\\Apps\\game.exe", "", c.seconds, 1);
    std::map<std::string, int> expected;
    for (const Case& c : cases) expected[c.day] += c.seconds;
    std::map<std::string, int> days;
    for (const auto& row : QueryRows(db_, "SELECT day, SUM(seconds) FROM daily_totals GROUP BY day"))
        days[row[0]] = std::stoi(row[1]);
    EXPECT_EQ(days, expected);
    // Each day holds what the log's query counts between its two 4:00 texts.
    for (const auto& [day, seconds] : expected) {
        if (day == "2024-05-04") continue;  // its text sorts by its own separator
        const TDateTime date =
            EncodeDate(std::stoi(day.substr(0, 4)), std::stoi(day.substr(5, 2)), std::stoi(day.substr(8, 2)));
        const std::string to = FormatDbDate(date + 1) + " 03:59:59";
        EXPECT_EQ(QueryRows(db_, testing::ReferenceApplicationsQuery(day + " 04:00:00", to))[0][3],
                  std::to_string(seconds))
            << day;
    }
    EXPECT_EQ(Rebuilt(), Contents());
}

// A log of 100 days with rows at awkward moments (on 4:00, on the periods'
// bounds, around midnight) and names inside names: every period's totals,
// whole days read from the daily totals, equal the straightforward queries
// over the log, also once the log's old rows are gone.
TEST_F(DailyTotals, PeriodTotalsEqualTheStraightforwardQueriesForEveryPeriod) {
    const TDateTime now = EncodeDateTime({2024, 6, 20, 15, 30, 12, 0});
    const std::vector<std::string> webNames = {"example.com", "news.example.com", "EXAMPLE.org", "a_b", "ex"};
    const std::vector<std::string> appNames = {"C:\\A\\game.exe", "C:\\a\\GAME.exe", "C:\\B\\tool.exe",
                                               "C:\\Chrome\\chrome.exe"};
    const std::vector<std::string> addresses = {"",    "example.com", "news.example.com",       "Example.org",
                                                "aXb", "EX",          "C:\\Chrome\\chrome.exe", "other.org"};
    std::string script = "BEGIN;";
    for (const auto& name : webNames)
        script += "INSERT INTO websites_list VALUES(" + QuotedSqlString(name) + ", 'w', 1);";
    for (const auto& name : appNames)
        script += "INSERT INTO applications_list VALUES(" + QuotedSqlString(name) + ", 'a', 1);";
    RunScript(db_, script + "COMMIT;");
    std::mt19937 random(20240620);
    std::vector<TDateTime> moments;
    for (int i = 0; i < 1500; ++i) moments.push_back(now - 100 * (random() % 100000) / 100000.0);
    for (int day = 0; day < 100; ++day) {
        const TDateTime four = DateOf(now) - day + 4.0 / 24;
        for (double offset : {-1.0, 0.0, 1.0}) moments.push_back(four + offset / kSecondsPerDay);
        moments.push_back(DateOf(now) - day + 0.5 / kSecondsPerDay);
    }
    for (int p = upLast24Hours; p <= upLast3Months; ++p) {
        const TDateTime from = UsagePeriodBounds(static_cast<TUsagePeriod>(p), now).From;
        for (double offset : {-1.0, 0.0, 1.0}) moments.push_back(from + offset / kSecondsPerDay);
    }
    for (TDateTime moment : moments) {
        const std::string& app = appNames[random() % appNames.size()];
        const std::string& url = addresses[random() % addresses.size()];
        Log(FormatDbDateTime(moment, ":"), app, url, 1 + static_cast<int>(random() % 9), url.empty() ? 1 : 2);
    }
    std::map<int, std::map<std::string, std::string>> references;
    auto totals = [&](int p) {
        const TPeriodBounds bounds = UsagePeriodBounds(static_cast<TUsagePeriod>(p), now);
        TSQLiteDatabase db(db_);
        std::map<std::string, std::string> byName;
        for (TMonitoredItemType type : {mitWebSite, mitApplication})
            for (const TUsageTotal& total : UsageTotals(db, type, bounds.From, bounds.To))
                byName[std::to_string(type) + total.Name] = std::to_string(total.Seconds);
        return byName;
    };
    for (int p = upToday; p <= upLast3Months; ++p) {
        const TPeriodBounds bounds = UsagePeriodBounds(static_cast<TUsagePeriod>(p), now);
        const std::string from = FormatDbDateTime(bounds.From, ":"), to = FormatDbDateTime(bounds.To, ":");
        for (const auto& row : QueryRows(db_, testing::ReferenceWebSitesQuery(from, to)))
            references[p][std::to_string(mitWebSite) + row[2]] = row[3];
        for (const auto& row : QueryRows(db_, testing::ReferenceApplicationsQueryWithCaseAndBrowserRows(from, to)))
            references[p][std::to_string(mitApplication) + row[2]] = row[3];
        SCOPED_TRACE(std::string(kUsagePeriodTexts[p]));
        EXPECT_EQ(totals(p), references[p]);
    }
    // Whole days inside the periods leave the log; their first days and today stay.
    RunScript(db_,
              "DELETE FROM applications WHERE date_created BETWEEN '2024-04-01 04:00:00' AND '2024-05-01 03:59:59' "
              "OR date_created BETWEEN '2024-06-07 04:00:00' AND '2024-06-12 03:59:59' "
              "OR date_created BETWEEN '2024-06-14 04:00:00' AND '2024-06-16 03:59:59';");
    for (int p = upLast7Days; p <= upLast3Months; ++p) {
        SCOPED_TRACE(std::string(kUsagePeriodTexts[p]) + " without the log's middle");
        EXPECT_EQ(totals(p), references[p]);
    }
}

// The history's days: each logged second once on the list, every entry that a
// row counts for (a name inside another counts for both), days without time.
TEST_F(DailyTotals, HistoryGivesEachDayItsListSecondsAndItsEntriesSeconds) {
    RunScript(db_,
              "INSERT INTO websites_list VALUES('example.com', 'Example', 1);"
              "INSERT INTO websites_list VALUES('news.example.com', 'News', 1);"
              "INSERT INTO applications_list VALUES('notepad.exe', 'Notepad', 1);"
              "INSERT INTO applications_list VALUES('C:\\Apps\\idle.exe', 'Idle', 1);");
    Log("2024-03-10 05:00:00", "C:\\Chrome\\chrome.exe", "news.example.com", 10, 2);
    Log("2024-03-11 03:00:00", "C:\\Windows\\NOTEPAD.EXE", "", 20, 1);
    Log("2024-03-12 09:00:00", "D:\\notepad.exe", "", 30, 1);
    Log("2024-03-12 09:00:03", "C:\\Chrome\\chrome.exe", "EXAMPLE.COM", 40, 2);
    TSQLiteDatabase db(db_);
    const std::vector<TDailyHistoryDay> days = DailyHistory(db, EncodeDate(2024, 3, 10), EncodeDate(2024, 3, 13));
    ASSERT_EQ(days.size(), 4u);
    auto entries = [](const TDailyHistoryDay& day) {
        std::string text;
        for (const TDailyEntrySeconds& e : day.Entries)
            text += std::to_string(e.ItemType) + " " + e.Caption + " " + e.Name + " " + std::to_string(e.Seconds) + ";";
        return text;
    };
    EXPECT_EQ(days[0].Date, EncodeDate(2024, 3, 10));
    EXPECT_EQ(days[0].SecondsOnList, 30);
    EXPECT_EQ(entries(days[0]), "2 Example example.com 10;2 News news.example.com 10;1 Notepad notepad.exe 20;");
    EXPECT_EQ(days[1].SecondsOnList, 0);
    EXPECT_EQ(entries(days[1]), "");
    EXPECT_EQ(days[2].SecondsOnList, 70);
    EXPECT_EQ(entries(days[2]), "2 Example example.com 40;1 Notepad notepad.exe 30;");
    EXPECT_EQ(days[3].Date, EncodeDate(2024, 3, 13));
    EXPECT_TRUE(days[3].Entries.empty());
}

// The clean-up keeps the days past the log's 90 but not past three years,
// and takes an unlisted program's days with its rows.
TEST_F(DailyTotals, CleanUpKeepsOldDaysForThreeYearsAndDropsUnlistedPrograms) {
    RunScript(db_, "INSERT INTO applications_list VALUES('C:\\Apps\\kept.exe', 'Kept', 1);");
    Log("2021-06-19 12:00:00", "C:\\Apps\\kept.exe", "", 1, 1);
    Log("2021-06-20 12:00:00", "C:\\Apps\\kept.exe", "", 2, 1);
    Log("2024-01-01 12:00:00", "C:\\Apps\\kept.exe", "", 3, 1);
    Log("2024-06-01 12:00:00", "C:\\Apps\\gone.exe", "", 4, 1);
    Log("2024-06-01 12:00:00", "C:\\Chrome\\chrome.exe", "gone.example.com", 5, 2);
    const TDateTime now = EncodeDateTime({2024, 6, 20, 12, 0, 0, 0});
    EXPECT_EQ(OldestDailyTotalsDay(now), "2021-06-20");
    PurgeActivityLog(db_, FormatDbDateTime(now - kActivityLogDays, ":"), OldestDailyTotalsDay(now));
    EXPECT_EQ(QueryRows(db_, "SELECT COUNT(*) FROM applications"), (Rows{{"1"}}));
    EXPECT_EQ(Contents(), (Rows{{"2021-06-20", "1", "C:\\Apps\\kept.exe", "", "2"},
                                {"2024-01-01", "1", "C:\\Apps\\kept.exe", "", "3"},
                                {"2024-06-01", "2", "C:\\Chrome\\chrome.exe", "gone.example.com", "5"}}));
}

}  // namespace
}  // namespace vh
