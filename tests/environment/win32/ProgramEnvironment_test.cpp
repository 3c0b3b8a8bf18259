#include "environment/win32/ProgramEnvironment.h"

#include <gtest/gtest.h>

#include <shlobj.h>
#include <windows.h>

#include "environment/DateTimeUtils.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {
namespace {

// Runs in the Wine prefix's own application-data folder.
TEST(ProgramEnvironment, StartsWithTheUsersFoldersAndTheProgramClock) {
    StartProgramEnvironment();
    wchar_t roaming[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, roaming)));
    EXPECT_EQ(GAppDataFolder(), WideToUtf8(roaming) + "\\Vornhalt.V3\\");
    EXPECT_TRUE(SafeDirectoryExists(GAppDataFolder()));
    EXPECT_EQ(GProgramName(), "environment_win32_start_tests");
    EXPECT_EQ(GProgramFolder().back(), '\\');
    EXPECT_EQ(GFormatSettings().DecimalSeparator, ",");
    EXPECT_FALSE(GetComputerNameCached().empty());
    EXPECT_TRUE(ProgramClockInitialized());
    SYSTEMTIME local{};
    GetLocalTime(&local);
    EXPECT_EQ(DateToDbString(ProgramNow()), std::to_string(local.wYear) + "-" + (local.wMonth < 10 ? "0" : "") +
                                                std::to_string(local.wMonth) + "-" + (local.wDay < 10 ? "0" : "") +
                                                std::to_string(local.wDay));
    ASSERT_TRUE(AcquireInstanceLock());
    EXPECT_TRUE(SafeFileExists(GLockFileName()));
    ReleaseInstanceLock();
    EXPECT_FALSE(SafeFileExists(GLockFileName()));
    EndProgramEnvironment();
    EXPECT_FALSE(EnvironmentInstalled());
    EXPECT_FALSE(ProgramClockInitialized());
}

}  // namespace
}  // namespace vh::win32
