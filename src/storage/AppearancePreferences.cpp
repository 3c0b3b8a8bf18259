#include "storage/AppearancePreferences.h"

#include <algorithm>
#include <memory>

#include "common/StringUtils.h"
#include "environment/Trace.h"

namespace vh {

namespace {

constexpr const char* kPosition = "Position";
constexpr const char* kBackground = "Background";
constexpr const char* kHistory = "History";

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ".png" for "a.b\\c.png"; empty when the name has no extension.
std::string ExtensionOf(const std::string& fileName) {
    const size_t dot = fileName.find_last_of('.');
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

bool TextLess(const std::string& a, const std::string& b) {
    return CompareTextAscii(a, b) < 0;
}

}  // namespace

TAppearancePreferences::TAppearancePreferences(TEnvironment& environment) : environment_(environment) {}

bool TAppearancePreferences::GetAutohide() {
    autohide_ = environment_.GetIniFile().ReadBool(kPosition, "Autohide", false);
    return autohide_;
}

void TAppearancePreferences::SetAutohide(bool value) {
    environment_.GetIniFile().WriteBool(kPosition, "Autohide", value);
    autohide_ = value;
}

std::uint8_t TAppearancePreferences::ReadByte(const char* key, std::uint8_t defaultValue, std::uint8_t& cache) {
    if (cache == 0)
        cache = static_cast<std::uint8_t>(environment_.GetIniFile().ReadInteger(kPosition, key, defaultValue));
    return cache;
}

void TAppearancePreferences::WriteByte(const char* key, std::uint8_t value, std::uint8_t& cache,
                                       std::uint8_t defaultValue) {
    // Compared with what the file holds, not with an unread cache: otherwise
    // storing 0 over a stored 1 would write nothing and the choice be lost.
    if (value == ReadByte(key, defaultValue, cache)) return;
    environment_.GetIniFile().WriteInteger(kPosition, key, value);
    cache = value;
}

std::uint8_t TAppearancePreferences::GetAlign() {
    return ReadByte("Align", 1, align_);
}
void TAppearancePreferences::SetAlign(std::uint8_t value) {
    WriteByte("Align", value, align_, 1);
}
std::uint8_t TAppearancePreferences::GetAlignVertical() {
    return ReadByte("AlignVertical", 0, alignVertical_);
}
void TAppearancePreferences::SetAlignVertical(std::uint8_t value) {
    WriteByte("AlignVertical", value, alignVertical_, 0);
}

std::int32_t TAppearancePreferences::ReadCachedInteger(const char* key, std::int32_t defaultValue,
                                                       std::int32_t& cache) {
    if (cache == -1) cache = environment_.GetIniFile().ReadInteger(kBackground, key, defaultValue);
    return cache;
}

void TAppearancePreferences::WriteInteger(const char* key, std::int32_t value, std::int32_t& cache) {
    environment_.GetIniFile().WriteInteger(kBackground, key, value);
    cache = value;
}

std::int32_t TAppearancePreferences::GetBackgroundColor() {
    return ReadCachedInteger("Color", 0, color_);
}
void TAppearancePreferences::SetBackgroundColor(std::int32_t value) {
    WriteInteger("Color", value, color_);
}
std::int32_t TAppearancePreferences::GetTextColor() {
    return ReadCachedInteger("TextColor", kDefaultTextColor, textColor_);
}
void TAppearancePreferences::SetTextColor(std::int32_t value) {
    WriteInteger("TextColor", value, textColor_);
}
std::int32_t TAppearancePreferences::GetTransparency() {
    return ReadCachedInteger("Transparency", kDefaultTransparency, transparency_);
}
void TAppearancePreferences::SetTransparency(std::int32_t value) {
    WriteInteger("Transparency", value, transparency_);
}

std::int32_t TAppearancePreferences::GetHistoryRange() {
    return environment_.GetIniFile().ReadInteger(kHistory, "Range", 0);
}
void TAppearancePreferences::SetHistoryRange(std::int32_t value) {
    environment_.GetIniFile().WriteInteger(kHistory, "Range", value);
}

std::string TAppearancePreferences::GetBackgroundImage() {
    if (image_.empty()) image_ = environment_.GetIniFile().ReadString(kBackground, "Image", "");
    return image_;
}

void TAppearancePreferences::SetBackgroundImage(const std::string& path) {
    environment_.GetIniFile().WriteString(kBackground, "Image", path);
    image_ = path;
    LoadBackgroundPicture(path);
}

void TAppearancePreferences::LoadBackgroundPicture(const std::string& path) {
    picture_.emplace();
    if (!environment_.SafeFileExists(path)) return;
    try {
        picture_ = LoadPictureFile(environment_.Platform(), path);
    } catch (const EPictureError& e) {
        // An unreadable picture leaves the windows without a background.
        TraceException(ErrorTraceText(e, "LoadBackgroundPicture"));
    }
}

const TImage32& TAppearancePreferences::GetBackgroundPicture() {
    if (!picture_) LoadBackgroundPicture(GetBackgroundImage());
    return *picture_;
}

std::vector<TSkin> TAppearancePreferences::ListSkins() {
    const std::string folder = environment_.ProgramFolder() + "Skins\\";
    std::vector<std::string> files = environment_.Platform().ListFilesRecursive(folder);
    std::sort(files.begin(), files.end(), TextLess);
    const std::vector<std::string> masks = PictureFileMasks();
    std::vector<TSkin> skins;
    for (const std::string& file : files) {
        const std::string fileName = FileNameOf(file);
        const std::string extension = ExtensionOf(fileName);
        if (extension.empty()) continue;
        const bool picture = std::any_of(masks.begin(), masks.end(),
                                         [&](const std::string& mask) { return SameTextAscii(mask, "*" + extension); });
        if (!picture) continue;
        TSkin skin{fileName.substr(0, fileName.size() - extension.size()), file};
        auto same =
            std::find_if(skins.begin(), skins.end(), [&](const TSkin& s) { return SameTextAscii(s.Name, skin.Name); });
        if (same != skins.end()) {
            *same = std::move(skin);
        } else {
            skins.push_back(std::move(skin));
        }
    }
    std::sort(skins.begin(), skins.end(), [](const TSkin& a, const TSkin& b) { return TextLess(a.Line(), b.Line()); });
    return skins;
}

TAppearancePreferences& AppearancePreferences() {
    static std::unique_ptr<TAppearancePreferences> preferences;
    static unsigned generation = 0;
    if (!preferences || generation != EnvironmentGeneration()) {
        preferences = std::make_unique<TAppearancePreferences>(Environment());
        generation = EnvironmentGeneration();
    }
    return *preferences;
}

const TImage32& GetBackgroundPicture() {
    return AppearancePreferences().GetBackgroundPicture();
}

std::vector<TSkin> ListSkins() {
    return AppearancePreferences().ListSkins();
}

}  // namespace vh
