// The real Vornhalt.exe's focus mode and reminder-change question under Wine.
// Notepad is listed and far under its limit. The program starts with the
// reminder texts unchanged for days, so it asks to change them first; "Never"
// and Escape keep that answer. A two-minute focus period is started as a user
// does (hot key, Focus, "00:02", OK): notepad in front gets the focus
// reminder and is closed. The program ends through "uninstall.flag" and starts
// again within the two minutes: focus mode goes on, and a new notepad in
// front is closed again, without a second reminder. A scheduled period
// starting a minute after the program's start leaves notepad alone until it
// begins, then closes it, also after a restart.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "Screenshot.h"
#include "environment/IniFile.h"
#include "platform/win32/Utf16.h"
#include "storage/SQLiteTable3.h"
#include "support/E2eSupport.h"
#include "support/ForegroundSupport.h"
#include "support/ProgramTest.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

void SaveScreenshot(HWND window, const std::string& name) {
    win32::testing::SaveWindowPng(window, VH_SCREENSHOT_DIR, name, 700ms);  // painted first
}

class FocusModeEndToEnd : public ProgramTest {
protected:
    std::string Setting(const std::string& name) const {
        TSQLiteDatabase settings(win32::WideToUtf8(AppData(L"settings.sqlite").wstring()));
        auto table = settings.GetTable("SELECT value FROM settings WHERE name = '" + name + "'");
        table->MoveFirst();
        return table->Eof() ? std::string("<none>") : table->FieldAsString(0);
    }

    // A notepad in front; true once it is there.
    std::unique_ptr<RunningProgram> StartNotepadInFront(HWND& window) {
        auto notepad = std::make_unique<RunningProgram>(NotepadPath());
        window = WaitForMainWindow(*notepad, 20s);
        if (window) BringToFront(window, 10s);
        return notepad;
    }
};

TEST_F(FocusModeEndToEnd, TwoMinutesOfFocusCloseNotepadAndOutliveARestart) {
    PrepareListedNotepad();
    SetSetting("ReminderChangePeriod", "daily");
    SetSetting("ReminderChangedDateTime", "2024-01-01 10:00:00");
    SetSetting("ReminderShowedDateTime", "2024-01-01 10:00:00");

    auto program = std::make_unique<RunningProgram>(exe_);
    // The question comes while the window is being built.
    HWND question = program->WaitForWindow(L"Please change reminders", 30s);
    ASSERT_NE(question, nullptr) << WindowTitles(program->ProcessId());
    // Made topmost once built; the window exists, titled, a moment before.
    EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongPtrW(question, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5s))
        << "the question is not topmost";
    SaveScreenshot(question, "Vornhalt-reminder-change");
    HWND frequency = FindWindowExW(question, nullptr, L"ComboBox", nullptr);
    ASSERT_NE(frequency, nullptr);
    EXPECT_EQ(SendMessageW(frequency, CB_GETCURSEL, 0, 0), 1) << "daily";
    SendMessageW(frequency, CB_SETCURSEL, 0, 0);
    PostMessageW(question, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }, 10s));

    HWND main = ShowMainWindowByHotKey(*program);
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostClick(main, 227 + 42, 53 + 16);  // "Focus"
    HWND dialog = program->WaitForWindow(L"Block Mode", 10s);
    ASSERT_NE(dialog, nullptr);
    HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, L"00:02");
    SaveScreenshot(dialog, "Vornhalt-block-mode");
    PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10s));
    const auto started = std::chrono::steady_clock::now();
    SaveScreenshot(main, "Vornhalt-main-focus-mode");

    const fs::path ini = AppData(L"Vornhalt.ini");
    EXPECT_TRUE(fs::exists(ini));

    // Notepad in front: the focus reminder, then closed.
    HWND notepadWindow = nullptr;
    auto notepad = StartNotepadInFront(notepadWindow);
    ASSERT_NE(notepadWindow, nullptr);
    HWND reminder = program->WaitForWindow(L"Reminder", 20s);
    ASSERT_NE(reminder, nullptr) << "no focus reminder; in front: " << DescribeForegroundWindow();
    PostMessageW(reminder, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(notepad->WaitForExit(15s)) << "the listed notepad was not closed";
    {
        SCOPED_TRACE("the first run");
        EndThroughFlag(*program);
    }
    program.reset();
    // The answer to the question was kept by the program's last save.
    EXPECT_EQ(Setting("ReminderChangePeriod"), "never");
    SYSTEMTIME today{};
    GetLocalTime(&today);
    EXPECT_NE(Setting("ReminderShowedDateTime").find(std::to_string(today.wYear)), std::string::npos)
        << "the question's moment was not kept: " << Setting("ReminderShowedDateTime");

    // Started again within the two minutes: focus mode goes on.
    fs::remove(folder_.Path() / L"uninstall.flag");
    program = std::make_unique<RunningProgram>(exe_);
    ASSERT_NE(program->WaitForWindow(L"Vornhalt", 20s), nullptr);
    HWND secondWindow = nullptr;
    auto second = StartNotepadInFront(secondWindow);
    ASSERT_NE(secondWindow, nullptr);
    EXPECT_TRUE(second->WaitForExit(20s)) << "a listed notepad outlived a restart in focus mode";
    EXPECT_EQ(program->FindWindowTitled(L"Reminder"), nullptr) << "the focus reminder came twice in a day";
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2min) << "the test was too slow to prove the restart";
    EndThroughFlag(*program);
}

// The local wall-clock time `seconds` from now, on a whole minute.
SYSTEMTIME LocalTimeIn(int seconds) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    now.wSecond = 0;
    now.wMilliseconds = 0;
    FILETIME file{};
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart += static_cast<ULONGLONG>(seconds) * 10'000'000ULL;
    file = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME result{};
    FileTimeToSystemTime(&file, &result);
    return result;
}

TEST_F(FocusModeEndToEnd, AScheduledPeriodClosesNotepadWhenItBeginsAndNotBeforeAndOutlivesARestart) {
    PrepareListedNotepad();
    // At least a minute ahead, on the next whole minute; four minutes long.
    const SYSTEMTIME start = LocalTimeIn(120);
    const SYSTEMTIME end = LocalTimeIn(120 + 4 * 60);
    static const wchar_t* const kDays[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    wchar_t period[64];
    swprintf(period, 64, L"%ls %02u:%02u-%02u:%02u", kDays[start.wDayOfWeek], start.wHour, start.wMinute, end.wHour,
             end.wMinute);
    ASSERT_TRUE(WritePrivateProfileStringW(L"BlockSchedule", L"Period1", period, AppData(L"Vornhalt.ini").c_str()));
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const int secondsToStart =
        ((start.wHour * 60 + start.wMinute) * 60 - (now.wHour * 60 + now.wMinute) * 60 - now.wSecond + 86400) % 86400;
    const auto startsAt = std::chrono::steady_clock::now() + std::chrono::seconds(secondsToStart);

    auto program = std::make_unique<RunningProgram>(exe_);
    ASSERT_NE(program->WaitForWindow(L"Vornhalt", 20s), nullptr);
    HWND notepadWindow = nullptr;
    auto notepad = StartNotepadInFront(notepadWindow);
    ASSERT_NE(notepadWindow, nullptr);
    // Before the start nothing blocks: no reminder, notepad stays.
    const auto beforeStart =
        std::chrono::duration_cast<std::chrono::milliseconds>(startsAt - std::chrono::steady_clock::now() - 3s);
    ASSERT_GT(beforeStart.count(), 10'000) << "the program took too long to start to prove anything";
    EXPECT_FALSE(
        WaitUntil([&] { return notepad->WaitForExit(0ms) || program->FindWindowTitled(L"Reminder"); }, beforeStart))
        << "blocked before the period began";
    HWND reminder = program->WaitForWindow(L"Reminder", 30s);
    ASSERT_NE(reminder, nullptr) << "no focus reminder at the period's start; in front: " << DescribeForegroundWindow();
    EXPECT_GE(std::chrono::steady_clock::now(), startsAt - 1s);
    PostMessageW(reminder, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(notepad->WaitForExit(15s)) << "the listed notepad was not closed";
    HWND main = ShowMainWindowByHotKey(*program);
    ASSERT_NE(main, nullptr);
    SaveScreenshot(main, "Vornhalt-main-scheduled");
    {
        SCOPED_TRACE("the first run");
        EndThroughFlag(*program);
    }
    program.reset();

    // Started again within the period: it is on from the start.
    fs::remove(folder_.Path() / L"uninstall.flag");
    program = std::make_unique<RunningProgram>(exe_);
    ASSERT_NE(program->WaitForWindow(L"Vornhalt", 20s), nullptr);
    HWND secondWindow = nullptr;
    auto second = StartNotepadInFront(secondWindow);
    ASSERT_NE(secondWindow, nullptr);
    EXPECT_TRUE(second->WaitForExit(20s)) << "a listed notepad outlived a restart within the period";
    EXPECT_LT(std::chrono::steady_clock::now(), startsAt + 4min) << "the test was too slow to prove the restart";
    EndThroughFlag(*program);
}

}  // namespace
}  // namespace vh::e2e
