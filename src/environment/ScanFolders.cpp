#include "environment/ScanFolders.h"

#include <algorithm>

#include "common/StringUtils.h"
#include "environment/ZuravoZazoApplicationDefs.h"

namespace vh {

namespace {

// "C:" for "C:\\Program Files\\": one trailing separator dropped, then the
// text cut at its last separator.
std::string ParentFolder(std::string path) {
    if (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

bool ContainsText(const std::vector<std::string>& list, const std::string& text) {
    return std::any_of(list.begin(), list.end(), [&](const std::string& item) { return SameTextAscii(item, text); });
}

bool IsDriveRoot(const std::string& folder) {
    return folder.size() >= 2 && folder[1] == ':' && SameTextAscii(folder, folder.substr(0, 2) + "\\");
}

std::vector<std::string> ExclusionList(const std::string& programFiles, const std::string& programFilesX86,
                                       const std::string& windowsFolder) {
    std::vector<std::string> exclusions;
    // An empty entry would be a substring of every folder and exclude them all.
    const auto add = [&](const std::string& folder) {
        if (!folder.empty()) exclusions.push_back(AsciiLowerCase(folder));
    };
    add(programFiles);
    if (!windowsFolder.empty()) {
        add(IncludeTrailingChar(windowsFolder, '\\'));
        add(IncludeTrailingChar(windowsFolder, '\\') + "system32\\");
    }
    if (!programFiles.empty()) add(ParentFolder(programFiles) + "\\PROGRA~1\\");
    add(programFilesX86);
    return exclusions;
}

void WalkUninstallKeys(IRegistry& registry, TRegistryView view, const std::vector<std::string>& exclusions,
                       std::vector<std::string>& folders) {
    std::optional<std::vector<std::string>> subkeys = registry.SubkeyNames(view, std::string(kUninstallKey));
    if (!subkeys) return;
    std::sort(subkeys->begin(), subkeys->end());
    for (const std::string& subkey : *subkeys) {
        const auto values = registry.Values(view, std::string(kUninstallKey) + subkey);
        if (!values) continue;
        for (const TRegistryValue& value : *values) {
            if (value.Kind != TRegistryValueKind::String) continue;
            const std::string folder = ExtractUninstallFolder(value.Text);
            if (folder.empty() || IsDriveRoot(folder) || ContainsText(folders, folder)) continue;
            const std::string lower = AsciiLowerCase(folder);
            const bool excluded = std::any_of(exclusions.begin(), exclusions.end(),
                                              [&](const std::string& e) { return lower.find(e) != std::string::npos; });
            if (!excluded) folders.push_back(folder);
        }
    }
}

}  // namespace

std::string ReadRegistryStringOnComputer(IRegistry& registry, const std::string& computer, const std::string& key,
                                         const std::string& valueName, TRegistryRoot root, TRegistryView view) {
    const TRegistryRead read = registry.ReadString(computer, root, key, valueName, view);
    switch (read.Outcome) {
        case TRegistryRead::TOutcome::NoRegistry: throw ERegistryError("Can't open registry on computer " + computer);
        case TRegistryRead::TOutcome::NoKey: throw ERegistryError("Can't open registry values on computer " + computer);
        case TRegistryRead::TOutcome::Read: break;
    }
    return read.Text;
}

std::string GetProgramFilesDir(IRegistry& registry, const std::string& computer) {
    return ReadRegistryStringOnComputer(registry, computer, std::string(kCurrentVersionKey), "ProgramFilesDir",
                                        TRegistryRoot::LocalMachine);
}

std::string GetProgramFilesDirX86(IRegistry& registry, const std::string& computer) {
    return ReadRegistryStringOnComputer(registry, computer, std::string(kCurrentVersionKey), "ProgramFilesDir (x86)",
                                        TRegistryRoot::LocalMachine);
}

std::string ExtractUninstallFolder(std::string_view text) {
    const size_t drive = text.find(":\\");
    if (drive == std::string_view::npos) return std::string();
    size_t stop = text.size();
    for (std::string_view extension : {".dll", ".exe"}) {
        const size_t at = text.find(extension);
        if (at != std::string_view::npos) stop = std::min(stop, at + extension.size());
    }
    const size_t start = drive == 0 ? 0 : drive - 1;
    // rundll32.exe C:\x\y.dll: the ".exe" comes first; app.exe:\x: it ends
    // before the ":\", and what is left names no drive path.
    if (stop < drive + 2) return std::string();
    const std::string path(text.substr(start, stop - start));
    const size_t slash = path.find_last_of('\\');
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    if (fileName.find('.') != std::string::npos) return path.substr(0, slash + 1);
    return IncludeTrailingChar(path, '\\');
}

void PruneNestedFolders(std::vector<std::string>& folders) {
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::string& a, const std::string& b) { return CompareTextAscii(a, b) < 0; });
    size_t i = 0;
    while (i + 1 < folders.size()) {
        if (AsciiLowerCase(folders[i + 1]).find(AsciiLowerCase(folders[i])) != std::string::npos) {
            folders.erase(folders.begin() + static_cast<std::ptrdiff_t>(i + 1));
        } else {
            ++i;
        }
    }
}

std::vector<std::string> BuildScanFolderList(const TDiscoveryPlatform& platform, const std::string& computer) {
    const std::string programFiles = IncludeTrailingChar(GetProgramFilesDir(platform.Registry, computer), '\\');
    const std::string programFilesX86 = IncludeTrailingChar(GetProgramFilesDirX86(platform.Registry, computer), '\\');
    const std::vector<std::string> exclusions =
        ExclusionList(programFiles, programFilesX86, platform.Folders.WindowsFolder());

    std::vector<std::string> folders;
    // What a 32-bit program finds first, then the 64-bit programs.
    WalkUninstallKeys(platform.Registry, TRegistryView::Wow32, exclusions, folders);
    WalkUninstallKeys(platform.Registry, TRegistryView::Native, exclusions, folders);
    for (const std::string& programFolder : {programFiles, programFilesX86}) {
        if (!programFolder.empty() && !ContainsText(folders, programFolder)) folders.push_back(programFolder);
    }
    PruneNestedFolders(folders);
    return folders;
}

}  // namespace vh
