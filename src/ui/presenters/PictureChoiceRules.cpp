#include "ui/presenters/PictureChoiceRules.h"

#include "common/StringUtils.h"

namespace vh {

std::vector<std::string> ImageChoiceItems(const std::vector<TSkin>& skins) {
    std::vector<std::string> items{kCustomImageItem};
    for (const TSkin& skin : skins) items.push_back(skin.Name);
    items.emplace_back(kNoImageItem);
    return items;
}

int ImageChoiceIndex(const std::vector<TSkin>& skins, const std::string& path, bool fileExists) {
    for (std::size_t i = 0; i < skins.size(); ++i)
        if (skins[i].Path == path) return static_cast<int>(i) + 1;
    if (fileExists) return 0;
    return static_cast<int>(skins.size()) + 1;
}

int SkinChoiceIndexOfPath(const std::vector<TSkin>& skins, const std::string& path) {
    for (std::size_t i = 0; i < skins.size(); ++i)
        if (SameTextAscii(skins[i].Path, path)) return static_cast<int>(i) + 1;
    return -1;
}

}  // namespace vh
