#include "support/ProgramTest.h"

#include <windows.h>

#include <cstdio>

#include "common/StringUtils.h"
#include "platform/win32/Utf16.h"
#include "storage/DailyTotals.h"
#include "storage/SQLiteTable3.h"
#include "support/ProgramFolder.h"

namespace vh::e2e {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// 0.9 s until the check sees the flag, then the end: about 0.3 s, of which
// the tray icon's removal waits 0.25 s at most (Wine's tray would take 2 s);
// the rest leaves room for a loaded machine. The setup program waits 15 s.
constexpr std::chrono::milliseconds kEndAllowance = 900ms + 2600ms;

// A local time as the activity log writes it: "yyyy-mm-dd hh:nn:ss".
std::string LogDateTime(const SYSTEMTIME& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                  time.wMinute, time.wSecond);
    return text;
}

}  // namespace

std::string WindowTitles(DWORD processId) {
    struct Search {
        DWORD processId;
        std::string titles;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM data) noexcept -> BOOL {
            auto& found = *reinterpret_cast<Search*>(data);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid != found.processId) return TRUE;
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            found.titles += "\"" + win32::WideToUtf8(text) + (IsWindowVisible(window) ? "\" (visible) " : "\" ");
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.titles;
}

ProgramTest::ProgramTest() {
    RemoveProgramAppDataFolder();
    exe_ = PrepareProgramFolder(folder_.Path());
}

ProgramTest::~ProgramTest() {
    RemoveProgramAppDataFolder();
}

fs::path ProgramTest::AppData(const wchar_t* name) const {
    return ProgramAppDataFolder() / name;
}

void ProgramTest::PrepareListedNotepad() {
    fs::create_directories(ProgramAppDataFolder());
    for (const wchar_t* name : {L"settings.sqlite", L"actmondb.sqlite"})
        fs::copy_file(folder_.Path() / name, AppData(name));
    // The list as the program saves it: in the settings and, for the engine
    // and the statistics, its copy in the log database.
    const std::string entry =
        "INSERT INTO applications_list VALUES(" + QuotedSqlString(kNotepadPath) + ", 'Notepad', 1)";
    TSQLiteDatabase settings(Utf8Path(AppData(L"settings.sqlite")));
    settings.ExecSQL(entry);
    TSQLiteDatabase(Utf8Path(AppData(L"actmondb.sqlite"))).ExecSQL(entry);
    SetSetting("IsNotFirstRun", "1");
}

void ProgramTest::ListWebSite(const std::string& name) {
    const std::string entry =
        "INSERT INTO websites_list VALUES(" + QuotedSqlString(name) + ", " + QuotedSqlString(name) + ", 1)";
    TSQLiteDatabase(Utf8Path(AppData(L"settings.sqlite"))).ExecSQL(entry);
    TSQLiteDatabase(Utf8Path(AppData(L"actmondb.sqlite"))).ExecSQL(entry);
}

void ProgramTest::SetSetting(const std::string& name, const std::string& value) {
    TSQLiteDatabase settings(Utf8Path(AppData(L"settings.sqlite")));
    settings.ExecSQL("DELETE FROM settings WHERE name = " + QuotedSqlString(name));
    settings.ExecSQL("INSERT INTO settings(name, value) VALUES(" + QuotedSqlString(name) + ", " +
                     QuotedSqlString(value) + ")");
}

void ProgramTest::LogNotepadToday(int seconds) {
    // A minute ago is today's usage unless the day began less than a minute
    // ago, at 4:00, which a test run does not meet in practice.
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    ticks.QuadPart -= 60ULL * 10'000'000ULL;
    const FILETIME before{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME utc{}, local{};
    FileTimeToSystemTime(&before, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    // As the program writes it: the row and its day's total together.
    const TSQLiteParams row{LogDateTime(local),    std::string(kNotepadPath),
                            std::string(),         std::string("Desktop Application"),
                            std::int64_t{seconds}, std::int64_t{1}};
    TSQLiteDatabase log(Utf8Path(AppData(L"actmondb.sqlite")));
    TSQLiteTransaction transaction(log);
    log.ExecSQL("INSERT INTO applications VALUES(?, ?, ?, ?, ?, ?)", row);
    log.ExecSQL(DailyTotalUpsertSql(), row);
    transaction.Commit();
}

std::vector<LogRow> ProgramTest::NotepadRows() const {
    return LogRows("app_name LIKE '%notepad.exe'");
}

std::vector<LogRow> ProgramTest::LogRows(const std::string& condition) const {
    std::vector<LogRow> rows;
    try {
        TSQLiteDatabase log(Utf8Path(AppData(L"actmondb.sqlite")));
        auto table = log.GetTable("SELECT app_name, app_type, duration, origin, browser_url FROM applications WHERE " +
                                  condition + " ORDER BY rowid");
        for (table->MoveFirst(); !table->Eof(); table->Next())
            rows.push_back({table->FieldAsString(0), table->FieldAsString(1), table->FieldAsInteger(2),
                            table->FieldAsInteger(3), table->FieldAsString(4)});
    } catch (const ESQLiteException&) {
        // Busy while the program writes: no rows this time.
    }
    return rows;
}

std::size_t ProgramTest::WaitForRows(std::size_t count, std::chrono::milliseconds timeout) const {
    std::size_t found = 0;
    WaitUntil([&] { return (found = NotepadRows().size()) >= count; }, timeout);
    return found;
}

void ProgramTest::EndThroughFlag(const RunningProgram& program) {
    WriteUninstallFlag(folder_.Path());
    const auto start = std::chrono::steady_clock::now();
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(20s, &exitCode))
        << "still running after uninstall.flag; windows: " << WindowTitles(program.ProcessId());
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_LE(took.count(), kEndAllowance.count()) << "the program took " << took.count() << " ms to end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(fs::exists(AppData(L"Vornhalt.lock")));
}

}  // namespace vh::e2e
