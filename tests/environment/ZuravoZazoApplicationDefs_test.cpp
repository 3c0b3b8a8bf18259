#include "environment/ZuravoZazoApplicationDefs.h"

#include <gtest/gtest.h>

#include "doubles/FakeEnvironmentPlatform.h"

namespace vh {
namespace {

using testing::FakeEnvironmentPlatform;

TEST(IncludeTrailingChar, AppendsOnlyWhenMissing) {
    EXPECT_EQ(IncludeTrailingChar("", '\\'), "");
    EXPECT_EQ(IncludeTrailingChar("C:\\", '\\'), "C:\\");
    EXPECT_EQ(IncludeTrailingChar("C:\\Data", '\\'), "C:\\Data\\");
    EXPECT_EQ(IncludeTrailingChar("a/", '\\'), "a/\\");
}

TEST(Environment, WorksOutFoldersAndNamesAndCreatesTheAppDataFolder) {
    FakeEnvironmentPlatform platform;
    platform.executablePath = "C:\\Apps\\Vornhalt.exe";
    TEnvironment env(platform);
    EXPECT_EQ(env.ProgramFile(), "C:\\Apps\\Vornhalt.exe");
    EXPECT_EQ(env.ProgramFolder(), "C:\\Apps\\");
    EXPECT_EQ(env.ProgramName(), "Vornhalt");
    EXPECT_EQ(env.AppDataFolder(), "C:\\Users\\user\\AppData\\Roaming\\Vornhalt.V3\\");
    EXPECT_EQ(env.LockFileName(), env.AppDataFolder() + "Vornhalt.lock");
    EXPECT_EQ(env.FlagFileName(), env.AppDataFolder() + "Vornhalt.flag");
    EXPECT_TRUE(platform.DirectoryExists(env.AppDataFolder()));
    EXPECT_EQ(env.GetIniFile().FileName(), env.AppDataFolder() + "Vornhalt.ini");
    EXPECT_EQ(&env.GetIniFile(), &env.GetIniFile());
}

TEST(Environment, ProgramNameKeepsInnerDotsAndAppDataPathWithTrailingSlashIsNotDoubled) {
    FakeEnvironmentPlatform platform;
    platform.executablePath = "C:\\My.Tools\\Vornhalt.beta.exe";
    platform.roamingAppData = "C:\\Roaming\\";
    TEnvironment env(platform);
    EXPECT_EQ(env.ProgramName(), "Vornhalt.beta");
    EXPECT_EQ(env.ProgramFolder(), "C:\\My.Tools\\");
    EXPECT_EQ(env.AppDataFolder(), "C:\\Roaming\\Vornhalt.V3\\");
}

TEST(Environment, NoAppDataFolderIsAnError) {
    FakeEnvironmentPlatform platform;
    platform.roamingAppData.reset();
    try {
        TEnvironment env(platform);
        FAIL() << "constructed without an application-data folder";
    } catch (const EEnvironmentError& e) {
        EXPECT_STREQ(e.what(), "Failed to get Application Data folder");
    }
}

TEST(Environment, FormatSettingsForceTheDecimalCommaButKeepTheLocaleOtherwise) {
    FakeEnvironmentPlatform platform;
    platform.locale.DecimalSeparator = ".";
    platform.locale.TimeSeparator = ".";
    platform.locale.ThousandSeparator = " ";
    TEnvironment env(platform);
    EXPECT_EQ(env.FormatSettings().DecimalSeparator, ",");
    EXPECT_EQ(env.FormatSettings().ThousandSeparator, " ");
    EXPECT_EQ(env.ProcessFormatSettings().DecimalSeparator, ".");
}

TEST(Environment, DbStringsUseFourDigitYearsAndTheLocaleTimeSeparator) {
    const TDateTime value = EncodeDateTime({2011, 3, 21, 9, 5, 3, 0});
    FakeEnvironmentPlatform colon;
    EXPECT_EQ(TEnvironment(colon).DateTimeToDbString(value), "2011-03-21 09:05:03");
    FakeEnvironmentPlatform stop;
    stop.locale.TimeSeparator = ".";
    TEnvironment env(stop);
    EXPECT_EQ(env.DateTimeToDbString(value), "2011-03-21 09.05.03");
    EXPECT_EQ(env.DateToDbString(value), "2011-03-21");
    EXPECT_EQ(env.DateTimeToDbString(EncodeDateTime({2011, 3, 21, 16, 5, 9, 0})), "2011-03-21 16.05.09");
    EXPECT_EQ(FormatDbDateTime(EncodeDateTime({2024, 12, 31, 23, 59, 59, 999}), ":"), "2024-12-31 23:59:59");
}

TEST(Environment, SafeExistsAsksTheVolumeFirst) {
    FakeEnvironmentPlatform platform("CE");
    platform.silentDrives.insert('E');
    platform.PutFile("E:\\data.txt", "x");
    platform.PutFile("C:\\data.txt", "x");
    TEnvironment env(platform);
    platform.volumeQueries.clear();
    EXPECT_TRUE(env.SafeFileExists("C:\\data.txt"));
    EXPECT_FALSE(env.SafeFileExists("C:\\other.txt"));
    EXPECT_FALSE(env.SafeFileExists("E:\\data.txt"));  // empty removable drive
    EXPECT_FALSE(env.SafeFileExists("Q:\\data.txt"));  // no such drive
    EXPECT_FALSE(env.SafeFileExists(""));
    EXPECT_TRUE(env.SafeDirectoryExists("C:\\"));
    EXPECT_FALSE(env.SafeDirectoryExists("C:\\data.txt"));
    EXPECT_FALSE(env.SafeFileExists("C:\\"));
    EXPECT_FALSE(env.SafeDirectoryExists("E:\\"));
    ASSERT_GE(platform.volumeQueries.size(), 4u);
    EXPECT_EQ(platform.volumeQueries[0], "C:\\");
    EXPECT_EQ(platform.volumeQueries[2], "E:\\");
    EXPECT_EQ(platform.volumeQueries[3], "Q:\\");
}

TEST(Environment, ComputerNameIsReadOnceButAFailureIsNotRemembered) {
    FakeEnvironmentPlatform platform;
    platform.computerName.reset();
    TEnvironment env(platform);
    EXPECT_EQ(env.GetComputerNameCached(), "");
    platform.computerName = "OFFICE-PC";
    EXPECT_EQ(env.GetComputerNameCached(), "OFFICE-PC");
    platform.computerName = "RENAMED";
    EXPECT_EQ(env.GetComputerNameCached(), "OFFICE-PC");
    EXPECT_EQ(platform.computerNameCalls, 2);
}

TEST(InstanceLock, ASecondInstanceIsRefusedUntilTheFirstReleases) {
    FakeEnvironmentPlatform first;
    TEnvironment one(first);
    ASSERT_TRUE(one.AcquireInstanceLock());
    EXPECT_TRUE(first.FileExists(one.LockFileName()));

    TEnvironment two(first);  // another process on the same files
    EXPECT_FALSE(two.AcquireInstanceLock());
    EXPECT_TRUE(first.FileExists(one.LockFileName())) << "the refused instance keeps its hands off the file";
    two.ReleaseInstanceLock();  // never acquired: must not delete the other's file
    EXPECT_TRUE(first.FileExists(one.LockFileName()));

    one.ReleaseInstanceLock();
    EXPECT_FALSE(first.FileExists(one.LockFileName()));
    EXPECT_TRUE(two.AcquireInstanceLock());
    two.ReleaseInstanceLock();
}

TEST(InstanceLock, AFileLeftByAKilledInstanceDoesNotBlock) {
    FakeEnvironmentPlatform platform;
    {
        TEnvironment killed(platform);
        ASSERT_TRUE(killed.AcquireInstanceLock());
        // The process dies: its handle closes, the file stays.
    }
    TEnvironment next(platform);
    ASSERT_TRUE(platform.FileExists(next.LockFileName()));
    platform.createEmptyFileError = "must not be created again";
    EXPECT_TRUE(next.AcquireInstanceLock());
    EXPECT_TRUE(next.HoldsInstanceLock());
}

TEST(InstanceLock, AFileThatCannotBeCreatedIsReportedWithPathAndReason) {
    FakeEnvironmentPlatform platform;
    platform.createEmptyFileError = "Access is denied.";
    TEnvironment env(platform);
    try {
        env.AcquireInstanceLock();
        FAIL() << "no error";
    } catch (const EEnvironmentError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to create \"" + env.LockFileName() + "\" file\r\nError: Access is denied.");
    }
    EXPECT_FALSE(env.HoldsInstanceLock());
}

TEST(InstalledEnvironment, AccessorsReachTheInstalledInstance) {
    auto owned = std::make_unique<FakeEnvironmentPlatform>();
    owned->locale.TimeSeparator = ".";
    owned->executablePath = "C:\\Apps\\Vornhalt.exe";
    InstallEnvironment(std::move(owned));
    EXPECT_TRUE(EnvironmentInstalled());
    EXPECT_EQ(GProgramFolder(), "C:\\Apps\\");
    EXPECT_EQ(GProgramName(), "Vornhalt");
    EXPECT_EQ(GFormatSettings().DecimalSeparator, ",");
    EXPECT_EQ(DateTimeToDbString(EncodeDateTime({2020, 1, 2, 3, 4, 5, 0})), "2020-01-02 03.04.05");
    EXPECT_EQ(GetIniFile().FileName(), GAppDataFolder() + "Vornhalt.ini");
    EXPECT_TRUE(SafeDirectoryExists(GAppDataFolder()));
    EXPECT_TRUE(AcquireInstanceLock());
    ReleaseInstanceLock();
    EXPECT_FALSE(SafeFileExists(GLockFileName()));
    UninstallEnvironment();
    EXPECT_FALSE(EnvironmentInstalled());
    EXPECT_THROW(GAppDataFolder(), EAssertionFailed);
}

TEST(InstalledEnvironment, RemoveFlagFileDeletesOnlyTheFlagFile) {
    auto owned = std::make_unique<FakeEnvironmentPlatform>();
    FakeEnvironmentPlatform& platform = *owned;
    InstallEnvironment(std::move(owned));
    struct Uninstall {
        ~Uninstall() { UninstallEnvironment(); }
    } uninstall;
    platform.PutFile(GFlagFileName(), "flag");
    platform.PutFile(GLockFileName(), "lock");
    RemoveFlagFile();
    EXPECT_FALSE(platform.FileText(GFlagFileName()));
    EXPECT_TRUE(platform.FileText(GLockFileName()));
    EXPECT_NO_THROW(RemoveFlagFile());  // no flag file: nothing to do
}

}  // namespace
}  // namespace vh
