#include "environment/ApplicationDiscovery.h"

#include <algorithm>
#include <set>

#include "common/StringUtils.h"
#include "environment/ScanFolders.h"
#include "environment/Trace.h"
#include "environment/VersionInfo.h"
#include "environment/ZuravoZazoApplicationDefs.h"

namespace vh {

namespace {

struct LessIgnoringCase {
    bool operator()(const std::string& a, const std::string& b) const noexcept { return CompareTextAscii(a, b) < 0; }
};

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtensionOf(const std::string& path) {
    const std::string name = FileNameOf(path);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string WithoutExtension(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::uint16_t WordAt(const std::string& bytes, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// `count` UTF-16 little-endian units from `at`, as UTF-8; a lone surrogate
// becomes U+FFFD.
std::string Utf16LeToUtf8(const std::string& bytes, size_t at, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        const char32_t unit = WordAt(bytes, at + 2 * i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count) {
            const char32_t low = WordAt(bytes, at + 2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(text, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return text;
}

bool IsDotEntry(const std::string& name) {
    return name == "." || name == "..";
}

std::vector<std::string> ScannableSubfolders(const std::vector<TDirectoryEntry>& entries) {
    std::vector<std::string> names;
    for (const TDirectoryEntry& entry : entries) {
        if (!IsDotEntry(entry.Name) && IsScannableFolder(entry.Attributes)) names.push_back(entry.Name);
    }
    return names;
}

using TFolderVisit = std::function<void(const std::string& folder, const std::vector<TDirectoryEntry>& entries)>;

// Visits `root` and then every scannable folder below it, depth first in
// listing order, asking `progress` before each subfolder. Each folder is
// listed once, for its files and its subfolders alike. Iterative, so a deep
// tree cannot exhaust the stack.
void WalkFolders(IDirectoryLister& lister, const std::string& root, const TScanProgressEvent& progress,
                 const TFolderVisit& visit) {
    struct Frame {
        std::string folder;
        std::vector<std::string> subfolders;
        size_t next = 0;
    };
    std::vector<Frame> stack;
    const auto enter = [&](std::string folder) {
        const std::vector<TDirectoryEntry> entries = lister.List(folder, "*");
        visit(folder, entries);
        stack.push_back({std::move(folder), ScannableSubfolders(entries), 0});
    };
    enter(root);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.subfolders.size()) {
            stack.pop_back();
            continue;
        }
        std::string folder = top.folder + top.subfolders[top.next++] + "\\";
        if (progress && !progress()) throw EScanAborted();
        enter(std::move(folder));
    }
}

bool IsInstallerName(const std::string& fileName) {
    const std::string lower = AsciiLowerCase(fileName);
    return lower.find("setup") != std::string::npos || lower.find("inst") != std::string::npos ||
           lower.find("uninst") != std::string::npos;
}

void ListExecutables(IVersionResources& versions, const std::string& folder,
                     const std::vector<TDirectoryEntry>& entries, std::vector<std::string>& result) {
    for (const TDirectoryEntry& entry : entries) {
        // A folder named like a program is not one.
        if (IsDotEntry(entry.Name) || (entry.Attributes & FileAttribute::Directory)) continue;
        if (!SameTextAscii(ExtensionOf(entry.Name), ".exe") || IsInstallerName(entry.Name)) continue;
        const std::string path = folder + entry.Name;
        result.push_back(path + "=" + GetAppCaption(versions, path));
    }
}

std::string CaptionOrFileName(IVersionResources& versions, const std::string& path) {
    try {
        return GetAppCaption(versions, path);
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "ProcessesExeNamesGet " + path));
        return WithoutExtension(FileNameOf(path));
    }
}

void AddCandidates(const std::vector<std::string>& lines, TCandidateKind kind,
                   std::set<std::string, LessIgnoringCase>& seen, std::vector<TCandidate>& candidates) {
    for (const std::string& line : lines) {
        const size_t equals = line.find('=');
        std::string path = line.substr(0, equals);
        if (path.empty() || !seen.insert(path).second) continue;
        std::string caption = equals == std::string::npos ? std::string() : line.substr(equals + 1);
        candidates.push_back({std::move(path), std::move(caption), kind});
    }
}

}  // namespace

void FindFilesRecursive(IDirectoryLister& lister, const std::string& folder, const std::string& mask,
                        std::vector<std::string>& list) {
    struct Frame {
        std::string base;
        std::vector<TDirectoryEntry> entries;
        size_t next = 0;
    };
    std::vector<Frame> stack;
    std::string base = IncludeTrailingChar(folder, '\\');
    std::vector<TDirectoryEntry> entries = lister.List(base, mask);
    stack.push_back({std::move(base), std::move(entries), 0});
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.entries.size()) {
            stack.pop_back();
            continue;
        }
        const TDirectoryEntry& entry = top.entries[top.next++];
        if (IsDotEntry(entry.Name)) continue;
        if (!(entry.Attributes & FileAttribute::Directory)) {
            list.push_back(top.base + entry.Name);
        } else if (!(entry.Attributes & FileAttribute::ReparsePoint)) {
            std::string sub = top.base + entry.Name + "\\";
            std::vector<TDirectoryEntry> subEntries = lister.List(sub, mask);
            stack.push_back({std::move(sub), std::move(subEntries), 0});
        }
    }
}

std::string ExpandRelativeParts(const std::string& path) {
    size_t rootLength = 0;
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') rootLength = 3;
    std::vector<std::string> parts;
    size_t start = rootLength;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    std::string result = path.substr(0, rootLength);
    for (size_t i = 0; i < parts.size(); ++i) result += (i ? "\\" : "") + parts[i];
    return result;
}

std::string RelativeTargetFromShortcutBytes(const std::string& bytes, const std::string& shortcutFolder) {
    static constexpr char kDotDotSlashDot[] = {'.', 0, '.', 0, '\\', 0, '.', 0};
    if (bytes.size() < 11) return std::string();
    for (size_t i = 2; i + 9 <= bytes.size(); ++i) {
        if (bytes.compare(i, sizeof kDotDotSlashDot, kDotDotSlashDot, sizeof kDotDotSlashDot) != 0) continue;
        const size_t length = WordAt(bytes, i - 2);
        if (i + 2 * length >= bytes.size()) return std::string();
        std::string relative = Utf16LeToUtf8(bytes, i, length);
        // Some writers count the terminating zero too.
        relative.erase(std::min(relative.find('\0'), relative.size()));
        return ExpandRelativeParts(IncludeTrailingChar(shortcutFolder, '\\') + relative);
    }
    return std::string();
}

std::string ResolveShortcutTarget(IShortcutReader& shortcuts, const std::string& shortcut) {
    std::string target = shortcuts.RawTarget(shortcut);
    if (std::optional<std::string> longForm = shortcuts.LongPathName(target)) target = std::move(*longForm);
    target = shortcuts.ExpandEnvironmentVariables(target);
    if (target.find("\\Installer\\{") != std::string::npos) {
        std::string relative = RelativeTargetFromShortcutBytes(shortcuts.ReadFileBytes(shortcut), FolderOf(shortcut));
        if (!relative.empty()) target = std::move(relative);
    }
    return target;
}

void ScanShortcuts(const TDiscoveryPlatform& platform, std::vector<std::string>& result) {
    std::vector<std::string> found;
    for (const auto& folder : {platform.Folders.CommonProgramsFolder(), platform.Folders.UserProgramsFolder()}) {
        if (folder && !folder->empty()) FindFilesRecursive(platform.Directories, *folder, "*.*", found);
    }
    const std::set<std::string, LessIgnoringCase> files(found.begin(), found.end());
    for (const std::string& file : files) {
        if (!SameTextAscii(ExtensionOf(file), ".lnk")) continue;
        std::string target;
        try {
            target = ResolveShortcutTarget(platform.Shortcuts, file);
        } catch (const std::exception& e) {
            // One broken shortcut must not cost the others.
            TraceException(ErrorTraceText(e, "ScanShortcuts " + file));
            continue;
        }
        const std::string targetName = AsciiLowerCase(FileNameOf(target));
        const bool taken =
            SameTextAscii(ExtensionOf(target), ".exe") && targetName.find("unins") == std::string::npos &&
            targetName.find("setup") == std::string::npos && target.find("\\Installer\\{") == std::string::npos;
        if (taken) result.push_back(target + "=" + WithoutExtension(FileNameOf(file)));
    }
}

bool IsScannableFolder(std::uint32_t attributes) noexcept {
    // Windows marks customised folders read-only; such bits say nothing about
    // whether programs live below.
    constexpr std::uint32_t kOrdinary = FileAttribute::Directory | FileAttribute::ReadOnly | FileAttribute::Archive |
                                        FileAttribute::Compressed | FileAttribute::NotContentIndexed;
    return (attributes & FileAttribute::Directory) && (attributes & ~kOrdinary) == 0;
}

int CountScanFolders(const TDiscoveryPlatform& platform, const std::string& computer,
                     const TScanProgressEvent& progress) {
    int count = 0;
    for (const std::string& folder : BuildScanFolderList(platform, computer)) {
        if (!platform.DirectoryExists(folder)) continue;
        WalkFolders(platform.Directories, IncludeTrailingChar(folder, '\\'), progress,
                    [&](const std::string&, const std::vector<TDirectoryEntry>&) { ++count; });
        --count;  // the scan folder itself
    }
    return count;
}

void ScanExecutables(const TDiscoveryPlatform& platform, const std::string& computer, std::vector<std::string>& result,
                     const TScanProgressEvent& progress) {
    for (const std::string& folder : BuildScanFolderList(platform, computer)) {
        if (!platform.DirectoryExists(folder)) continue;
        WalkFolders(platform.Directories, IncludeTrailingChar(folder, '\\'), progress,
                    [&](const std::string& each, const std::vector<TDirectoryEntry>& entries) {
                        ListExecutables(platform.Versions, each, entries, result);
                    });
    }
}

void ProcessesExeNamesGet(const TDiscoveryPlatform& platform, const std::string& computer,
                          std::vector<std::string>& result) {
    result.clear();
    std::set<std::string, LessIgnoringCase> paths;
    try {
        for (std::string& path : platform.Processes.ExecutablePaths(computer)) {
            if (!path.empty()) paths.insert(std::move(path));
        }
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "ProcessesExeNamesGet"));
    }
    for (const std::string& path : paths) result.push_back(path + "=" + CaptionOrFileName(platform.Versions, path));
}

TDiscoveryResult DiscoverApplications(const TDiscoveryPlatform& platform, const std::string& computer, TScanType type,
                                      const TScanProgressEvent& progress,
                                      const std::function<void(int total)>& onTotal) {
    TDiscoveryResult discovery;
    std::vector<std::string> lines;
    try {
        if (type == TScanType::Complete) {
            const int total = CountScanFolders(platform, computer, progress);
            if (onTotal) onTotal(total);
            ScanExecutables(platform, computer, lines, progress);
        } else {
            ScanShortcuts(platform, lines);
        }
    } catch (const EScanAborted&) {
        discovery.Stopped = true;
    }
    std::set<std::string, LessIgnoringCase> seen;
    AddCandidates(lines, type == TScanType::Complete ? TCandidateKind::ProgramFolder : TCandidateKind::Shortcut, seen,
                  discovery.Candidates);
    ProcessesExeNamesGet(platform, computer, lines);
    AddCandidates(lines, TCandidateKind::RunningProcess, seen, discovery.Candidates);
    return discovery;
}

}  // namespace vh
