#include "ui/presenters/PictureChoiceRules.h"

#include <gtest/gtest.h>

namespace vh {
namespace {

TEST(PictureChoiceRules, PicksTheSkinCustomOrNoImage) {
    const std::vector<TSkin> skins{{"Hills", "C:\\vh\\Skins\\Hills.jpg"}, {"Sea", "C:\\vh\\Skins\\b\\Sea.png"}};
    EXPECT_EQ(ImageChoiceItems(skins), (std::vector<std::string>{"Custom...", "Hills", "Sea", "<No Image>"}));
    EXPECT_EQ(ImageChoiceIndex(skins, "C:\\vh\\Skins\\b\\Sea.png", true), 2);
    // The stored path must match exactly to count as the skin.
    EXPECT_EQ(ImageChoiceIndex(skins, "c:\\vh\\skins\\b\\sea.png", true), 0);
    EXPECT_EQ(ImageChoiceIndex(skins, "C:\\mine\\cat.png", true), 0);
    EXPECT_EQ(ImageChoiceIndex(skins, "C:\\mine\\deleted.png", false), 3);
    EXPECT_EQ(ImageChoiceIndex(skins, "", false), 3);
    // A browsed file that is a skin selects that skin.
    EXPECT_EQ(SkinChoiceIndexOfPath(skins, "c:\\VH\\skins\\HILLS.JPG"), 1);
    EXPECT_EQ(SkinChoiceIndexOfPath(skins, "C:\\mine\\cat.png"), -1);
}

}  // namespace
}  // namespace vh
