// How long discovery takes on a large installation: a generated program
// folder tree of 20,000 folders holding 5,000 executables (half of them
// carrying our version resource) and a Start menu of 300 shortcuts, all in a
// temporary folder. Prints the times of counting, the complete scan and the
// fast scan, and the longest gap between two progress calls (the wizard
// repaints only there). Arguments: [folders] [executables] [shortcuts] [runs].
// Run it in a Wine session, for example:
//   scripts/lib/wine-exec build/windows/wine build/windows/tests/platform/discovery_benchmark.exe

#include <windows.h>

#include <shobjidl.h>
#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "common/Paths.h"
#include "doubles/FakeDiscoveryPlatform.h"
#include "environment/ApplicationDiscovery.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/DiscoveryPlatform.h"
#include "platform/win32/Utf16.h"

namespace {

using Clock = std::chrono::steady_clock;
using vh::win32::Utf8ToWide;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Times the gaps between progress calls, the start and the end included.
class GapMeter {
public:
    vh::TScanProgressEvent Event() {
        return [this] {
            Tick();
            return true;
        };
    }
    void Start() {
        last_ = Clock::now();
        gaps_.clear();
    }
    void Tick() {
        const auto now = Clock::now();
        gaps_.push_back(Milliseconds(now - last_));
        last_ = now;
    }
    int Calls() const { return static_cast<int>(gaps_.size()) - 1; }  // the end's tick is no call
    // The gap below which `share` of all gaps lie; 1.0 gives the longest.
    double Gap(double share) {
        std::sort(gaps_.begin(), gaps_.end());
        if (gaps_.empty()) return 0;
        return gaps_[std::min(gaps_.size() - 1, static_cast<size_t>(share * static_cast<double>(gaps_.size())))];
    }

private:
    Clock::time_point last_;
    std::vector<double> gaps_;
};

// The time spent in the directory listings and in the version resources.
class TimedLister : public vh::IDirectoryLister {
public:
    explicit TimedLister(vh::IDirectoryLister& inner) : inner_(inner) {}
    std::vector<vh::TDirectoryEntry> List(const std::string& folder, const std::string& mask) override {
        const auto start = Clock::now();
        auto entries = inner_.List(folder, mask);
        spent += Clock::now() - start;
        return entries;
    }
    Clock::duration spent{};

private:
    vh::IDirectoryLister& inner_;
};

class TimedVersions : public vh::IVersionResources {
public:
    explicit TimedVersions(vh::IVersionResources& inner) : inner_(inner) {}
    std::unique_ptr<vh::IVersionResource> Load(const std::string& path) override {
        const auto start = Clock::now();
        auto resource = inner_.Load(path);
        spent += Clock::now() - start;
        return resource;
    }
    std::string LanguageName(std::uint16_t language) override { return inner_.LanguageName(language); }
    Clock::duration spent{};

private:
    vh::IVersionResources& inner_;
};

// User and kernel time of this process so far.
double CpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4;
    };
    return value(kernel) + value(user);
}

std::string ModuleFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string own = vh::win32::WideToUtf8(path);
    return own.substr(0, own.find_last_of('\\') + 1);
}

bool MakeFolder(const std::string& path) {
    return CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr) != FALSE;
}

// Half the programs are hard links to VersionedApp.exe (a version resource to
// read), the others small files without one.
bool MakeProgram(const std::string& path, const std::string& versioned, bool withResource) {
    if (withResource && CreateHardLinkW(Utf8ToWide(path).c_str(), Utf8ToWide(versioned).c_str(), nullptr)) return true;
    if (withResource && CopyFileW(Utf8ToWide(versioned).c_str(), Utf8ToWide(path).c_str(), FALSE)) return true;
    HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool MakeShortcut(const std::string& path, const std::string& target) {
    using Microsoft::WRL::ComPtr;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) &&
           SUCCEEDED(link->SetPath(Utf8ToWide(target).c_str())) && SUCCEEDED(link.As(&file)) &&
           SUCCEEDED(file->Save(Utf8ToWide(path).c_str(), TRUE));
}

struct Tree {
    std::string programs;  // ends in "\\"
    std::string startMenu;
    int folders = 0;
    int executables = 0;
    int shortcuts = 0;
};

// Three levels: 1/100 of the folders, then 1/10, then the rest, spread evenly;
// the programs go round the deepest folders, the shortcuts round the programs.
bool Generate(Tree& tree, int folders, int executables, int shortcuts) {
    const std::string versioned = ModuleFolder() + "VersionedApp.exe";
    const int top = std::max(1, folders / 100);
    const int middle = std::max(top, folders / 10);
    const int bottom = folders - top - middle;
    if (!MakeFolder(tree.programs.substr(0, tree.programs.size() - 1))) return false;
    std::vector<std::string> leaves;
    std::vector<std::string> middles;
    for (int t = 0; t < top; ++t) {
        const std::string vendor = tree.programs + "Vendor " + std::to_string(t) + "\\";
        if (!MakeFolder(vendor)) return false;
        ++tree.folders;
        for (int m = t; m < middle; m += top) {
            middles.push_back(vendor + "Product " + std::to_string(m) + "\\");
            if (!MakeFolder(middles.back())) return false;
            ++tree.folders;
        }
    }
    for (int b = 0; b < bottom; ++b) {
        leaves.push_back(middles[static_cast<size_t>(b) % middles.size()] + "Part " + std::to_string(b) + "\\");
        if (!MakeFolder(leaves.back())) return false;
        ++tree.folders;
    }
    std::vector<std::string> programs;
    for (int e = 0; e < executables; ++e) {
        const std::string& folder = leaves.empty() ? middles[e % middles.size()] : leaves[e * 7 % leaves.size()];
        programs.push_back(folder + "game" + std::to_string(e) + ".exe");
        if (!MakeProgram(programs.back(), versioned, e % 2 == 0)) return false;
        ++tree.executables;
    }
    vh::win32::ComApartment apartment;
    if (!MakeFolder(tree.startMenu)) return false;
    for (int s = 0; s < shortcuts && !programs.empty(); ++s) {
        const std::string group = tree.startMenu + "\\Group " + std::to_string(s / 10);
        if (s % 10 == 0 && !MakeFolder(group)) return false;
        if (!MakeShortcut(group + "\\Game " + std::to_string(s) + ".lnk", programs[s * 13 % programs.size()]))
            return false;
        ++tree.shortcuts;
    }
    return true;
}

int Argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::max(0, std::atoi(argv[index])) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const int folders = Argument(argc, argv, 1, 20000);
    const int executables = Argument(argc, argv, 2, 5000);
    const int shortcuts = Argument(argc, argv, 3, 300);
    const int runs = std::max(1, Argument(argc, argv, 4, 3));

    wchar_t tempPath[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tempPath);
    const std::string root =
        vh::win32::WideToUtf8(tempPath) + "vh-discovery-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    if (!MakeFolder(root)) {
        std::printf("cannot create %s\n", root.c_str());
        return 1;
    }
    Tree tree{root + "Program Files\\", root + "Start Menu"};
    const auto generating = Clock::now();
    const bool generated = Generate(tree, folders, executables, shortcuts);
    std::printf("generated %d folders, %d executables, %d shortcuts in %.1f s%s\n", tree.folders, tree.executables,
                tree.shortcuts, Milliseconds(Clock::now() - generating) / 1000, generated ? "" : " (INCOMPLETE)");

    vh::testing::FakeDiscoveryPlatform settings;  // registry and Start-menu folders pointing into the tree
    settings.currentVersionValues = {{"ProgramFilesDir", tree.programs.substr(0, tree.programs.size() - 1)}};
    settings.commonPrograms = tree.startMenu;
    settings.userPrograms.reset();
    vh::win32::DiscoveryPlatform system;
    const vh::TDiscoveryPlatform real = system.Platform([](const std::string& folder) {
        const DWORD attributes = GetFileAttributesW(Utf8ToWide(folder).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    });
    TimedLister lister(real.Directories);
    TimedVersions versions(real.Versions);
    const vh::TDiscoveryPlatform platform{
        lister, settings, settings, real.Shortcuts, real.Processes, versions, real.DirectoryExists};

    int exitCode = generated ? 0 : 1;
    for (int run = 1; run <= runs; ++run) {
        GapMeter meter;
        meter.Start();
        double cpu = CpuMilliseconds();
        auto start = Clock::now();
        const int counted = vh::CountScanFolders(platform, "", meter.Event());
        meter.Tick();
        std::printf(
            "run %d: counting %d folders: %.0f ms (cpu %.0f ms), %d progress calls, gaps median %.2f ms, "
            "99.9%% below %.1f ms, longest %.1f ms\n",
            run, counted, Milliseconds(Clock::now() - start), CpuMilliseconds() - cpu, meter.Calls(), meter.Gap(0.5),
            meter.Gap(0.999), meter.Gap(1.0));

        std::vector<std::string> lines;
        lister.spent = versions.spent = {};
        meter.Start();
        cpu = CpuMilliseconds();
        start = Clock::now();
        vh::ScanExecutables(platform, "", lines, meter.Event());
        meter.Tick();
        std::printf(
            "run %d: complete scan %zu programs: %.0f ms (cpu %.0f ms; listings %.0f ms, version resources "
            "%.0f ms), %d progress calls, gaps median %.2f ms, 99.9%% below %.1f ms, longest %.1f ms\n",
            run, lines.size(), Milliseconds(Clock::now() - start), CpuMilliseconds() - cpu, Milliseconds(lister.spent),
            Milliseconds(versions.spent), meter.Calls(), meter.Gap(0.5), meter.Gap(0.999), meter.Gap(1.0));

        std::vector<std::string> shortcutLines;
        cpu = CpuMilliseconds();
        start = Clock::now();
        vh::ScanShortcuts(platform, shortcutLines);
        std::printf("run %d: fast scan %zu shortcuts: %.0f ms (cpu %.0f ms)\n", run, shortcutLines.size(),
                    Milliseconds(Clock::now() - start), CpuMilliseconds() - cpu);

        std::vector<std::string> running;
        start = Clock::now();
        vh::ProcessesExeNamesGet(platform, "", running);
        std::printf("run %d: running programs %zu: %.0f ms\n", run, running.size(), Milliseconds(Clock::now() - start));
        std::fflush(stdout);
        if (counted != tree.folders || static_cast<int>(lines.size()) != tree.executables ||
            static_cast<int>(shortcutLines.size()) != tree.shortcuts)
            exitCode = 1;
    }

    std::error_code ignored;
    std::filesystem::remove_all(vh::PathFromUtf8(root), ignored);
    return exitCode;
}
