#include "platform/win32/Registry.h"

#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {

namespace {

REGSAM ViewFlag(TRegistryView view) {
    return view == TRegistryView::Wow32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

// A closed key when it cannot be opened for reading.
UniqueRegistryKey OpenKey(HKEY parent, const std::string& key, TRegistryView view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(parent, Utf8ToWide(key).c_str(), 0, KEY_READ | ViewFlag(view), &opened) != ERROR_SUCCESS)
        return UniqueRegistryKey();
    return UniqueRegistryKey(opened);
}

// A string value's data as UTF-8, without the terminating zeros it may carry.
std::string StringData(const std::vector<BYTE>& data, DWORD size) {
    std::wstring_view text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    return WideToUtf8(text);
}

}  // namespace

std::optional<std::vector<std::string>> Registry::SubkeyNames(TRegistryView view, const std::string& key) {
    const UniqueRegistryKey opened = OpenKey(HKEY_LOCAL_MACHINE, key, view);
    if (!opened) return std::nullopt;
    std::vector<std::string> names;
    wchar_t name[256];  // the longest key name the registry allows, with its zero
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        const LSTATUS status = RegEnumKeyExW(opened.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status == ERROR_SUCCESS) names.push_back(WideToUtf8(std::wstring_view(name, length)));
    }
    return names;
}

std::optional<std::vector<TRegistryValue>> Registry::Values(TRegistryView view, const std::string& key) {
    const UniqueRegistryKey opened = OpenKey(HKEY_LOCAL_MACHINE, key, view);
    if (!opened) return std::nullopt;
    DWORD longestName = 0;
    DWORD longestData = 0;
    if (RegQueryInfoKeyW(opened.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<TRegistryValue> values;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(longestData + sizeof(wchar_t));
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        const LSTATUS status =
            RegEnumValueW(opened.Get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) continue;  // changed meanwhile: a value too long is left out
        TRegistryValue value;
        value.Name = WideToUtf8(std::wstring_view(name.data(), nameLength));
        value.Kind = type == REG_SZ          ? TRegistryValueKind::String
                     : type == REG_EXPAND_SZ ? TRegistryValueKind::ExpandString
                                             : TRegistryValueKind::Other;
        if (value.Kind != TRegistryValueKind::Other) value.Text = StringData(data, size);
        values.push_back(std::move(value));
    }
    return values;
}

TRegistryRead Registry::ReadString(const std::string& computer, TRegistryRoot root, const std::string& key,
                                   const std::string& valueName, TRegistryView view) {
    TRegistryRead read;
    const std::wstring machine = Utf8ToWide(computer);
    const HKEY predefined = root == TRegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY connectedRoot = nullptr;
    if (RegConnectRegistryW(machine.empty() ? nullptr : machine.c_str(), predefined, &connectedRoot) != ERROR_SUCCESS) {
        read.Outcome = TRegistryRead::TOutcome::NoRegistry;
        return read;
    }
    const UniqueRegistryKey connected(connectedRoot);  // a connected root must be closed
    const UniqueRegistryKey opened = OpenKey(connected.Get(), key, view);
    if (!opened) {
        read.Outcome = TRegistryRead::TOutcome::NoKey;
        return read;
    }
    const std::wstring wideName = Utf8ToWide(valueName);
    DWORD size = 0;
    DWORD type = 0;
    if (RegQueryValueExW(opened.Get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return read;  // a missing value reads as empty
    std::vector<BYTE> data(size + sizeof(wchar_t));
    if (RegQueryValueExW(opened.Get(), wideName.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS)
        read.Text = StringData(data, size);
    return read;
}

}  // namespace vh::win32
