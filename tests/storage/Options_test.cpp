#include "storage/Options.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

#include "common/StringUtils.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/IniFile.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "storage/OptionsSql.h"
#include "storage/OptionsTestFixture.h"
#include "support/OptionsTestSite.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

using testing::CopyReadyMadeDatabase;
using testing::FileIn;
using testing::QueryRows;
using testing::RunScript;
using Rows = std::vector<std::vector<std::string>>;

TEST_F(OptionsTest, DefaultsOverAnEmptySettingsTable) {
    auto options = Make();
    EXPECT_EQ(options->ScanPeriodSeconds, 3);
    EXPECT_EQ(options->TimeLimitSeconds(), 28800);
    EXPECT_DOUBLE_EQ(options->TimeLimit(), 1.0 / 3.0);
    EXPECT_EQ(options->ExpirationAction(), eaReminderOnly);
    EXPECT_EQ(options->ExpirationActionName(), "Reminder Only");
    EXPECT_EQ(options->ReminderChangePeriod, rcpNever);
    EXPECT_EQ(options->ReminderChangedDateTime, now_);
    EXPECT_EQ(options->ReminderShowedDateTime, now_);
    // After 4:00 AM the next reset is tomorrow's.
    EXPECT_DOUBLE_EQ(options->ResetDateTime, EncodeDateTime({2026, 3, 22, 4, 0, 0, 0}));
    EXPECT_TRUE(options->AllowUserToChangeSettings);  // the settings table came back
    EXPECT_FALSE(options->IsNotFirstRun);
    EXPECT_EQ(options->MonitoredList().Count(), 0);
}

TEST_F(OptionsTest, BeforeFourTheResetIsToday) {
    now_ = EncodeDateTime({2026, 3, 21, 3, 59, 59, 0});
    EXPECT_DOUBLE_EQ(Make()->ResetDateTime, EncodeDateTime({2026, 3, 21, 4, 0, 0, 0}));
    RunScript(settings_, "DELETE FROM settings");  // what the destruction saved
    now_ = EncodeDateTime({2026, 3, 21, 4, 0, 0, 0});
    EXPECT_DOUBLE_EQ(Make()->ResetDateTime, EncodeDateTime({2026, 3, 22, 4, 0, 0, 0}));
}

TEST_F(OptionsTest, WithoutDatabasesEverythingKeepsItsDefault) {
    settings_ = FileIn(folder_.Path(), "missing.sqlite");
    auto options = Make();
    EXPECT_FALSE(options->AllowUserToChangeSettings);
    EXPECT_EQ(options->GetAccessMode(), kAccessNone);
    EXPECT_EQ(options->TimeLimitSeconds(), 28800);
    EXPECT_EQ(options->GetReminderText(rtEvening), "");
}

TEST_F(OptionsTest, EverySettingsRowRoundTrips) {
    {
        auto options = Make();
        options->ScanPeriodSeconds = 5;
        options->SetTimeLimitSeconds(3600);
        options->SetExpirationAction(eaCloseBrowserApp);
        options->Password = "0123456789ABCDEF0123456789ABCDEF";
        options->ResetDateTime = EncodeDateTime({2026, 3, 22, 4, 0, 0, 0});
        options->IsNotFirstRun = true;
        options->ReminderChangePeriod = rcpWeekly;
        options->ReminderChangedDateTime = EncodeDateTime({2026, 3, 20, 9, 5, 3, 0});
        options->ReminderShowedDateTime = EncodeDateTime({2026, 3, 19, 0, 0, 0, 0});
        options->Save();
    }
    EXPECT_EQ(QueryRows(settings_, "SELECT name, value FROM settings"),
              (Rows{{"ScanPeriodSeconds", "5"},
                    {"TimeLimitSeconds", "3600"},
                    {"ExpirationAction", "Close Browser/App."},
                    {"Password", "0123456789ABCDEF0123456789ABCDEF"},
                    {"ResetDateTime", "2026-03-22"},
                    {"AllowUserToChangeSettings", "1"},
                    {"ReminderChangedDateTime", "20/03/2026 09:05:03"},
                    {"ReminderChangePeriod", "weekly"},
                    {"ReminderShowedDateTime", "19/03/2026"},
                    {"IsNotFirstRun", "1"}}));

    auto loaded = Make();
    EXPECT_EQ(loaded->ScanPeriodSeconds, 5);
    EXPECT_EQ(loaded->TimeLimitSeconds(), 3600);
    EXPECT_EQ(loaded->ExpirationAction(), eaCloseBrowserApp);
    EXPECT_EQ(loaded->Password, "0123456789ABCDEF0123456789ABCDEF");
    EXPECT_DOUBLE_EQ(loaded->ResetDateTime, EncodeDateTime({2026, 3, 22, 4, 0, 0, 0}));
    EXPECT_TRUE(loaded->AllowUserToChangeSettings);
    EXPECT_DOUBLE_EQ(loaded->ReminderChangedDateTime, EncodeDateTime({2026, 3, 20, 9, 5, 3, 0}));
    EXPECT_EQ(loaded->ReminderChangePeriod, rcpWeekly);
    EXPECT_DOUBLE_EQ(loaded->ReminderShowedDateTime, EncodeDateTime({2026, 3, 19, 0, 0, 0, 0}));
    EXPECT_TRUE(loaded->IsNotFirstRun);
}

TEST_F(OptionsTest, SaveWritesEveryRowAlsoWhenEmpty) {
    auto options = Make();
    options->Save();
    options->Save();  // a second save replaces, never adds
    EXPECT_EQ(QueryRows(settings_, "SELECT COUNT(*) FROM settings"), (Rows{{"10"}}));
    EXPECT_EQ(QueryRows(settings_, "SELECT name, value FROM settings WHERE name = 'Password'"),
              (Rows{{"Password", ""}}));
    EXPECT_EQ(QueryRows(settings_, "SELECT reminder_type, text FROM reminders"),
              (Rows{{"morning", ""}, {"afternoon", ""}, {"evening", ""}}));
}

TEST_F(OptionsTest, AnyTextRoundTrips) {
    const std::string texts[] = {
        "It's Bob's \"list\" ''",
        "line one\r\nline two\nline three\r",
        "Buy:\r\nSELECT a present\r\nUNION ALL\r\nSELECT 'x', 'y'",
        "Gr\xC3\xBC\xC3\x9F\x65 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80",
        std::string(10000, 'x') + "'" + std::string(10, 'y'),
    };
    for (const std::string& text : texts) {
        {
            auto options = Make();
            options->SetReminderText(rtMorning, text);
            options->SetReminderText(rtAfternoon, text + "2");
            options->SetReminderText(rtEvening, "");
            options->Password = text;
            options->MonitoredList().Clear();
            AddItem(*options, mitWebSite, text, text + " caption");
            options->Save();
        }
        auto loaded = Make();
        EXPECT_EQ(loaded->GetReminderText(rtMorning), text);
        EXPECT_EQ(loaded->GetReminderText(rtAfternoon), text + "2");
        EXPECT_EQ(loaded->GetReminderText(rtEvening), "");
        EXPECT_EQ(loaded->Password, text);
        ASSERT_EQ(loaded->MonitoredList().Count(), 1);
        EXPECT_EQ(loaded->MonitoredList().Items(0).Name, text);
        EXPECT_EQ(loaded->MonitoredList().Items(0).Caption, text + " caption");
        EXPECT_EQ(QueryRows(log_, "SELECT name FROM websites_list"), (Rows{{text}}));
    }
}

TEST_F(OptionsTest, ListLoadsByTypeWithActiveFromTheInteger) {
    RunScript(settings_,
              "INSERT INTO applications_list VALUES('C:\\Apps\\b.exe', 'beta', 1);"
              "INSERT INTO applications_list VALUES('C:\\Apps\\a.exe', 'Alpha', 0);"
              "INSERT INTO websites_list VALUES('example.com', 'Gamma', 2);");
    auto options = Make();
    TMonitoredList& list = options->MonitoredList();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0).Caption, "Alpha");
    EXPECT_EQ(list.Items(0).ItemType, mitApplication);
    EXPECT_FALSE(list.Items(0).Active);
    EXPECT_EQ(list.Items(1).Name, "C:\\Apps\\b.exe");
    EXPECT_TRUE(list.Items(1).Active);
    EXPECT_EQ(list.Items(2).ItemType, mitWebSite);
    EXPECT_FALSE(list.Items(2).Active);  // only 1 is active
    options->Load();
    EXPECT_EQ(list.Count(), 3);  // loading again adds nothing twice
}

TEST_F(OptionsTest, MissingWebSiteTableStopsAtTheApplications) {
    RunScript(settings_,
              "INSERT INTO applications_list VALUES('C:\\a.exe', 'a', 1); DROP TABLE websites_list;"
              "DROP TABLE reminders;");
    auto options = Make();
    EXPECT_EQ(options->MonitoredList().Count(), 1);
    EXPECT_EQ(options->GetReminderText(rtMorning), "");
}

TEST_F(OptionsTest, StoredValuesAreReadTolerantlyOfCase) {
    StoreSetting("scanperiodseconds", "0");
    StoreSetting("EXPIRATIONACTION", "close browser/APP.");
    StoreSetting("ReminderChangePeriod", "Monthly");
    StoreSetting("ResetDateTime", "2011-03-22");
    StoreSetting("AllowUserToChangeSettings", "0");
    StoreSetting("IsNotFirstRun", "true");  // only "1" is true
    StoreSetting("Unknown", "ignored");
    auto options = Make();
    EXPECT_EQ(options->ScanPeriodSeconds, 3);
    EXPECT_EQ(options->ExpirationAction(), eaCloseBrowserApp);
    EXPECT_EQ(options->ReminderChangePeriod, rcpMonthly);
    EXPECT_DOUBLE_EQ(options->ResetDateTime, EncodeDateTime({2011, 3, 22, 4, 0, 0, 0}));
    EXPECT_TRUE(options->AllowUserToChangeSettings);  // whatever the stored value
    EXPECT_FALSE(options->IsNotFirstRun);
}

TEST_F(OptionsTest, UnknownStorageNamesGiveTheFirstValue) {
    StoreSetting("ExpirationAction", "Close Browser");
    StoreSetting("ReminderChangePeriod", "yearly");
    RunScript(settings_,
              "INSERT INTO reminders VALUES('first', 'Evening'); INSERT INTO reminders VALUES('x', 'noon');");
    auto options = Make();
    EXPECT_EQ(options->ExpirationAction(), eaReminderOnly);
    EXPECT_EQ(options->ReminderChangePeriod, rcpNever);
    // Reminder types compare exactly: both rows land on the morning text, the later winning.
    EXPECT_EQ(options->GetReminderText(rtMorning), "x");
    EXPECT_EQ(options->GetReminderText(rtEvening), "");
}

// One value that does not convert keeps its field's default; the rest loads.
TEST_F(OptionsTest, BadSettingsRowsKeepTheirDefaultsAndTheRestLoads) {
    StoreSetting("ScanPeriodSeconds", "fast");
    StoreSetting("TimeLimitSeconds", "99999999999");
    StoreSetting("ResetDateTime", "2011-03");
    StoreSetting("ReminderChangedDateTime", "yesterday");
    StoreSetting("ReminderShowedDateTime", "31/02/2026 10:00:00");
    StoreSetting("ReminderChangePeriod", "daily");
    StoreSetting("Password", "kept");
    std::unique_ptr<TOptions> options;
    ASSERT_NO_THROW(options = Make());
    EXPECT_EQ(options->ScanPeriodSeconds, 3);
    EXPECT_EQ(options->TimeLimitSeconds(), 28800);
    EXPECT_DOUBLE_EQ(options->ResetDateTime, EncodeDateTime({2026, 3, 22, 4, 0, 0, 0}));
    EXPECT_EQ(options->ReminderChangedDateTime, now_);
    EXPECT_EQ(options->ReminderShowedDateTime, now_);
    EXPECT_EQ(options->ReminderChangePeriod, rcpDaily);
    EXPECT_EQ(options->Password, "kept");
    EXPECT_TRUE(options->AllowUserToChangeSettings);
}

// A moment written under one date format still reads after the user changed it.
TEST_F(OptionsTest, ReminderMomentsSurviveAChangeOfDateFormat) {
    {
        auto options = Make();
        options->ReminderChangedDateTime = EncodeDateTime({2026, 12, 25, 18, 30, 0, 0});
        options->Save();
    }
    format_.ShortDateFormat = "m-d-yyyy";
    format_.LongTimeFormat = "h:nn:ss AM/PM";
    format_.DateSeparator = "-";
    format_.TimeSeparator = ".";
    StoreSetting("ReminderShowedDateTime", "2026-01-02 07:08:09");  // the database form
    auto options = Make();
    EXPECT_DOUBLE_EQ(options->ReminderChangedDateTime, EncodeDateTime({2026, 12, 25, 18, 30, 0, 0}));
    EXPECT_DOUBLE_EQ(options->ReminderShowedDateTime, EncodeDateTime({2026, 1, 2, 7, 8, 9, 0}));
    options->Save();
    EXPECT_EQ(QueryRows(settings_, "SELECT value FROM settings WHERE name = 'ReminderChangedDateTime'"),
              (Rows{{"12-25-2026 6.30.00 PM"}}));
    EXPECT_DOUBLE_EQ(Make()->ReminderChangedDateTime, EncodeDateTime({2026, 12, 25, 18, 30, 0, 0}));
}

TEST_F(OptionsTest, SetReminderTextStampsOnlyRealChanges) {
    auto options = Make();
    options->SetReminderText(rtAfternoon, "walk");
    const TDateTime first = now_;
    EXPECT_EQ(options->ReminderChangedDateTime, first);
    now_ += 1;
    options->SetReminderText(rtAfternoon, "walk");
    EXPECT_EQ(options->ReminderChangedDateTime, first);
    options->SetReminderText(rtAfternoon, "Walk");
    EXPECT_EQ(options->ReminderChangedDateTime, now_);
    EXPECT_EQ(options->GetReminderText(rtAfternoon), "Walk");
}

TEST_F(OptionsTest, ThirtyOneApplicationsGiveThreeInsertsPerDatabase) {
    auto options = Make();
    for (int i = 0; i < 31; ++i) {
        const std::string n = std::to_string(100 + i);
        AddItem(*options, mitApplication, "C:\\Apps\\" + n + ".exe", "App " + n, i % 2 == 0);
    }
    const std::vector<TSqlStatement> inserts = MonitoredItemsInsertSql(options->MonitoredList(), mitApplication);
    ASSERT_EQ(inserts.size(), 3u);
    auto rowsOf = [](const TSqlStatement& statement) {
        int rows = 0;
        const std::string& sql = statement.Sql;
        for (std::size_t at = sql.find("\r\nSELECT "); at != std::string::npos; at = sql.find("\r\nSELECT ", at + 1))
            ++rows;
        EXPECT_EQ(statement.Params.size(), static_cast<std::size_t>(rows) * 3);
        return rows;
    };
    EXPECT_EQ(rowsOf(inserts[0]), 15);
    EXPECT_EQ(rowsOf(inserts[1]), 15);
    EXPECT_EQ(rowsOf(inserts[2]), 1);
    EXPECT_TRUE(
        inserts[0].Sql.starts_with("INSERT INTO applications_list(name, caption, active)\r\n"
                                   "SELECT ?, ?, ?\r\nUNION ALL\r\nSELECT ?, ?, ?\r\nUNION ALL\r\n"));
    EXPECT_EQ(inserts[0].Params[3], TSQLiteParam(std::string("C:\\Apps\\101.exe")));
    EXPECT_EQ(inserts[0].Params[5], TSQLiteParam(std::int64_t{0}));
    EXPECT_EQ(inserts[2].Sql, "INSERT INTO applications_list(name, caption, active)\r\nSELECT ?, ?, ?");
    EXPECT_EQ(inserts[2].Params,
              (TSQLiteParams{std::string("C:\\Apps\\130.exe"), std::string("App 130"), std::int64_t{1}}));
    EXPECT_TRUE(MonitoredItemsInsertSql(options->MonitoredList(), mitWebSite).empty());

    options->MonitoredItemsSave();
    for (const std::string& file : {settings_, log_}) {
        EXPECT_EQ(QueryRows(file, "SELECT COUNT(*), SUM(active) FROM applications_list"), (Rows{{"31", "16"}}));
        EXPECT_EQ(QueryRows(file, "SELECT COUNT(*) FROM websites_list"), (Rows{{"0"}}));
    }
    options->MonitoredList().Clear();
    options->MonitoredItemsSave();
    for (const std::string& file : {settings_, log_})
        EXPECT_EQ(QueryRows(file, "SELECT COUNT(*) FROM applications_list"), (Rows{{"0"}}));
}

TEST_F(OptionsTest, StatementTexts) {
    const TSqlStatement settings = SettingsInsertSql({{"A", "1"}, {"B", "it's"}});
    EXPECT_EQ(settings.Sql, "INSERT INTO settings(name, value)\r\nSELECT ?, ?\r\nUNION ALL\r\nSELECT ?, ?");
    EXPECT_EQ(settings.Params,
              (TSQLiteParams{std::string("A"), std::string("1"), std::string("B"), std::string("it's")}));
    const TSqlStatement reminders = RemindersInsertSql({"m", "", "e\r\nSELECT"});
    EXPECT_EQ(reminders.Sql,
              "INSERT INTO reminders(text, reminder_type)\r\nSELECT ?, 'morning'\r\nUNION ALL\r\n"
              "SELECT ?, 'afternoon'\r\nUNION ALL\r\nSELECT ?, 'evening'");
    EXPECT_EQ(reminders.Params, (TSQLiteParams{std::string("m"), std::string(), std::string("e\r\nSELECT")}));
    EXPECT_EQ(MonitoredItemsDeleteSql(mitWebSite), "DELETE FROM websites_list;");
}

// The reminder statement holds no double-quoted string, which a connection
// without SQLite's double-quoted-string leniency would read as a column name.
TEST_F(OptionsTest, RemindersInsertRunsWithoutDoubleQuotedStrings) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, &sqlite3_close);
    ASSERT_EQ(sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db.get(), "CREATE TABLE reminders(text TEXT, reminder_type TEXT);", nullptr, nullptr, nullptr),
        SQLITE_OK);
    // The leniency is really off: the old form fails here.
    EXPECT_NE(sqlite3_exec(db.get(), "INSERT INTO reminders VALUES ('x', \"morning\");", nullptr, nullptr, nullptr),
              SQLITE_OK);
    const std::string sql = RemindersInsertSql({"m", "a", "e"}).Sql;
    ASSERT_EQ(sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db.get());
}

// A failure between a save's DELETE and its INSERT leaves the previous data whole.
TEST_F(OptionsTest, FailedSaveKeepsThePreviousSettings) {
    {
        auto options = Make();
        options->SetTimeLimitSeconds(3600);
        options->SetReminderText(rtMorning, "old");
        AddItem(*options, mitApplication, "C:\\old.exe", "Old");
        EXPECT_TRUE(options->Save());
    }
    RunScript(settings_, "CREATE TRIGGER fail BEFORE INSERT ON reminders BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    {
        auto options = Make();
        options->SetTimeLimitSeconds(1800);
        options->SetReminderText(rtMorning, "new");
        options->MonitoredList().Clear();
        AddItem(*options, mitApplication, "C:\\new.exe", "New");
        EXPECT_FALSE(options->Save());
        // The reminders come last: everything before them was rolled back.
        EXPECT_EQ(QueryRows(settings_, "SELECT value FROM settings WHERE name = 'TimeLimitSeconds'"), (Rows{{"3600"}}));
        EXPECT_EQ(QueryRows(settings_, "SELECT text FROM reminders WHERE reminder_type = 'morning'"), (Rows{{"old"}}));
        EXPECT_EQ(QueryRows(settings_, "SELECT name FROM applications_list"), (Rows{{"C:\\old.exe"}}));
        EXPECT_EQ(QueryRows(log_, "SELECT name FROM applications_list"), (Rows{{"C:\\new.exe"}}));
        RunScript(settings_, "DROP TRIGGER fail;");
        RunScript(log_, "CREATE TRIGGER fail BEFORE INSERT ON applications_list BEGIN SELECT RAISE(ABORT, 'x'); END;");
        options->SetTimeLimitSeconds(1700);
        options->MonitoredList().Clear();
        AddItem(*options, mitApplication, "C:\\newer.exe", "Newer");
        // The settings database saves; the log database keeps its list, and
        // the caller learns that the save was not whole.
        EXPECT_FALSE(options->Save());
        EXPECT_EQ(QueryRows(settings_, "SELECT name FROM applications_list"), (Rows{{"C:\\newer.exe"}}));
        EXPECT_EQ(QueryRows(log_, "SELECT name FROM applications_list"), (Rows{{"C:\\new.exe"}}));
        RunScript(log_, "DROP TRIGGER fail;");
        RunScript(settings_, "CREATE TRIGGER fail BEFORE INSERT ON settings BEGIN SELECT RAISE(ABORT, 'locked'); END;");
        // Destruction saves once more, and fails.
    }
    EXPECT_EQ(QueryRows(settings_, "SELECT value FROM settings WHERE name = 'TimeLimitSeconds'"), (Rows{{"1700"}}));
    EXPECT_EQ(QueryRows(settings_, "SELECT name FROM applications_list"), (Rows{{"C:\\newer.exe"}}));
    EXPECT_EQ(QueryRows(settings_, "SELECT COUNT(*) FROM reminders"), (Rows{{"3"}}));
}

TEST_F(OptionsTest, FailedListSaveKeepsThePreviousList) {
    auto options = Make();
    AddItem(*options, mitWebSite, "old.example", "Old");
    options->MonitoredItemsSave();
    RunScript(settings_,
              "CREATE TRIGGER fail BEFORE INSERT ON websites_list BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    options->MonitoredList().Clear();
    AddItem(*options, mitWebSite, "new.example", "New");
    options->MonitoredItemsSave();
    EXPECT_EQ(QueryRows(settings_, "SELECT name FROM websites_list"), (Rows{{"old.example"}}));
    EXPECT_EQ(QueryRows(log_, "SELECT name FROM websites_list"), (Rows{{"new.example"}}));
}

// A log database held by another connection for longer than the busy
// time-out fails its part of the save as a whole; the settings still save.
TEST_F(OptionsTest, LogDatabaseHeldElsewhereDuringASave) {
    auto options = Make();
    AddItem(*options, mitApplication, "C:\\a.exe", "A");
    TSQLiteDatabase holder(log_);
    holder.ExecSQL("BEGIN EXCLUSIVE");
    options->Save();
    holder.ExecSQL("ROLLBACK");
    EXPECT_EQ(QueryRows(settings_, "SELECT name FROM applications_list"), (Rows{{"C:\\a.exe"}}));
    EXPECT_EQ(QueryRows(log_, "SELECT COUNT(*) FROM applications_list"), (Rows{{"0"}}));
}

TEST_F(OptionsTest, DestructionSaves) {
    {
        auto options = Make();
        options->ScanPeriodSeconds = 7;
    }
    EXPECT_EQ(Make()->ScanPeriodSeconds, 7);
}

TEST(OptionsTypes, StorageNames) {
    EXPECT_EQ(ExpirationActionStorageName(eaShutdownComputer), "Shutdown Computer");
    EXPECT_EQ(ReminderChangePeriodStorageName(rcpFortnightly), "fortnightly");
    EXPECT_EQ(ReminderTypeStorageName(rtAfternoon), "afternoon");
    EXPECT_EQ(ExpirationActionFromStorageName("SHUTDOWN computer"), eaShutdownComputer);
    EXPECT_EQ(ReminderChangePeriodFromStorageName("FORTNIGHTLY"), rcpFortnightly);
    EXPECT_EQ(ReminderTypeFromStorageName("Afternoon"), rtMorning);
    EXPECT_EQ(MonitoredListTableName(mitApplication), "applications_list");
    EXPECT_EQ(MonitoredListIniSection(mitWebSite), "WebSites");
    EXPECT_THROW(MonitoredListTableName(mitAll), EAssertionFailed);
}

}  // namespace
}  // namespace vh
