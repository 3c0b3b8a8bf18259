#include "ui/win32/main/MainAppearanceMenu.h"
#include "ui/win32/dialogs/WarningFRM.h"

#include "storage/AppearancePreferences.h"
#include "ui/win32/dialogs/TransparencySettingsFRM.h"
#include "ui/win32/skin/ColorBox.h"
#include "ui/win32/skin/PictureChoice.h"
#include "ui/win32/toolkit/PictureFile.h"

namespace vh::win32 {
namespace {

// The skin pictures and "<No Image>": one radio group.
constexpr int kSkinGroup = 1;

TMenuItem& SkinRadioItem(TMenuItem& item) {
    item.RadioItem = true;
    item.AutoCheck = true;
    item.GroupIndex = kSkinGroup;
    return item;
}

}  // namespace

TMainAppearanceMenu::TMainAppearanceMenu(TfrmBase& form, TAppearancePreferences& preferences, TMainDocking& docking,
                                         TPopupMenu& tools, TMenuItem& autohide)
    : miAutohide(autohide),
      miBackground((tools.AddSeparator(), tools.Add("miBackground", "Background"))),
      miBackgroundColor(miBackground.Add("miBackgroundColor", "Color...")),
      miImage(miBackground.Add("miImage", "Image")),
      miBackgroundImage(miImage.Add("miBackgroundImage", "Browse...")),
      miTransparency(miBackground.Add("miTransparency", "Transparency...")),
      miTextColor(tools.Add("miTextColor", "Text Color...")),
      form_(form),
      preferences_(preferences),
      docking_(docking) {
    PickColor = [this](COLORREF initial) { return RunColorDialog(form_.Handle(), initial); };
    PickPicture = [this]() -> std::optional<std::string> {
        TOpenPictureDialog dialog;
        if (!dialog.Execute(form_.Handle())) return std::nullopt;
        return dialog.FileName;
    };
    RunTransparencyDialog = [this] {
        auto& dialog = CreateForm<TfrmTransparencySettings>(
            TTransparencyPreference{[this] { return preferences_.GetTransparency(); },
                                    [this](int percent) { preferences_.SetTransparency(percent); }});
        return dialog.Execute();
    };

    miAutohide.AutoCheck = true;
    miAutohide.OnClick = [this](TMenuItem& item) { docking_.SetAutohide(item.Checked); };
    miBackgroundColor.OnClick = [this](TMenuItem&) { BackgroundColorClick(); };
    miBackgroundImage.OnClick = [this](TMenuItem&) { BackgroundImageClick(); };
    miTransparency.OnClick = [this](TMenuItem&) { TransparencyClick(); };
    miTextColor.OnClick = [this](TMenuItem&) { TextColorClick(); };

    // The skin list is read once, at start-up.
    miImage.AddSeparator();
    for (const TSkin& skin : preferences_.ListSkins()) {
        skins_.emplace_back(skin.Name, skin.Path);
        const std::size_t index = skinItems_.size();
        TMenuItem& item = SkinRadioItem(miImage.Add("miSkin" + std::to_string(index + 1), skin.Name));
        item.OnClick = [this, index](TMenuItem&) { SkinSetClick(index); };
        skinItems_.push_back(&item);
    }
    miClearBackgroundImage_ = &SkinRadioItem(miImage.Add("miClearBackgroundImage", "<No Image>"));
    miClearBackgroundImage_->OnClick = [this](TMenuItem&) { SetBackgroundImage(""); };
    RefreshChecks();
}

void TMainAppearanceMenu::RefreshChecks() {
    miAutohide.Checked = preferences_.GetAutohide();
    skinMenu_ = BuildSkinMenu(skins_, preferences_.GetBackgroundImage());
    for (std::size_t i = 0; i < skinItems_.size(); ++i) skinItems_[i]->Checked = skinMenu_.skins[i].checked;
    miClearBackgroundImage_->Checked = skinMenu_.noImageChecked;
}

void TMainAppearanceMenu::BackgroundChanged() {
    RefreshChecks();
    // Asking for the appearance makes the shared picture follow the preference.
    const TFormAppearance appearance = CurrentAppearance();
    form_.SetColor(appearance.color);
    form_.Invalidate();
}

void TMainAppearanceMenu::BackgroundColorClick() {
    const auto color = PickColor(static_cast<COLORREF>(preferences_.GetBackgroundColor()) & 0xFFFFFFu);
    if (!color) return;
    preferences_.SetBackgroundColor(static_cast<std::int32_t>(*color));
    preferences_.SetBackgroundImage("");
    BackgroundChanged();
}

void TMainAppearanceMenu::BackgroundImageClick() {
    const auto path = PickPicture();
    if (!path) return;
    // A file that is no picture would leave every window plain without a
    // word; say so and keep the background the user had.
    try {
        LoadGraphicFile(*path);
    } catch (const std::exception& e) {
        ShowWarning(std::string("This picture cannot be used as the background.\r\n") + e.what(), kPleaseNote);
        return;
    }
    SetBackgroundImage(*path);
}

void TMainAppearanceMenu::SkinSetClick(std::size_t index) {
    VH_ASSERT(index < skins_.size());
    SetBackgroundImage(skins_[index].second);
}

void TMainAppearanceMenu::SetBackgroundImage(const std::string& path) {
    preferences_.SetBackgroundImage(path);
    BackgroundChanged();
}

void TMainAppearanceMenu::TransparencyClick() {
    if (RunTransparencyDialog()) SetFormTransparency(form_, preferences_.GetTransparency());
}

void TMainAppearanceMenu::TextColorClick() {
    const auto color = PickColor(static_cast<COLORREF>(preferences_.GetTextColor()) & 0xFFFFFFu);
    if (!color) return;
    preferences_.SetTextColor(static_cast<std::int32_t>(*color));
    SetFormTextColor(form_, *color);
}

}  // namespace vh::win32
