#include <gtest/gtest.h>

#include <filesystem>

#include "support/E2eSupport.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(ProgramStart, ShowsItsMainWindowAndEndsWhenItIsDestroyed) {
    TempFolder programFolder;
    const fs::path exe = programFolder.Path() / L"Vornhalt.exe";
    fs::copy_file(BuildFolder() / L"Vornhalt.exe", exe);

    RunningProgram program(exe);
    HWND main = program.WaitForWindow(L"Vornhalt", 20s);
    ASSERT_NE(main, nullptr) << "no window titled \"Vornhalt\"";

    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(10s, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace vh::e2e
