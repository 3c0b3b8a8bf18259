#pragma once
// Finding installed and running applications for the add wizard. Each source
// produces candidate lines "path=caption"; DiscoverApplications runs one
// whole scan and merges the sources into candidates.
//
// Sources: the Start-menu shortcuts (fast scan), every "*.exe" below the scan
// folders (complete scan), and the running processes (after either).

#include <functional>
#include <string>
#include <vector>

#include "common/Exceptions.h"
#include "platform/IDiscoveryPlatform.h"

namespace vh {

// The silent abort: a progress callback asked to stop. The user interface
// does not report it.
class EScanAborted : public Exception {
public:
    EScanAborted() : Exception("Operation aborted") {}
    const char* ClassName() const noexcept override { return "EAbort"; }
};

// Called once per subfolder during counting and scanning: true to go on,
// false to stop. May be empty.
using TScanProgressEvent = std::function<bool()>;

// Appends base + name of every file below `folder` matching `mask`; does not
// descend into reparse points (junctions that point back up would never end).
void FindFilesRecursive(IDirectoryLister& lister, const std::string& folder, const std::string& mask,
                        std::vector<std::string>& list);

// The target of a shortcut, environment variables expanded; a target inside
// the Windows Installer's cache is replaced by the relative path stored in
// the file. Raises EOSError when the shortcut cannot be read.
std::string ResolveShortcutTarget(IShortcutReader& shortcuts, const std::string& shortcut);

// The relative path ("..\\..\\Game\\game.exe") stored in a shortcut file's
// bytes, resolved against `shortcutFolder`; empty when there is none.
std::string RelativeTargetFromShortcutBytes(const std::string& bytes, const std::string& shortcutFolder);

// Folds ".\\" and "..\\" parts of an absolute path.
std::string ExpandRelativeParts(const std::string& path);

// Fast scan: target=shortcut name for each Start-menu shortcut to a program.
// A shortcut that cannot be read is traced and skipped.
void ScanShortcuts(const TDiscoveryPlatform& platform, std::vector<std::string>& result);

// True for a folder a scan descends into: a directory whose other attribute
// bits are at most read-only, archive, compressed and not-content-indexed.
bool IsScannableFolder(std::uint32_t attributes) noexcept;

// The number of subfolders below the scan folders; EScanAborted when
// `progress` answers false.
int CountScanFolders(const TDiscoveryPlatform& platform, const std::string& computer,
                     const TScanProgressEvent& progress);

// Complete scan: path=caption for every "*.exe" below the scan folders except
// installers; EScanAborted when `progress` answers false (the lines found so
// far stay in `result`).
void ScanExecutables(const TDiscoveryPlatform& platform, const std::string& computer, std::vector<std::string>& result,
                     const TScanProgressEvent& progress);

// path=caption for each running program, one line per path. Never raises:
// failures are traced and what was found stands.
void ProcessesExeNamesGet(const TDiscoveryPlatform& platform, const std::string& computer,
                          std::vector<std::string>& result);

// --- the wizard's entry point

enum class TScanType { Fast, Complete };
enum class TCandidateKind { Shortcut, ProgramFolder, RunningProcess };

struct TCandidate {
    std::string Path;
    std::string Caption;
    TCandidateKind Kind = TCandidateKind::Shortcut;
};

struct TDiscoveryResult {
    std::vector<TCandidate> Candidates;  // one per path (ignoring case), the first found wins
    bool Stopped = false;                // the scan step was stopped; running programs still added
};

// One scan as the wizard runs it: the chosen scan (a complete scan first
// counts its folders and hands the total to `onTotal`), then the running
// processes. A stop ends the scan step only. Errors other than the stop pass
// on to the caller.
TDiscoveryResult DiscoverApplications(const TDiscoveryPlatform& platform, const std::string& computer, TScanType type,
                                      const TScanProgressEvent& progress,
                                      const std::function<void(int total)>& onTotal = {});

}  // namespace vh
