#include "monitor/PsapiUtils.h"

#include <gtest/gtest.h>

#include <vector>

#include "doubles/FakeWindowSystem.h"

namespace vh {
namespace {

using testing::FakeWindowSystem;

TEST(GetWindowImagePath, MapsTheDevicePathToTheFirstDriveFromCToZ) {
    FakeWindowSystem windows;
    windows.Drives['D'] = "\\Device\\HarddiskVolume2";
    windows.Drives['E'] = "\\Device\\HarddiskVolume2";
    const TWindowId window = windows.AddTopLevel("Notepad", 7);
    windows.SetImage(7, "\\Device\\HarddiskVolume2\\Program Files\\Editor\\edit.exe");
    EXPECT_EQ(GetWindowImagePath(windows, window), "D:\\Program Files\\Editor\\edit.exe");
    EXPECT_EQ(windows.DrivesAsked, (std::vector<char>{'C', 'D'}));
}

TEST(GetWindowImagePath, KeepsTextOutsideTheCodePageAndLongPaths) {
    FakeWindowSystem windows;
    const TWindowId window = windows.AddTopLevel("Notepad", 7);
    const std::string folder = "\\Programme\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\\\xE7\xB7\xA8\xE9\x9B\x86";
    std::string longName(300, 'x');
    windows.SetImage(7, "\\Device\\HarddiskVolume1" + folder + "\\" + longName + ".exe");
    EXPECT_EQ(GetWindowImagePath(windows, window), "C:" + folder + "\\" + longName + ".exe");
}

TEST(GetWindowImagePath, NeverTriesAOrBAndGivesEmptyWhenNoDriveFits) {
    FakeWindowSystem windows;
    windows.Drives.clear();
    windows.Drives['A'] = "\\Device\\Floppy0";
    windows.Drives['B'] = "\\Device\\Floppy1";
    const TWindowId window = windows.AddTopLevel("Notepad", 7);
    windows.SetImage(7, "\\Device\\Floppy0\\tool.exe");
    EXPECT_EQ(GetWindowImagePath(windows, window), "");
    ASSERT_EQ(windows.DrivesAsked.size(), 24u);
    EXPECT_EQ(windows.DrivesAsked.front(), 'C');
    EXPECT_EQ(windows.DrivesAsked.back(), 'Z');
}

TEST(GetWindowImagePath, ADeviceNameMatchesOnlyWholeAndCaseSensitively) {
    FakeWindowSystem windows;
    windows.Drives['C'] = "\\Device\\HarddiskVolume1";
    windows.Drives['K'] = "\\Device\\HarddiskVolume10";
    EXPECT_EQ(DevicePathToDrivePath(windows, "\\Device\\HarddiskVolume10\\app.exe"), "K:\\app.exe");
    EXPECT_EQ(DevicePathToDrivePath(windows, "\\Device\\HarddiskVolume1\\app.exe"), "C:\\app.exe");
    EXPECT_EQ(DevicePathToDrivePath(windows, "\\device\\harddiskvolume1\\app.exe"), "");
}

TEST(GetWindowImagePath, AProcessThatCannotBeOpenedGivesErrorAndTheMessage) {
    FakeWindowSystem windows;
    const TWindowId window = windows.AddTopLevel("Elevated", 9);
    windows.SetImageError(9, "Access is denied.");
    EXPECT_EQ(GetWindowImagePath(windows, window), "Error: Access is denied.");
    EXPECT_TRUE(windows.DrivesAsked.empty());
}

}  // namespace
}  // namespace vh
