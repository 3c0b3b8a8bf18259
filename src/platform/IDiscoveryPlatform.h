#pragma once
// The operating-system services behind installed-application discovery:
// directory listings, the registry, special folders, shortcut files, the
// running processes and version resources. Each is a small interface with one
// Win32 implementation (platform/win32/Discovery*) and test doubles. Paths
// and texts are UTF-8.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vh {

// Attribute bits of a directory entry, with the values the system gives them.
namespace FileAttribute {
inline constexpr std::uint32_t ReadOnly = 0x1;
inline constexpr std::uint32_t Hidden = 0x2;
inline constexpr std::uint32_t System = 0x4;
inline constexpr std::uint32_t Directory = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
inline constexpr std::uint32_t ReparsePoint = 0x400;
inline constexpr std::uint32_t Compressed = 0x800;
inline constexpr std::uint32_t Offline = 0x1000;
inline constexpr std::uint32_t NotContentIndexed = 0x2000;
}  // namespace FileAttribute

struct TDirectoryEntry {
    std::string Name;  // without the folder; "." and ".." are never listed
    std::uint32_t Attributes = 0;
};

class IDirectoryLister {
public:
    virtual ~IDirectoryLister() = default;
    // The entries of `folder` (ending in "\\") whose names match `mask`
    // ("*", "*.exe"), in the order the file system gives; empty when the
    // folder cannot be listed. Paths of any length.
    virtual std::vector<TDirectoryEntry> List(const std::string& folder, const std::string& mask) = 0;
};

// Which half of the registry a 64-bit program reads: its own (64-bit) view
// or the one 32-bit programs see.
enum class TRegistryView { Native, Wow32 };
enum class TRegistryRoot { LocalMachine, CurrentUser };
enum class TRegistryValueKind { String, ExpandString, Other };

struct TRegistryValue {
    std::string Name;
    TRegistryValueKind Kind = TRegistryValueKind::Other;
    std::string Text;  // the text of String and ExpandString values
};

struct TRegistryRead {
    enum class TOutcome { Read, NoRegistry, NoKey };
    TOutcome Outcome = TOutcome::Read;
    std::string Text;  // empty when the value is missing
};

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Subkey names of an HKEY_LOCAL_MACHINE key, read-only; nullopt when the
    // key cannot be opened.
    virtual std::optional<std::vector<std::string>> SubkeyNames(TRegistryView view, const std::string& key) = 0;
    // Values of an HKEY_LOCAL_MACHINE key; nullopt when it cannot be opened.
    virtual std::optional<std::vector<TRegistryValue>> Values(TRegistryView view, const std::string& key) = 0;
    // One string value from the registry of `computer`, without creating
    // anything.
    virtual TRegistryRead ReadString(const std::string& computer, TRegistryRoot root, const std::string& key,
                                     const std::string& valueName, TRegistryView view) = 0;
};

class IShellFolders {
public:
    virtual ~IShellFolders() = default;
    // The Start-menu program folders; nullopt when the system names none.
    virtual std::optional<std::string> CommonProgramsFolder() = 0;
    virtual std::optional<std::string> UserProgramsFolder() = 0;
    virtual std::string WindowsFolder() = 0;
};

class IShortcutReader {
public:
    virtual ~IShortcutReader() = default;
    // The target stored in a shell link file, raw (environment variables left
    // in place). Raises EOSError when the file cannot be loaded or answered.
    virtual std::string RawTarget(const std::string& shortcut) = 0;
    // The long form of a path; nullopt when the system cannot convert it.
    virtual std::optional<std::string> LongPathName(const std::string& path) = 0;
    virtual std::string ExpandEnvironmentVariables(const std::string& text) = 0;
    // The whole file's bytes; raises EOSError when it cannot be read.
    virtual std::string ReadFileBytes(const std::string& path) = 0;
};

class IProcessQuery {
public:
    virtual ~IProcessQuery() = default;
    // The running processes' executable paths, as the management service of
    // `computer` answers ("ExecutablePath" of "Win32_Process"; where the
    // service lacks that property, the image of the process it names), in
    // its order, with duplicates; empty paths left out. Raises on any
    // failure of the service.
    virtual std::vector<std::string> ExecutablePaths(const std::string& computer) = 0;
};

// One file's version resource.
class IVersionResource {
public:
    virtual ~IVersionResource() = default;
    // The first (language, code page) pair of "\\VarFileInfo\\Translation".
    struct TTranslation {
        std::uint16_t Language = 0;
        std::uint16_t CodePage = 0;
    };
    virtual std::optional<TTranslation> FirstTranslation() = 0;
    // A string of the resource ("StringFileInfo\\040904B0\\ProductName").
    virtual std::optional<std::string> QueryString(const std::string& subBlock) = 0;
};

class IVersionResources {
public:
    virtual ~IVersionResources() = default;
    // nullptr when the file has no version resource (or cannot be read).
    virtual std::unique_ptr<IVersionResource> Load(const std::string& path) = 0;
    // The system's display name of a language identifier.
    virtual std::string LanguageName(std::uint16_t language) = 0;
};

// Everything discovery uses, with the volume-aware folder test of the
// environment.
struct TDiscoveryPlatform {
    IDirectoryLister& Directories;
    IRegistry& Registry;
    IShellFolders& Folders;
    IShortcutReader& Shortcuts;
    IProcessQuery& Processes;
    IVersionResources& Versions;
    std::function<bool(const std::string&)> DirectoryExists;
};

}  // namespace vh
