#pragma once
// The file side of discovery on Windows: directory listings of any length,
// the Start-menu and Windows folders, and shell link files read through
// IShellLinkW.

#include "platform/IDiscoveryPlatform.h"

namespace vh::win32 {

class DirectoryLister : public IDirectoryLister {
public:
    std::vector<TDirectoryEntry> List(const std::string& folder, const std::string& mask) override;
};

class ShellFolders : public IShellFolders {
public:
    std::optional<std::string> CommonProgramsFolder() override;
    std::optional<std::string> UserProgramsFolder() override;
    std::string WindowsFolder() override;
};

// Uses the shell link object, so the calling thread gets a COM apartment for
// each call when it has none.
class ShortcutReader : public IShortcutReader {
public:
    std::string RawTarget(const std::string& shortcut) override;
    std::optional<std::string> LongPathName(const std::string& path) override;
    std::string ExpandEnvironmentVariables(const std::string& text) override;
    std::string ReadFileBytes(const std::string& path) override;
};

}  // namespace vh::win32
