// The real Vornhalt.exe's main window under Wine: with notepad listed and 20
// minutes of it logged today, the window shown through the hot key lists
// notepad in the main list and in the usage list for "Today"; screenshots of
// its four views, and the full view again at 144 DPI. The time display and
// the list's rows are read through the accessible tree, as a screen reader
// would; by keys alone the focus dialog is cancelled and notepad's entry
// deleted with its confirmation.

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "AccessibleTree.h"
#include "Screenshot.h"
#include "support/E2eSupport.h"
#include "support/ProgramFolder.h"
#include "support/ProgramTest.h"
#include "support/StorageTestSupport.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;

// The visible list boxes of the window, top to bottom.
std::vector<HWND> VisibleListBoxes(HWND window) {
    std::vector<HWND> lists;
    for (HWND child = FindWindowExW(window, nullptr, L"ListBox", nullptr); child;
         child = FindWindowExW(window, child, L"ListBox", nullptr)) {
        if (IsWindowVisible(child)) lists.push_back(child);
    }
    return lists;
}

// A row's text, read from the other process.
std::wstring RowText(HWND list, int row) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length < 0) return L"<no row>";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::map<std::string, std::string> AccessibleTexts(HWND window) {
    return win32::testing::AccessibleTexts(VH_ACCESSIBLE_READER, window);
}

void SaveScreenshot(HWND window, const std::string& name) {
    win32::testing::SaveWindowPng(window, VH_SCREENSHOT_DIR, name, 700ms);  // painted first
}

int ClientHeight(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom;
}

using MainWindowEndToEnd = ProgramTest;

TEST_F(MainWindowEndToEnd, ListsTheTimeOfTodayAndShowsItsFourViews) {
    PrepareListedNotepad();
    LogNotepadToday(20 * 60);
    RunningProgram program(exe_);
    HWND main = program.WaitForWindow(L"Vornhalt", 20s);
    ASSERT_NE(main, nullptr);
    std::this_thread::sleep_for(1s);  // the hot key is claimed at the end of the start-up
    const ATOM hotKey = GlobalFindAtomW(L"REZ_UZU_Vivuri");
    ASSERT_NE(hotKey, 0);
    // The test cannot press the keys: it posts what the system would send.
    PostMessageW(main, WM_HOTKEY, hotKey, 0);
    PostMessageW(main, WM_HOTKEY, hotKey, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, 5s)) << "a double press did not show it";
    SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    // The time display, read from this process through the accessible tree.
    std::map<std::string, std::string> texts;
    EXPECT_TRUE(WaitUntil(
        [&] {
            texts = AccessibleTexts(main);
            return texts["Time on List:"] == "00:20";
        },
        10s))
        << "Time on List: \"" << texts["Time on List:"] << "\", " << texts.size() << " children " << texts["<output>"];
    EXPECT_TRUE(texts.count("Things to do this:")) << "the page's labels are in the tree";
    EXPECT_TRUE(texts.count("View Mode")) << "picture buttons are named by their hints";

    // Lite: the reminder area only, the list hidden with its page.
    EXPECT_EQ(ClientHeight(main), 92 + 46 + 147 + 10);
    std::vector<HWND> lists = VisibleListBoxes(main);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(RowText(lists[0], 0), L"Notepad");
    SaveScreenshot(main, "Vornhalt-main-lite");

    // "Usage" from the view menu, opened by the context-menu key on the
    // focused "View Mode": the menu takes the keys while it is open (Choose
    // View:, a separator, All, Reminders, Usage).
    std::vector<std::string> visited;
    ASSERT_TRUE(win32::testing::TabUntilFocused(VH_ACCESSIBLE_READER, main, "View Mode", &visited))
        << ::testing::PrintToString(visited);
    PostMessageW(main, WM_KEYDOWN, VK_APPS, 0);
    PostMessageW(main, WM_KEYUP, VK_APPS, 0);
    ASSERT_TRUE(WaitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; }, 5s)) << "no view menu";
    for (int i = 0; i < 4; ++i) PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return ClientHeight(main) > 400; }, 5s)) << "the usage view did not open";
    lists = VisibleListBoxes(main);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(RowText(lists[0], 0), L"Notepad") << "the usage list for Today";
    SaveScreenshot(main, "Vornhalt-main-usage");

    // Next wraps to the main page's full view, then goes on to the reminders.
    PostClick(main, 179 + 40, 589 + 16);
    ASSERT_TRUE(WaitUntil(
        [&] { return VisibleListBoxes(main).size() == 1 && FindWindowExW(main, nullptr, L"Edit", nullptr); }, 5s));
    EXPECT_EQ(RowText(VisibleListBoxes(main)[0], 0), L"Notepad");
    SaveScreenshot(main, "Vornhalt-main-all");
    // On the main page Back and Next are hidden: show the reminders through the menu.
    PostClick(main, 270, 12);
    ASSERT_TRUE(WaitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; }, 5s)) << "no view menu";
    for (int i = 0; i < 3; ++i) PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return VisibleListBoxes(main).empty(); }, 5s)) << "the reminders view did not open";
    SaveScreenshot(main, "Vornhalt-main-reminders");

    // The main page's full view at 144 DPI (posted, as Wine never sends it; no
    // suggested rectangle crosses processes): it still fits the work area.
    PostClick(main, 270, 12);
    ASSERT_TRUE(WaitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; }, 5s)) << "no view menu";
    for (int i = 0; i < 2; ++i) PostMessageW(main, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return VisibleListBoxes(main).size() == 1; }, 5s)) << "the full view did not open";
    PostMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ASSERT_TRUE(WaitUntil(
        [&] {
            RECT client{};
            GetClientRect(main, &client);
            return client.right == 479 && client.bottom <= work.bottom - work.top;  // 319 at 1.5
        },
        5s))
        << "not scaled";
    EXPECT_GE(ClientHeight(main), work.bottom - work.top - 1) << "a full view fills the work area";
    texts = AccessibleTexts(main);
    EXPECT_EQ(texts["Time on List:"], "00:20");
    SaveScreenshot(main, "Vornhalt-main-all-144dpi");

    // By keys alone: Tab until the tree says "Focus" has the focus, Space
    // opens the focus dialog, Escape cancels it and no focus period starts.
    visited.clear();
    ASSERT_TRUE(win32::testing::TabUntilFocused(VH_ACCESSIBLE_READER, main, "Focus", &visited))
        << "Tab never reached \"Focus\"; visited " << ::testing::PrintToString(visited);
    SaveScreenshot(main, "Vornhalt-main-focused-button-144dpi");
    PostMessageW(main, WM_KEYDOWN, VK_SPACE, 0);
    HWND dialog = program.WaitForWindow(L"Block Mode", 10s);
    ASSERT_NE(dialog, nullptr) << "Space did not open the focus dialog";
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 10s));

    // The list's rows say what they show. By keys alone: Tab to the list,
    // Down to notepad's row, Tab to "Delete", Space, and Enter confirms.
    const HWND list = VisibleListBoxes(main).at(0);
    ASSERT_TRUE(win32::testing::TabUntilWindowFocused(main, list)) << "Tab never reached the list";
    PostMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    std::vector<win32::testing::TreeEntry> rows;
    EXPECT_TRUE(WaitUntil(
        [&] {
            rows = win32::testing::ReadTree(VH_ACCESSIBLE_READER, list);
            return !rows.empty() && (rows[0].state & STATE_SYSTEM_FOCUSED);
        },
        5s))
        << "Down did not choose the first row";
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].role, ROLE_SYSTEM_LISTITEM);
    EXPECT_EQ(rows[0].name, "Notepad, App, 00:20");
    EXPECT_TRUE(rows[0].state & STATE_SYSTEM_SELECTED);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_TRUE(rows[i].state & STATE_SYSTEM_INVISIBLE) << "the blank filler row " << i << " is not read out";
    visited.clear();
    ASSERT_TRUE(win32::testing::TabUntilFocused(VH_ACCESSIBLE_READER, main, "Delete", &visited))
        << ::testing::PrintToString(visited);
    PostMessageW(main, WM_KEYDOWN, VK_SPACE, 0);
    dialog = program.WaitForWindow(L"Confirm Delete", 10s);
    ASSERT_NE(dialog, nullptr) << "Space on \"Delete\" asked nothing; windows: " << WindowTitles(program.ProcessId());
    SaveScreenshot(dialog, "Vornhalt-confirm-delete");
    PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);
    const std::string settings = Utf8Path(AppData(L"settings.sqlite"));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return vh::testing::QueryRows(settings, "SELECT COUNT(*) FROM applications_list WHERE active = 1") ==
                   std::vector<std::vector<std::string>>{{"0"}};
        },
        10s))
        << "Enter did not delete notepad's entry";

    // Closing only hides the window; the program goes on.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) == FALSE; }, 3s)) << "closing did not hide it";
    EndThroughFlag(program);
    wchar_t start[64] = {};
    GetPrivateProfileStringW(L"Common", L"FocusStartTime", L"", start, 64, AppData(L"Vornhalt.ini").c_str());
    EXPECT_STREQ(start, L"") << "the focus dialog was cancelled, yet a focus period was stored";
}

}  // namespace
}  // namespace vh::e2e
