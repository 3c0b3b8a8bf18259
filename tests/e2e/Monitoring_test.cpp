// The real Vornhalt.exe monitoring under Wine: the first start's databases,
// damaged ones kept aside with one warning that holds nothing back, rows of
// the activity log for a listed notepad in front, nothing while locked or
// suspended, a second instance refused, and the end through "uninstall.flag".

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Screenshot.h"
#include "storage/SQLiteTable3.h"
#include "support/E2eSupport.h"
#include "support/ForegroundSupport.h"
#include "support/ProgramFolder.h"
#include "support/ProgramTest.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using MonitoringEndToEnd = ProgramTest;

TEST_F(MonitoringEndToEnd, FirstStartCopiesBothDatabasesAndTheUninstallFlagEndsTheProgram) {
    ASSERT_FALSE(fs::exists(ProgramAppDataFolder()));
    RunningProgram program(exe_);
    ASSERT_NE(program.WaitForMainWindow(20s), nullptr);
    EXPECT_TRUE(fs::exists(AppData(L"settings.sqlite")));
    EXPECT_TRUE(fs::exists(AppData(L"actmondb.sqlite")));
    EXPECT_TRUE(fs::exists(AppData(L"Vornhalt.lock")));
    std::this_thread::sleep_for(1s);
    EndThroughFlag(program);
}

std::vector<fs::path> KeptAside(const fs::path& folder) {
    std::vector<fs::path> kept;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().wstring().find(L".damaged-") != std::wstring::npos) kept.push_back(entry.path());
    std::sort(kept.begin(), kept.end());
    return kept;
}

TEST_F(MonitoringEndToEnd, DamagedDatabasesAreKeptAsideAndTheUserIsToldOnce) {
    PrepareListedNotepad();
    std::string garbage;
    for (int i = 0; i < 300; ++i) garbage += "not a database ";
    const std::string truncated = FileBytes(AppData(L"actmondb.sqlite")).substr(0, 1000);
    for (const auto& [name, bytes] : {std::pair<const wchar_t*, const std::string*>{L"settings.sqlite", &garbage},
                                      std::pair<const wchar_t*, const std::string*>{L"actmondb.sqlite", &truncated}})
        std::ofstream(AppData(name), std::ios::binary | std::ios::trunc) << *bytes;

    for (int start = 0; start < 2; ++start) {
        RunningProgram program(exe_);
        // New databases mean a first start: its settings dialog is cancelled.
        // The notice comes once the main window runs.
        ASSERT_NE(program.WaitForMainWindow(20s), nullptr) << "start " << start;
        if (start == 0) {
            HWND warning = program.WaitForWindow(L"Please Note", 20s);
            ASSERT_NE(warning, nullptr) << "no warning; windows: " << WindowTitles(program.ProcessId());
            std::this_thread::sleep_for(1s);  // painted
            win32::TBitmap32 shot;
            win32::testing::CaptureFromScreen(warning, shot);
            win32::testing::SavePng(shot, VH_SCREENSHOT_DIR, "Vornhalt-damaged-databases");
            PostMessageW(warning, WM_KEYDOWN, VK_RETURN, 0);
            EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(warning); }, 10s));
        } else {
            // Told once: the second start finds sound databases.
            EXPECT_FALSE(WaitUntil([&] { return program.FindWindowTitled(L"Please Note") != nullptr; }, 3s));
        }
        for (const wchar_t* name : {L"settings.sqlite", L"actmondb.sqlite"}) {
            TSQLiteDatabase db(Utf8Path(AppData(name)));
            EXPECT_EQ(db.GetTable("PRAGMA integrity_check")->FieldAsString(0), "ok") << "start " << start;
        }
        // Nothing of the user's was overwritten: both files kept, byte for byte.
        const std::vector<fs::path> kept = KeptAside(ProgramAppDataFolder());
        ASSERT_EQ(kept.size(), 2u) << "start " << start;
        EXPECT_EQ(FileBytes(kept[0]), truncated);
        EXPECT_EQ(FileBytes(kept[1]), garbage);
        EndThroughFlag(program);
    }
}

TEST_F(MonitoringEndToEnd, ListedNotepadInFrontIsLoggedWhileTheDamagedDatabaseNoticeWaitsUnanswered) {
    PrepareListedNotepad();
    const std::string truncated = FileBytes(AppData(L"actmondb.sqlite")).substr(0, 1000);
    std::ofstream(AppData(L"actmondb.sqlite"), std::ios::binary | std::ios::trunc) << truncated;
    RunningProgram notepad(NotepadPath());
    HWND notepadWindow = WaitForMainWindow(notepad, 20s);
    ASSERT_NE(notepadWindow, nullptr);
    RunningProgram program(exe_);
    HWND warning = program.WaitForWindow(L"Please Note", 20s);
    ASSERT_NE(warning, nullptr) << "no notice; windows: " << WindowTitles(program.ProcessId());

    // The notice took the foreground; a late X focus event may give it back
    // after the notepad came to the front (Xvfb has no window manager).
    EXPECT_TRUE(WaitUntil(
        [&] {
            BringToFront(notepadWindow, 1s);
            return NotepadRows().size() >= 2;
        },
        30s))
        << "nothing logged while the notice waited";
    EXPECT_TRUE(IsWindowVisible(warning)) << "the notice went away unanswered";
    EXPECT_EQ(KeptAside(ProgramAppDataFolder()).size(), 1u);
    PostMessageW(warning, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(warning); }, 10s));
    EndThroughFlag(program);
}

TEST_F(MonitoringEndToEnd, ListedNotepadInFrontIsLoggedEveryScanButNotWhileLockedOrSuspended) {
    PrepareListedNotepad();
    RunningProgram notepad(NotepadPath());
    HWND notepadWindow = WaitForMainWindow(notepad, 20s);
    ASSERT_NE(notepadWindow, nullptr);
    RunningProgram program(exe_);
    HWND main = program.WaitForMainWindow(20s);
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
    ASSERT_NE(first.WaitForMainWindow(20s), nullptr);
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
    HWND main = program.WaitForMainWindow(20s);
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
