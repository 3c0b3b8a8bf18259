#include "storage/AppearancePreferences.h"

#include <gtest/gtest.h>

#include <png.h>

#include "doubles/FakeEnvironmentPlatform.h"

namespace vh {
namespace {

using testing::FakeEnvironmentPlatform;

// A 2 x 1 PNG with transparency, written with libpng.
std::string SmallPng() {
    const std::uint8_t rgba[] = {255, 0, 0, 255, 0, 0, 255, 128};
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 1;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba, 0, nullptr);
    std::string bytes(size, '\0');
    png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba, 0, nullptr);
    bytes.resize(size);
    return bytes;
}

class AppearancePreferencesTest : public ::testing::Test {
protected:
    std::string Ini() { return *platform.FileText(env.GetIniFile().FileName()); }
    void EditIni(const std::string& text) { platform.PutFile(env.GetIniFile().FileName(), text); }

    FakeEnvironmentPlatform platform;
    TEnvironment env{platform};
    TAppearancePreferences prefs{env};
};

TEST_F(AppearancePreferencesTest, AFreshUserGetsTheDefaultsAndNothingIsWritten) {
    EXPECT_EQ(prefs.GetAlign(), 1);
    EXPECT_FALSE(prefs.GetAutohide());
    EXPECT_EQ(prefs.GetAlignVertical(), 0);
    EXPECT_EQ(prefs.GetTransparency(), 10);
    EXPECT_EQ(prefs.GetTextColor(), 16777215);
    EXPECT_EQ(prefs.GetBackgroundColor(), 0);
    EXPECT_EQ(prefs.GetBackgroundImage(), "");
    EXPECT_TRUE(prefs.GetBackgroundPicture().Empty());
    EXPECT_EQ(platform.writeCount, 0);
}

TEST_F(AppearancePreferencesTest, StoringAlignTwiceWritesOnce) {
    prefs.SetAlign(2);
    prefs.SetAlign(2);
    EXPECT_EQ(platform.writeCount, 1);
    EXPECT_EQ(Ini(), "[Position]\r\nAlign=2\r\n");
    EXPECT_EQ(prefs.GetAlign(), 2);
    EXPECT_EQ(TAppearancePreferences(env).GetAlign(), 2);
}

TEST_F(AppearancePreferencesTest, EachPreferenceKeepsItsOwnCachingRule) {
    EditIni(
        "[Position]\r\nAutohide=0\r\nAlign=2\r\n[Background]\r\nColor=0xFF\r\nTransparency=30\r\nImage=C:\\a.png\r\n");
    EXPECT_EQ(prefs.GetAlign(), 2);
    EXPECT_FALSE(prefs.GetAutohide());
    EXPECT_EQ(prefs.GetAlignVertical(), 0);
    EXPECT_EQ(prefs.GetBackgroundColor(), 255);
    EXPECT_EQ(prefs.GetTransparency(), 30);
    EXPECT_EQ(prefs.GetBackgroundImage(), "C:\\a.png");

    // Edited by hand while the program runs.
    EditIni(
        "[Position]\r\nAutohide=1\r\nAlign=1\r\nAlignVertical=1\r\n[Background]\r\nColor=7\r\nTransparency=50\r\n"
        "Image=C:\\b.png\r\n");
    EXPECT_TRUE(prefs.GetAutohide()) << "read on every call";
    EXPECT_EQ(prefs.GetAlignVertical(), 1) << "0 means not read, so it was read again";
    EXPECT_EQ(prefs.GetAlign(), 2);
    EXPECT_EQ(prefs.GetBackgroundColor(), 255);
    EXPECT_EQ(prefs.GetTransparency(), 30);
    EXPECT_EQ(prefs.GetBackgroundImage(), "C:\\a.png");
    EditIni("[Position]\r\nAlignVertical=2\r\n");
    EXPECT_EQ(prefs.GetAlignVertical(), 1) << "a value other than 0 stays cached";
}

TEST_F(AppearancePreferencesTest, SettersWriteAndColourSettersWriteEvenAnEqualValue) {
    prefs.SetAutohide(true);
    prefs.SetBackgroundColor(0);
    prefs.SetBackgroundColor(0);
    prefs.SetTextColor(-16777201);
    prefs.SetTransparency(25);
    EXPECT_EQ(platform.writeCount, 5);
    TAppearancePreferences other(env);
    EXPECT_TRUE(other.GetAutohide());
    EXPECT_EQ(other.GetBackgroundColor(), 0);
    EXPECT_EQ(other.GetTextColor(), -16777201);
    EXPECT_EQ(other.GetTransparency(), 25);
}

TEST_F(AppearancePreferencesTest, StoringTopOverAStoredBottomIsNotLost) {
    EditIni("[Position]\r\nAlignVertical=1\r\n");
    prefs.SetAlignVertical(0);
    EXPECT_EQ(TAppearancePreferences(env).GetAlignVertical(), 0);
    EXPECT_EQ(prefs.GetAlignVertical(), 0);
}

TEST_F(AppearancePreferencesTest, AFailedWriteIsReportedAndRetriedNextTime) {
    platform.failReplace = true;
    EXPECT_THROW(prefs.SetAlign(2), EIniFileError);
    EXPECT_THROW(prefs.SetTransparency(40), EIniFileError);
    EXPECT_THROW(prefs.SetBackgroundImage("C:\\x.png"), EIniFileError);
    EXPECT_EQ(prefs.GetAlign(), 1);
    EXPECT_EQ(prefs.GetTransparency(), 10);
    EXPECT_EQ(prefs.GetBackgroundImage(), "");
    platform.failReplace = false;
    prefs.SetAlign(2);
    EXPECT_EQ(TAppearancePreferences(env).GetAlign(), 2) << "the retry was written";
    EXPECT_THROW(prefs.SetBackgroundImage("C:\\x.png\r\n[Position]"), EIniFileError);
    EXPECT_EQ(prefs.GetBackgroundImage(), "");
}

TEST_F(AppearancePreferencesTest, TheImageSetterReloadsTheSharedPicture) {
    platform.PutFile("C:\\pics\\sky.png", SmallPng());
    platform.PutFile("C:\\pics\\broken.png", "\x89PNG\r\n\x1a\nnot really");
    const TImage32& picture = prefs.GetBackgroundPicture();
    EXPECT_TRUE(picture.Empty());

    prefs.SetBackgroundImage("C:\\pics\\sky.png");
    EXPECT_EQ(&prefs.GetBackgroundPicture(), &picture) << "one shared picture";
    ASSERT_EQ(picture.Width, 2);
    EXPECT_TRUE(picture.HasAlpha);
    EXPECT_EQ(picture.Pixel(1, 0), 0x800000FFu);

    prefs.SetBackgroundImage("C:\\pics\\gone.png");
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(TAppearancePreferences(env).GetBackgroundImage(), "C:\\pics\\gone.png") << "the path stays in the file";

    prefs.SetBackgroundImage("C:\\pics\\broken.png");
    EXPECT_TRUE(picture.Empty());

    TAppearancePreferences restarted(env);
    restarted.SetBackgroundImage("C:\\pics\\sky.png");
    TAppearancePreferences next(env);
    EXPECT_EQ(next.GetBackgroundPicture().Width, 2) << "the first request loads the stored path";
}

TEST_F(AppearancePreferencesTest, SkinsAreFoundBelowTheSkinsFolderOnePerName) {
    const std::string skins = env.ProgramFolder() + "Skins\\";
    for (const char* file : {"z\\green.gif", "a\\Blue.jpg", "b\\deep\\blue.BMP", "Green.PNG", "readme.txt",
                             "NoExtension", "icons\\App.ico", "anim.gif", "photo.jpeg", "c\\Blue.txt"}) {
        platform.PutFile(skins + file, "x");
    }
    platform.PutFile(env.ProgramFolder() + "Outside.png", "x");
    const std::vector<TSkin> found = prefs.ListSkins();
    std::vector<std::string> lines;
    for (const TSkin& skin : found) lines.push_back(skin.Line());
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "anim=" + skins + "anim.gif",
                         "App=" + skins + "icons\\App.ico",
                         "blue=" + skins + "b\\deep\\blue.BMP",
                         "green=" + skins + "z\\green.gif",
                         "photo=" + skins + "photo.jpeg",
                     }));
}

TEST_F(AppearancePreferencesTest, NoSkinsFolderGivesAnEmptyList) {
    EXPECT_TRUE(prefs.ListSkins().empty());
}

TEST(ProgramAppearancePreferences, FollowTheInstalledEnvironment) {
    auto first = std::make_unique<FakeEnvironmentPlatform>();
    FakeEnvironmentPlatform& firstPlatform = *first;
    InstallEnvironment(std::move(first));
    AppearancePreferences().SetAlign(2);
    EXPECT_EQ(AppearancePreferences().GetAlign(), 2);
    EXPECT_EQ(firstPlatform.writeCount, 1);
    EXPECT_TRUE(GetBackgroundPicture().Empty());
    EXPECT_TRUE(ListSkins().empty());

    InstallEnvironment(std::make_unique<FakeEnvironmentPlatform>());
    EXPECT_EQ(AppearancePreferences().GetAlign(), 1) << "a new environment, new caches";
    UninstallEnvironment();
    EXPECT_THROW(AppearancePreferences(), EAssertionFailed);
}

}  // namespace
}  // namespace vh
