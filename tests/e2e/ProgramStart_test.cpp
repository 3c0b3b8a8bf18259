#include <gtest/gtest.h>

#include <filesystem>

#include "support/E2eSupport.h"
#include "support/ProgramFolder.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Closing the main window only hides it in the tray; the program ends
// when "uninstall.flag" appears beside it.
TEST(ProgramStart, HasAMainWindowThatCloseOnlyHidesAndEndsOnTheUninstallFlag) {
    RemoveProgramAppDataFolder();
    TempFolder programFolder;
    const fs::path exe = PrepareProgramFolder(programFolder.Path());

    RunningProgram program(exe);
    HWND main = program.WaitForMainWindow(20s);
    ASSERT_NE(main, nullptr) << "no window titled \"Vornhalt\"";

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(program.WaitForExit(3s)) << "closing the main window ended the program";
    EXPECT_TRUE(IsWindow(main));

    WriteUninstallFlag(programFolder.Path());
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(10s, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    RemoveProgramAppDataFolder();
}

}  // namespace
}  // namespace vh::e2e
