#include "platform/win32/VersionResources.h"

#include <windows.h>

#include <vector>

#include "platform/win32/LongPaths.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {

namespace {

class VersionResource : public IVersionResource {
public:
    explicit VersionResource(std::vector<BYTE> data) : data_(std::move(data)) {}

    std::optional<TTranslation> FirstTranslation() override {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 2 * sizeof(WORD))
            return std::nullopt;
        const WORD* pair = static_cast<const WORD*>(value);
        return TTranslation{pair[0], pair[1]};
    }

    std::optional<std::string> QueryString(const std::string& subBlock) override {
        void* value = nullptr;
        UINT length = 0;  // in characters, the terminating zero included when present
        if (!VerQueryValueW(data_.data(), Utf8ToWide(subBlock).c_str(), &value, &length) || !value) return std::nullopt;
        std::wstring_view text(static_cast<const wchar_t*>(value), length);
        const size_t zero = text.find(L'\0');
        if (zero != std::wstring_view::npos) text = text.substr(0, zero);
        return WideToUtf8(text);
    }

private:
    std::vector<BYTE> data_;
};

}  // namespace

std::unique_ptr<IVersionResource> VersionResources::Load(const std::string& path) {
    const std::wstring file = ExtendedLengthPath(Utf8ToWide(path));
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return nullptr;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return nullptr;
    return std::make_unique<VersionResource>(std::move(data));
}

std::string VersionResources::LanguageName(std::uint16_t language) {
    wchar_t name[256] = {};
    const DWORD length = VerLanguageNameW(language, name, 256);
    return WideToUtf8(std::wstring_view(name, length));
}

}  // namespace vh::win32
