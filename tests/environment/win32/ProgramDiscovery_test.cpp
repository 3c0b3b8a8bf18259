#include "environment/win32/ProgramDiscovery.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "common/StringUtils.h"
#include "environment/win32/ProgramEnvironment.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {
namespace {

// The wizard's entry point over the Wine prefix as it is: the local
// computer's registry and management service reached by its name.
TEST(ProgramDiscovery, FindsThisRunningProgramAfterEitherScanAndHonoursAStop) {
    StartProgramEnvironment();
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string own = WideToUtf8(path);
    const auto isOwn = [&](const TCandidate& c) {
        return SameTextAscii(c.Path, own) && c.Caption == "environment_win32_start_tests" &&
               c.Kind == TCandidateKind::RunningProcess;
    };

    const TDiscoveryResult fast = DiscoverInstalledApplications(TScanType::Fast, {});
    EXPECT_FALSE(fast.Stopped);
    EXPECT_TRUE(std::any_of(fast.Candidates.begin(), fast.Candidates.end(), isOwn));

    int total = -1;
    int calls = 0;
    const TDiscoveryResult stopped = DiscoverInstalledApplications(
        TScanType::Complete, [&] { return ++calls < 2; }, [&](int t) { total = t; });
    EXPECT_TRUE(stopped.Stopped);
    EXPECT_EQ(total, -1);  // stopped while counting
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(std::any_of(stopped.Candidates.begin(), stopped.Candidates.end(), isOwn));

    const TDiscoveryResult complete = DiscoverInstalledApplications(TScanType::Complete, {}, [&](int t) { total = t; });
    EXPECT_FALSE(complete.Stopped);
    EXPECT_GT(total, 1);  // the prefix's Program Files folders hold a few folders
    EXPECT_EQ(ApplicationCaption(own), "environment_win32_start_tests");
    EndProgramEnvironment();
}

}  // namespace
}  // namespace vh::win32
