#pragma once
// The installed Vornhalt as the setup program leaves it in the Wine prefix:
// where its files, shortcut and registry values are, and reading them.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace vh::e2e {

// The setup program of this build (VornhaltSetup-<version>.exe).
std::filesystem::path SetupProgram();
// C:\Program Files\Vornhalt, the default installation folder.
std::filesystem::path DefaultInstallFolder();
// The all-users Start-menu shortcut.
std::filesystem::path StartMenuShortcut();
// The file a shortcut points at, or empty when it cannot be read.
std::filesystem::path ShortcutTarget(const std::filesystem::path& shortcut);

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vornhalt";

// A string or DWORD value of the 64-bit registry, or nothing when it is missing.
std::optional<std::wstring> RegistryString(HKEY root, const wchar_t* key, const wchar_t* name);
std::optional<DWORD> RegistryDword(HKEY root, const wchar_t* key, const wchar_t* name);
bool RegistryKeyExists(HKEY root, const wchar_t* key);

// Runs a program with `arguments` to its end; returns its exit code, or
// nothing when it has not ended within the time-out (it is then ended).
std::optional<DWORD> RunToEnd(const std::filesystem::path& exe, const std::wstring& arguments,
                              std::chrono::milliseconds timeout);

// Every file below `folder` by its path relative to it, with its contents.
std::map<std::filesystem::path, std::string> ReadFiles(const std::filesystem::path& folder);

}  // namespace vh::e2e
