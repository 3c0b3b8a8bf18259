#include "environment/ZuravoZazoApplicationDefs.h"

#include <cstdio>
#include <utility>

#include "common/StringUtils.h"
#include "environment/Trace.h"

namespace vh {

namespace {

// "C:" for "C:\\x", "\\\\server\\share" for a UNC path, empty otherwise.
std::string ExtractFileDrive(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        const size_t server = path.find('\\', 2);
        if (server == std::string_view::npos) return std::string();
        const size_t share = path.find('\\', server + 1);
        return std::string(path.substr(0, share));
    }
    return std::string();
}

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string FourDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d", value);
    return text;
}

}  // namespace

std::string IncludeTrailingChar(std::string_view text, char ch) {
    std::string result(text);
    if (!result.empty() && result.back() != ch) result += ch;
    return result;
}

std::string GetAppDataFolder(IEnvironmentPlatform& platform) {
    const std::optional<std::string> roaming = platform.RoamingAppDataFolder();
    if (!roaming || roaming->empty()) throw EEnvironmentError("Failed to get Application Data folder");
    const std::string folder = IncludeTrailingChar(*roaming, '\\') + std::string(kAppDataSubfolder) + "\\";
    platform.CreateFolders(folder);  // a failure surfaces when the files are used
    return folder;
}

std::string FormatDbDate(TDateTime value) {
    const DateTimeParts p = DecodeDateTime(value);
    return FourDigits(p.year) + "-" + TwoDigits(p.month) + "-" + TwoDigits(p.day);
}

std::string FormatDbDateTime(TDateTime value, std::string_view timeSeparator) {
    const DateTimeParts p = DecodeDateTime(value);
    const std::string separator(timeSeparator);
    return FourDigits(p.year) + "-" + TwoDigits(p.month) + "-" + TwoDigits(p.day) + " " + TwoDigits(p.hour) +
           separator + TwoDigits(p.minute) + separator + TwoDigits(p.second);
}

TEnvironment::TEnvironment(IEnvironmentPlatform& platform) : platform_(platform) {
    processFormatSettings_ = platform_.UserLocaleFormatSettings();
    formatSettings_ = processFormatSettings_;
    formatSettings_.DecimalSeparator.assign(1, ',');
    programFile_ = platform_.ExecutablePath();
    appDataFolder_ = GetAppDataFolder(platform_);
    lockFileName_ = appDataFolder_ + std::string(kLockFileName);
    flagFileName_ = appDataFolder_ + std::string(kFlagFileName);
    const size_t slash = programFile_.find_last_of("\\/:");
    const std::string fileName = slash == std::string::npos ? programFile_ : programFile_.substr(slash + 1);
    const size_t dot = fileName.find_last_of('.');
    programName_ = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    programFolder_ = slash == std::string::npos ? std::string() : programFile_.substr(0, slash + 1);
}

TEnvironment::~TEnvironment() = default;

bool TEnvironment::AcquireInstanceLock() {
    if (lock_) return true;
    const size_t slash = lockFileName_.find_last_of('\\');
    if (slash != std::string::npos) platform_.CreateFolders(lockFileName_.substr(0, slash + 1));
    if (!SafeFileExists(lockFileName_)) {
        if (const std::optional<std::string> error = platform_.CreateEmptyFile(lockFileName_)) {
            throw EEnvironmentError("Unable to create \"" + lockFileName_ + "\" file\r\nError: " + *error);
        }
    }
    lock_ = platform_.OpenExclusive(lockFileName_);
    return lock_ != nullptr;
}

void TEnvironment::ReleaseInstanceLock() {
    if (!lock_) return;
    lock_.reset();
    platform_.RemoveFile(lockFileName_);
}

bool TEnvironment::VolumeOfPathAnswers(const std::string& path) {
    const std::string drive = ExtractFileDrive(path);
    if (drive.empty()) return true;
    return platform_.VolumeAnswers(drive + "\\");
}

bool TEnvironment::SafeFileExists(const std::string& path) {
    return !path.empty() && VolumeOfPathAnswers(path) && platform_.FileExists(path);
}

bool TEnvironment::SafeDirectoryExists(const std::string& path) {
    return !path.empty() && VolumeOfPathAnswers(path) && platform_.DirectoryExists(path);
}

TIniFile& TEnvironment::GetIniFile() {
    if (!iniFile_) iniFile_ = std::make_unique<TIniFile>(appDataFolder_ + programName_ + ".ini", platform_);
    return *iniFile_;
}

std::string TEnvironment::DateTimeToDbString(TDateTime value) const {
    return FormatDbDateTime(value, processFormatSettings_.TimeSeparator);
}

std::string TEnvironment::DateToDbString(TDateTime value) const {
    return FormatDbDate(value);
}

std::string TEnvironment::GetComputerNameCached() {
    if (!computerName_) {
        std::optional<std::string> name = platform_.ComputerName();
        if (!name) return std::string();  // asked again next time
        computerName_ = std::move(name);
    }
    return *computerName_;
}

namespace {

struct InstalledEnvironment {
    std::unique_ptr<IEnvironmentPlatform> platform;
    std::unique_ptr<TEnvironment> environment;
    unsigned generation = 0;
};

InstalledEnvironment& Installed() {
    static InstalledEnvironment installed;
    return installed;
}

}  // namespace

void InstallEnvironment(std::unique_ptr<IEnvironmentPlatform> platform) {
    VH_ASSERT(platform != nullptr);
    auto environment = std::make_unique<TEnvironment>(*platform);
    UninstallEnvironment();
    Installed().platform = std::move(platform);
    Installed().environment = std::move(environment);
    ++Installed().generation;
}

void UninstallEnvironment() noexcept {
    Installed().environment.reset();
    Installed().platform.reset();
    ++Installed().generation;
}

unsigned EnvironmentGeneration() noexcept {
    return Installed().generation;
}

bool EnvironmentInstalled() noexcept {
    return Installed().environment != nullptr;
}

TEnvironment& Environment() {
    VH_ASSERT(EnvironmentInstalled());
    return *Installed().environment;
}

const std::string& GProgramFile() {
    return Environment().ProgramFile();
}
const std::string& GProgramFolder() {
    return Environment().ProgramFolder();
}
const std::string& GProgramName() {
    return Environment().ProgramName();
}
const std::string& GAppDataFolder() {
    return Environment().AppDataFolder();
}
const std::string& GLockFileName() {
    return Environment().LockFileName();
}
const std::string& GFlagFileName() {
    return Environment().FlagFileName();
}
void RemoveFlagFile() noexcept {
    try {
        if (EnvironmentInstalled() && SafeFileExists(GFlagFileName()))
            Environment().Platform().RemoveFile(GFlagFileName());
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "RemoveFlagFile"));
    }
}
const TFormatSettings& GFormatSettings() {
    return Environment().FormatSettings();
}
bool AcquireInstanceLock() {
    return Environment().AcquireInstanceLock();
}
void ReleaseInstanceLock() {
    Environment().ReleaseInstanceLock();
}
bool SafeFileExists(const std::string& path) {
    return Environment().SafeFileExists(path);
}
bool SafeDirectoryExists(const std::string& path) {
    return Environment().SafeDirectoryExists(path);
}
TIniFile& GetIniFile() {
    return Environment().GetIniFile();
}
std::string DateTimeToDbString(TDateTime value) {
    return Environment().DateTimeToDbString(value);
}
std::string DateToDbString(TDateTime value) {
    return Environment().DateToDbString(value);
}
std::string GetComputerNameCached() {
    return Environment().GetComputerNameCached();
}

}  // namespace vh
