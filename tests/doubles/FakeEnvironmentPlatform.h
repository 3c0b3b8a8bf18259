#pragma once
// A test double of the environment seam over a private temporary folder.
// Windows paths map onto it: "C:\\a\\b" is <root>/C/a/b, so a drive exists
// when its folder does. Exclusive opens are shared by every instance in the
// process, so two instances stand for two processes. Failures can be
// injected and writes are counted.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/Paths.h"
#include "doubles/TempFolder.h"
#include "platform/IEnvironmentPlatform.h"

namespace vh::testing {

class FakeEnvironmentPlatform : public IEnvironmentPlatform {
public:
    // Drives that exist as folders; C: always.
    explicit FakeEnvironmentPlatform(std::string drives = "C") {
        for (char drive : drives) std::filesystem::create_directories(root_.Path() / std::string(1, drive));
    }

    // --- settings a test may change
    std::string executablePath = "C:\\Program Files\\Vornhalt\\Vornhalt.exe";
    std::optional<std::string> roamingAppData = std::string("C:\\Users\\user\\AppData\\Roaming");
    std::set<char> silentDrives;  // present but answer no volume query (an empty card reader)
    TFormatSettings locale;
    std::optional<std::string> computerName = std::string("DESKTOP-1");
    std::optional<std::string> createEmptyFileError;  // CreateEmptyFile fails with this text
    std::optional<size_t> failWriteAfterBytes;        // WriteNewFile writes this much, then fails
    bool failReplace = false;                         // ReplaceFileAtomically fails

    // --- what happened
    int writeCount = 0;  // successful WriteNewFile calls
    int computerNameCalls = 0;
    std::vector<std::string> volumeQueries;

    const std::filesystem::path& Root() const noexcept { return root_.Path(); }

    // The real file behind a Windows path.
    std::filesystem::path Map(std::string_view path) const {
        if (path.size() < 2 || path[1] != ':') throw EFileError("Not a drive path: " + std::string(path));
        std::string rest(path.substr(2));
        for (char& c : rest)
            if (c == '\\') c = '/';
        while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
        std::filesystem::path mapped = root_.Path() / std::string(1, path[0]);
        if (!rest.empty()) mapped /= PathFromUtf8(rest);
        return mapped;
    }

    // The Windows path of a real file below the root (inverse of Map).
    std::string Unmap(const std::filesystem::path& real) const {
        const std::string relative = PathToUtf8(std::filesystem::relative(real, root_.Path()));
        std::string result = relative.substr(0, 1) + ":";
        std::string rest = relative.substr(1);
        for (char& c : rest)
            if (c == '/') c = '\\';
        return result + (rest.empty() ? "\\" : rest);
    }

    void PutFile(std::string_view path, std::string_view bytes) const {
        std::filesystem::create_directories(Map(path).parent_path());
        std::ofstream out(Map(path), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::optional<std::string> FileText(std::string_view path) const {
        std::ifstream in(Map(path), std::ios::binary);
        if (!in) return std::nullopt;
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // --- the seam
    std::string ExecutablePath() override { return executablePath; }
    std::optional<std::string> RoamingAppDataFolder() override {
        if (roamingAppData) CreateFolders(*roamingAppData);
        return roamingAppData;
    }
    bool CreateFolders(const std::string& path) override {
        std::error_code error;
        std::filesystem::create_directories(Map(path), error);
        return !error && std::filesystem::is_directory(Map(path));
    }
    bool VolumeAnswers(const std::string& rootPath) override {
        volumeQueries.push_back(rootPath);
        if (rootPath.size() != 3 || rootPath[1] != ':' || rootPath[2] != '\\') return false;
        return !silentDrives.count(rootPath[0]) && std::filesystem::is_directory(Map(rootPath));
    }
    bool FileExists(const std::string& path) override { return std::filesystem::is_regular_file(Map(path)); }
    bool DirectoryExists(const std::string& path) override { return std::filesystem::is_directory(Map(path)); }
    std::vector<std::string> ListFilesRecursive(const std::string& folder) override {
        std::vector<std::string> files;
        std::error_code error;
        for (std::filesystem::recursive_directory_iterator it(Map(folder), error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_regular_file()) files.push_back(Unmap(it->path()));
        }
        return files;
    }
    std::optional<std::string> ReadWholeFile(const std::string& path) override {
        if (!std::filesystem::exists(Map(path))) return std::nullopt;
        std::optional<std::string> text = FileText(path);
        if (!text) throw EFileError("Cannot read " + path);
        return text;
    }
    void WriteNewFile(const std::string& path, std::string_view bytes) override {
        std::ofstream out(Map(path), std::ios::binary | std::ios::trunc);
        if (!out) throw EFileError("Cannot create " + path);
        if (failWriteAfterBytes && *failWriteAfterBytes < bytes.size()) {
            out.write(bytes.data(), static_cast<std::streamsize>(*failWriteAfterBytes));
            throw EFileError("There is not enough space on the disk.");
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) throw EFileError("Cannot write " + path);
        ++writeCount;
    }
    void ReplaceFileAtomically(const std::string& source, const std::string& target) override {
        if (failReplace) throw EFileError("Access is denied.");
        std::error_code error;
        std::filesystem::rename(Map(source), Map(target), error);
        if (error) throw EFileError("Cannot replace " + target + ": " + error.message());
    }
    bool RemoveFile(const std::string& path) override {
        std::error_code error;
        return std::filesystem::remove(Map(path), error);
    }
    std::optional<std::string> CreateEmptyFile(const std::string& path) override {
        if (createEmptyFileError) return createEmptyFileError;
        std::ofstream out(Map(path), std::ios::binary | std::ios::trunc);
        if (!out) return std::string("The system cannot find the path specified.");
        return std::nullopt;
    }
    std::unique_ptr<IExclusiveFile> OpenExclusive(const std::string& path) override {
        const std::filesystem::path real = Map(path);
        if (!std::filesystem::is_regular_file(real)) return nullptr;
        const std::string key = PathToUtf8(std::filesystem::weakly_canonical(real));
        std::lock_guard guard(HeldMutex());
        if (!Held().insert(key).second) return nullptr;
        return std::make_unique<HeldFile>(key);
    }
    TFormatSettings UserLocaleFormatSettings() override { return locale; }
    std::optional<std::string> ComputerName() override {
        ++computerNameCalls;
        return computerName;
    }

    // Whether some instance holds the file open exclusively.
    static bool IsHeld(const std::filesystem::path& real) {
        std::lock_guard guard(HeldMutex());
        return Held().count(PathToUtf8(std::filesystem::weakly_canonical(real))) != 0;
    }

private:
    static std::set<std::string>& Held() {
        static std::set<std::string> held;
        return held;
    }
    static std::mutex& HeldMutex() {
        static std::mutex mutex;
        return mutex;
    }
    class HeldFile : public IExclusiveFile {
    public:
        explicit HeldFile(std::string key) : key_(std::move(key)) {}
        ~HeldFile() override {
            std::lock_guard guard(HeldMutex());
            Held().erase(key_);
        }

    private:
        std::string key_;
    };

    TempFolder root_;
};

}  // namespace vh::testing
