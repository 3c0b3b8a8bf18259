#include "platform/win32/DiscoveryFiles.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>
#include <wrl/client.h>

#include <vector>

#include "common/Exceptions.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/EnvironmentPlatform.h"
#include "platform/win32/EnvironmentStrings.h"
#include "platform/win32/Handles.h"
#include "platform/win32/LongPaths.h"
#include "platform/win32/SystemErrorText.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {

namespace {

using Microsoft::WRL::ComPtr;

// The longest path the system handles, in UTF-16 units.
constexpr DWORD kLongPathChars = 32768;

[[noreturn]] void RaiseOSError(DWORD error) {
    throw EOSError(error, SystemErrorText(error));
}

void Check(HRESULT hr) {
    if (FAILED(hr)) RaiseOSError(static_cast<DWORD>(hr));
}

std::optional<std::string> ShellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) || !*path) return std::nullopt;
    return WideToUtf8(path);
}

}  // namespace

std::vector<TDirectoryEntry> DirectoryLister::List(const std::string& folder, const std::string& mask) {
    std::vector<TDirectoryEntry> entries;
    WIN32_FIND_DATAW found{};
    UniqueFindHandle find(FindFirstFileExW(ExtendedLengthPath(Utf8ToWide(folder + mask)).c_str(), FindExInfoBasic,
                                           &found, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return entries;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        entries.push_back({WideToUtf8(name), found.dwFileAttributes});
    } while (FindNextFileW(find.Get(), &found));
    return entries;
}

std::optional<std::string> ShellFolders::CommonProgramsFolder() {
    return ShellFolder(CSIDL_COMMON_PROGRAMS);
}

std::optional<std::string> ShellFolders::UserProgramsFolder() {
    return ShellFolder(CSIDL_PROGRAMS);
}

std::string ShellFolders::WindowsFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const UINT length = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) return WideToUtf8(std::wstring_view(buffer.data(), length));
        buffer.resize(length);
    }
}

std::string ShortcutReader::RawTarget(const std::string& shortcut) {
    ComApartment apartment;
    ComPtr<IShellLinkW> link;
    Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
    ComPtr<IPersistFile> file;
    Check(link.As(&file));
    Check(file->Load(Utf8ToWide(shortcut).c_str(), STGM_READ));
    std::vector<wchar_t> target(kLongPathChars, L'\0');
    Check(link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, SLGP_RAWPATH));
    // A path kept only in the ANSI code page has lost the characters outside
    // it ("?", never part of a real path); the item list keeps them all.
    if (std::wstring_view(target.data()).find(L'?') != std::wstring_view::npos) {
        PIDLIST_ABSOLUTE items = nullptr;
        if (SUCCEEDED(link->GetIDList(&items)) && items) {
            const bool named = SHGetPathFromIDListEx(items, target.data(), kLongPathChars, GPFIDL_DEFAULT);
            CoTaskMemFree(items);
            if (!named) Check(link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, SLGP_RAWPATH));
        }
    }
    return WideToUtf8(target.data());
}

std::optional<std::string> ShortcutReader::LongPathName(const std::string& path) {
    const std::wstring wide = Utf8ToWide(path);
    std::wstring buffer(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD length = GetLongPathNameW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return WideToUtf8(std::wstring_view(buffer.data(), length));
        buffer.resize(length);
    }
}

std::string ShortcutReader::ExpandEnvironmentVariables(const std::string& text) {
    return ExpandEnvironmentStringsUtf8(text);
}

std::string ShortcutReader::ReadFileBytes(const std::string& path) {
    std::optional<std::string> bytes = EnvironmentPlatform().ReadWholeFile(path);
    if (!bytes) RaiseOSError(ERROR_FILE_NOT_FOUND);
    return std::move(*bytes);
}

}  // namespace vh::win32
