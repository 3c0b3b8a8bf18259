#include "support/ProgramFolder.h"

#include <shlobj.h>

#include <fstream>
#include <stdexcept>
#include <system_error>

#include "platform/win32/Utf16.h"

namespace vh::e2e {

namespace fs = std::filesystem;

fs::path PrepareProgramFolder(const fs::path& folder) {
    const fs::path build = BuildFolder();
    for (const wchar_t* name : {L"Vornhalt.exe", L"settings.sqlite", L"actmondb.sqlite"})
        fs::copy_file(build / name, folder / name, fs::copy_options::overwrite_existing);
    // The controls' pictures, and the background pictures when the build has any.
    for (const wchar_t* name : {L"Graphics", L"Skins"})
        if (fs::exists(build / name))
            fs::copy(build / name, folder / name, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    return folder / L"Vornhalt.exe";
}

fs::path ProgramAppDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        throw std::runtime_error("no application-data folder");
    return fs::path(path) / L"Vornhalt.V3";
}

void RemoveProgramAppDataFolder() {
    std::error_code error;
    fs::remove_all(ProgramAppDataFolder(), error);
}

void WriteUninstallFlag(const fs::path& programFolder) {
    std::ofstream flag(programFolder / L"uninstall.flag");
    if (!flag) throw std::runtime_error("cannot create uninstall.flag");
}

std::string Utf8Path(const fs::path& path) {
    return win32::WideToUtf8(path.wstring());
}

}  // namespace vh::e2e
