// Only the privilege is exercised: the shutdown calls themselves are never
// made by a test, under Wine or anywhere else.
#include "platform/win32/SystemShutdown.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/Exceptions.h"
#include "platform/win32/Handles.h"

namespace vh::win32 {
namespace {

bool ShutdownPrivilegeEnabled() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    const UniqueHandle token(raw);
    PRIVILEGE_SET set{};
    set.PrivilegeCount = 1;
    set.Control = PRIVILEGE_SET_ALL_NECESSARY;
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &set.Privilege[0].Luid)) return false;
    BOOL held = FALSE;
    return PrivilegeCheck(token.Get(), &set, &held) && held;
}

TEST(SystemShutdown, EnablesTheShutdownPrivilegeOfThisProcessOnly) {
    SystemShutdown shutdown;
    EXPECT_NO_THROW(shutdown.EnableShutdownPrivilege());
    EXPECT_TRUE(ShutdownPrivilegeEnabled());
}

TEST(SystemShutdown, TheLastErrorBecomesAnOsErrorWithTheSystemsMessage) {
    SetLastError(ERROR_ACCESS_DENIED);
    try {
        RaiseLastOSError();
        FAIL() << "nothing raised";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Code(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
        EXPECT_EQ(std::string(e.what()).rfind("System Error.  Code: 5.\n", 0), 0u) << e.what();
        EXPECT_GT(std::string(e.what()).size(), std::string("System Error.  Code: 5.\n").size());
        EXPECT_STREQ(e.ClassName(), "EOSError");
    }
}

}  // namespace
}  // namespace vh::win32
