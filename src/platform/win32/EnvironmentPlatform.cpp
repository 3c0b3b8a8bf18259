#include "platform/win32/EnvironmentPlatform.h"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/Paths.h"
#include "platform/win32/Handles.h"
#include "platform/win32/LongPaths.h"
#include "platform/win32/SystemErrorText.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {

namespace {

DWORD Attributes(const std::string& path) {
    return GetFileAttributesW(Utf8ToWide(path).c_str());
}

[[noreturn]] void RaiseFileError(std::string_view what, const std::string& path, DWORD error) {
    throw EFileError(std::string(what) + " \"" + path + "\": " + SystemErrorText(error));
}

class ExclusiveFile : public IExclusiveFile {
public:
    explicit ExclusiveFile(UniqueFileHandle handle) : handle_(std::move(handle)) {}

private:
    UniqueFileHandle handle_;
};

std::string LocaleText(LCTYPE type, const char* fallback) {
    wchar_t buffer[16] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 16);
    if (length <= 1) return fallback;
    return WideToUtf8(std::wstring_view(buffer, static_cast<size_t>(length - 1)));
}

}  // namespace

std::string EnvironmentPlatform::ExecutablePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) RaiseFileError("Cannot name the program file", "", GetLastError());
        if (length < buffer.size()) return WideToUtf8(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::string> EnvironmentPlatform::RoamingAppDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return std::nullopt;
    }
    return WideToUtf8(path);
}

bool EnvironmentPlatform::CreateFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf8(path), error);
    return DirectoryExists(path);
}

bool EnvironmentPlatform::VolumeAnswers(const std::string& rootPath) {
    // No "insert a disk" box for an empty drive: the query just fails.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
    const BOOL answered =
        GetVolumeInformationW(Utf8ToWide(rootPath).c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0);
    SetThreadErrorMode(previousMode, nullptr);
    return answered != FALSE;
}

bool EnvironmentPlatform::FileExists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool EnvironmentPlatform::DirectoryExists(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> EnvironmentPlatform::ListFilesRecursive(const std::string& folder) {
    std::vector<std::string> files;
    std::vector<std::wstring> pending{Utf8ToWide(folder)};
    while (!pending.empty()) {
        std::wstring current = pending.back();
        pending.pop_back();
        if (!current.empty() && current.back() != L'\\') current += L'\\';
        WIN32_FIND_DATAW found{};
        UniqueFindHandle find(FindFirstFileW((current + L"*.*").c_str(), &found));
        if (!find) continue;
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                pending.push_back(current + name);
            } else {
                files.push_back(WideToUtf8(current + name));
            }
        } while (FindNextFileW(find.Get(), &found));
    }
    return files;
}

std::optional<std::string> EnvironmentPlatform::ReadWholeFile(const std::string& path) {
    UniqueFileHandle file(CreateFileW(ExtendedLengthPath(Utf8ToWide(path)).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        RaiseFileError("Cannot open", path, error);
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr))
            RaiseFileError("Cannot read", path, GetLastError());
        if (read == 0) return bytes;
        bytes.append(buffer, read);
    }
}

void EnvironmentPlatform::WriteNewFile(const std::string& path, std::string_view bytes) {
    UniqueFileHandle file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) RaiseFileError("Cannot create", path, GetLastError());
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
            RaiseFileError("Cannot write", path, GetLastError());
        }
        bytes.remove_prefix(written);
    }
    if (!FlushFileBuffers(file.Get())) RaiseFileError("Cannot write", path, GetLastError());
}

void EnvironmentPlatform::ReplaceFileAtomically(const std::string& source, const std::string& target) {
    if (!MoveFileExW(Utf8ToWide(source).c_str(), Utf8ToWide(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        RaiseFileError("Cannot replace", target, GetLastError());
    }
}

bool EnvironmentPlatform::RemoveFile(const std::string& path) {
    return DeleteFileW(Utf8ToWide(path).c_str()) != FALSE;
}

std::optional<std::string> EnvironmentPlatform::CreateEmptyFile(const std::string& path) {
    UniqueFileHandle file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return SystemErrorText(GetLastError());
    return std::nullopt;
}

std::unique_ptr<IExclusiveFile> EnvironmentPlatform::OpenExclusive(const std::string& path) {
    UniqueFileHandle file(
        CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    return std::make_unique<ExclusiveFile>(std::move(file));
}

TFormatSettings EnvironmentPlatform::UserLocaleFormatSettings() {
    TFormatSettings settings;
    settings.DecimalSeparator = LocaleText(LOCALE_SDECIMAL, ".");
    settings.ThousandSeparator = LocaleText(LOCALE_STHOUSAND, ",");
    settings.DateSeparator = LocaleText(LOCALE_SDATE, "/");
    settings.TimeSeparator = LocaleText(LOCALE_STIME, ":");
    return settings;
}

std::optional<std::string> EnvironmentPlatform::ComputerName() {
    wchar_t buffer[129] = {};
    DWORD length = 129;
    if (!GetComputerNameW(buffer, &length)) return std::nullopt;
    return WideToUtf8(std::wstring_view(buffer, length));
}

}  // namespace vh::win32
