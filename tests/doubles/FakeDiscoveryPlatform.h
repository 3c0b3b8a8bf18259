#pragma once
// A test double of the discovery seam: an in-memory tree of folders and
// files, a registry in both views, shortcuts, running processes and version
// resources, each set up by the test. Folder paths end in "\\".

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/Exceptions.h"
#include "common/StringUtils.h"
#include "platform/IDiscoveryPlatform.h"

namespace vh::testing {

class FakeDiscoveryPlatform : public IDirectoryLister,
                              public IRegistry,
                              public IShellFolders,
                              public IShortcutReader,
                              public IProcessQuery,
                              public IVersionResources {
public:
    struct Less {
        bool operator()(const std::string& a, const std::string& b) const noexcept {
            return CompareTextAscii(a, b) < 0;
        }
    };
    struct Version {
        IVersionResource::TTranslation translation{0x0409, 0x04B0};
        bool hasTranslation = true;
        std::map<std::string, std::string> strings;  // key -> value
    };

    // --- the tree: each folder's entries in listing order
    std::map<std::string, std::vector<TDirectoryEntry>, Less> tree;
    std::vector<std::string> listed;  // every List call's folder + mask

    // Adds a folder (and its missing parents, plain) with these attributes.
    void AddFolder(const std::string& path, std::uint32_t attributes = FileAttribute::Directory) {
        const std::string folder = path.back() == '\\' ? path : path + "\\";
        tree.try_emplace(folder);
        const size_t slash = folder.find_last_of('\\', folder.size() - 2);
        if (slash == std::string::npos) return;
        const std::string parent = folder.substr(0, slash + 1);
        if (!tree.count(parent)) AddFolder(parent);
        tree[parent].push_back({folder.substr(slash + 1, folder.size() - slash - 2), attributes});
    }
    void AddFile(const std::string& path, std::uint32_t attributes = FileAttribute::Archive) {
        const size_t slash = path.find_last_of('\\');
        const std::string parent = path.substr(0, slash + 1);
        if (!tree.count(parent)) AddFolder(parent);
        tree[parent].push_back({path.substr(slash + 1), attributes});
    }

    // --- registry: key -> values, per view; ReadString answers this
    std::map<std::string, std::vector<TRegistryValue>, Less> registry[2];
    TRegistryRead::TOutcome readOutcome = TRegistryRead::TOutcome::Read;
    std::map<std::string, std::string> currentVersionValues{{"ProgramFilesDir", "C:\\Program Files"},
                                                            {"ProgramFilesDir (x86)", "C:\\Program Files (x86)"}};
    void AddUninstallValue(TRegistryView view, const std::string& subkey, const std::string& text,
                           TRegistryValueKind kind = TRegistryValueKind::String) {
        registry[Index(view)][std::string(kUninstall) + subkey].push_back({"UninstallString", kind, text});
    }

    // --- folders
    std::optional<std::string> commonPrograms = std::string("C:\\ProgramData\\Start Menu\\Programs");
    std::optional<std::string> userPrograms = std::string("C:\\Users\\user\\Start Menu\\Programs");
    std::string windowsFolder = "C:\\Windows";

    // --- shortcuts: path -> raw target; missing ones fail as unreadable
    std::map<std::string, std::string, Less> shortcutTargets;
    std::map<std::string, std::string, Less> environment{{"%ProgramFiles%", "C:\\Program Files"}};
    std::map<std::string, std::string, Less> fileBytes;
    void AddShortcut(const std::string& path, const std::string& target) {
        AddFile(path);
        shortcutTargets[path] = target;
    }

    // --- processes and versions
    std::vector<std::string> processProperties;
    bool processQueryFails = false;
    std::map<std::string, Version, Less> versions;

    // IDirectoryLister
    std::vector<TDirectoryEntry> List(const std::string& folder, const std::string& mask) override {
        listed.push_back(folder + mask);
        const auto found = tree.find(folder);
        if (found == tree.end()) return {};
        std::vector<TDirectoryEntry> entries;
        for (const TDirectoryEntry& entry : found->second) {
            if (Matches(entry.Name, mask)) entries.push_back(entry);
        }
        return entries;
    }

    // IRegistry
    std::optional<std::vector<std::string>> SubkeyNames(TRegistryView view, const std::string& key) override {
        std::vector<std::string> names;
        for (const auto& [name, values] : registry[Index(view)]) {
            if (name.size() > key.size() && SameTextAscii(name.substr(0, key.size()), key) &&
                name.find('\\', key.size()) == std::string::npos)
                names.push_back(name.substr(key.size()));
        }
        if (names.empty()) return std::nullopt;
        return names;
    }
    std::optional<std::vector<TRegistryValue>> Values(TRegistryView view, const std::string& key) override {
        const auto found = registry[Index(view)].find(key);
        if (found == registry[Index(view)].end()) return std::nullopt;
        return found->second;
    }
    TRegistryRead ReadString(const std::string&, TRegistryRoot, const std::string&, const std::string& valueName,
                             TRegistryView) override {
        TRegistryRead read;
        read.Outcome = readOutcome;
        const auto found = currentVersionValues.find(valueName);
        if (found != currentVersionValues.end()) read.Text = found->second;
        return read;
    }

    // IShellFolders
    std::optional<std::string> CommonProgramsFolder() override { return commonPrograms; }
    std::optional<std::string> UserProgramsFolder() override { return userPrograms; }
    std::string WindowsFolder() override { return windowsFolder; }

    // IShortcutReader
    std::string RawTarget(const std::string& shortcut) override {
        const auto found = shortcutTargets.find(shortcut);
        if (found == shortcutTargets.end()) throw EOSError(0x80004005, "Unspecified error");
        return found->second;
    }
    std::optional<std::string> LongPathName(const std::string&) override { return std::nullopt; }
    std::string ExpandEnvironmentVariables(const std::string& text) override {
        std::string result = text;
        for (const auto& [name, value] : environment) {
            for (size_t at; (at = result.find(name)) != std::string::npos;) result.replace(at, name.size(), value);
        }
        return result;
    }
    std::string ReadFileBytes(const std::string& path) override {
        const auto found = fileBytes.find(path);
        if (found == fileBytes.end()) throw EOSError(2, "The system cannot find the file specified.");
        return found->second;
    }

    // IProcessQuery
    std::vector<std::string> ExecutablePaths(const std::string&) override {
        if (processQueryFails) throw EOSError(0x80041003, "Access denied");
        return processProperties;
    }

    // IVersionResources
    std::unique_ptr<IVersionResource> Load(const std::string& path) override {
        const auto found = versions.find(path);
        if (found == versions.end()) return nullptr;
        return std::make_unique<Resource>(found->second);
    }
    std::string LanguageName(std::uint16_t language) override { return "Language " + std::to_string(language); }

    // The seam over this double; `exists` decides which folders a scan enters.
    TDiscoveryPlatform Platform() {
        return {*this,
                *this,
                *this,
                *this,
                *this,
                *this,
                [this](const std::string& folder) { return tree.count(folder) > 0; }};
    }

private:
    static constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

    class Resource : public IVersionResource {
    public:
        explicit Resource(Version version) : version_(std::move(version)) {}
        std::optional<TTranslation> FirstTranslation() override {
            if (!version_.hasTranslation) return std::nullopt;
            return version_.translation;
        }
        std::optional<std::string> QueryString(const std::string& subBlock) override {
            const size_t slash = subBlock.find_last_of('\\');
            char language[16];
            std::snprintf(language, sizeof language, "%04X%04X", version_.translation.Language,
                          version_.translation.CodePage);
            if (subBlock.compare(0, slash, "StringFileInfo\\" + std::string(language)) != 0) return std::nullopt;
            const auto found = version_.strings.find(subBlock.substr(slash + 1));
            if (found == version_.strings.end()) return std::nullopt;
            return found->second;
        }

    private:
        Version version_;
    };

    static size_t Index(TRegistryView view) { return view == TRegistryView::Native ? 0 : 1; }

    // "*", "*.*" (everything, as Windows treats it) and "*.ext".
    static bool Matches(const std::string& name, const std::string& mask) {
        if (mask == "*" || mask == "*.*") return true;
        const std::string suffix = mask.substr(1);
        return name.size() >= suffix.size() && SameTextAscii(name.substr(name.size() - suffix.size()), suffix);
    }
};

}  // namespace vh::testing
