#include "platform/win32/EnvironmentPlatform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "common/Paths.h"
#include "doubles/TempFolder.h"
#include "environment/IniFile.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {
namespace {

using vh::testing::TempFolder;

// The real platform with the application-data folder moved into a test folder.
class TestPlatform : public EnvironmentPlatform {
public:
    explicit TestPlatform(std::string roaming) : roaming_(std::move(roaming)) {}
    std::optional<std::string> RoamingAppDataFolder() override { return roaming_; }

private:
    std::string roaming_;
};

class EnvironmentPlatformTest : public ::testing::Test {
protected:
    std::string Folder() const { return PathToUtf8(temp.Path()) + "\\"; }
    TempFolder temp;
    EnvironmentPlatform platform;
};

TEST_F(EnvironmentPlatformTest, FilesRoundTripWithUnicodeNamesAndReplaceAnExistingTarget) {
    const std::string target = Folder() + "Ünïcødé €.ini";
    const std::string temporary = target + ".tmp";
    EXPECT_FALSE(platform.ReadWholeFile(target).has_value());
    platform.WriteNewFile(target, "old");
    platform.WriteNewFile(temporary, std::string("new\0text", 8));
    platform.ReplaceFileAtomically(temporary, target);
    EXPECT_EQ(platform.ReadWholeFile(target), std::string("new\0text", 8));
    EXPECT_FALSE(platform.FileExists(temporary));
    EXPECT_TRUE(platform.FileExists(target));
    EXPECT_FALSE(platform.DirectoryExists(target));
    EXPECT_TRUE(platform.RemoveFile(target));
    EXPECT_FALSE(platform.RemoveFile(target));
    EXPECT_THROW(platform.ReplaceFileAtomically(temporary, target), EFileError);
    EXPECT_THROW(platform.WriteNewFile(Folder() + "missing\\x.txt", "x"), EFileError);
}

TEST_F(EnvironmentPlatformTest, ListsFilesBelowAFolderAndCreatesFolders) {
    ASSERT_TRUE(platform.CreateFolders(Folder() + "Skins\\dark\\deep\\"));
    platform.WriteNewFile(Folder() + "Skins\\a.png", "1");
    platform.WriteNewFile(Folder() + "Skins\\dark\\deep\\b.jpg", "2");
    std::vector<std::string> files = platform.ListFilesRecursive(Folder() + "Skins\\");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{Folder() + "Skins\\a.png", Folder() + "Skins\\dark\\deep\\b.jpg"}));
    EXPECT_TRUE(platform.ListFilesRecursive(Folder() + "none").empty());
}

TEST_F(EnvironmentPlatformTest, VolumesLocaleAndComputerName) {
    EXPECT_TRUE(platform.VolumeAnswers("C:\\"));
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Z'; letter >= 'D'; --letter) {
        if (drives & (1u << (letter - 'A'))) continue;
        EXPECT_FALSE(platform.VolumeAnswers(std::string(1, letter) + ":\\")) << letter;
        break;
    }
    const TFormatSettings locale = platform.UserLocaleFormatSettings();
    EXPECT_FALSE(locale.TimeSeparator.empty());
    EXPECT_FALSE(locale.DecimalSeparator.empty());
    const auto name = platform.ComputerName();
    ASSERT_TRUE(name.has_value());
    EXPECT_FALSE(name->empty());
    EXPECT_NE(platform.ExecutablePath().find("environment_win32_tests"), std::string::npos);
}

TEST_F(EnvironmentPlatformTest, AnExclusiveOpenShutsOutOtherOpens) {
    const std::string path = Folder() + "Vornhalt.lock";
    EXPECT_EQ(platform.OpenExclusive(path), nullptr) << "the file does not exist yet";
    EXPECT_FALSE(platform.CreateEmptyFile(path).has_value());
    auto held = platform.OpenExclusive(path);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(platform.OpenExclusive(path), nullptr);
    EXPECT_TRUE(platform.CreateEmptyFile(path).has_value()) << "no sharing: a create fails too";
    held.reset();
    EXPECT_NE(platform.OpenExclusive(path), nullptr);
    EXPECT_TRUE(platform.CreateEmptyFile(Folder() + "no\\such\\folder\\x").has_value());
}

TEST_F(EnvironmentPlatformTest, TheEnvironmentAndItsIniFileWorkOnTheRealFileSystem) {
    TestPlatform real(PathToUtf8(temp.Path()));
    TEnvironment env(real);
    EXPECT_TRUE(env.SafeDirectoryExists(env.AppDataFolder()));
    EXPECT_EQ(env.AppDataFolder(), Folder() + "Vornhalt.V3\\");
    env.GetIniFile().WriteInteger("Position", "Align", 2);
    env.GetIniFile().WriteString("Background", "Image", "C:\\Skins\\Blau €.png");
    EXPECT_EQ(TIniFile(env.GetIniFile().FileName(), real).ReadInteger("Position", "Align", 0), 2);
    EXPECT_EQ(env.GetIniFile().ReadString("background", "image", ""), "C:\\Skins\\Blau €.png");
    EXPECT_FALSE(env.SafeFileExists(env.GetIniFile().TemporaryFileName()));
    EXPECT_TRUE(env.SafeFileExists(env.GetIniFile().FileName()));
}

// The child half of the lock test: holds the lock file given in the
// environment until it is killed. Skipped in ordinary runs.
TEST(InstanceLockChild, HoldTheLockUntilKilled) {
    const char* folder = std::getenv("VH_TEST_LOCK_FOLDER");
    if (folder == nullptr) GTEST_SKIP() << "only run as the child of the lock test";
    TestPlatform real(folder);
    TEnvironment env(real);
    ASSERT_TRUE(env.AcquireInstanceLock());
    real.WriteNewFile(std::string(folder) + "\\ready", "1");
    std::this_thread::sleep_for(std::chrono::seconds(60));
}

TEST_F(EnvironmentPlatformTest, ALockHeldByAnotherProcessBlocksUntilThatProcessIsKilled) {
    TestPlatform real(PathToUtf8(temp.Path()));
    TEnvironment env(real);

    std::wstring command =
        L"\"" + Utf8ToWide(platform.ExecutablePath()) + L"\" --gtest_filter=InstanceLockChild.HoldTheLockUntilKilled";
    SetEnvironmentVariableW(L"VH_TEST_LOCK_FOLDER", Utf8ToWide(PathToUtf8(temp.Path())).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(L"VH_TEST_LOCK_FOLDER", nullptr);
    ASSERT_TRUE(started);
    UniqueHandle child(process.hProcess);
    UniqueHandle thread(process.hThread);

    const std::string ready = Folder() + "ready";
    for (int i = 0; i < 300 && !real.FileExists(ready); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(real.FileExists(ready)) << "the child never took the lock";

    EXPECT_FALSE(env.AcquireInstanceLock());
    EXPECT_TRUE(real.FileExists(env.LockFileName()));

    TerminateProcess(child.Get(), 1);
    WaitForSingleObject(child.Get(), 30000);
    EXPECT_TRUE(real.FileExists(env.LockFileName())) << "a killed instance leaves its file";
    EXPECT_TRUE(env.AcquireInstanceLock());
    env.ReleaseInstanceLock();
    EXPECT_FALSE(real.FileExists(env.LockFileName()));
}

}  // namespace
}  // namespace vh::win32
