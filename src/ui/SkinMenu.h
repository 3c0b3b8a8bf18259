#pragma once
// The background picture's items of the tools menu: one radio item per skin
// picture, checked when it is the background, and "<No Image>" checked when
// there is none.

#include <string>
#include <vector>

namespace vh {

struct SkinMenuEntry {
    std::string caption;
    std::string path;
    int tag = 0;  // 1-based place in the skin list; 0 marks the menu's fixed items
    bool checked = false;
};

struct SkinMenu {
    std::vector<SkinMenuEntry> skins;
    bool noImageChecked = false;
};

// `skins` are the (name, full path) pairs of the skin list in its order.
SkinMenu BuildSkinMenu(const std::vector<std::pair<std::string, std::string>>& skins, const std::string& imagePath);

}  // namespace vh
