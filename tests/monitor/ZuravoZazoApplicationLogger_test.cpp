#include "monitor/ZuravoZazoApplicationLogger.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <iostream>

#include <memory>
#include <string>
#include <vector>

#include "common/StringUtils.h"
#include "doubles/FakeEnvironmentClock.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/FakeWindowSystem.h"
#include "doubles/TempFolder.h"
#include "environment/DateTimeUtils.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "monitor/ZuravoZazoApplication.h"
#include "storage/SQLiteTable3.h"
#include "support/FaultInjectionVfs.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class Engine : public ::testing::Test {
protected:
    Engine() {
        InstallEnvironment(std::make_unique<testing::FakeEnvironmentPlatform>());
        clock_.standardOffsetHours = 0;
        clock_.daylightOffsetHours = 0;
        clock_.utc = EncodeDateTime({2024, 3, 10, 9, 0, 0, 0});
        InitializeProgramClock(clock_);
        db_ = testing::FileIn(folder_.Path(), "actmondb.sqlite");
        testing::CopyReadyMadeDatabase("actmondb.sqlite", db_);
        probe_ = std::make_unique<TZuravoZazoApplication>(windows_);
    }
    ~Engine() override {
        FinalizeProgramClock();
        UninstallEnvironment();
    }

    void ListEntry(const std::string& table, const std::string& name, const std::string& caption) {
        testing::InsertListEntry(db_, table, name, caption);
    }
    void LogRow(const std::string& date, const std::string& app, const std::string& url, int seconds, int origin) {
        testing::InsertLogRow(db_, date, app, url, seconds, origin);
    }
    Rows LogRows() {
        return testing::QueryRows(
            db_,
            "SELECT date_created, app_name, browser_url, app_type, duration, origin FROM applications "
            "WHERE date_created >= '2024-03-10 09:00:00' ORDER BY rowid");
    }
    void Front(std::string path, TApplicationKind kind = akDesktop, std::string address = "") {
        probe_->ApplicationPath = std::move(path);
        probe_->Kind = kind;
        probe_->Address = std::move(address);
    }

    testing::FakeEnvironmentClock clock_;
    testing::TempFolder folder_;
    std::string db_;
    testing::FakeWindowSystem windows_;
    std::unique_ptr<TZuravoZazoApplication> probe_;
};

TEST_F(Engine, CreationLoadsTodaysTotalsSinceFourOClockWebEntriesFirst) {
    ListEntry("applications_list", "C:\\Games\\game.exe", "Game");
    ListEntry("websites_list", "example.com", "Example");
    LogRow("2024-03-10 03:59:59", "C:\\Games\\game.exe", "", 1000, 1);
    LogRow("2024-03-10 04:00:00", "C:\\Games\\game.exe", "", 60, 1);
    LogRow("2024-03-10 08:00:00", "C:\\chrome.exe", "example.com", 30, 2);
    TZuravoZazoApplicationLogger engine(db_);
    EXPECT_EQ(engine.SecondsOnList, 90);
    ASSERT_EQ(engine.TodayList().Count(), 2);
    const TMonitoredItem& game = engine.TodayList().Items(engine.TodayList().IndexOfName("c:\\games\\GAME.exe"));
    EXPECT_EQ(game.Seconds, 60);
    EXPECT_EQ(game.ItemType, mitApplication);
    EXPECT_TRUE(game.Active);
    EXPECT_EQ(engine.TodayList().Items(engine.TodayList().IndexOfName("example.com")).ItemType, mitWebSite);
}

TEST_F(Engine, StartingAtTwoCountsFromFourOfThePreviousDay) {
    clock_.utc = EncodeDateTime({2024, 3, 11, 2, 0, 0, 0});
    InitializeProgramClock(clock_);
    ListEntry("applications_list", "C:\\a.exe", "A");
    LogRow("2024-03-10 03:59:59", "C:\\a.exe", "", 1000, 1);
    LogRow("2024-03-10 04:00:00", "C:\\a.exe", "", 7, 1);
    LogRow("2024-03-11 01:59:00", "C:\\a.exe", "", 5, 1);
    EXPECT_EQ(TZuravoZazoApplicationLogger(db_).SecondsOnList, 12);
}

TEST_F(Engine, LogsADesktopApplicationInterval) {
    ListEntry("applications_list", "C:\\Games\\game.exe", "Game");
    TZuravoZazoApplicationLogger engine(db_);
    Front("c:\\games\\Game.exe");
    engine.Log(probe_.get(), 4);
    EXPECT_EQ(engine.SecondsOnList, 4);
    EXPECT_EQ(engine.TodayList().Items(0).Seconds, 4);
    EXPECT_EQ(LogRows(), (Rows{{"2024-03-10 09:00:00", "c:\\games\\Game.exe", "", "Desktop Application", "4", "1"}}));
}

TEST_F(Engine, LogsABrowserUnderTheEntryNameAsAWebMatch) {
    ListEntry("websites_list", "example.com", "Example");
    TZuravoZazoApplicationLogger engine(db_);
    // The scan puts the matched entry's name in place of the address first.
    Front("C:\\Chrome\\chrome.exe", akChrome, "example.com");
    clock_.Advance(3);
    engine.Log(probe_.get(), 3);
    EXPECT_EQ(LogRows(),
              (Rows{{"2024-03-10 09:00:03", "C:\\Chrome\\chrome.exe", "example.com", "Google Chrome", "3", "2"}}));
}

TEST_F(Engine, QuotesAnApostropheInThePath) {
    ListEntry("applications_list", "C:\\O'Neil's\\x.exe", "X");
    TZuravoZazoApplicationLogger engine(db_);
    Front("C:\\O'Neil's\\x.exe");
    engine.Log(probe_.get(), 3);
    ASSERT_EQ(LogRows().size(), 1u);
    EXPECT_EQ(LogRows()[0][1], "C:\\O'Neil's\\x.exe");
}

TEST_F(Engine, AnEntryMissingFromTodaysListWritesNothing) {
    TZuravoZazoApplicationLogger engine(db_);
    Front("C:\\persisted-only.exe");
    engine.Log(probe_.get(), 3);
    EXPECT_EQ(engine.SecondsOnList, 0);
    EXPECT_TRUE(LogRows().empty());
    EXPECT_THROW(engine.Log(nullptr, 3), EAssertionFailed);
}

TEST_F(Engine, ReloadWithoutAccumulationKeepsTheTotal) {
    ListEntry("applications_list", "C:\\a.exe", "A");
    LogRow("2024-03-10 05:00:00", "C:\\a.exe", "", 50, 1);
    TZuravoZazoApplicationLogger engine(db_);
    ListEntry("websites_list", "example.com", "Example");
    engine.MonitoredListLoad(false);
    EXPECT_EQ(engine.SecondsOnList, 50);
    EXPECT_EQ(engine.TodayList().Count(), 2);
    engine.UsageListLoad(false, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 11));
    EXPECT_EQ(engine.UsageList().Count(), 2);
    EXPECT_EQ(engine.SecondsOnList, 50);
}

TEST_F(Engine, AFailedWriteStillCountsAndIsWrittenInOrderLater) {
    ListEntry("applications_list", "C:\\a.exe", "A");
    TZuravoZazoApplicationLogger engine(db_);
    Front("C:\\a.exe");
    std::vector<std::string> traced;
    SetTraceSinkForTesting([&](char, std::string_view text) { traced.emplace_back(text); });
    {
        // Another program holds the file locked past the busy time-out.
        TSQLiteDatabase holder(db_);
        holder.ExecSQL("BEGIN EXCLUSIVE");
        engine.Log(probe_.get(), 3);
        clock_.Advance(3);
        engine.Log(probe_.get(), 4);
        holder.ExecSQL("ROLLBACK");
    }
    SetTraceSinkForTesting(nullptr);
    EXPECT_EQ(engine.SecondsOnList, 7);
    EXPECT_EQ(engine.PendingRowCount(), 2u);
    ASSERT_FALSE(traced.empty());
    EXPECT_EQ(traced[0].rfind("ErrorClassName: ESQLiteException; TZuravoZazoApplicationLogger.Log: ", 0), 0u);
    EXPECT_TRUE(LogRows().empty());

    clock_.Advance(3);
    engine.Log(probe_.get(), 5);
    EXPECT_EQ(engine.PendingRowCount(), 0u);
    const Rows rows = LogRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][0], "2024-03-10 09:00:00");
    EXPECT_EQ(rows[0][4], "3");
    EXPECT_EQ(rows[1][4], "4");
    EXPECT_EQ(rows[2][0], "2024-03-10 09:00:06");
    EXPECT_EQ(engine.SecondsOnList, 12);
}

// Every file operation of a Log that also carries an unwritten row made to
// fail in turn: the total is right at once, the log holds both rows or
// neither (and their day's total with them), and the next Log writes
// whatever is missing, once and in order.
TEST_F(Engine, LogUnderFileFaultsLosesNoRowAndWritesNoneTwice) {
    ListEntry("applications_list", "C:\\a.exe", "A");
    LogRow("2024-03-10 08:00:00", "C:\\a.exe", "", 100, 1);
    const std::string stored = testing::FileIn(folder_.Path(), "stored.sqlite");
    testing::CopyFileReplacing(db_, stored);
    Front("C:\\a.exe");
    std::vector<std::string> traced;
    SetTraceSinkForTesting([&](char kind, std::string_view text) {
        if (kind == 'X') traced.emplace_back(text);
    });
    testing::TFaultInjectionVfs vfs;
    std::unique_ptr<TZuravoZazoApplicationLogger> engine;
    auto prepare = [&] {
        engine.reset();
        testing::CopyFileReplacing(stored, db_);
        engine = std::make_unique<TZuravoZazoApplicationLogger>(db_);
        vfs.Arm(1, SQLITE_IOERR);  // the first row stays unwritten
        engine->Log(probe_.get(), 3);
        vfs.Disarm();
        ASSERT_EQ(engine->PendingRowCount(), 1u);
        traced.clear();
    };
    for (const auto& code : testing::FaultCodes()) {
        const int points = testing::ForEachFaultPoint(
            vfs, code.code, prepare, [&] { engine->Log(probe_.get(), 4); },
            [&](int n) {
                SCOPED_TRACE(std::string("Log ") + code.name + " at " + std::to_string(n));
                ASSERT_EQ(testing::IntegrityCheck(db_), "ok");
                EXPECT_EQ(engine->SecondsOnList, 107);
                const std::size_t written = LogRows().size();
                EXPECT_TRUE(written == 0 || written == 2) << written;
                EXPECT_EQ(engine->PendingRowCount(), 2 - written);
                EXPECT_EQ(traced.empty(), written == 2);
                // The day's total moves with the rows, never alone.
                const std::string daySum = "SELECT COALESCE(SUM(seconds), 0) FROM daily_totals";
                EXPECT_EQ(testing::QueryRows(db_, daySum)[0][0], written == 2 ? "7" : "0");
                engine->Log(probe_.get(), 5);
                const Rows rows = LogRows();
                ASSERT_EQ(rows.size(), 3u);
                EXPECT_EQ(rows[0][4] + rows[1][4] + rows[2][4], "345");
                EXPECT_EQ(testing::QueryRows(db_, daySum)[0][0], "12");
                EXPECT_EQ(engine->PendingRowCount(), 0u);
                EXPECT_EQ(engine->SecondsOnList, 112);
            });
        std::cout << "Log " << code.name << ": " << points << " fault points\n";
        EXPECT_GT(points, 3);
    }
    engine.reset();
    SetTraceSinkForTesting(nullptr);
}

// The same on the connection an earlier row left open: a fault in any of
// its file operations loses no row and writes none twice, and the next row
// goes through a connection opened afresh.
TEST_F(Engine, RowsOnTheOpenConnectionUnderFileFaultsLoseNoneAndWriteNoneTwice) {
    ListEntry("applications_list", "C:\\a.exe", "A");
    const std::string stored = testing::FileIn(folder_.Path(), "stored.sqlite");
    testing::CopyFileReplacing(db_, stored);
    Front("C:\\a.exe");
    SetTraceSinkForTesting([](char, std::string_view) {});
    testing::TFaultInjectionVfs vfs;
    std::unique_ptr<TZuravoZazoApplicationLogger> engine;
    auto prepare = [&] {
        engine.reset();
        testing::CopyFileReplacing(stored, db_);
        engine = std::make_unique<TZuravoZazoApplicationLogger>(db_);
        engine->Log(probe_.get(), 3);
        ASSERT_EQ(engine->PendingRowCount(), 0u);
    };
    for (const auto& code : testing::FaultCodes()) {
        const int points = testing::ForEachFaultPoint(
            vfs, code.code, prepare, [&] { engine->Log(probe_.get(), 4); },
            [&](int n) {
                SCOPED_TRACE(std::string("Log ") + code.name + " at " + std::to_string(n));
                ASSERT_EQ(testing::IntegrityCheck(db_), "ok");
                const std::size_t written = LogRows().size();
                EXPECT_TRUE(written == 1 || written == 2) << written;
                EXPECT_EQ(engine->PendingRowCount(), 2 - written);
                engine->Log(probe_.get(), 5);
                const Rows rows = LogRows();
                ASSERT_EQ(rows.size(), 3u);
                EXPECT_EQ(rows[0][4] + rows[1][4] + rows[2][4], "345");
                EXPECT_EQ(engine->SecondsOnList, 12);
            });
        EXPECT_GT(points, 1) << code.name;
    }
    engine.reset();
    SetTraceSinkForTesting(nullptr);
}

// Between rows the log is the other programs' as much as the engine's: one
// that writes it in between neither waits nor loses its row, and CloseLog
// lets go of the file, so a file put in its place gets the next row.
TEST_F(Engine, BetweenRowsOtherProgramsWriteTheLogAndAfterCloseLogItMayBeReplaced) {
    ListEntry("applications_list", "C:\\a.exe", "A");
    TZuravoZazoApplicationLogger engine(db_);
    Front("C:\\a.exe");
    engine.Log(probe_.get(), 3);
    {
        TSQLiteDatabase other(db_);
        other.ExecSQL("BEGIN EXCLUSIVE");
        other.ExecSQL(kActivityRowInsertSql, ActivityRowParams("2024-03-10 09:00:01", "C:\\b.exe", "",
                                                               "Desktop Application", 1, mitApplication));
        other.ExecSQL("COMMIT");
    }
    engine.Log(probe_.get(), 4);
    Rows rows = LogRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][4] + rows[1][4] + rows[2][4], "314");

    engine.CloseLog();
    const std::string copy = testing::FileIn(folder_.Path(), "copy.sqlite");
    testing::CopyFileReplacing(db_, copy);
    std::filesystem::rename(copy, db_);  // another file under the same name
    engine.Log(probe_.get(), 5);
    rows = LogRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3][4], "5");
}

// The program's end and the daily reset do not drop rows the log did not
// take: the engine ending writes them, or hands them to its successor.
TEST_F(Engine, RowsStillWaitingAreWrittenAtTheEndOrByTheSuccessor) {
    ListEntry("applications_list", "C:\\a.exe", "A");
    Front("C:\\a.exe");
    SetTraceSinkForTesting([](char, std::string_view) {});
    auto engine = std::make_unique<TZuravoZazoApplicationLogger>(db_);
    auto successor = std::make_unique<TZuravoZazoApplicationLogger>(db_);
    {
        TSQLiteDatabase holder(db_);
        holder.ExecSQL("BEGIN EXCLUSIVE");
        engine->Log(probe_.get(), 3);
        successor->Log(probe_.get(), 4);
        holder.ExecSQL("ROLLBACK");
    }
    SetTraceSinkForTesting(nullptr);
    engine->HandPendingRowsTo(*successor);
    EXPECT_EQ(engine->PendingRowCount(), 0u);
    EXPECT_EQ(successor->PendingRowCount(), 2u);
    engine.reset();
    EXPECT_TRUE(LogRows().empty());
    successor.reset();
    const Rows rows = LogRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][4] + rows[1][4], "34");
}

TEST_F(Engine, UnwrittenRowsAreBoundedKeepingTheOldest) {
    ListEntry("applications_list", "C:\\a.exe", "A");
    TZuravoZazoApplicationLogger engine(db_);
    std::filesystem::remove(folder_.Path() / "actmondb.sqlite");
    std::filesystem::create_directory(folder_.Path() / "actmondb.sqlite");  // cannot be opened as a database
    Front("C:\\a.exe");
    const auto limit = static_cast<int>(TZuravoZazoApplicationLogger::kMaxPendingRows);
    for (int i = 0; i < limit + 5; ++i) engine.Log(probe_.get(), 1);
    EXPECT_EQ(engine.PendingRowCount(), TZuravoZazoApplicationLogger::kMaxPendingRows);
    EXPECT_EQ(engine.SecondsOnList, limit + 5);
}

TEST_F(Engine, AMissingLogDatabaseLoadsNothingAndTracesTheFailure) {
    std::vector<std::string> traced;
    SetTraceSinkForTesting([&](char, std::string_view text) { traced.emplace_back(text); });
    const std::string missing = testing::FileIn(folder_.Path(), "no-such-folder/actmondb.sqlite");
    TZuravoZazoApplicationLogger engine(missing);
    SetTraceSinkForTesting(nullptr);
    EXPECT_EQ(engine.SecondsOnList, 0);
    EXPECT_EQ(engine.TodayList().Count(), 0);
    ASSERT_EQ(traced.size(), 2u);
    EXPECT_NE(traced[0].find("; TZuravoZazoApplicationLogger.MonitoredItemsLoad: "), std::string::npos);
}

TEST_F(Engine, RemovalModesApplyToTodaysList) {
    ListEntry("applications_list", "C:\\a.exe", "A");
    ListEntry("applications_list", "C:\\b.exe", "B");
    TZuravoZazoApplicationLogger engine(db_);
    TMonitoredItem item;
    item.Name = "c:\\A.EXE";
    engine.MonitoredItemDelete(&item, TDeleteResult::Nothing);
    EXPECT_EQ(engine.TodayList().Count(), 2);
    engine.MonitoredItemDelete(&item, TDeleteResult::Deactivated);
    EXPECT_FALSE(engine.TodayList().Items(engine.TodayList().IndexOfItem(item)).Active);
    engine.MonitoredItemDelete(&item, TDeleteResult::Deleted);
    EXPECT_EQ(engine.TodayList().IndexOfItem(item), -1);
    item.Name = "C:\\unknown.exe";
    engine.MonitoredItemDelete(&item, TDeleteResult::Deleted);
    EXPECT_EQ(engine.TodayList().Count(), 1);
    EXPECT_THROW(engine.MonitoredItemDelete(nullptr, TDeleteResult::Deactivated), EAssertionFailed);
}

TEST(DisplayTotals, WholeMinutesOnTheListAndNeverBelowZeroToTheLimit) {
    EXPECT_DOUBLE_EQ(TimeOnListDisplay(119), 1 / kMinutesPerDay);
    EXPECT_DOUBLE_EQ(TimeOnListDisplay(3600), 1.0 / 24);
    EXPECT_DOUBLE_EQ(TimeToLimitDisplay(3600, 1799), 31 / kMinutesPerDay);
    EXPECT_EQ(TimeToLimitDisplay(3600, 3600), 0);
    EXPECT_EQ(TimeToLimitDisplay(3600, 7200), 0);
}

// Values travel bound, never in the statement: quotes and SQL in them are stored as they are.
TEST_F(Engine, ActivityRowsKeepTheirValuesExactly) {
    const std::string path = "C:\\it's.exe'); DROP TABLE applications; --";
    TSQLiteDatabase(db_).ExecSQL(kActivityRowInsertSql, ActivityRowParams("2024-03-10 09:00:00", path, "a\"b",
                                                                          "Desktop Application", 4, mitWebSite));
    EXPECT_EQ(
        testing::QueryRows(db_,
                           "SELECT date_created, app_name, browser_url, app_type, duration, origin FROM applications "
                           "WHERE duration = 4"),
        (Rows{{"2024-03-10 09:00:00", path, "a\"b", "Desktop Application", "4", "2"}}));
}

// The engine adds every interval to its day as it writes the row. Its clock is
// local time, so the day of a daylight-saving change, 4:00 to 4:00, is 23 or
// 25 hours of intervals; and the daily totals made again from the log alone
// are those the engine kept.
TEST_F(Engine, DailyTotalsFollowTheLocalDayThroughDaylightSavingAndEqualTheRebuild) {
    struct Case {
        const char* what;
        double standardHours;
        double daylightHours;
        int dayHours;
    } const cases[] = {{"no change", 1, 1, 24}, {"spring forward", 1, 2, 23}, {"fall back", 2, 1, 25}};
    ListEntry("applications_list", "C:\\Games\\game.exe", "Game");
    ListEntry("websites_list", "example.com", "Example");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::RunScript(db_, "DELETE FROM applications; DELETE FROM daily_totals;");
        clock_.standardOffsetHours = c.standardHours;
        clock_.daylightOffsetHours = c.daylightHours;
        // Local 03:45 on 30 March, the first row at 03:55; the switch at 01:00 universal time on the 31st.
        clock_.utc = EncodeDateTime({2024, 3, 30, 3, 45, 0, 0}) - c.standardHours / 24;
        clock_.dstStartUtc = EncodeDateTime({2024, 3, 31, 1, 0, 0, 0});
        InitializeProgramClock(clock_);
        TZuravoZazoApplicationLogger engine(db_);
        for (int interval = 0; interval < 28 * 6; ++interval) {
            clock_.Advance(600);
            if (interval % 2)
                Front("C:\\Games\\game.exe");
            else
                Front("C:\\Chrome\\chrome.exe", akChrome, "example.com");
            engine.Log(probe_.get(), 600);
        }
        engine.CloseLog();
        const std::string sums = "SELECT day, SUM(seconds) FROM daily_totals GROUP BY day ORDER BY day";
        const Rows days = testing::QueryRows(db_, sums);
        ASSERT_EQ(days.size(), 3u);
        EXPECT_EQ(days[0], (Rows::value_type{"2024-03-29", "600"}));
        EXPECT_EQ(days[1], (Rows::value_type{"2024-03-30", std::to_string(c.dayHours * 3600)}));
        const std::string all = "SELECT day, origin, app_name, browser_url, seconds FROM daily_totals ORDER BY 1, 2, 3";
        const Rows kept = testing::QueryRows(db_, all);
        // A log without them (an older file, or one put in the log's place)
        // gets them from its rows when the engine opens it again.
        testing::RunScript(db_, "DROP TABLE daily_totals;");
        engine.Log(probe_.get(), 0);
        EXPECT_EQ(testing::QueryRows(db_, all), kept);
    }
}

}  // namespace
}  // namespace vh
