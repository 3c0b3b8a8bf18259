// The real Vornhalt.exe's usage history under Wine: notepad timed on top of
// twenty minutes logged earlier today, the window opened from the tools menu
// with the keyboard, today's bar read from its accessible tree, and the
// export written through the system's save dialog and read back.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "AccessibleTree.h"
#include "Screenshot.h"
#include "common/DateTime.h"
#include "model/DayRules.h"
#include "support/E2eSupport.h"
#include "support/ForegroundSupport.h"
#include "support/ProgramTest.h"
#include "ui/HistoryChart.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Today's program date (the day that began at the last 4:00 AM), local time.
TDateTime ProgramToday() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    const TDateTime now =
        EncodeDateTime({local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond, 0});
    return DateOf(TodayStart(now));
}

HWND FirstVisibleChild(HWND parent, const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found = nullptr;
    } search{className};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            wchar_t name[64]{};
            GetClassNameW(child, name, 64);
            if (_wcsicmp(name, s.className) != 0 || !IsWindowVisible(child)) return TRUE;
            s.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using HistoryEndToEnd = ProgramTest;

TEST_F(HistoryEndToEnd, TodaysBarTellsTheTimeOnTheListAndTheExportHoldsItsRow) {
    PrepareListedNotepad();
    LogNotepadToday(20 * 60);
    RunningProgram notepad(NotepadPath());
    ASSERT_NE(WaitForMainWindow(notepad, 20s), nullptr);
    RunningProgram program(exe_);
    ASSERT_NE(program.WaitForWindow(L"Vornhalt", 20s), nullptr);
    ASSERT_TRUE(BringToFront(WaitForMainWindow(notepad, 1s), 10s));
    ASSERT_GE(WaitForRows(2, 20s), 2u) << "notepad was not timed";

    // The tools menu from the keyboard: Auto-hide, Settings, Usage History...
    const HWND main = ShowMainWindowByHotKey(program);
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostClick(main, 288, 14);
    ASSERT_TRUE(WaitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; }, 5s)) << "no tools menu";
    for (int i = 0; i < 3; ++i) PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    const HWND history = program.WaitForWindow(L"Usage History", 10s);
    ASSERT_NE(history, nullptr) << "windows: " << WindowTitles(program.ProcessId());

    // Today's bar, named as the hint line names it: at least the twenty
    // minutes logged before, at most what the log holds now.
    long long logged = 0;
    for (const LogRow& row : NotepadRows()) logged += row.duration;
    const DateTimeParts today = DecodeDateTime(ProgramToday());
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::string day = " " + std::to_string(today.day) + " " + kMonths[today.month - 1] + ": ";
    std::map<std::string, std::string> texts;
    std::string todaysBar;
    EXPECT_TRUE(WaitUntil(
        [&] {
            texts = win32::testing::AccessibleTexts(VH_ACCESSIBLE_READER, history);
            for (const auto& [name, value] : texts) {
                if (name.find(day) != std::string::npos && name.find("limit") != std::string::npos) todaysBar = name;
            }
            return !todaysBar.empty();
        },
        10s))
        << texts["<output>"];
    const std::string minutes = todaysBar.substr(todaysBar.find(": ") + 2);
    EXPECT_TRUE(minutes.starts_with(DurationInWords(20 * 60)) || minutes.starts_with(DurationInWords(logged)))
        << todaysBar << " with " << logged << " s logged";
    EXPECT_EQ(texts.count("Export..."), 1u);
    win32::testing::SaveWindowPng(history, VH_SCREENSHOT_DIR, "Vornhalt-history", 500ms);

    // Export: the save dialog, answered with a file of this test's folder.
    const fs::path file = AppData(L"usage export.csv");
    PostMessageW(history, WM_KEYDOWN, VK_END, 0);
    RECT client{};
    GetClientRect(history, &client);
    const double scale = GetDpiForWindow(history) / 96.0;
    PostClick(history, static_cast<int>((600 - 10 - 2 * 90 - 8 + 20) * scale),
              client.bottom - static_cast<int>(20 * scale));
    HWND save = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (save = program.FindWindowTitled(L"Export Usage History")) != nullptr; }, 10s))
        << "no save dialog; windows: " << WindowTitles(program.ProcessId());
    HWND name = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (name = FirstVisibleChild(save, L"Edit")) != nullptr; }, 5s));
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.wstring().c_str()));
    PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(save, IDOK)));
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(file); }, 10s)) << "nothing exported";

    const std::string csv = ReadFile(file);
    EXPECT_TRUE(
        csv.starts_with("\xEF\xBB\xBF"
                        "Date,Entry,Type,Name,Seconds,Time\r\n"))
        << csv.substr(0, 80);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", today.year, today.month, today.day);
    EXPECT_NE(csv.find(std::string("\r\n") + date + ",Notepad,Application,"), std::string::npos) << csv;
    EndThroughFlag(program);
}

}  // namespace
}  // namespace vh::e2e
