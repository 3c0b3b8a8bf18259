#pragma once
// The appearance items of the main window's tools menu, in its order:
// "Auto-hide", "Background" with "Color...", the "Image" sub-menu
// ("Browse...", the skin pictures, "<No Image>") and "Transparency...",
// then "Text Color...".

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/SkinMenu.h"
#include "ui/win32/BaseFRM.h"
#include "ui/win32/MainDocking.h"

namespace vh {
class TAppearancePreferences;
}

namespace vh::win32 {

class TMainAppearanceMenu {
public:
    enum TCommand : UINT {
        cmdBackgroundColor = 1,
        cmdBackgroundImage,
        cmdClearBackgroundImage,
        cmdTransparency,
        cmdTextColor,
        cmdAutohide,
        cmdFirstSkin = 100,  // + tag - 1
    };

    // All three must outlive the menu.
    TMainAppearanceMenu(TfrmBase& form, TAppearancePreferences& preferences, TMainDocking& docking);

    // The system's dialogs; tests answer in their place. Empty for Cancel.
    std::function<std::optional<COLORREF>(COLORREF initial)> PickColor;
    std::function<std::optional<std::string>()> PickPicture;
    // The transparency dialog; true for OK.
    std::function<bool()> RunTransparencyDialog;

    // Read at start-up; the skin items follow the background in use.
    void ListSkins();
    const SkinMenu& Skins() const noexcept { return skinMenu_; }

    // Shows the items at a screen point and runs the chosen one.
    void Popup(int screenX, int screenY);
    // Runs one item.
    void Run(UINT command);

private:
    void BuildSkinMenu();
    void BackgroundChanged();

    TfrmBase& form_;
    TAppearancePreferences& preferences_;
    TMainDocking& docking_;
    std::vector<std::pair<std::string, std::string>> skins_;
    SkinMenu skinMenu_;
};

}  // namespace vh::win32
