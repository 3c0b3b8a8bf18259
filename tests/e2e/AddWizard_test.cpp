// The real Vornhalt.exe's add wizard under Wine: the hot key shows the main
// window, its add button opens the wizard, a web site and Wine's notepad are
// added by address and by its path written as the page's example writes it
// (forward slashes, other letter case), and after Finish both databases'
// list tables and the main list hold both; notepad in front is then timed.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
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

// Visible children of a class, top to bottom.
std::vector<HWND> VisibleChildren(HWND window, const wchar_t* className) {
    std::vector<HWND> found;
    for (HWND child = FindWindowExW(window, nullptr, className, nullptr); child;
         child = FindWindowExW(window, child, className, nullptr)) {
        if (IsWindowVisible(child)) found.push_back(child);
    }
    std::sort(found.begin(), found.end(), [](HWND a, HWND b) {
        RECT ra{};
        RECT rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
    });
    return found;
}

std::wstring Text(HWND control) {
    std::wstring text(512, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::set<std::wstring> Rows(HWND list) {
    std::set<std::wstring> rows;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, row, 0)) + 1, L'\0');
        text.resize(
            static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
        if (!text.empty()) rows.insert(text);
    }
    return rows;
}

void SaveScreenshot(HWND window, const std::string& name) {
    win32::testing::SaveWindowPng(window, VH_SCREENSHOT_DIR, name, 500ms);  // painted first
}

// The program's visible top-level window other than `main`.
HWND WaitForWizard(const RunningProgram& program, HWND main) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            // Its caption is its first page's title, as its header shows.
            for (HWND window = FindWindowW(nullptr, L"Add Websites to your time-limit list"); window;
                 window = FindWindowExW(nullptr, window, nullptr, L"Add Websites to your time-limit list")) {
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                if (window != main && process == program.ProcessId() && IsWindowVisible(window)) found = window;
            }
            return found != nullptr;
        },
        10s);
    return found;
}

std::set<std::string> ListTable(const std::filesystem::path& file, const std::string& table) {
    std::set<std::string> names;
    try {
        TSQLiteDatabase database(Utf8Path(file));
        auto rows = database.GetTable("SELECT name, caption, active FROM " + table);
        for (rows->MoveFirst(); !rows->Eof(); rows->Next())
            names.insert(rows->FieldAsString(0) + "|" + rows->FieldAsString(1) + "|" + rows->FieldAsString(2));
    } catch (const ESQLiteException&) {
        // Busy while the program writes: nothing this time.
    }
    return names;
}

// Points in the wizard's client area (96 DPI): the Add buttons of pages 1 and
// 3, and the place of Next and Finish.
constexpr POINT kAddSite{300, 139};
constexpr POINT kAddApp{300, 133};
constexpr POINT kNext{300, 579};

using AddWizardEndToEnd = ProgramTest;

TEST_F(AddWizardEndToEnd, AddsASiteAndNotepadByAPathWithForwardSlashesWhichAreSavedListedAndTimed) {
    PrepareListedNotepad();
    for (const wchar_t* name : {L"settings.sqlite", L"actmondb.sqlite"})
        TSQLiteDatabase(Utf8Path(AppData(name))).ExecSQL("DELETE FROM applications_list");
    RunningProgram program(exe_);
    HWND main = program.WaitForWindow(L"Vornhalt", 20s);
    ASSERT_NE(main, nullptr);
    std::this_thread::sleep_for(1s);  // the hot key is claimed at the end of the start-up
    const ATOM hotKey = GlobalFindAtomW(L"REZ_UZU_Vivuri");
    ASSERT_NE(hotKey, 0);
    PostMessageW(main, WM_HOTKEY, hotKey, 0);
    PostMessageW(main, WM_HOTKEY, hotKey, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 5s));
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    // The full view, with the list and its add button (Choose View:, a
    // separator, All).
    PostClick(main, 270, 12);
    ASSERT_TRUE(WaitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; }, 5s)) << "no view menu";
    for (int i = 0; i < 2; ++i) PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil(
        [&] {
            RECT client{};
            GetClientRect(main, &client);
            return client.bottom > 400 && VisibleChildren(main, L"ListBox").size() == 1;
        },
        5s))
        << "the full view did not open";
    // The add button sits above the list's right end (the page places the
    // list at 17, 247 and the button's middle at 283, 235), wherever the view
    // puts the page.
    RECT list{};
    GetWindowRect(VisibleChildren(main, L"ListBox").at(0), &list);
    MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&list), 2);
    PostClick(main, list.left + 283 - 17, list.top + 235 - 247);
    HWND wizard = WaitForWizard(program, main);
    ASSERT_NE(wizard, nullptr) << "the add button opened no wizard; windows: " << WindowTitles(program.ProcessId());

    // Page 1: the address, added.
    std::vector<HWND> edits = VisibleChildren(wizard, L"Edit");
    ASSERT_EQ(edits.size(), 2u);
    SendMessageW(edits[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"example.com"));
    PostClick(wizard, kAddSite.x, kAddSite.y);
    ASSERT_TRUE(WaitUntil([&] { return Text(edits[0]).empty(); }, 5s)) << "the address was not taken";
    EXPECT_EQ(Rows(VisibleChildren(wizard, L"ListBox").at(0)), std::set<std::wstring>{L"example.com"});
    SaveScreenshot(wizard, "Vornhalt-add-wizard-sites");

    // Page 2 (no scan), then page 3: notepad by its path, as in
    // "ex. c:/program files/excel.exe".
    PostClick(wizard, kNext.x, kNext.y);
    ASSERT_TRUE(WaitUntil([&] { return !VisibleChildren(wizard, L"ComboBox").empty(); }, 5s)) << "no page 2";
    PostClick(wizard, kNext.x, kNext.y);
    ASSERT_TRUE(WaitUntil([&] { return VisibleChildren(wizard, L"ComboBox").empty(); }, 5s)) << "no page 3";
    // The page's controls show one after another: wait for all three
    // (file name, tag, info memo).
    WaitUntil([&] { return (edits = VisibleChildren(wizard, L"Edit")).size() == 3; }, 5s);
    ASSERT_EQ(edits.size(), 3u);
    constexpr wchar_t kTypedPath[] = L"c:/windows/system32/NOTEPAD.EXE";
    SendMessageW(edits[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kTypedPath));
    SendMessageW(edits[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Notepad"));
    PostClick(wizard, kAddApp.x, kAddApp.y);
    ASSERT_TRUE(WaitUntil([&] { return Text(edits[0]).empty(); }, 5s)) << "notepad was not taken";
    EXPECT_EQ(Rows(VisibleChildren(wizard, L"ListBox").at(0)), std::set<std::wstring>{L"Notepad"});
    SaveScreenshot(wizard, "Vornhalt-add-wizard-apps");
    PostClick(wizard, kNext.x, kNext.y);  // Finish
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(wizard) || !IsWindowVisible(wizard); }, 5s)) << "still open";

    // Both databases' list tables, and the main list.
    const std::set<std::string> apps{"c:/windows/system32/NOTEPAD.EXE|Notepad|1"};
    const std::set<std::string> sites{"example.com|example.com|1"};
    for (const wchar_t* name : {L"settings.sqlite", L"actmondb.sqlite"}) {
        EXPECT_TRUE(WaitUntil([&] { return ListTable(AppData(name), "applications_list") == apps; }, 5s))
            << Utf8Path(AppData(name));
        EXPECT_EQ(ListTable(AppData(name), "websites_list"), sites) << Utf8Path(AppData(name));
    }
    const std::vector<HWND> lists = VisibleChildren(main, L"ListBox");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(Rows(lists[0]), (std::set<std::wstring>{L"Notepad", L"example.com"}));
    SaveScreenshot(main, "Vornhalt-main-after-add");

    // The new entry is timed: notepad in front is logged.
    RunningProgram notepadProgram(NotepadPath());
    HWND notepadWindow = WaitForMainWindow(notepadProgram, 20s);
    ASSERT_NE(notepadWindow, nullptr);
    ASSERT_TRUE(BringToFront(notepadWindow, 10s));
    EXPECT_GE(WaitForRows(2, 20s), 2u) << "notepad was not timed";
    EndThroughFlag(program);
}

}  // namespace
}  // namespace vh::e2e
