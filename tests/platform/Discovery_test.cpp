// Discovery over the real system under Wine: a Start menu of real shell
// links, a program folder tree with our version resource, the registry's two
// views and the running processes through WMI. Everything lives in the
// test's temporary folder; the registry is only read.

#include <windows.h>

#include <shobjidl.h>
#include <winioctl.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/Paths.h"
#include "common/StringUtils.h"
#include "doubles/FakeDiscoveryPlatform.h"
#include "doubles/TempFolder.h"
#include "environment/ApplicationDiscovery.h"
#include "environment/ScanFolders.h"
#include "environment/Trace.h"
#include "environment/VersionInfo.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/DiscoveryPlatform.h"
#include "platform/win32/Handles.h"
#include "platform/win32/LongPaths.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {
namespace {

using Microsoft::WRL::ComPtr;
using Lines = std::vector<std::string>;

std::wstring Extended(const std::string& path) {
    return ExtendedLengthPath(Utf8ToWide(path));
}

std::string ModuleFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string own = WideToUtf8(path);
    return own.substr(0, own.find_last_of('\\') + 1);
}

void MakeFolders(const std::string& folder) {
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryW(Extended(folder.substr(0, at)).c_str(), nullptr);
    CreateDirectoryW(Extended(folder).c_str(), nullptr);
}

// A copy of VersionedApp.exe (our version resource) at `path`.
void CopyVersionedApp(const std::string& path) {
    MakeFolders(path.substr(0, path.find_last_of('\\')));
    ASSERT_TRUE(CopyFileW(Utf8ToWide(ModuleFolder() + "VersionedApp.exe").c_str(), Extended(path).c_str(), FALSE))
        << path;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    MakeFolders(path.substr(0, path.find_last_of('\\')));
    UniqueFileHandle file(CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << path;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

// A shell link saved through IShellLinkW, as installers make them.
void MakeShortcut(const std::string& path, const std::string& target, const std::string& relative = "") {
    MakeFolders(path.substr(0, path.find_last_of('\\')));
    ComApartment apartment;
    ComPtr<IShellLinkW> link;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
    ASSERT_HRESULT_SUCCEEDED(link->SetPath(Utf8ToWide(target).c_str()));
    if (!relative.empty()) {
        ASSERT_HRESULT_SUCCEEDED(link->SetRelativePath(Utf8ToWide(relative).c_str(), 0));
    }
    ComPtr<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(link.As(&file));
    ASSERT_HRESULT_SUCCEEDED(file->Save(Utf8ToWide(path).c_str(), TRUE)) << path;
}

// A junction `link` -> `target`; false when the file system cannot make one.
bool MakeJunction(const std::string& link, const std::string& target) {
    if (!CreateDirectoryW(Utf8ToWide(link).c_str(), nullptr)) return false;
    UniqueFileHandle handle(CreateFileW(Utf8ToWide(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle) return false;
    const std::wstring substitute = L"\\??\\" + Utf8ToWide(target);
    const std::wstring print = Utf8ToWide(target);
    std::vector<WORD> buffer(8 + substitute.size() + print.size() + 2, 0);
    auto* header = reinterpret_cast<BYTE*>(buffer.data());
    const WORD pathBytes = static_cast<WORD>((substitute.size() + print.size() + 2) * sizeof(wchar_t));
    *reinterpret_cast<DWORD*>(header) = IO_REPARSE_TAG_MOUNT_POINT;
    buffer[2] = static_cast<WORD>(8 + pathBytes);                              // data length
    buffer[4] = 0;                                                             // substitute offset
    buffer[5] = static_cast<WORD>(substitute.size() * sizeof(wchar_t));        // substitute length
    buffer[6] = static_cast<WORD>((substitute.size() + 1) * sizeof(wchar_t));  // print offset
    buffer[7] = static_cast<WORD>(print.size() * sizeof(wchar_t));             // print length
    std::copy(substitute.begin(), substitute.end(), reinterpret_cast<wchar_t*>(&buffer[8]));
    std::copy(print.begin(), print.end(), reinterpret_cast<wchar_t*>(&buffer[8 + substitute.size() + 1]));
    DWORD returned = 0;
    return DeviceIoControl(handle.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(), 8 + 8 + pathBytes, nullptr, 0,
                           &returned, nullptr) != FALSE;
}

// Twelve levels of 24 characters: a path well past 260 characters.
std::string DeepFolder(const std::string& base) {
    std::string folder = base;
    for (int level = 0; level < 12; ++level) folder += "level-" + std::to_string(level) + "-xxxxxxxxxxxxxxxxx\\";
    return folder;
}

class DiscoveryTest : public ::testing::Test {
protected:
    DiscoveryTest() {
        SetTraceSinkForTesting([this](char kind, std::string_view text) {
            if (kind == 'X') traced.emplace_back(text);
        });
    }
    ~DiscoveryTest() override { SetTraceSinkForTesting(nullptr); }

    // The real services with the folders and registry of the double.
    TDiscoveryPlatform Platform() {
        TDiscoveryPlatform real = system.Platform([](const std::string& folder) {
            const DWORD attributes = GetFileAttributesW(Extended(folder).c_str());
            return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        });
        return {real.Directories, fake, fake, real.Shortcuts, real.Processes, real.Versions, real.DirectoryExists};
    }

    vh::testing::TempFolder temp;
    const std::string root = PathToUtf8(temp.Path()) + "\\";
    vh::testing::FakeDiscoveryPlatform fake;
    DiscoveryPlatform system;
    Lines traced;
};

TEST_F(DiscoveryTest, FastScanReadsRealShortcutsUnderForeignAndDeepNamesAndSkipsBrokenOnes) {
    const std::string game = root + "Games\\\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0\\\xD0\xB8\xD0\xB3\xD1\x80\xD0\xB0.exe";
    CopyVersionedApp(game);
    CopyVersionedApp(root + "Games\\unins000.exe");
    const std::string cached = root + "Windows\\Installer\\{0A1B2C3D}\\cached.exe";
    CopyVersionedApp(cached);
    const std::string user = root + "Start\\Programs\\";
    const std::string common = root + "Common\\Programs\\";
    fake.commonPrograms = common.substr(0, common.size() - 1);
    fake.userPrograms = user.substr(0, user.size() - 1);

    MakeShortcut(user + "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0.lnk", game);
    MakeShortcut(user + "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\Uninstall.lnk", root + "Games\\unins000.exe");
    MakeShortcut(common + "Installer.lnk", cached, "..\\..\\Games\\\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0\\play.exe");
    MakeShortcut(DeepFolder(user) + "Deep.lnk", game);
    WriteBytes(user + "Broken.lnk", "not a shell link");
    const bool junction = MakeJunction(user + "Loop", user.substr(0, user.size() - 1));
    if (!junction) std::printf("This file system makes no junctions: the loop rule is shown against the double.\n");

    Lines found;
    ScanShortcuts(Platform(), found);
    EXPECT_EQ(found, (Lines{root + "Games\\\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0\\play.exe=Installer", game + "=Deep",
                            game + "=\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0"}));
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_NE(traced[0].find("Broken.lnk"), std::string::npos);
    EXPECT_THROW(system.Platform({}).Shortcuts.RawTarget(user + "Broken.lnk"), EOSError);
}

TEST_F(DiscoveryTest, CompleteScanFindsVersionedProgramsInOrdinaryFoldersOfAnyName) {
    const std::string programs = root + "Program Files\\";
    fake.currentVersionValues = {{"ProgramFilesDir", programs.substr(0, programs.size() - 1)}};
    CopyVersionedApp(programs + "Game\\Launcher.exe");
    CopyVersionedApp(programs + "Game\\setup32.exe");
    CopyVersionedApp(programs + "Game\\InstallShield.exe");
    WriteBytes(programs + "Game\\plain.exe", "no resource here");
    CopyVersionedApp(programs + "Custom\\Bin\\custom.exe");
    SetFileAttributesW(Utf8ToWide(programs + "Custom").c_str(), FILE_ATTRIBUTE_READONLY);
    CopyVersionedApp(programs + "Hidden\\hidden.exe");
    SetFileAttributesW(Utf8ToWide(programs + "Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    const std::string foreign = programs + "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0\\\xE3\x82\xB2.exe";
    CopyVersionedApp(foreign);
    const std::string deep = DeepFolder(programs) + "deep.exe";
    CopyVersionedApp(deep);

    int calls = 0;
    const TScanProgressEvent progress = [&] { return ++calls > 0; };
    const int count = CountScanFolders(Platform(), "", progress);
    EXPECT_EQ(count, 4 + 12);  // Game, Custom, Custom\Bin, the foreign one and the deep chain
    EXPECT_EQ(calls, count);

    Lines found;
    ScanExecutables(Platform(), "", found, progress);
    std::sort(found.begin(), found.end());
    const std::string caption = "=Vornhalt Versioned Game";
    Lines expected{programs + "Custom\\Bin\\custom.exe" + caption, programs + "Game\\Launcher.exe" + caption,
                   programs + "Game\\plain.exe=plain", foreign + caption, deep + caption};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
    EXPECT_EQ(calls, 2 * count);
    SetFileAttributesW(Utf8ToWide(programs + "Custom").c_str(), FILE_ATTRIBUTE_NORMAL);

    TVersionInfo info;
    info.FileName = programs + "Game\\Launcher.exe";
    info.Load(system.Platform({}).Versions);
    EXPECT_EQ(info.Language, "040904B0");
    EXPECT_EQ(info.FileVersion, "1.2.3.4");
    EXPECT_EQ(info.InternalName, "versioned");
}

TEST_F(DiscoveryTest, TheRegistryIsReadInBothViewsAndItsFailuresAreNamed) {
    Registry registry;
    const std::string key(kCurrentVersionKey);
    EXPECT_EQ(GetProgramFilesDir(registry, ""), "C:\\Program Files");
    EXPECT_EQ(GetProgramFilesDirX86(registry, ""), "C:\\Program Files (x86)");
    // Only the 64-bit view shows the folder that holds the 32-bit one.
    const auto isWow = [](const std::string& name) { return SameTextAscii(name, "Wow6432Node"); };
    const auto native = registry.SubkeyNames(TRegistryView::Native, "SOFTWARE");
    const auto wow32 = registry.SubkeyNames(TRegistryView::Wow32, "SOFTWARE");
    ASSERT_TRUE(native && wow32);
    EXPECT_TRUE(std::any_of(native->begin(), native->end(), isWow));
    EXPECT_FALSE(std::any_of(wow32->begin(), wow32->end(), isWow));
    const auto values = registry.Values(TRegistryView::Native, key);
    ASSERT_TRUE(values);
    EXPECT_TRUE(std::any_of(values->begin(), values->end(), [](const TRegistryValue& v) {
        return v.Name == "ProgramFilesDir" && v.Kind == TRegistryValueKind::String && v.Text == "C:\\Program Files";
    }));
    EXPECT_FALSE(registry.SubkeyNames(TRegistryView::Native, key + "\\NoSuchKeyOfVornhalt"));

    try {
        ReadRegistryStringOnComputer(registry, "", key + "\\NoSuchKeyOfVornhalt", "x", TRegistryRoot::LocalMachine);
        ADD_FAILURE() << "a missing key was read";
    } catch (const ERegistryError& e) {
        EXPECT_STREQ(e.what(), "Can't open registry values on computer ");
    }
    try {
        ReadRegistryStringOnComputer(registry, "NO-SUCH-HOST-VH", key, "ProgramFilesDir", TRegistryRoot::LocalMachine);
        ADD_FAILURE() << "another computer's registry was read";
    } catch (const ERegistryError& e) {
        EXPECT_STREQ(e.what(), "Can't open registry on computer NO-SUCH-HOST-VH");
    }
}

TEST_F(DiscoveryTest, RunningProcessesThroughWmiIncludeThisProgram) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string own = WideToUtf8(path);
    std::string name = own.substr(own.find_last_of('\\') + 1);
    name.erase(name.find_last_of('.'));

    Lines found;
    ProcessesExeNamesGet(Platform(), "", found);
    EXPECT_TRUE(traced.empty()) << traced.front();
    EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                            [&](const std::string& line) { return SameTextAscii(line, own + "=" + name); }))
        << found.size() << " lines, none for " << own;
}

}  // namespace
}  // namespace vh::win32
