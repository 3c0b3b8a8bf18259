#include "ui/win32/main/MainAppearanceMenu.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "UiTestSupport.h"
#include "app/win32/AppearanceConnection.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "storage/AppearancePreferences.h"
#include "ui/win32/dialogs/WarningFRM.h"

namespace vh::win32 {
namespace {

using AppearanceMenu = testing::UiTest;

// A PNG of 2 x 1 pixels: enough for the background picture to load.
std::string TinyPng() {
    static const unsigned char bytes[] = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
        0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xf4, 0x22, 0x7f, 0x8a, 0x00, 0x00, 0x00,
        0x0e, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0x00, 0x42, 0x0d, 0x00, 0x0f, 0x7a, 0x03,
        0x7e, 0x77, 0xe9, 0x7f, 0x97, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof(bytes));
}

std::vector<std::string> Captions(const TMenuItem& parent) {
    std::vector<std::string> captions;
    for (const auto& item : parent.Items()) captions.push_back(item->Caption);
    return captions;
}

std::vector<std::string> Captions(const TPopupMenu& menu) {
    std::vector<std::string> captions;
    for (const auto& item : menu.Items()) captions.push_back(item->Caption);
    return captions;
}

TEST_F(AppearanceMenu, EachItemStoresItsPreferenceAndUpdatesTheWindow) {
    vh::testing::FakeEnvironmentPlatform platform;
    TEnvironment environment{platform};
    TAppearancePreferences preferences{environment};
    const std::string skins = environment.ProgramFolder() + "Skins\\";
    platform.PutFile(skins + "Coast\\Coast Night.png", TinyPng());
    platform.PutFile(skins + "Mountains\\Alpine Dawn.png", TinyPng());
    ConnectAppearancePreferences(preferences);

    auto& form = CreateForm<TfrmBase>("Vornhalt", 242, 400);
    TMainDocking docking(form, preferences);
    TPopupMenu& tools = form.AddPopupMenu("pmnAddons");
    TMenuItem& autohide = tools.Add("miAutohide", "Auto-hide");
    tools.Add("miHelp", "Help");
    TMainAppearanceMenu menu(form, preferences, docking, tools, autohide);
    std::optional<COLORREF> colorAnswer;
    menu.PickColor = [&](COLORREF) { return colorAnswer; };

    // After the menu's own items: "Background" (its colour, the pictures and
    // the transparency), then "Text Color...".
    EXPECT_EQ(Captions(tools), (std::vector<std::string>{"Auto-hide", "Help", "-", "Background", "Text Color..."}));
    EXPECT_EQ(Captions(menu.miBackground), (std::vector<std::string>{"Color...", "Image", "Transparency..."}));
    EXPECT_EQ(Captions(menu.miImage),
              (std::vector<std::string>{"Browse...", "-", "Alpine Dawn", "Coast Night", "<No Image>"}));
    ASSERT_EQ(menu.Skins().skins.size(), 2u);
    ASSERT_EQ(menu.SkinItems().size(), 2u);
    EXPECT_TRUE(menu.ClearBackgroundImageItem().Checked);
    EXPECT_EQ(menu.Skins().skins[0].caption, "Alpine Dawn");
    EXPECT_TRUE(menu.Skins().noImageChecked);

    // A skin becomes the background; the window's shared picture follows.
    menu.SkinItems()[1]->Click();
    EXPECT_EQ(preferences.GetBackgroundImage(), skins + "Coast\\Coast Night.png");
    EXPECT_TRUE(menu.SkinItems()[1]->Checked);
    EXPECT_FALSE(menu.ClearBackgroundImageItem().Checked);
    // Clicking the checked skin again keeps it checked and the background.
    menu.SkinItems()[1]->Click();
    EXPECT_TRUE(menu.SkinItems()[1]->Checked);
    EXPECT_EQ(preferences.GetBackgroundImage(), skins + "Coast\\Coast Night.png");
    EXPECT_FALSE(menu.Skins().noImageChecked);
    ASSERT_NE(CurrentAppearance().backgroundPicture, nullptr);
    EXPECT_EQ(CurrentAppearance().backgroundPicture->Size(), (IntSize{2, 1}));

    // Cancelling the colour dialog changes nothing; a colour removes the picture.
    menu.miBackgroundColor.Click();
    EXPECT_FALSE(preferences.GetBackgroundImage().empty());
    colorAnswer = RGB(0x80, 0x50, 0x20);
    menu.miBackgroundColor.Click();
    EXPECT_EQ(preferences.GetBackgroundColor(), static_cast<std::int32_t>(RGB(0x80, 0x50, 0x20)));
    EXPECT_EQ(preferences.GetBackgroundImage(), "");
    EXPECT_EQ(form.Color(), RGB(0x80, 0x50, 0x20));
    EXPECT_TRUE(menu.ClearBackgroundImageItem().Checked);
    EXPECT_FALSE(menu.SkinItems()[1]->Checked);
    EXPECT_TRUE(CurrentAppearance().backgroundPicture->Empty());

    // A browsed file that is no picture is refused with a word, the
    // background kept; a real picture is taken.
    menu.SkinItems()[0]->Click();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vh-appearance-menu-test";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "broken.png", std::ios::binary) << "not a picture";
    std::ofstream(folder / "good.png", std::ios::binary) << TinyPng();
    std::string pick = (folder / "broken.png").string();
    menu.PickPicture = [&] { return std::optional<std::string>(pick); };
    std::string warning;
    testing::WhenModal([&](TForm& modal) {
        warning = dynamic_cast<TfrmWarning&>(modal).lblWarning.Caption();
        modal.SetModalResult(mrOk);
    });
    menu.miBackgroundImage.Click();
    EXPECT_NE(warning.find("cannot be used"), std::string::npos) << warning;
    EXPECT_EQ(preferences.GetBackgroundImage(), skins + "Mountains\\Alpine Dawn.png");
    pick = (folder / "good.png").string();
    menu.miBackgroundImage.Click();
    EXPECT_EQ(preferences.GetBackgroundImage(), pick);
    std::filesystem::remove_all(folder);

    menu.ClearBackgroundImageItem().Click();
    EXPECT_EQ(preferences.GetBackgroundImage(), "");

    colorAnswer = RGB(255, 255, 0);
    menu.miTextColor.Click();
    EXPECT_EQ(preferences.GetTextColor(), static_cast<std::int32_t>(RGB(255, 255, 0)));
    EXPECT_EQ(form.lblCaption.Font().color, RGB(255, 255, 0));

    menu.RunTransparencyDialog = [&] {
        preferences.SetTransparency(40);
        return true;
    };
    menu.miTransparency.Click();
    EXPECT_EQ(form.AlphaBlendValue(), 153);
    menu.RunTransparencyDialog = [&] {
        preferences.SetTransparency(90);
        return false;  // Cancel: the window keeps its alpha
    };
    menu.miTransparency.Click();
    EXPECT_EQ(form.AlphaBlendValue(), 153);

    EXPECT_FALSE(docking.Autohide());
    EXPECT_FALSE(autohide.Checked);
    autohide.Click();
    EXPECT_TRUE(autohide.Checked);
    EXPECT_TRUE(docking.Autohide());
    EXPECT_TRUE(preferences.GetAutohide());
    autohide.Click();
    EXPECT_FALSE(autohide.Checked);
    EXPECT_FALSE(preferences.GetAutohide());

    FreeForm(&form);
}

// While the menu is open: the keys that open its "Background" and "Image"
// sub-menus, one per timer tick, then the picture of every open menu window
// for a person to look at, then it closes.
std::vector<UINT> gMenuKeys;
std::size_t gMenuKey = 0;
int gOpenMenus = 0;

BOOL CALLBACK UniteMenuWindows(HWND window, LPARAM unionRect) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) != L"#32768" || !IsWindowVisible(window)) return TRUE;
    RECT rect{};
    GetWindowRect(window, &rect);
    auto& all = *reinterpret_cast<RECT*>(unionRect);
    UnionRect(&all, &all, &rect);
    ++gOpenMenus;
    return TRUE;
}

void CALLBACK StepOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
    const HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && gMenuKey < gMenuKeys.size()) {
        PostMessageW(menu, WM_KEYDOWN, gMenuKeys[gMenuKey++], 0);
        return;
    }
    KillTimer(nullptr, id);
    RECT all{};
    gOpenMenus = 0;
    EnumWindows(UniteMenuWindows, reinterpret_cast<LPARAM>(&all));
    if (gOpenMenus > 0) {
        TBitmap32 shot;
        testing::CaptureScreenRect(all, shot);
        testing::SaveScreenshot(shot, "MainAppearanceMenu");
    }
    EndMenu();
}

TEST_F(AppearanceMenu, PopsUpAndClosesWithoutRunningAnything) {
    vh::testing::FakeEnvironmentPlatform platform;
    TEnvironment environment{platform};
    TAppearancePreferences preferences{environment};
    auto& form = CreateForm<TfrmBase>("Vornhalt", 242, 400);
    form.Show();
    TMainDocking docking(form, preferences);
    const std::string skins = environment.ProgramFolder() + "Skins\\";
    for (const char* name : {"Coast\\Coast Morning.png", "Coast\\Coast Night.png", "Mountains\\Alpine Dawn.png"})
        platform.PutFile(skins + name, TinyPng());
    preferences.SetBackgroundImage(skins + "Coast\\Coast Night.png");
    TPopupMenu& tools = form.AddPopupMenu("pmnAddons");
    TMenuItem& autohide = tools.Add("miAutohide", "Auto-hide");
    tools.Add("miHelp", "Help");
    TMainAppearanceMenu menu(form, preferences, docking, tools, autohide);
    bool asked = false;
    menu.PickColor = [&](COLORREF) {
        asked = true;
        return std::optional<COLORREF>();
    };
    // From the last item up to "Background", its sub-menu, "Image", its sub-menu.
    gMenuKeys = {VK_UP, VK_UP, VK_RIGHT, VK_DOWN, VK_RIGHT};
    gMenuKey = 0;
    gOpenMenus = 0;
    SetTimer(nullptr, 0, 300, StepOpenMenu);
    tools.Popup(form.Handle(), form.WindowRect().left + 20, form.WindowRect().top + 20);
    EXPECT_EQ(gOpenMenus, 3) << "the menu and its two sub-menus";
    EXPECT_FALSE(asked);
    FreeForm(&form);
}

}  // namespace
}  // namespace vh::win32
