#include "storage/DatabaseFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/Paths.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

using testing::CopyReadyMadeDatabase;
using testing::DatabaseImage;
using testing::FakeEnvironmentPlatform;
using testing::FileIn;
using testing::QueryRows;
using testing::RunScript;
using testing::TempFolder;
using Rows = std::vector<std::vector<std::string>>;

class CopyDatabases : public ::testing::Test {
protected:
    std::string ProgramFile(std::string_view name) const { return environment_.ProgramFolder() + std::string(name); }
    std::string AppDataFile(std::string_view name) const { return environment_.AppDataFolder() + std::string(name); }

    FakeEnvironmentPlatform platform_;
    TEnvironment environment_{platform_};
};

TEST_F(CopyDatabases, FirstStartCopiesBothAndLaterStartsNothing) {
    platform_.PutFile(ProgramFile("settings.sqlite"), DatabaseImage("settings v1"));
    platform_.PutFile(ProgramFile("actmondb.sqlite"), DatabaseImage("log v1"));
    CopyDatabasesToAppData(environment_);
    EXPECT_EQ(platform_.FileText(AppDataFile("settings.sqlite")), DatabaseImage("settings v1"));
    EXPECT_EQ(platform_.FileText(AppDataFile("actmondb.sqlite")), DatabaseImage("log v1"));
    EXPECT_FALSE(platform_.FileText(AppDataFile("settings.sqlite.tmp")));

    platform_.PutFile(ProgramFile("settings.sqlite"), DatabaseImage("settings v2"));
    platform_.PutFile(ProgramFile("actmondb.sqlite"), DatabaseImage("log v2"));
    CopyDatabasesToAppData(environment_);
    EXPECT_EQ(platform_.FileText(AppDataFile("settings.sqlite")), DatabaseImage("settings v1"));
    EXPECT_EQ(platform_.FileText(AppDataFile("actmondb.sqlite")), DatabaseImage("log v1"));
}

// A log database lost or never copied would leave every log write failing.
TEST_F(CopyDatabases, AMissingLogDatabaseIsCopiedBesideTheUsersSettings) {
    platform_.PutFile(ProgramFile("settings.sqlite"), "ready");
    platform_.PutFile(ProgramFile("actmondb.sqlite"), DatabaseImage("ready log"));
    platform_.PutFile(AppDataFile("settings.sqlite"), DatabaseImage("user's own"));
    EXPECT_TRUE(CopyDatabasesToAppData(environment_).empty());
    EXPECT_EQ(platform_.FileText(AppDataFile("settings.sqlite")), DatabaseImage("user's own"));
    EXPECT_EQ(platform_.FileText(AppDataFile("actmondb.sqlite")), DatabaseImage("ready log"));
}

// A file that is no database is kept aside under a dated name and a fresh
// one copied; a sound one, and one a crash left with its journal, stay.
TEST_F(CopyDatabases, DamagedFilesAreKeptAsideAndReplaced) {
    const TDateTime now = EncodeDateTime({2026, 3, 21, 16, 5, 9, 0});
    std::string truncated = DatabaseImage("x");
    truncated[31] = 3;  // three pages counted, one there
    const struct {
        std::string settings, log;
        std::vector<std::string> kept;
    } cases[] = {
        {"", DatabaseImage("log"), {"settings.sqlite"}},
        {DatabaseImage("s"), truncated, {"actmondb.sqlite"}},
        {"\x13\x37 random bytes that are no database at all", "", {"settings.sqlite", "actmondb.sqlite"}},
        {DatabaseImage("s"), DatabaseImage("log"), {}},
    };
    platform_.PutFile(ProgramFile("settings.sqlite"), DatabaseImage("ready"));
    platform_.PutFile(ProgramFile("actmondb.sqlite"), DatabaseImage("ready log"));
    for (const auto& c : cases) {
        std::filesystem::remove_all(platform_.Map(environment_.AppDataFolder()));
        platform_.PutFile(AppDataFile("settings.sqlite"), c.settings);
        platform_.PutFile(AppDataFile("actmondb.sqlite"), c.log);
        std::vector<std::string> expected;
        for (const std::string& name : c.kept) expected.push_back(AppDataFile(name) + ".damaged-2026-03-21-160509");
        EXPECT_EQ(CopyDatabasesToAppData(environment_, now), expected);
        for (std::size_t i = 0; i < c.kept.size(); ++i) {
            const std::string original = c.kept[i] == "settings.sqlite" ? c.settings : c.log;
            EXPECT_EQ(platform_.FileText(expected[i]), original);
            EXPECT_EQ(platform_.FileText(AppDataFile(c.kept[i])),
                      c.kept[i] == "settings.sqlite" ? DatabaseImage("ready") : DatabaseImage("ready log"));
        }
        // The next start finds nothing to do.
        EXPECT_TRUE(CopyDatabasesToAppData(environment_, now + 1).empty());
    }
    platform_.PutFile(AppDataFile("settings.sqlite"), truncated);
    platform_.PutFile(AppDataFile("settings.sqlite-journal"), "pages to roll back");
    EXPECT_TRUE(CopyDatabasesToAppData(environment_, now).empty());
    EXPECT_EQ(platform_.FileText(AppDataFile("settings.sqlite")), truncated);
}

TEST(DamagedDatabaseImage, TellsWhatCannotBeADatabase) {
    std::string image = DatabaseImage("x");
    EXPECT_FALSE(IsDamagedDatabaseImage(image));
    EXPECT_TRUE(IsDamagedDatabaseImage(""));
    EXPECT_TRUE(IsDamagedDatabaseImage(image.substr(0, 99)));
    EXPECT_TRUE(IsDamagedDatabaseImage(image.substr(0, 300)));  // page count kept: one page of 512 missing half
    std::string more = image + std::string(512, '\0');
    EXPECT_FALSE(IsDamagedDatabaseImage(more));  // longer than counted: the engine reads what it counts
    image[16] = 3;                               // 768: no power of two
    EXPECT_TRUE(IsDamagedDatabaseImage(image));
    image[16] = 0;
    image[17] = 1;                               // 1 stands for 65536
    EXPECT_TRUE(IsDamagedDatabaseImage(image));  // 512 bytes of a 65536-byte page
    image = DatabaseImage("x");
    image[95] = 6;  // page count not kept: whole pages are enough
    EXPECT_FALSE(IsDamagedDatabaseImage(image));
    EXPECT_TRUE(IsDamagedDatabaseImage(image.substr(0, 511)));
    image[0] = 's';
    EXPECT_TRUE(IsDamagedDatabaseImage(image));

    TempFolder folder;
    for (const char* name : {"settings.sqlite", "actmondb.sqlite"}) {
        const std::string file = FileIn(folder.Path(), name);
        CopyReadyMadeDatabase(name, file);
        std::ifstream in(PathFromUtf8(file), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_FALSE(IsDamagedDatabaseImage(bytes)) << name;
    }
}

TEST_F(CopyDatabases, NothingBesideTheProgramCopiesNothing) {
    CopyDatabasesToAppData(environment_);
    EXPECT_FALSE(platform_.FileText(AppDataFile("settings.sqlite")));
    EXPECT_FALSE(platform_.FileText(AppDataFile("actmondb.sqlite")));
}

TEST_F(CopyDatabases, FailedCopyLeavesNoHalfFileAndIsRetriedNextStart) {
    platform_.PutFile(ProgramFile("settings.sqlite"), "0123456789");
    platform_.PutFile(ProgramFile("actmondb.sqlite"), "abcdefghij");
    platform_.failWriteAfterBytes = 4;
    EXPECT_NO_THROW(CopyDatabasesToAppData(environment_));
    for (const char* name : {"settings.sqlite", "actmondb.sqlite", "settings.sqlite.tmp", "actmondb.sqlite.tmp"})
        EXPECT_FALSE(platform_.FileText(AppDataFile(name))) << name;

    platform_.failWriteAfterBytes.reset();
    CopyDatabasesToAppData(environment_);
    EXPECT_EQ(platform_.FileText(AppDataFile("settings.sqlite")), "0123456789");
    EXPECT_EQ(platform_.FileText(AppDataFile("actmondb.sqlite")), "abcdefghij");
}

TEST_F(CopyDatabases, LogCopyIsTriedAlsoWhenTheSettingsCopyFails) {
    platform_.PutFile(ProgramFile("actmondb.sqlite"), "log");
    platform_.PutFile(ProgramFile("settings.sqlite"), "settings");
    // A folder where the settings copy's temporary file goes makes only that copy fail.
    std::filesystem::create_directories(platform_.Map(AppDataFile("settings.sqlite.tmp")));
    CopyDatabasesToAppData(environment_);
    EXPECT_FALSE(platform_.FileText(AppDataFile("settings.sqlite")));
    EXPECT_EQ(platform_.FileText(AppDataFile("actmondb.sqlite")), "log");
}

TEST_F(CopyDatabases, UncreatableAppDataFolderRaises) {
    platform_.PutFile(ProgramFile("settings.sqlite"), "settings");
    // A file where the application-data folder belongs.
    const std::string folder = environment_.AppDataFolder();
    std::filesystem::remove_all(platform_.Map(folder));
    platform_.PutFile(folder.substr(0, folder.size() - 1), "in the way");
    EXPECT_THROW(CopyDatabasesToAppData(environment_), EFileError);
}

class PurgeLog : public ::testing::Test {
protected:
    void SetUp() override {
        CopyReadyMadeDatabase("actmondb.sqlite", log_);
        RunScript(log_,
                  "INSERT INTO applications_list(name, caption, active) VALUES('C:\\Apps\\Kept.exe', 'Kept', 1);"
                  "INSERT INTO websites_list(name, caption, active) VALUES('example.com', 'Example', 1);");
    }
    void AddRow(const std::string& date, const std::string& app, int origin, const std::string& url = "") {
        RunScript(log_,
                  "INSERT INTO applications(date_created, app_name, browser_url, app_type, duration, origin) "
                  "VALUES('" +
                      date + "', '" + app + "', '" + url + "', 'Desktop Application', 3, " + std::to_string(origin) +
                      ")");
    }
    Rows Remaining() {
        return QueryRows(log_, "SELECT date_created, app_name FROM applications ORDER BY date_created, app_name");
    }

    TempFolder folder_;
    std::string log_ = FileIn(folder_.Path(), "actmondb.sqlite");
};

TEST_F(PurgeLog, RemovesRowsStrictlyOlderThanNinetyDays) {
    const TDateTime now = EncodeDateTime({2026, 3, 31, 12, 0, 0, 0});
    const std::string cutoff = FormatDbDateTime(now - kActivityLogDays, ":");
    EXPECT_EQ(cutoff, "2025-12-31 12:00:00");
    AddRow("2025-12-31 11:59:59", "C:\\Apps\\Kept.exe", 1);
    AddRow("2025-12-31 12:00:00", "C:\\Apps\\Kept.exe", 1);
    AddRow("2026-03-31 11:00:00", "C:\\Apps\\Kept.exe", 1);
    AddRow("2025-06-01 08:00:00", "C:\\Browser\\b.exe", 2, "example.com");
    PurgeActivityLog(log_, cutoff, "2023-01-01");
    EXPECT_EQ(Remaining(),
              (Rows{{"2025-12-31 12:00:00", "C:\\Apps\\Kept.exe"}, {"2026-03-31 11:00:00", "C:\\Apps\\Kept.exe"}}));
}

// Rows stay for every program an entry names by the list's own rule: another
// letter case, another slash, a bare file name in any folder.
TEST_F(PurgeLog, KeepsTheRowsOfEveryProgramAnEntryNamesAndOnlyThose) {
    RunScript(log_,
              "INSERT INTO applications_list(name, caption, active) VALUES('notepad', 'Notepad', 1);"
              "INSERT INTO applications_list(name, caption, active) VALUES('c:/tools//edit.exe', 'Edit', 1);");
    AddRow("2026-03-30 10:00:00", "C:\\Apps\\Kept.exe", 1);
    AddRow("2026-03-30 10:00:01", "c:\\apps\\kept.exe", 1);
    AddRow("2026-03-30 10:00:02", "C:\\Apps\\Removed.exe", 1);
    AddRow("2026-03-30 10:00:03", "C:\\Browser\\b.exe", 2, "gone.example.org");  // web rows stay
    AddRow("2026-03-30 10:00:04", "C:\\Windows\\notepad.exe", 1);
    AddRow("2026-03-30 10:00:05", "D:\\Other\\NOTEPAD.EXE", 1);
    AddRow("2026-03-30 10:00:06", "C:\\Windows\\xnotepad.exe", 1);
    AddRow("2026-03-30 10:00:07", "C:\\Tools\\Edit.exe", 1);
    PurgeActivityLog(log_, "2025-12-30 10:00:00", "2023-01-01");
    EXPECT_EQ(Remaining(), (Rows{{"2026-03-30 10:00:00", "C:\\Apps\\Kept.exe"},
                                 {"2026-03-30 10:00:01", "c:\\apps\\kept.exe"},
                                 {"2026-03-30 10:00:03", "C:\\Browser\\b.exe"},
                                 {"2026-03-30 10:00:04", "C:\\Windows\\notepad.exe"},
                                 {"2026-03-30 10:00:05", "D:\\Other\\NOTEPAD.EXE"},
                                 {"2026-03-30 10:00:07", "C:\\Tools\\Edit.exe"}}));
}

TEST_F(PurgeLog, OldRowsStatementText) {
    EXPECT_EQ(PurgeOldRowsSql(), "DELETE FROM applications where date_created  < ?");
}

TEST(DatabaseRoutines, FailuresAreSwallowed) {
    TempFolder folder;
    const std::string missingFolder = FileIn(folder.Path(), "none") + "/x.sqlite";
    EXPECT_NO_THROW(DBExecSQL(missingFolder, "DELETE FROM settings"));
    EXPECT_EQ(DBGetTable(missingFolder, "SELECT * FROM settings"), nullptr);
    const std::string empty = FileIn(folder.Path(), "empty.sqlite");
    EXPECT_NO_THROW(DBExecSQL(empty, "DELETE FROM settings"));
    EXPECT_EQ(DBGetTable(empty, "SELECT * FROM settings"), nullptr);
    EXPECT_NE(DBGetTable(empty, "SELECT 1 AS one"), nullptr);
}

// The generated files give the kinds the readers need.
TEST(ReadyMadeDatabases, DeclaredTypesGiveTheNeededKinds) {
    TempFolder folder;
    const std::string settings = FileIn(folder.Path(), "settings.sqlite");
    const std::string log = FileIn(folder.Path(), "actmondb.sqlite");
    CopyReadyMadeDatabase("settings.sqlite", settings);
    CopyReadyMadeDatabase("actmondb.sqlite", log);
    RunScript(settings,
              "INSERT INTO settings VALUES('ScanPeriodSeconds', '3');"
              "INSERT INTO reminders VALUES('007', 'morning');"
              "INSERT INTO applications_list VALUES('0123', '1.50', 1);"
              "INSERT INTO websites_list VALUES('a', 'b', 0);");
    RunScript(log,
              "INSERT INTO applications VALUES('2026-01-01 00:00:00', '42', '', 'Opera', 5, 2);"
              "INSERT INTO applications_list VALUES('n', 'c', 1);"
              "INSERT INTO websites_list VALUES('n', 'c', 1);");
    auto kinds = [](const std::string& file, const std::string& table) {
        auto result = TSQLiteDatabase(file).GetTable("SELECT * FROM " + table);
        std::string text;
        for (int c = 0; c < result->ColCount(); ++c) text += std::to_string(result->FieldKind(c));
        return text;
    };
    EXPECT_EQ(kinds(settings, "settings"), "33");
    EXPECT_EQ(kinds(settings, "reminders"), "33");
    EXPECT_EQ(kinds(settings, "applications_list"), "331");
    EXPECT_EQ(kinds(settings, "websites_list"), "331");
    EXPECT_EQ(kinds(log, "applications"), "333311");
    EXPECT_EQ(kinds(log, "applications_list"), "331");
    EXPECT_EQ(kinds(log, "websites_list"), "331");
    // Texts that look like numbers stay as written.
    auto list = TSQLiteDatabase(settings).GetTable("SELECT * FROM applications_list");
    EXPECT_EQ(list->FieldAsString("name"), "0123");
    EXPECT_EQ(list->FieldAsString("caption"), "1.50");
    EXPECT_EQ(QueryRows(log, "SELECT tbl_name, sql FROM sqlite_master WHERE name = 'applications_date_created'"),
              (Rows{{"applications", "CREATE INDEX applications_date_created ON applications(date_created)"}}));
}

}  // namespace
}  // namespace vh
