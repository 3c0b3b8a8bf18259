#pragma once
// The environment seam on Windows: kernel32 files and volumes, the shell's
// application-data folder and the user's locale.

#include "platform/IEnvironmentPlatform.h"

namespace vh::win32 {

class EnvironmentPlatform : public IEnvironmentPlatform {
public:
    std::string ExecutablePath() override;
    std::optional<std::string> RoamingAppDataFolder() override;
    bool CreateFolders(const std::string& path) override;
    bool VolumeAnswers(const std::string& rootPath) override;
    bool FileExists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    std::vector<std::string> ListFilesRecursive(const std::string& folder) override;
    std::optional<std::string> ReadWholeFile(const std::string& path) override;
    void WriteNewFile(const std::string& path, std::string_view bytes) override;
    void ReplaceFileAtomically(const std::string& source, const std::string& target) override;
    bool RemoveFile(const std::string& path) override;
    std::optional<std::string> CreateEmptyFile(const std::string& path) override;
    std::unique_ptr<IExclusiveFile> OpenExclusive(const std::string& path) override;
    TFormatSettings UserLocaleFormatSettings() override;
    std::optional<std::string> ComputerName() override;
};

}  // namespace vh::win32
