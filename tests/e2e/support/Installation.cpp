#include "support/Installation.h"

#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/E2eSupport.h"

namespace vh::e2e {

namespace fs = std::filesystem;

namespace {

fs::path KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(id, 0, nullptr, &path);
    const fs::path result = SUCCEEDED(hr) ? fs::path(path) : fs::path();
    CoTaskMemFree(path);
    if (result.empty()) throw std::runtime_error("no known folder");
    return result;
}

// Keeps COM initialised on this thread for one scope.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

}  // namespace

fs::path SetupProgram() {
    return BuildFolder() / VH_SETUP_NAME;
}

fs::path DefaultInstallFolder() {
    return KnownFolder(FOLDERID_ProgramFiles) / L"Vornhalt";
}

fs::path StartMenuShortcut() {
    return KnownFolder(FOLDERID_CommonPrograms) / L"Vornhalt.lnk";
}

fs::path ShortcutTarget(const fs::path& shortcut) {
    ComScope com;
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return {};
    Microsoft::WRL::ComPtr<IPersistFile> file;
    if (FAILED(link.As(&file))) return {};
    if (FAILED(file->Load(shortcut.c_str(), STGM_READ))) return {};
    wchar_t target[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return {};
    return fs::path(target);
}

std::optional<std::wstring> RegistryString(HKEY root, const wchar_t* key, const wchar_t* name) {
    DWORD bytes = 0;
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, value.data(), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

std::optional<DWORD> RegistryDword(HKEY root, const wchar_t* key, const wchar_t* name) {
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (RegGetValueW(root, key, name, RRF_RT_REG_DWORD | RRF_SUBKEY_WOW6464KEY, nullptr, &value, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool RegistryKeyExists(HKEY root, const wchar_t* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

std::optional<DWORD> RunToEnd(const fs::path& exe, const std::wstring& arguments, std::chrono::milliseconds timeout) {
    RunningProgram program(exe, arguments);
    DWORD exitCode = 0;
    if (!program.WaitForExit(timeout, &exitCode)) return std::nullopt;
    return exitCode;
}

std::map<fs::path, std::string> ReadFiles(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream contents;
        contents << in.rdbuf();
        files[fs::relative(entry.path(), folder)] = contents.str();
    }
    return files;
}

}  // namespace vh::e2e
