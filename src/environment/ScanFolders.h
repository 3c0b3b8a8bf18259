#pragma once
// The folders a complete scan searches: both Program Files folders and the
// installation folders named by the Uninstall keys of both registry views,
// nested folders pruned so no tree is walked twice.

#include <string>
#include <string_view>
#include <vector>

#include "common/Exceptions.h"
#include "platform/IDiscoveryPlatform.h"

namespace vh {

// The registry of a computer or one of its keys could not be opened.
class ERegistryError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "ERegistryError"; }
};

inline constexpr std::string_view kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr std::string_view kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// A string value; ERegistryError "Can't open registry on computer <name>" or
// "Can't open registry values on computer <name>".
std::string ReadRegistryStringOnComputer(IRegistry& registry, const std::string& computer, const std::string& key,
                                         const std::string& valueName, TRegistryRoot root,
                                         TRegistryView view = TRegistryView::Native);

// "ProgramFilesDir" and "ProgramFilesDir (x86)" (empty on a system without
// 32-bit programs), as a 64-bit program reads them.
std::string GetProgramFilesDir(IRegistry& registry, const std::string& computer);
std::string GetProgramFilesDirX86(IRegistry& registry, const std::string& computer);

// The folder an uninstall text names ("\"D:\\Games\\Racer\\racer.exe\" -i"
// gives "D:\\Games\\Racer\\"); empty when it names no drive path.
std::string ExtractUninstallFolder(std::string_view text);

// Sorts (ignoring case) and drops each folder that contains the one before it.
void PruneNestedFolders(std::vector<std::string>& folders);

// The scan folder list, each ending in "\\".
std::vector<std::string> BuildScanFolderList(const TDiscoveryPlatform& platform, const std::string& computer);

}  // namespace vh
