#include "platform/win32/SystemShutdown.h"

#include <windows.h>

#include "common/Exceptions.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemErrorText.h"

namespace vh::win32 {

void RaiseLastOSError() {
    const DWORD error = GetLastError();
    throw EOSError(error, SystemErrorText(error));
}

void SystemShutdown::EnableShutdownPrivilege() {
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) RaiseLastOSError();
    const UniqueHandle token(rawToken);

    TOKEN_PRIVILEGES privileges{};
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) RaiseLastOSError();
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // AdjustTokenPrivileges succeeds even when the privilege is not held; the
    // last error then says ERROR_NOT_ALL_ASSIGNED, and the shutdown call that
    // follows reports the refusal itself.
    if (!AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr)) RaiseLastOSError();
}

void SystemShutdown::EndSessionForShutdown() {
    if (!ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE | EWX_FORCEIFHUNG, 0)) RaiseLastOSError();
}

void SystemShutdown::RequestShutdown(unsigned timeoutSeconds) {
    if (!InitiateSystemShutdownW(nullptr, nullptr, timeoutSeconds, TRUE, FALSE)) RaiseLastOSError();
}

}  // namespace vh::win32
