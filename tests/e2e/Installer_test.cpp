#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "Screenshot.h"
#include "platform/win32/Handles.h"
#include "support/E2eSupport.h"
#include "support/Installation.h"
#include "support/ProgramFolder.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

fs::path LockFile() {
    return ProgramAppDataFolder() / L"Vornhalt.lock";
}

// The program has started for real: it holds its lock, has its databases
// and its main window.
void ExpectRunning(const RunningProgram& program) {
    const fs::path data = ProgramAppDataFolder();
    EXPECT_TRUE(WaitUntil(
        [&] {
            return fs::exists(LockFile()) && fs::exists(data / L"settings.sqlite") &&
                   fs::exists(data / L"actmondb.sqlite");
        },
        20s))
        << "no lock file and databases in " << data;
    EXPECT_NE(program.WaitForMainWindow(20s), nullptr) << "no main window";
    EXPECT_FALSE(program.WaitForExit(0ms)) << "the program ended";
}

void ExpectSameFiles(const fs::path& built, const fs::path& installed) {
    if (!fs::exists(built)) return;
    const auto expected = ReadFiles(built);
    EXPECT_FALSE(expected.empty()) << built;
    EXPECT_EQ(ReadFiles(installed), expected) << installed << " differs from " << built;
}

std::wstring QuotedExe(const fs::path& folder) {
    return L"\"" + (folder / L"Vornhalt.exe").wstring() + L"\"";
}

// The program, its databases and pictures, the uninstaller, the shortcut,
// the Run value and the uninstall entry.
void ExpectInstalled(const fs::path& folder, bool startsWithWindows) {
    const fs::path build = BuildFolder();
    for (const wchar_t* name : {L"Vornhalt.exe", L"settings.sqlite", L"actmondb.sqlite"}) {
        ASSERT_TRUE(fs::exists(folder / name)) << name;
        EXPECT_EQ(fs::file_size(folder / name), fs::file_size(build / name)) << name;
    }
    EXPECT_TRUE(fs::exists(folder / L"uninstall.exe"));
    EXPECT_FALSE(fs::exists(folder / L"uninstall.flag"));
    ExpectSameFiles(build / L"Graphics", folder / L"Graphics");
    ExpectSameFiles(build / L"Skins", folder / L"Skins");

    EXPECT_EQ(ShortcutTarget(StartMenuShortcut()), folder / L"Vornhalt.exe");
    if (startsWithWindows)
        EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, kRunKey, L"Vornhalt"), QuotedExe(folder));
    else
        EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, kRunKey, L"Vornhalt"), std::nullopt);

    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), L"Vornhalt");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), VH_VERSION);
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"Vornhalt");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon"), QuotedExe(folder) + L",0");
    EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"),
              L"\"" + (folder / L"uninstall.exe").wstring() + L"\"");
    EXPECT_EQ(RegistryDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"NoModify"), 1u);
    const DWORD kilobytes = RegistryDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize").value_or(0);
    EXPECT_GE(kilobytes, fs::file_size(folder / L"Vornhalt.exe") / 1024);
}

// The files below `folder`; nothing while the uninstaller is still deleting.
std::optional<std::map<fs::path, std::string>> FilesLeft(const fs::path& folder) {
    try {
        if (!fs::exists(folder)) return std::map<fs::path, std::string>{};
        return ReadFiles(folder);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The files left below `folder`, for a failure's message.
std::string LeftNames(const fs::path& folder) {
    std::string names;
    if (const auto left = FilesLeft(folder))
        for (const auto& [path, bytes] : *left) names += path.string() + " ";
    return names.empty() ? "none" : names;
}

// Waits for the uninstaller (which runs on from a copy of itself in the temp
// folder) to finish, then checks that nothing of the installation is left
// but `kept`, the user's own files, with their folders.
void ExpectUninstalled(const fs::path& folder, const std::map<fs::path, std::string>& kept = {}) {
    EXPECT_TRUE(WaitUntil(
        [&] {
            const bool filesGone = kept.empty() ? !fs::exists(folder) : FilesLeft(folder) == kept;
            return filesGone && !RegistryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey);
        },
        60s))  // the uninstaller first waits for the program's end; a loaded machine is slow
        << folder << " holds more than the user's files, or the uninstall entry is still there: " << LeftNames(folder);
    EXPECT_FALSE(fs::exists(StartMenuShortcut()));
    EXPECT_EQ(RegistryString(HKEY_CURRENT_USER, kRunKey, L"Vornhalt"), std::nullopt);
}

fs::path Uninstaller() {
    const std::wstring command = RegistryString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString").value_or(L"");
    if (command.size() < 2 || command.front() != L'"' || command.back() != L'"') return {};
    return fs::path(command.substr(1, command.size() - 2));
}

// Every test starts and ends without the program's application-data folder.
class Installer : public ::testing::Test {
protected:
    Installer() { RemoveProgramAppDataFolder(); }
    ~Installer() override { RemoveProgramAppDataFolder(); }
};

// The silent setup into the default folder, and what it installed.
void InstallSilently(const fs::path& folder) {
    ASSERT_EQ(RunToEnd(SetupProgram(), L"/S", 120s), 0u);
    ExpectInstalled(folder, true);
}

// Silent setup, the program started from Program Files, the setup again over
// the running program (an upgrade), the program started once more, and the
// silent uninstall while it runs, which keeps the pictures the user added.
TEST_F(Installer, SilentInstallUpgradeAndUninstallEndTheRunningProgramAndKeepTheUsersDataAndPictures) {
    const fs::path folder = DefaultInstallFolder();
    const fs::path userPictures[] = {fs::path(L"Skins") / L"Holiday.png",
                                     fs::path(L"Skins") / L"Mountains" / L"My Alps.png"};
    InstallSilently(folder);
    if (HasFatalFailure()) return;

    std::map<fs::path, std::string> data;
    {
        RunningProgram program(folder / L"Vornhalt.exe");
        ExpectRunning(program);
        RunningProgram upgrade(SetupProgram(), L"/S");
        EXPECT_TRUE(program.WaitForExit(15s)) << "the setup did not end the running program";
        data = ReadFiles(ProgramAppDataFolder());
        DWORD exitCode = 1;
        ASSERT_TRUE(upgrade.WaitForExit(120s, &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    ExpectInstalled(folder, true);
    EXPECT_EQ(ReadFiles(ProgramAppDataFolder()), data) << "the upgrade changed the user's data";

    {
        // The flag that ended the old program is gone: the new one keeps running.
        RunningProgram program(folder / L"Vornhalt.exe");
        ExpectRunning(program);
        EXPECT_FALSE(program.WaitForExit(2s));
        // Pictures of the user's own beside the installed ones.
        for (const fs::path& mine : userPictures) {
            fs::create_directories((folder / mine).parent_path());
            std::ofstream(folder / mine, std::ios::binary) << "my picture";
        }
        const auto start = Clock::now();
        ASSERT_EQ(RunToEnd(Uninstaller(), L"/S", 30s), 0u);
        EXPECT_TRUE(
            program.WaitForExit(15s - std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start)))
            << "the uninstaller did not end the program within 15 s";
        data = ReadFiles(ProgramAppDataFolder());
    }
    ExpectUninstalled(folder, {{userPictures[0], "my picture"}, {userPictures[1], "my picture"}});
    fs::remove_all(folder);
    ASSERT_TRUE(data.contains(L"settings.sqlite"));
    ASSERT_TRUE(data.contains(L"actmondb.sqlite"));
    EXPECT_EQ(ReadFiles(ProgramAppDataFolder()), data) << "the uninstaller changed the user's data";
}

// A Vornhalt that does not end (here its program file, held open against
// writing by the test, as a running program's file is) makes the silent
// uninstaller give up after 15 s: it fails, leaves the installation whole and
// takes its flag away again, so the program does not end as soon as it is
// started next.
TEST_F(Installer, UninstallerGivesUpOnAProgramThatDoesNotEndAndTakesItsFlagAway) {
    const fs::path folder = DefaultInstallFolder();
    InstallSilently(folder);
    if (HasFatalFailure()) return;
    {
        const win32::UniqueFileHandle running(CreateFileW((folder / L"Vornhalt.exe").c_str(), GENERIC_READ,
                                                          FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(running);
        // In place, to see its exit code: the uninstaller's own "_?=" argument
        // (under Wine it must stand as an argument of its own, unquoted).
        const auto start = Clock::now();
        EXPECT_EQ(RunToEnd(folder / L"uninstall.exe", L"/S _?=" + folder.wstring(), 60s), 2u);
        EXPECT_GE(Clock::now() - start, 15s) << "the uninstaller did not wait";
    }
    EXPECT_FALSE(fs::exists(folder / L"uninstall.flag"));
    ExpectInstalled(folder, true);

    ASSERT_EQ(RunToEnd(Uninstaller(), L"/S", 30s), 0u);
    ExpectUninstalled(folder);
}

// --------------------------------------------------------------- the pages

struct ChildSearch {
    std::wstring text;
    HWND found = nullptr;
};

// The text of a window of another process, through the marshalled WM_GETTEXT
// (GetWindowText would not ask an edit box of another process).
std::wstring Text(HWND window) {
    wchar_t text[MAX_PATH] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored);
    return text;
}

BOOL CALLBACK FindChildByText(HWND window, LPARAM data) noexcept {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    try {
        if (search->text != Text(window)) return TRUE;
    } catch (...) {
        return FALSE;  // no exception crosses the enumeration
    }
    search->found = window;
    return FALSE;
}

HWND ChildWithText(HWND dialog, const std::wstring& text) {
    ChildSearch search{text};
    EnumChildWindows(dialog, FindChildByText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct TopSearch {
    std::wstring title;
    HWND found = nullptr;
};

BOOL CALLBACK FindTopByTitle(HWND window, LPARAM data) noexcept {
    auto* search = reinterpret_cast<TopSearch*>(data);
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (search->title != text || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// A visible top-level window of any process (the uninstaller runs on in a copy).
HWND WaitForTopWindow(const std::wstring& title) {
    TopSearch search{title};
    WaitUntil(
        [&] {
            EnumWindows(FindTopByTitle, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        30s);
    return search.found;
}

// The page is there when the wizard's main button says `button` and is enabled.
bool WaitForPage(HWND wizard, const std::wstring& button) {
    HWND next = GetDlgItem(wizard, IDOK);
    return WaitUntil([&] { return Text(next) == button && IsWindowEnabled(next); }, 60s);
}

void Screenshot(HWND wizard, const std::string& name) {
    // The page's controls paint after it became current, late on a busy machine.
    Sleep(1500);
    win32::TBitmap32 shot;
    win32::testing::CaptureFromScreen(wizard, shot);
    win32::testing::SavePng(shot, VH_SCREENSHOT_DIR, name);
}

void Click(HWND button) {
    ASSERT_NE(button, nullptr);
    PostMessageW(button, BM_CLICK, 0, 0);
}

// The parent process id of the running process with the image name `name`.
std::optional<DWORD> ParentOfProcess(const std::wstring& name) {
    // A failed snapshot is INVALID_HANDLE_VALUE, as a failed CreateFileW.
    const win32::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return std::nullopt;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        if (_wcsicmp(entry.szExeFile, name.c_str()) == 0) return entry.th32ParentProcessID;
    return std::nullopt;
}

// The setup's pages with a folder of the user's choosing, "start with
// Windows" cleared and "run now" kept (the program started through the
// shell), then the uninstaller's pages, which end the program and, with their
// box ticked, delete the user's data too.
TEST_F(Installer, PagesInstallIntoTheChosenFolderRunTheProgramAsTheUserAndUninstallCanDeleteTheData) {
    TempFolder temp;
    DWORD setupId = 0;
    const fs::path folder = temp.Path() / L"Chosen Vornhalt";
    {
        RunningProgram setup(SetupProgram());
        HWND wizard = setup.WaitForWindow(L"Vornhalt Setup", 30s);
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(WaitForPage(wizard, L"&Next >"));
        Screenshot(wizard, "setup-1-welcome");
        Click(GetDlgItem(wizard, IDOK));
        ASSERT_TRUE(WaitForPage(wizard, L"&Install"));
        HWND edit = ChildWithText(wizard, DefaultInstallFolder().wstring());
        ASSERT_NE(edit, nullptr) << "no folder box with the default folder";
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        Screenshot(wizard, "setup-2-folder");
        Click(GetDlgItem(wizard, IDOK));
        ASSERT_TRUE(WaitForPage(wizard, L"&Finish"));
        Screenshot(wizard, "setup-3-finish");
        for (const wchar_t* box : {L"Run Vornhalt now", L"Start Vornhalt with Windows"}) {
            HWND check = ChildWithText(wizard, box);
            ASSERT_NE(check, nullptr) << "no box " << fs::path(box);
            EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED) << fs::path(box);
        }
        SendMessageW(ChildWithText(wizard, L"Start Vornhalt with Windows"), BM_SETCHECK, BST_UNCHECKED, 0);
        Click(GetDlgItem(wizard, IDOK));
        DWORD exitCode = 1;
        ASSERT_TRUE(setup.WaitForExit(30s, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        setupId = setup.ProcessId();
    }
    ExpectInstalled(folder, false);
    EXPECT_TRUE(WaitUntil([] { return fs::exists(LockFile()); }, 20s)) << "\"Run Vornhalt now\" did not start it";
    // The shell started it, as the logged-on user, not the elevated setup.
    const std::optional<DWORD> parent = ParentOfProcess(L"Vornhalt.exe");
    ASSERT_TRUE(parent.has_value()) << "no Vornhalt.exe process";
    EXPECT_NE(*parent, setupId) << "started by the setup itself";
    {
        RunningProgram uninstaller(Uninstaller());
        HWND wizard = WaitForTopWindow(L"Vornhalt Uninstall");
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(WaitForPage(wizard, L"&Uninstall"));
        HWND tree = FindWindowExW(FindWindowExW(wizard, nullptr, L"#32770", nullptr), nullptr, WC_TREEVIEWW, nullptr);
        ASSERT_NE(tree, nullptr) << "no list of choices";
        Screenshot(wizard, "uninstall-1-choices");
        PostMessageW(tree, WM_KEYDOWN, VK_SPACE, 0);
        PostMessageW(tree, WM_KEYUP, VK_SPACE, 0);
        Screenshot(wizard, "uninstall-2-ticked");
        Click(GetDlgItem(wizard, IDOK));
        ASSERT_TRUE(WaitForPage(wizard, L"&Close"));
        Screenshot(wizard, "uninstall-3-done");
        Click(GetDlgItem(wizard, IDOK));
    }
    ExpectUninstalled(folder);
    EXPECT_FALSE(fs::exists(LockFile())) << "the program still runs";
    EXPECT_FALSE(fs::exists(ProgramAppDataFolder())) << "the ticked box did not delete the user's data";
}

}  // namespace
}  // namespace vh::e2e
