#pragma once
// The appearance items of the main window's tools menu: "Auto-hide", and
// after the menu's other items "Background" with "Color...", "Image"
// ("Browse...", the skin pictures, "<No Image>") and "Transparency...",
// then "Text Color...".

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/SkinMenu.h"
#include "ui/win32/main/MainDocking.h"
#include "ui/win32/skin/BaseFRM.h"

namespace vh {
class TAppearancePreferences;
}

namespace vh::win32 {

class TMainAppearanceMenu {
public:
    // Lists the skin pictures and appends the appearance items to `tools`;
    // `autohide` is the menu's own "Auto-hide" item. All must outlive the
    // object.
    TMainAppearanceMenu(TfrmBase& form, TAppearancePreferences& preferences, TMainDocking& docking, TPopupMenu& tools,
                        TMenuItem& autohide);
    TMainAppearanceMenu(const TMainAppearanceMenu&) = delete;
    TMainAppearanceMenu& operator=(const TMainAppearanceMenu&) = delete;

    TMenuItem& miAutohide;
    TMenuItem& miBackground;
    TMenuItem& miBackgroundColor;
    TMenuItem& miImage;
    TMenuItem& miBackgroundImage;
    TMenuItem& miTransparency;
    TMenuItem& miTextColor;
    TMenuItem& ClearBackgroundImageItem() noexcept { return *miClearBackgroundImage_; }
    // One per skin picture, in the skin list's order.
    const std::vector<TMenuItem*>& SkinItems() const noexcept { return skinItems_; }

    // The system's dialogs; tests answer in their place. Empty for Cancel.
    std::function<std::optional<COLORREF>(COLORREF initial)> PickColor;
    std::function<std::optional<std::string>()> PickPicture;
    // The transparency dialog; true for OK.
    std::function<bool()> RunTransparencyDialog;

    const SkinMenu& Skins() const noexcept { return skinMenu_; }
    // The check marks follow the preferences (at start-up, after a change).
    void RefreshChecks();

private:
    void BackgroundColorClick();
    void BackgroundImageClick();
    void SkinSetClick(std::size_t index);
    void SetBackgroundImage(const std::string& path);
    void TransparencyClick();
    void TextColorClick();
    void BackgroundChanged();

    TfrmBase& form_;
    TAppearancePreferences& preferences_;
    TMainDocking& docking_;
    std::vector<std::pair<std::string, std::string>> skins_;
    SkinMenu skinMenu_;
    std::vector<TMenuItem*> skinItems_;
    TMenuItem* miClearBackgroundImage_ = nullptr;
};

}  // namespace vh::win32
