// The very first start: the real program asks for the settings before its
// main window exists, and what the user applies, by keys alone, is in the
// settings database. Notepad, put on the list by its file name as the
// wizard's prompt invites, is then timed, reminded about and closed, and its
// minute outlives a restart.

#include <gtest/gtest.h>

#include <oleacc.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "AccessibleTree.h"
#include "Screenshot.h"
#include "support/E2eSupport.h"
#include "support/ForegroundSupport.h"
#include "support/ProgramFolder.h"
#include "support/ProgramTest.h"
#include "support/StorageTestSupport.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;
using ::testing::PrintToString;
using win32::testing::TabUntilFocused;

// The visible native children of the window with this class name.
std::vector<HWND> VisibleChildren(HWND window, const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        std::vector<HWND> found;
    } search{className, {}};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (_wcsicmp(name, s.className) == 0 && IsWindowVisible(child)) s.found.push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsMultiLine(HWND edit) {
    return (GetWindowLongPtrW(edit, GWL_STYLE) & ES_MULTILINE) != 0;
}

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    // Another process's edit answers WM_GETTEXT, not GetWindowText.
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

// Waits for the visible edit of the settings window that is (or is not) a
// memo; null when none shows within the time-out.
HWND WaitForEdit(HWND settings, bool multiLine) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND edit : VisibleChildren(settings, L"Edit"))
                if (IsMultiLine(edit) == multiLine) found = edit;
            return found != nullptr;
        },
        5s);
    return found;
}

void Shoot(HWND window, const std::string& name) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    win32::TBitmap32 shot;
    win32::testing::CaptureFromScreen(window, shot);
    win32::testing::SavePng(shot, VH_SCREENSHOT_DIR, name);
}

void PressEnter(HWND window) {
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
}

std::wstring TextOfRow(HWND list, int row) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::vector<HWND> SingleLineEdits(HWND window) {
    std::vector<HWND> edits;
    for (HWND edit : VisibleChildren(window, L"Edit"))
        if (!IsMultiLine(edit)) edits.push_back(edit);
    return edits;
}

// The widest of the window's visible single-line edits: the one a page's
// prompt asks to be filled.
HWND WidestEdit(HWND window) {
    HWND widest = nullptr;
    int width = 0;
    for (HWND edit : SingleLineEdits(window)) {
        RECT r{};
        GetWindowRect(edit, &r);
        if (r.right - r.left > width) {
            width = r.right - r.left;
            widest = edit;
        }
    }
    return widest;
}

// Tab to the native control and type into it, as a keyboard does.
::testing::AssertionResult TabAndType(HWND window, HWND control, const std::wstring& text) {
    if (!win32::testing::TabUntilWindowFocused(window, control))
        return ::testing::AssertionFailure() << "Tab never reached it";
    win32::testing::TypeText(control, text);
    return ::testing::AssertionSuccess();
}

// The first row of a list as a screen reader reads it, once it has one.
win32::testing::TreeEntry FirstRow(HWND list) {
    std::vector<win32::testing::TreeEntry> rows;
    WaitUntil(
        [&] {
            rows = win32::testing::ReadTree(VH_ACCESSIBLE_READER, list);
            return !rows.empty() && !rows[0].name.empty();
        },
        5s);
    return rows.empty() ? win32::testing::TreeEntry{} : rows[0];
}

// Tab to "Add site/application" on the list step and Space open the add
// wizard (its caption is its first page's title). By keys alone: a site
// typed as the first page's "eg www.sitename.com" invites and added, then
// through its pages to the one that takes a file name, which gets notepad's
// file name as the prompt's "eg excel.exe" invites; then "Add" and "Finish".
// Each list shows its new row ticked, as a screen reader hears it.
void AddNotepadThroughTheWizard(const RunningProgram& program, HWND settings) {
    std::vector<std::string> visited;
    ASSERT_TRUE(TabUntilFocused(VH_ACCESSIBLE_READER, settings, "Add site/application", &visited))
        << PrintToString(visited);
    PostMessageW(settings, WM_KEYDOWN, VK_SPACE, 0);
    HWND wizard = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            wizard = program.FindWindowTitled(L"Add Websites to your time-limit list");
            return wizard && IsWindowVisible(wizard);
        },
        10s))
        << "Space did not open the add wizard; windows: " << WindowTitles(program.ProcessId());
    // By keys alone from here on, found by their names as a screen reader finds them.
    const auto press = [&](const std::string& name) {
        visited.clear();
        if (!TabUntilFocused(VH_ACCESSIBLE_READER, wizard, name, &visited)) return false;
        PostMessageW(wizard, WM_KEYDOWN, VK_SPACE, 0);
        return true;
    };
    const HWND address = WidestEdit(wizard);
    ASSERT_TRUE(TabAndType(wizard, address, L"www.sitename.com"));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(address) == L"www.sitename.com"; }, 5s)) << "the typing was lost";
    ASSERT_TRUE(press("Add")) << PrintToString(visited);
    ASSERT_EQ(VisibleChildren(wizard, L"ListBox").size(), 1u);
    const win32::testing::TreeEntry site = FirstRow(VisibleChildren(wizard, L"ListBox")[0]);
    EXPECT_EQ(site.name, "www.sitename.com, Web");
    EXPECT_EQ(site.role, ROLE_SYSTEM_LISTITEM);
    EXPECT_TRUE(site.state & STATE_SYSTEM_CHECKED) << "the added site is not ticked";
    ASSERT_TRUE(press("Next >")) << PrintToString(visited);
    ASSERT_TRUE(WaitUntil([&] { return SingleLineEdits(wizard).size() == 1; }, 10s)) << "no scan page";
    ASSERT_TRUE(press("Next >")) << PrintToString(visited);
    if (!WaitUntil([&] { return SingleLineEdits(wizard).size() == 2; }, 10s)) Shoot(wizard, "Settings-2x-wizard");
    ASSERT_EQ(SingleLineEdits(wizard).size(), 2u) << "no file-name page";
    const HWND path = WidestEdit(wizard);
    ASSERT_TRUE(TabAndType(wizard, path, L"notepad.exe"));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(path) == L"notepad.exe"; }, 5s)) << "the typing was lost";
    ASSERT_TRUE(press("Add")) << PrintToString(visited);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(path).empty(); }, 5s)) << "notepad.exe was not taken";
    const win32::testing::TreeEntry application = FirstRow(VisibleChildren(wizard, L"ListBox").at(0));
    EXPECT_EQ(application.name, "notepad.exe, App");
    EXPECT_TRUE(application.state & STATE_SYSTEM_CHECKED) << "the added application is not ticked";
    Shoot(wizard, "Settings-2a-wizard");
    // Enter would press "Add" again, the focused button, as Windows' own
    // dialogs do: Finish is reached with Tab.
    ASSERT_TRUE(press("Finish")) << PrintToString(visited);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(wizard) || !IsWindowVisible(wizard); }, 10s))
        << "the wizard did not close";
}

// The reminder window of the program, once it shows, keeping notepad in front
// until then (under Wine a window started earlier can take the focus late).
HWND WaitForReminderKeepingInFront(const RunningProgram& program, HWND inFront, std::chrono::milliseconds timeout) {
    HWND reminder = nullptr;
    WaitUntil(
        [&] {
            reminder = program.FindWindowTitled(L"Reminder");
            if (reminder == nullptr && GetForegroundWindow() != inFront) SetForegroundWindow(inFront);
            return reminder && IsWindowVisible(reminder);
        },
        timeout);
    return reminder;
}

TEST(FirstRun, AsksForTheSettingsOnceAndTimesRemindsAndClosesNotepadListedByItsFileName) {
    RemoveProgramAppDataFolder();
    TempFolder programFolder;
    const fs::path exe = PrepareProgramFolder(programFolder.Path());
    int loggedMinutes = -1;
    {
        RunningProgram program(exe);
        HWND settings = program.WaitForWindow(L"Settings", 20s);
        ASSERT_NE(settings, nullptr) << "no \"Settings\" window at the first start";
        EXPECT_EQ(program.FindWindowTitled(L"Vornhalt"), nullptr) << "the main window came first";
        ASSERT_TRUE(WaitUntil([&] { return VisibleChildren(settings, L"ComboBox").size() == 4; }, 5s));
        Shoot(settings, "Settings-1-background");

        PressEnter(settings);
        ASSERT_TRUE(WaitUntil([&] { return VisibleChildren(settings, L"ListBox").size() == 1; }, 5s))
            << "Enter did not step to the list";
        AddNotepadThroughTheWizard(program, settings);
        const HWND list = VisibleChildren(settings, L"ListBox").at(0);
        EXPECT_TRUE(WaitUntil([&] { return !TextOfRow(list, 0).empty(); }, 5s)) << "the wizard added nothing";
        Shoot(settings, "Settings-2-list");

        // "Add site/application" keeps the focus, so Enter would press it
        // again: Tab to "Next >" and Space.
        std::vector<std::string> visited;
        ASSERT_TRUE(TabUntilFocused(VH_ACCESSIBLE_READER, settings, "Next >", &visited)) << PrintToString(visited);
        PostMessageW(settings, WM_KEYDOWN, VK_SPACE, 0);
        const HWND limit = WaitForEdit(settings, false);
        ASSERT_NE(limit, nullptr) << "\"Next >\" did not step to the time limit";
        EXPECT_EQ(TextOf(limit), L"08:00");
        // Typed over from its start, the colon skipped as the field does.
        ASSERT_TRUE(win32::testing::TabUntilWindowFocused(settings, limit));
        PostMessageW(limit, WM_KEYDOWN, VK_HOME, 0);
        win32::testing::TypeText(limit, L"0001");
        EXPECT_TRUE(WaitUntil([&] { return TextOf(limit) == L"00:01"; }, 5s)) << PrintToString(TextOf(limit));
        const std::vector<HWND> actions = VisibleChildren(settings, L"ComboBox");
        ASSERT_EQ(actions.size(), 1u);
        ASSERT_TRUE(win32::testing::TabUntilWindowFocused(settings, actions[0]));
        PostMessageW(actions[0], WM_KEYDOWN, VK_DOWN, 0);  // "Close Browser/App.", the next action
        EXPECT_TRUE(WaitUntil([&] { return SendMessageW(actions[0], CB_GETCURSEL, 0, 0) == 1; }, 5s));
        Shoot(settings, "Settings-3-expiration");

        PressEnter(settings);
        const HWND memo = WaitForEdit(settings, true);
        ASSERT_NE(memo, nullptr) << "Enter did not step to the reminders";
        ASSERT_TRUE(TabAndType(settings, memo, L"Call Anna at nine"));
        ASSERT_TRUE(WaitUntil([&] { return TextOf(memo) == L"Call Anna at nine"; }, 5s));
        Shoot(settings, "Settings-4-reminder");

        // Enter in the memo starts a new line, as in any memo: Tab to
        // "Apply" and Space.
        visited.clear();
        ASSERT_TRUE(TabUntilFocused(VH_ACCESSIBLE_READER, settings, "Apply", &visited)) << PrintToString(visited);
        PostMessageW(settings, WM_KEYDOWN, VK_SPACE, 0);
        ASSERT_NE(program.WaitForWindow(L"Vornhalt", 20s), nullptr) << "no main window after Apply";
        EXPECT_FALSE(IsWindow(settings) && IsWindowVisible(settings));

        const std::string db = Utf8Path(ProgramAppDataFolder() / L"settings.sqlite");
        EXPECT_EQ(vh::testing::QueryRows(db, "SELECT value FROM settings WHERE name = 'TimeLimitSeconds'"),
                  (Rows{{"60"}}));
        EXPECT_EQ(vh::testing::QueryRows(db, "SELECT value FROM settings WHERE name = 'ExpirationAction'"),
                  (Rows{{"Close Browser/App."}}));
        EXPECT_EQ(vh::testing::QueryRows(db, "SELECT text FROM reminders WHERE reminder_type = 'morning'"),
                  (Rows{{"Call Anna at nine"}}));
        EXPECT_EQ(vh::testing::QueryRows(db, "SELECT value FROM settings WHERE name = 'IsNotFirstRun'"), (Rows{{"1"}}));
        EXPECT_EQ(vh::testing::QueryRows(db, "SELECT name, active FROM applications_list"),
                  (Rows{{"notepad.exe", "1"}}));
        EXPECT_EQ(vh::testing::QueryRows(db, "SELECT name, active FROM websites_list"),
                  (Rows{{"www.sitename.com", "1"}}));

        // Notepad in front is timed; after the minute the reminder counts
        // down and notepad is closed.
        RunningProgram notepad(NotepadPath());
        const HWND notepadWindow = WaitForMainWindow(notepad, 20s);
        ASSERT_NE(notepadWindow, nullptr);
        const HWND reminder = WaitForReminderKeepingInFront(program, notepadWindow, 150s);
        ASSERT_NE(reminder, nullptr) << "no reminder; windows: " << WindowTitles(program.ProcessId())
                                     << "; in front: " << DescribeForegroundWindow();
        EXPECT_TRUE(notepad.WaitForExit(100s)) << "notepad was not closed after the countdown";
        const std::string log = Utf8Path(ProgramAppDataFolder() / L"actmondb.sqlite");
        const Rows logged = vh::testing::QueryRows(
            log, "SELECT lower(app_name), SUM(duration) FROM applications WHERE origin = 1 GROUP BY 1");
        ASSERT_EQ(logged.size(), 1u);
        EXPECT_EQ(logged[0][0], "c:\\windows\\system32\\notepad.exe");
        loggedMinutes = std::stoi(logged[0][1]) / 60;
        EXPECT_GE(loggedMinutes, 1) << "the limit was reached before a minute was logged";

        WriteUninstallFlag(programFolder.Path());
        ASSERT_TRUE(program.WaitForExit(10s));
        fs::remove(programFolder.Path() / L"uninstall.flag");
    }
    // The second start goes straight to the main window.
    RunningProgram again(exe);
    bool settingsShown = false;
    EXPECT_TRUE(WaitUntil(
        [&] {
            settingsShown = settingsShown || again.FindWindowTitled(L"Settings") != nullptr;
            return again.FindWindowTitled(L"Vornhalt") != nullptr;
        },
        20s));
    EXPECT_FALSE(settingsShown) << "the settings came again at the second start";
    // The minutes on notepad (the limit's, and the countdown's in front) are
    // still today's.
    const HWND main = ShowMainWindowByHotKey(again);
    ASSERT_NE(main, nullptr) << "the hot key did not show the main window";
    std::map<std::string, std::string> texts;
    EXPECT_TRUE(WaitUntil(
        [&] {
            texts = win32::testing::AccessibleTexts(VH_ACCESSIBLE_READER, main);
            return texts["Time on List:"] == "00:0" + std::to_string(loggedMinutes);
        },
        10s))
        << "Time on List: \"" << texts["Time on List:"] << "\" " << texts["<output>"];
    WriteUninstallFlag(programFolder.Path());
    EXPECT_TRUE(again.WaitForExit(10s));
    fs::remove(programFolder.Path() / L"uninstall.flag");

    // An uninstall while the first start's dialog is open ends the program.
    RemoveProgramAppDataFolder();
    RunningProgram fresh(exe);
    ASSERT_NE(fresh.WaitForWindow(L"Settings", 20s), nullptr);
    WriteUninstallFlag(programFolder.Path());
    DWORD exitCode = 1;
    EXPECT_TRUE(fresh.WaitForExit(10s, &exitCode)) << "the flag did not end the program";
    EXPECT_EQ(exitCode, 0u);
    RemoveProgramAppDataFolder();
}

}  // namespace
}  // namespace vh::e2e
