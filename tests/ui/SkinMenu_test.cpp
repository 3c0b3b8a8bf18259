#include "ui/SkinMenu.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

const std::vector<std::pair<std::string, std::string>> kSkins = {
    {"Alpine Dawn", "C:\\V\\Skins\\Mountains\\Alpine Dawn.png"},
    {"Coast Night", "C:\\V\\Skins\\Coast\\Coast Night.png"},
};

TEST(SkinMenu, TheBackgroundInUseIsCheckedAndNoImageOnlyWithoutOne) {
    struct Case {
        std::string image;
        std::vector<bool> checked;
        bool noImage;
    };
    const Case cases[] = {
        {"", {false, false}, true},
        {"C:\\V\\Skins\\Coast\\Coast Night.png", {false, true}, false},
        {"D:\\Pictures\\own.jpg", {false, false}, false},  // browsed: no skin, yet not "<No Image>"
    };
    for (const Case& c : cases) {
        const SkinMenu menu = BuildSkinMenu(kSkins, c.image);
        ASSERT_EQ(menu.skins.size(), 2u);
        for (std::size_t i = 0; i < menu.skins.size(); ++i) {
            EXPECT_EQ(menu.skins[i].checked, c.checked[i]) << c.image << " item " << i;
            EXPECT_EQ(menu.skins[i].tag, static_cast<int>(i) + 1);
            EXPECT_EQ(menu.skins[i].caption, kSkins[i].first);
            EXPECT_EQ(menu.skins[i].path, kSkins[i].second);
        }
        EXPECT_EQ(menu.noImageChecked, c.noImage) << c.image;
    }
}

}  // namespace
}  // namespace vh
