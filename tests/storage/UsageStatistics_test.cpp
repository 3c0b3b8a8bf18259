#include "storage/UsageStatistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "common/StringUtils.h"
#include "doubles/TempFolder.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "storage/SQLiteTable3.h"
#include "support/ReferenceUsageQueries.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

using testing::QueryRows;
using testing::RunScript;
using Rows = std::vector<std::vector<std::string>>;

TDateTime At(int y, int mo, int d, int h, int mi, int s = 0) {
    return EncodeDateTime({y, mo, d, h, mi, s, 0});
}

TEST(UsagePeriodBounds, TodayStartsAtTheMostRecentFourOClock) {
    const TDateTime half2 = At(2024, 3, 10, 2, 30);
    EXPECT_DOUBLE_EQ(UsagePeriodBounds(upToday, half2).From, At(2024, 3, 9, 4, 0));
    EXPECT_DOUBLE_EQ(UsagePeriodBounds(upToday, half2).To, half2);
    const TDateTime four = At(2024, 3, 10, 4, 0);
    EXPECT_DOUBLE_EQ(UsagePeriodBounds(upToday, four).From, four);
    EXPECT_DOUBLE_EQ(UsagePeriodBounds(upToday, At(2024, 3, 10, 3, 59, 59)).From, At(2024, 3, 9, 4, 0));
    EXPECT_DOUBLE_EQ(UsagePeriodBounds(upToday, At(2024, 3, 10, 23, 0)).From, four);
}

TEST(UsagePeriodBounds, OtherPeriodsCountBackFromNow) {
    const TDateTime now = At(2024, 3, 10, 15, 0);
    EXPECT_DOUBLE_EQ(UsagePeriodBounds(upLast24Hours, now).From, now - 1);
    EXPECT_DOUBLE_EQ(UsagePeriodBounds(upLast7Days, now).From, now - 7);
    EXPECT_DOUBLE_EQ(UsagePeriodBounds(upLast14Days, now).From, now - 14);
    EXPECT_DOUBLE_EQ(UsagePeriodBounds(upLast30Days, now).From, now - 30);
    EXPECT_DOUBLE_EQ(UsagePeriodBounds(upLast3Months, now).From, now - 90);
    EXPECT_EQ(kUsagePeriodTexts[upLast3Months], "Last 3 months");
}

class UsageQueries : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = testing::FileIn(folder_.Path(), "actmondb.sqlite");
        testing::CopyReadyMadeDatabase("actmondb.sqlite", db_);
    }

    void Log(const std::string& date, const std::string& app, const std::string& url, int seconds, int origin) {
        testing::InsertLogRow(db_, date, app, url, seconds, origin);
    }
    void Entry(const std::string& table, const std::string& name, const std::string& caption, int active = 1) {
        testing::InsertListEntry(db_, table, name, caption, active);
    }
    // Each row's texts, read the way the program reads them: through the
    // layer, with the bounds bound.
    Rows Run(const TUsageQuery& query) {
        TSQLiteDatabase db(db_);
        const auto table = db.GetTable(query.Sql, query.Params);
        Rows rows;
        for (table->MoveFirst(); !table->Eof(); table->Next()) {
            auto& row = rows.emplace_back();
            for (int c = 0; c < table->ColCount(); ++c) row.push_back(table->FieldAsString(c));
        }
        return rows;
    }
    // name -> total_duration
    std::map<std::string, std::string> Totals(const TUsageQuery& query) { return TotalsOf(Run(query)); }
    std::map<std::string, std::string> AppTotals(const std::string& from, const std::string& to) {
        TSQLiteDatabase db(db_);
        Rows rows;
        for (const TUsageTotal& total : ApplicationTotals(db, from, to))
            rows.push_back({total.Caption, total.Active ? "1" : "0", total.Name, std::to_string(total.Seconds)});
        return TotalsOf(rows);
    }
    std::map<std::string, std::string> Totals(const std::string& referenceSql) {
        return TotalsOf(QueryRows(db_, referenceSql));
    }
    static std::map<std::string, std::string> TotalsOf(const Rows& rows) {
        std::map<std::string, std::string> totals;
        for (const auto& row : rows) {
            EXPECT_EQ(totals.count(row[2]), 0u) << "name twice: " << row[2];
            totals[row[2]] = row[3];
        }
        return totals;
    }

    testing::TempFolder folder_;
    std::string db_;
};

constexpr const char* kFrom = "2024-03-10 04:00:00";
constexpr const char* kTo = "2024-03-10 12:00:00";

TEST_F(UsageQueries, BoundsAreInclusiveAndEntriesWithoutRowsGiveZero) {
    Entry("applications_list", "C:\\game.exe", "Game");
    Entry("applications_list", "C:\\idle.exe", "Idle");
    Log("2024-03-10 04:00:00", "C:\\game.exe", "", 3, 1);
    Log("2024-03-10 12:00:00", "C:\\game.exe", "", 5, 1);
    Log("2024-03-10 03:59:59", "C:\\game.exe", "", 100, 1);
    Log("2024-03-10 12:00:01", "C:\\game.exe", "", 100, 1);
    const auto totals = AppTotals(kFrom, kTo);
    EXPECT_EQ(totals.at("C:\\game.exe"), "8");
    EXPECT_EQ(totals.at("C:\\idle.exe"), "0");
    EXPECT_EQ(Totals(testing::ReferenceApplicationsQuery(kFrom, kTo)), totals);
}

TEST_F(UsageQueries, ApplicationNamesIgnoreCaseSoTheDaySurvivesARestart) {
    Entry("applications_list", "c:\\games\\game.exe", "Game");
    Log("2024-03-10 05:00:00", "C:\\Games\\Game.exe", "", 30, 1);
    EXPECT_EQ(AppTotals(kFrom, kTo).at("c:\\games\\game.exe"), "30");
    // The first form of the query lost these rows.
    EXPECT_EQ(Totals(testing::ReferenceApplicationsQuery(kFrom, kTo)).at("c:\\games\\game.exe"), "0");
}

// Entries written as people type them count the rows of every program they
// name, whatever folder or spelling the log has.
TEST_F(UsageQueries, BareNameAndOtherSpellingEntriesCountTheirProgramsRowsInEveryFolder) {
    Entry("applications_list", "notepad.exe", "Notepad by name");
    Entry("applications_list", "Notepad", "Notepad without extension");
    Entry("applications_list", "C:/WINDOWS//System32/NOTEPAD.EXE", "Notepad by path");
    Entry("applications_list", "pad.exe", "Not a suffix match");
    Log("2024-03-10 05:00:00", "C:\\Windows\\System32\\notepad.exe", "", 20, 1);
    Log("2024-03-10 05:00:03", "c:\\windows\\system32\\Notepad.exe", "", 1, 1);
    Log("2024-03-10 05:00:06", "D:\\Portable\\NOTEPAD.EXE", "", 300, 1);
    Log("2024-03-10 05:00:09", "C:\\Tools\\xnotepad.exe", "", 4000, 1);
    Log("2024-03-10 03:00:00", "C:\\Windows\\System32\\notepad.exe", "", 50000, 1);  // before the period
    const auto totals = AppTotals(kFrom, kTo);
    EXPECT_EQ(totals.at("notepad.exe"), "321");
    EXPECT_EQ(totals.at("Notepad"), "321");
    EXPECT_EQ(totals.at("C:/WINDOWS//System32/NOTEPAD.EXE"), "21");
    EXPECT_EQ(totals.at("pad.exe"), "0");
}

TEST_F(UsageQueries, BrowserOnTheListAsAnApplicationCountsItsOwnRows) {
    const std::string chrome = "C:\\Chrome\\chrome.exe";
    Entry("applications_list", chrome, "Chrome");
    Log("2024-03-10 05:00:00", chrome, chrome, 9, 2);           // the browser's own row
    Log("2024-03-10 05:00:03", chrome, "example.com", 4, 2);    // a listed site in it: not the app's
    Log("2024-03-10 05:00:06", "C:\\other.exe", chrome, 7, 1);  // origin 1 counts by app_name only
    EXPECT_EQ(AppTotals(kFrom, kTo).at(chrome), "9");
}

TEST_F(UsageQueries, WebEntriesCountEveryContainingAddressInAnyCase) {
    Entry("websites_list", "example.com", "Example");
    Entry("websites_list", "news.example.com", "News");
    Entry("websites_list", "q%z", "Wild");
    Entry("websites_list", "O'Brien.org", "Quote");
    Log("2024-03-10 05:00:00", "C:\\b.exe", "news.example.com", 10, 2);
    Log("2024-03-10 05:00:03", "C:\\b.exe", "EXAMPLE.COM", 1, 2);
    Log("2024-03-10 05:00:06", "C:\\b.exe", "qwwz", 2, 2);
    Log("2024-03-10 05:00:09", "C:\\b.exe", "o'brien.org", 4, 2);
    const auto totals = Totals(BuildWebSitesQuery(kFrom, kTo));
    EXPECT_EQ(totals.at("example.com"), "11");
    EXPECT_EQ(totals.at("news.example.com"), "10");
    EXPECT_EQ(totals.at("q%z"), "2");
    EXPECT_EQ(totals.at("O'Brien.org"), "4");
    EXPECT_EQ(Totals(testing::ReferenceWebSitesQuery(kFrom, kTo)), totals);
}

TEST_F(UsageQueries, SameNamedEntriesCollapseIntoOneRowCountingEachLogRowOnce) {
    Entry("websites_list", "example.com", "First");
    Entry("websites_list", "example.com", "Second", 0);
    Entry("applications_list", "C:\\a.exe", "A");
    Entry("applications_list", "C:\\a.exe", "A again");
    Log("2024-03-10 05:00:00", "C:\\a.exe", "example.com", 6, 1);
    const Rows web = Run(BuildWebSitesQuery(kFrom, kTo));
    ASSERT_EQ(web.size(), 1u);
    EXPECT_EQ(web[0][3], "6");
    TSQLiteDatabase db(db_);
    const std::vector<TUsageTotal> apps = ApplicationTotals(db, kFrom, kTo);
    ASSERT_EQ(apps.size(), 1u);
    EXPECT_EQ(apps[0].Seconds, 6);
    // The first form counted the row once per copy of the name.
    EXPECT_EQ(QueryRows(db_, testing::ReferenceWebSitesQuery(kFrom, kTo))[0][3], "12");
}

// The bounds reach the engine as values: a bound holding a quote or SQL of
// its own is compared as text, neither breaking nor widening the query.
TEST_F(UsageQueries, BoundsTravelAsValuesNotAsStatementText) {
    Entry("applications_list", "C:\\game.exe", "Game");
    Entry("websites_list", "example.com", "Example");
    Log("2024-03-10 05:00:00", "C:\\game.exe", "example.com", 7, 1);
    for (const TUsageQuery& query : {BuildApplicationEntriesQuery(kFrom, kTo), BuildWebSitesQuery(kFrom, kTo)}) {
        EXPECT_EQ(query.Sql.find("2024"), std::string::npos) << query.Sql;
        ASSERT_EQ(query.Params.size(), 2u);
        EXPECT_EQ(std::get<std::string>(query.Params[0]), kFrom);
        EXPECT_EQ(std::get<std::string>(query.Params[1]), kTo);
    }
    EXPECT_EQ(AppTotals(kFrom, kTo).at("C:\\game.exe"), "7");
    EXPECT_EQ(Totals(BuildWebSitesQuery(kFrom, kTo)).at("example.com"), "7");
    const std::string hostile = "2024-03-10 12:00:00' OR '1'='1";
    EXPECT_EQ(AppTotals("2024-03-10 06:00:00", hostile).at("C:\\game.exe"), "0");
    EXPECT_EQ(Totals(BuildWebSitesQuery("2024-03-10 06:00:00", hostile)).at("example.com"), "0");
    EXPECT_EQ(AppTotals("2024-03-10 04:00:00'", hostile).at("C:\\game.exe"), "7");
}

// Random logs and lists with the awkward cases mixed in: dates on both
// bounds, names inside other names, wildcards, letter-case variants. The
// fast queries must give what the straightforward ones give.
TEST_F(UsageQueries, RandomLogsGiveTheSameTotalsAsTheStraightforwardQueries) {
    std::mt19937 random(20241208);
    const std::vector<std::string> webNames = {"example.com", "news.example.com", "EXAMPLE.org",        "a_b", "x%y",
                                               "ex",          "it's.net",         "mail.example.com/in"};
    const std::vector<std::string> appNames = {"C:\\A\\game.exe", "C:\\a\\GAME.exe", "C:\\B\\tool.exe",
                                               "C:\\Chrome\\chrome.exe", "C:\\O'Neil\\x.exe"};
    const std::vector<std::string> addresses = {"",
                                                "example.com",
                                                "news.example.com",
                                                "Example.org",
                                                "aXb",
                                                "a_b",
                                                "x%y.com",
                                                "it's.net",
                                                "EX",
                                                "mail.example.com/inbox",
                                                "C:\\Chrome\\chrome.exe",
                                                "other.org/?q=example.com"};
    const std::vector<std::string> dates = {"2024-03-10 03:59:59", "2024-03-10 04:00:00", "2024-03-10 08:30:00",
                                            "2024-03-10 12:00:00", "2024-03-10 12:00:01", "2024-03-09 23:00:00"};
    for (int round = 0; round < 8; ++round) {
        RunScript(db_, "DELETE FROM applications; DELETE FROM applications_list; DELETE FROM websites_list;");
        std::string script = "BEGIN;";
        for (const auto& name : webNames)
            if (random() % 4 != 0) script += "INSERT INTO websites_list VALUES(" + QuotedSqlString(name) + ", 'c', 1);";
        for (const auto& name : appNames)
            if (random() % 4 != 0)
                script += "INSERT INTO applications_list VALUES(" + QuotedSqlString(name) + ", 'c', 1);";
        for (int i = 0; i < 300; ++i) {
            const std::string& app = appNames[random() % appNames.size()];
            const std::string& url = addresses[random() % addresses.size()];
            const std::string& date = dates[random() % dates.size()];
            script += "INSERT INTO applications VALUES(" + QuotedSqlString(date) + ", " + QuotedSqlString(app) + ", " +
                      QuotedSqlString(url) + ", 'x', " + std::to_string(1 + random() % 9) + ", " +
                      std::to_string(1 + random() % 2) + ");";
        }
        RunScript(db_, script + "COMMIT;");
        SCOPED_TRACE("round " + std::to_string(round));
        EXPECT_EQ(Totals(BuildWebSitesQuery(kFrom, kTo)), Totals(testing::ReferenceWebSitesQuery(kFrom, kTo)));
        EXPECT_EQ(AppTotals(kFrom, kTo), Totals(testing::ReferenceApplicationsQueryWithCaseAndBrowserRows(kFrom, kTo)));
    }
}

}  // namespace
}  // namespace vh
