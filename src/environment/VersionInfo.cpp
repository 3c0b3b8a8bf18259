#include "environment/VersionInfo.h"

#include <cstdio>
#include <utility>

#include "common/StringUtils.h"

namespace vh {

namespace {

std::string FileNameWithoutExtension(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace

void TVersionInfo::Load(IVersionResources& versions) {
    Keys.clear();
    const std::unique_ptr<IVersionResource> resource = versions.Load(FileName);
    if (!resource) return;
    const std::optional<IVersionResource::TTranslation> translation = resource->FirstTranslation();
    if (!translation) return;
    char language[16];
    std::snprintf(language, sizeof language, "%04X%04X", translation->Language, translation->CodePage);
    Language = language;

    const std::pair<const char*, std::string TVersionInfo::*> fields[] = {
        {"FileVersion", &TVersionInfo::FileVersion},         {"FileDescription", &TVersionInfo::FileDescription},
        {"LegalCopyright", &TVersionInfo::LegalCopyright},   {"Comments", &TVersionInfo::Comments},
        {"CompanyName", &TVersionInfo::CompanyName},         {"InternalName", &TVersionInfo::InternalName},
        {"LegalTrademarks", &TVersionInfo::LegalTrademarks}, {"OriginalFilename", &TVersionInfo::OriginalFilename},
        {"ProductName", &TVersionInfo::ProductName},         {"ProductVersion", &TVersionInfo::ProductVersion},
    };
    std::vector<std::pair<std::string TVersionInfo::*, std::string>> found;
    for (const auto& [key, field] : fields) {
        const std::optional<std::string> value =
            resource->QueryString("StringFileInfo\\" + Language + "\\" + std::string(key));
        if (!value) continue;
        Keys.push_back(std::string(key) + "=" + *value);
        found.emplace_back(field, *value);
    }
    if (Keys.empty()) return;
    Keys.push_back(versions.LanguageName(translation->Language));
    for (const auto& [field, value] : found) this->*field = value;
}

std::string GetAppCaption(IVersionResources& versions, const std::string& path) {
    TVersionInfo info;
    info.FileName = path;
    info.Load(versions);
    for (const std::string* text : {&info.FileDescription, &info.ProductName, &info.InternalName}) {
        std::string caption = Trim(*text);
        if (!caption.empty()) return caption;
    }
    return FileNameWithoutExtension(path);
}

}  // namespace vh
