#pragma once
// A private program folder for the real Vornhalt.exe (the program, its
// ready-made databases and pictures) and the Wine user's application-data folder
// of the program, which end-to-end tests clean before and after each run.

#include <chrono>
#include <filesystem>
#include <string>

#include "support/E2eSupport.h"

namespace vh::e2e {

// Copies Vornhalt.exe, settings.sqlite, actmondb.sqlite and the picture
// folders (Graphics\, Skins\) from the build into `folder`; returns the program's path there.
std::filesystem::path PrepareProgramFolder(const std::filesystem::path& folder);

// The roaming application-data folder + "Vornhalt.V3".
std::filesystem::path ProgramAppDataFolder();
// Removes it with everything in it; a missing folder is fine.
void RemoveProgramAppDataFolder();

// Creates "uninstall.flag" in the program's folder.
void WriteUninstallFlag(const std::filesystem::path& programFolder);

// The UTF-8 path SQLite and the program's layers take.
std::string Utf8Path(const std::filesystem::path& path);

}  // namespace vh::e2e
