#pragma once
// The program's environment: where its files live, the single-instance lock,
// the volume-aware existence checks, the INI file, the number-format settings
// and the text forms in which dates are stored. TEnvironment is built from
// the platform seam (tests build their own); the program installs one
// instance at start-up, reached through the G* accessors below.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/DateTime.h"
#include "environment/IniFile.h"
#include "platform/IEnvironmentPlatform.h"

namespace vh {

// The environment could not be set up ("Failed to get Application Data folder")
// or the lock file could not be created.
class EEnvironmentError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EEnvironmentError"; }
};

inline constexpr std::string_view kAppDataSubfolder = "Vornhalt.V3";
inline constexpr std::string_view kLockFileName = "Vornhalt.lock";
inline constexpr std::string_view kFlagFileName = "Vornhalt.flag";

class TEnvironment {
public:
    // Works out the folders and file names, creating the application-data
    // folder when missing. The platform must outlive the object.
    explicit TEnvironment(IEnvironmentPlatform& platform);
    TEnvironment(const TEnvironment&) = delete;
    TEnvironment& operator=(const TEnvironment&) = delete;
    ~TEnvironment();

    IEnvironmentPlatform& Platform() noexcept { return platform_; }

    const std::string& ProgramFile() const noexcept { return programFile_; }
    const std::string& ProgramFolder() const noexcept { return programFolder_; }  // ends in "\\"
    const std::string& ProgramName() const noexcept { return programName_; }
    const std::string& AppDataFolder() const noexcept { return appDataFolder_; }  // ends in "\\"
    const std::string& LockFileName() const noexcept { return lockFileName_; }
    const std::string& FlagFileName() const noexcept { return flagFileName_; }
    // The user's locale with "," as decimal separator.
    const TFormatSettings& FormatSettings() const noexcept { return formatSettings_; }
    // The user's locale unchanged: the process-wide settings.
    const TFormatSettings& ProcessFormatSettings() const noexcept { return processFormatSettings_; }

    // True when this process now holds the lock; false when another does.
    // Raises EEnvironmentError when the lock file cannot be created.
    bool AcquireInstanceLock();
    // Closes the lock and deletes the lock file; does nothing without a lock,
    // so another instance's file is never touched.
    void ReleaseInstanceLock();
    bool HoldsInstanceLock() const noexcept { return lock_ != nullptr; }

    // True only when the volume of the path's drive answers and the file
    // (folder) exists; a path with no drive letter is asked about directly.
    bool SafeFileExists(const std::string& path);
    bool SafeDirectoryExists(const std::string& path);

    // The program's INI file, AppDataFolder + ProgramName + ".ini", created on first use.
    TIniFile& GetIniFile();

    // "yyyy-mm-dd hh:nn:ss" with the process-wide time separator for ":".
    std::string DateTimeToDbString(TDateTime value) const;
    std::string DateToDbString(TDateTime value) const;

    // Read from the system on the first successful call, then remembered.
    std::string GetComputerNameCached();

private:
    bool VolumeOfPathAnswers(const std::string& path);

    IEnvironmentPlatform& platform_;
    TFormatSettings processFormatSettings_;
    TFormatSettings formatSettings_;
    std::string programFile_;
    std::string appDataFolder_;
    std::string lockFileName_;
    std::string flagFileName_;
    std::string programName_;
    std::string programFolder_;
    std::unique_ptr<IExclusiveFile> lock_;
    std::unique_ptr<TIniFile> iniFile_;
    std::optional<std::string> computerName_;
};

// The user's application-data folder + "Vornhalt.V3\\", created when missing.
// Raises EEnvironmentError "Failed to get Application Data folder" when the
// system cannot name the folder.
std::string GetAppDataFolder(IEnvironmentPlatform& platform);

// Empty stays empty; a text ending in `ch` stays; anything else gets `ch`.
std::string IncludeTrailingChar(std::string_view text, char ch);

// Date texts with an explicit time separator.
std::string FormatDbDateTime(TDateTime value, std::string_view timeSeparator);
std::string FormatDbDate(TDateTime value);

// The program's one environment. InstallEnvironment runs at start-up (tests
// install their own and may replace it); it owns the platform.
void InstallEnvironment(std::unique_ptr<IEnvironmentPlatform> platform);
void UninstallEnvironment() noexcept;
bool EnvironmentInstalled() noexcept;
TEnvironment& Environment();  // asserts that one is installed
// Counts installations, so objects built on an environment can tell that
// it has been replaced.
unsigned EnvironmentGeneration() noexcept;

// The installed environment's values and helpers, under their program names.
const std::string& GProgramFile();
const std::string& GProgramFolder();
const std::string& GProgramName();
const std::string& GAppDataFolder();
const std::string& GLockFileName();
const std::string& GFlagFileName();
// At the program's end: deletes another party's flag file when it exists;
// failures are traced.
void RemoveFlagFile() noexcept;
const TFormatSettings& GFormatSettings();
bool AcquireInstanceLock();
void ReleaseInstanceLock();
bool SafeFileExists(const std::string& path);
bool SafeDirectoryExists(const std::string& path);
TIniFile& GetIniFile();
std::string DateTimeToDbString(TDateTime value);
std::string DateToDbString(TDateTime value);
std::string GetComputerNameCached();

}  // namespace vh
