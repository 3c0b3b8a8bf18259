// The real Vornhalt.exe monitoring under Wine: the first start's databases,
// rows of the activity log for a listed notepad in front, nothing while
// locked or suspended, a second instance refused, and the end through
// "uninstall.flag".

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/Utf16.h"
#include "storage/SQLiteTable3.h"
#include "support/E2eSupport.h"
#include "support/ForegroundSupport.h"
#include "support/ProgramFolder.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr std::chrono::milliseconds kEndAllowance = 2000ms + 2000ms;
constexpr char kNotepadPath[] = "C:\\windows\\system32\\notepad.exe";

struct LogRow {
    std::string app;
    std::string type;
    long long duration;
    long long origin;
};

// The titles of the process's top-level windows, to explain a failure.
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

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class MonitoringEndToEnd : public ::testing::Test {
protected:
    MonitoringEndToEnd() {
        RemoveProgramAppDataFolder();
        exe_ = PrepareProgramFolder(folder_.Path());
    }
    ~MonitoringEndToEnd() override { RemoveProgramAppDataFolder(); }

    fs::path AppData(const wchar_t* name) const { return ProgramAppDataFolder() / name; }

    // The ready-made databases in place, with notepad on the list.
    void PrepareListedNotepad() {
        fs::create_directories(ProgramAppDataFolder());
        for (const wchar_t* name : {L"settings.sqlite", L"actmondb.sqlite"})
            fs::copy_file(folder_.Path() / name, AppData(name));
        // The list as the program saves it: in the settings and, for the
        // engine and the statistics, its copy in the log database.
        const std::string entry =
            std::string("INSERT INTO applications_list VALUES('") + kNotepadPath + "', 'Notepad', 1)";
        TSQLiteDatabase settings(Utf8Path(AppData(L"settings.sqlite")));
        settings.ExecSQL(entry);
        settings.ExecSQL("INSERT INTO settings(name, value) VALUES('IsNotFirstRun', '1')");
        TSQLiteDatabase(Utf8Path(AppData(L"actmondb.sqlite"))).ExecSQL(entry);
    }

    std::vector<LogRow> NotepadRows() const {
        std::vector<LogRow> rows;
        try {
            TSQLiteDatabase log(Utf8Path(AppData(L"actmondb.sqlite")));
            auto table = log.GetTable(
                "SELECT app_name, app_type, duration, origin FROM applications "
                "WHERE app_name LIKE '%notepad.exe' ORDER BY rowid");
            for (table->MoveFirst(); !table->Eof(); table->Next())
                rows.push_back({table->FieldAsString(0), table->FieldAsString(1), table->FieldAsInteger(2),
                                table->FieldAsInteger(3)});
        } catch (const ESQLiteException&) {
            // Busy while the program writes: no rows this time.
        }
        return rows;
    }
    std::size_t WaitForRows(std::size_t count, std::chrono::milliseconds timeout) const {
        std::size_t found = 0;
        WaitUntil([&] { return (found = NotepadRows().size()) >= count; }, timeout);
        return found;
    }

    // Ends the program through the flag file, as the uninstaller does.
    void EndThroughFlag(const RunningProgram& program) {
        WriteUninstallFlag(folder_.Path());
        const auto start = std::chrono::steady_clock::now();
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(20s, &exitCode))
            << "still running after uninstall.flag; windows: " << WindowTitles(program.ProcessId());
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        // 0.9 s until the check sees the flag, then the end; under Wine the
        // removal of the tray icon alone waits 2 s for the tray to answer.
        EXPECT_LE(took.count(), kEndAllowance.count()) << "the program took " << took.count() << " ms to end";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_FALSE(fs::exists(AppData(L"Vornhalt.lock")));
    }

    TempFolder folder_;
    fs::path exe_;
};

TEST_F(MonitoringEndToEnd, FirstStartCopiesBothDatabasesAndTheUninstallFlagEndsTheProgram) {
    ASSERT_FALSE(fs::exists(ProgramAppDataFolder()));
    RunningProgram program(exe_);
    ASSERT_NE(program.WaitForWindow(L"Vornhalt", 20s), nullptr);
    EXPECT_TRUE(fs::exists(AppData(L"settings.sqlite")));
    EXPECT_TRUE(fs::exists(AppData(L"actmondb.sqlite")));
    EXPECT_TRUE(fs::exists(AppData(L"Vornhalt.lock")));
    std::this_thread::sleep_for(1s);
    EndThroughFlag(program);
}

TEST_F(MonitoringEndToEnd, ListedNotepadInFrontIsLoggedEveryScanButNotWhileLockedOrSuspended) {
    PrepareListedNotepad();
    RunningProgram notepad(NotepadPath());
    HWND notepadWindow = WaitForMainWindow(notepad, 20s);
    ASSERT_NE(notepadWindow, nullptr);
    RunningProgram program(exe_);
    HWND main = program.WaitForWindow(L"Vornhalt", 20s);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(BringToFront(notepadWindow, 10s));

    ASSERT_GE(WaitForRows(3, 20s), 3u) << "no rows for notepad in the activity log";
    for (const LogRow& row : NotepadRows()) {
        EXPECT_TRUE(row.app == kNotepadPath) << row.app;
        EXPECT_EQ(row.type, "Desktop Application");
        EXPECT_EQ(row.origin, 1);
        EXPECT_GE(row.duration, 2);
        EXPECT_LE(row.duration, 4);
    }

    // Wine delivers no session or power notices: the test posts them.
    for (auto [message, pause, resume] :
         {std::tuple{WM_WTSSESSION_CHANGE, 7, 8}, std::tuple{WM_POWERBROADCAST, 4, 7}}) {
        PostMessageW(main, message, pause, 0);
        std::this_thread::sleep_for(1s);
        const std::size_t before = NotepadRows().size();
        std::this_thread::sleep_for(8s);
        EXPECT_EQ(NotepadRows().size(), before) << "logged while paused by message " << message;
        ASSERT_TRUE(BringToFront(notepadWindow, 10s));
        PostMessageW(main, message, resume, 0);
        ASSERT_GE(WaitForRows(before + 1, 10s), before + 1) << "no rows after resuming from message " << message;
        EXPECT_LE(NotepadRows().at(before).duration, 4) << "the paused time was charged";
    }
    EndThroughFlag(program);
}

TEST_F(MonitoringEndToEnd, ASecondInstanceSaysSoAndLeavesTheDatabasesAlone) {
    RunningProgram first(exe_);
    ASSERT_NE(first.WaitForWindow(L"Vornhalt", 20s), nullptr);
    std::this_thread::sleep_for(2s);  // start-up writes done
    const std::string settings = FileBytes(AppData(L"settings.sqlite"));
    const std::string log = FileBytes(AppData(L"actmondb.sqlite"));

    RunningProgram second(exe_);
    HWND warning = second.WaitForWindow(L"Please Note", 20s);
    ASSERT_NE(warning, nullptr) << "no \"Please Note\" box from the second instance";
    EXPECT_EQ(second.FindWindowTitled(L"Vornhalt"), nullptr);
    PostMessageW(warning, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(second.WaitForExit(10s));
    EXPECT_FALSE(first.WaitForExit(0ms)) << "the first instance ended";
    EXPECT_EQ(FileBytes(AppData(L"settings.sqlite")), settings);
    EXPECT_EQ(FileBytes(AppData(L"actmondb.sqlite")), log);
    EndThroughFlag(first);
}

TEST_F(MonitoringEndToEnd, TwoHotKeyPressesWithinHalfASecondShowTheMainWindowAndCloseHidesIt) {
    RunningProgram program(exe_);
    HWND main = program.WaitForWindow(L"Vornhalt", 20s);
    ASSERT_NE(main, nullptr);
    std::this_thread::sleep_for(1s);  // the hot key is claimed at the end of the start-up
    const ATOM hotKey = GlobalFindAtomW(L"REZ_UZU_Vivuri");
    ASSERT_NE(hotKey, 0) << "no hot-key atom";
    EXPECT_FALSE(IsWindowVisible(main));

    // The test cannot press the keys: it posts what the system would send.
    PostMessageW(main, WM_HOTKEY, hotKey, 0);
    std::this_thread::sleep_for(1200ms);
    PostMessageW(main, WM_HOTKEY, hotKey, 0);
    std::this_thread::sleep_for(1s);
    EXPECT_FALSE(IsWindowVisible(main)) << "presses a second apart showed the window";

    PostMessageW(main, WM_HOTKEY, hotKey, 0);
    PostMessageW(main, WM_HOTKEY, hotKey, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 3s)) << "a double press did not show it";

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) == FALSE; }, 3s)) << "closing did not hide it";
    EXPECT_FALSE(program.WaitForExit(0ms));
    EndThroughFlag(program);
}

}  // namespace
}  // namespace vh::e2e
