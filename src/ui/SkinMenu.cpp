#include "ui/SkinMenu.h"

namespace vh {

SkinMenu BuildSkinMenu(const std::vector<std::pair<std::string, std::string>>& skins, const std::string& imagePath) {
    SkinMenu menu;
    int tag = 0;
    for (const auto& [name, path] : skins) menu.skins.push_back({name, path, ++tag, path == imagePath});
    menu.noImageChecked = imagePath.empty();
    return menu;
}

}  // namespace vh
