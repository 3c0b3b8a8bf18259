#pragma once
// The operating-system services behind the program's environment: its own
// executable, the user's folders, files and volumes, the locale and the
// computer name. Paths are UTF-8 in the Windows form ("C:\\Data\\file").

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Exceptions.h"

namespace vh {

// A file operation the system refused; the message names the file and the
// system's reason.
class EFileError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EFileError"; }
};

// Number and date format settings of a locale, as far as the program uses them.
struct TFormatSettings {
    std::string DecimalSeparator = ".";
    std::string ThousandSeparator = ",";
    std::string DateSeparator = "/";
    std::string TimeSeparator = ":";
};

// An open file that nobody else may open; the destructor closes it.
class IExclusiveFile {
public:
    virtual ~IExclusiveFile() = default;
};

class IEnvironmentPlatform {
public:
    virtual ~IEnvironmentPlatform() = default;

    // Full path of the running executable, as the process was started.
    virtual std::string ExecutablePath() = 0;
    // The user's roaming application-data folder (created if missing);
    // nullopt when the system cannot name it.
    virtual std::optional<std::string> RoamingAppDataFolder() = 0;
    // Creates the folder and its missing parents; false when it could not.
    virtual bool CreateFolders(const std::string& path) = 0;

    // True when the volume whose root is `rootPath` ("C:\\") answers a
    // volume-information query (present, mounted, readable).
    virtual bool VolumeAnswers(const std::string& rootPath) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // Full paths of all files below `folder`, its subfolders included, in no
    // particular order; empty when the folder does not exist.
    virtual std::vector<std::string> ListFilesRecursive(const std::string& folder) = 0;

    // The whole file; nullopt when it does not exist; EFileError when it
    // exists but cannot be read.
    virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
    // Creates or truncates the file and writes all of `bytes` through to the
    // disk; EFileError on any failure.
    virtual void WriteNewFile(const std::string& path, std::string_view bytes) = 0;
    // Puts `source` in the place of `target` in one step (an existing target
    // is replaced, `source` disappears); EFileError on failure.
    virtual void ReplaceFileAtomically(const std::string& source, const std::string& target) = 0;
    // False when the file could not be deleted (or did not exist).
    virtual bool RemoveFile(const std::string& path) = 0;

    // Creates the file (create always, read and write access, no sharing) and
    // closes it; nullopt on success, otherwise the system's error text.
    virtual std::optional<std::string> CreateEmptyFile(const std::string& path) = 0;
    // Opens an existing file for reading with no sharing allowed; nullptr
    // when the open fails (another holder, or any other reason).
    virtual std::unique_ptr<IExclusiveFile> OpenExclusive(const std::string& path) = 0;

    // The user's default locale.
    virtual TFormatSettings UserLocaleFormatSettings() = 0;
    // The local computer's name; nullopt when the system does not answer.
    virtual std::optional<std::string> ComputerName() = 0;
};

}  // namespace vh
