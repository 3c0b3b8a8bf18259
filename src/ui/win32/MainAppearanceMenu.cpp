#include "ui/win32/MainAppearanceMenu.h"

#include <commdlg.h>

#include "common/Exceptions.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"
#include "storage/AppearancePreferences.h"
#include "ui/win32/PictureFile.h"
#include "ui/win32/TransparencySettingsFRM.h"

namespace vh::win32 {
namespace {

std::optional<COLORREF> SystemChooseColor(HWND owner, COLORREF initial) {
    static COLORREF custom[16] = {};
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.rgbResult = initial;
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&dialog)) return std::nullopt;
    return dialog.rgbResult;
}

std::optional<std::string> SystemChoosePicture(HWND owner) {
    wchar_t file[MAX_PATH * 4] = {};
    static const wchar_t filter[] =
        L"Pictures (*.png;*.jpg;*.jpeg;*.gif;*.bmp;*.ico)\0*.png;*.jpg;*.jpeg;*.gif;*.bmp;*.ico\0All files\0*.*\0";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = static_cast<DWORD>(std::size(file));
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    return WideToUtf8(file);
}

void Append(HMENU menu, UINT id, const char* caption, bool checked = false, bool radio = false) {
    const std::wstring text = Utf8ToWide(caption);
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE;
    item.fType = radio ? MFT_RADIOCHECK : MFT_STRING;
    item.fState = checked ? MFS_CHECKED : MFS_UNCHECKED;
    item.wID = id;
    item.dwTypeData = const_cast<wchar_t*>(text.c_str());
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &item);
}

}  // namespace

TMainAppearanceMenu::TMainAppearanceMenu(TfrmBase& form, TAppearancePreferences& preferences, TMainDocking& docking)
    : form_(form), preferences_(preferences), docking_(docking) {
    PickColor = [this](COLORREF initial) { return SystemChooseColor(form_.Handle(), initial); };
    PickPicture = [this] { return SystemChoosePicture(form_.Handle()); };
    RunTransparencyDialog = [this] {
        auto& dialog = CreateForm<TfrmTransparencySettings>(
            TTransparencyPreference{[this] { return preferences_.GetTransparency(); },
                                    [this](int percent) { preferences_.SetTransparency(percent); }});
        return dialog.Execute();
    };
}

void TMainAppearanceMenu::ListSkins() {
    skins_.clear();
    for (const TSkin& skin : preferences_.ListSkins()) skins_.emplace_back(skin.Name, skin.Path);
    BuildSkinMenu();
}

void TMainAppearanceMenu::BuildSkinMenu() {
    skinMenu_ = vh::BuildSkinMenu(skins_, preferences_.GetBackgroundImage());
}

void TMainAppearanceMenu::Popup(int screenX, int screenY) {
    UniqueMenu menu(CreatePopupMenu());
    UniqueMenu background(CreatePopupMenu());
    UniqueMenu image(CreatePopupMenu());
    if (!menu || !background || !image) throw Exception("CreatePopupMenu failed");
    Append(image.Get(), cmdBackgroundImage, "Browse...");
    AppendMenuW(image.Get(), MF_SEPARATOR, 0, nullptr);
    for (const SkinMenuEntry& skin : skinMenu_.skins)
        Append(image.Get(), cmdFirstSkin + static_cast<UINT>(skin.tag) - 1, skin.caption.c_str(), skin.checked, true);
    Append(image.Get(), cmdClearBackgroundImage, "<No Image>", skinMenu_.noImageChecked, true);
    Append(menu.Get(), cmdAutohide, "Auto-hide", docking_.Autohide());
    Append(background.Get(), cmdBackgroundColor, "Color...");
    // The sub-menus belong to their parents from here on.
    AppendMenuW(background.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(image.Release()), L"Image");
    Append(background.Get(), cmdTransparency, "Transparency...");
    AppendMenuW(menu.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(background.Release()), L"Background");
    Append(menu.Get(), cmdTextColor, "Text Color...");
    SetForegroundWindow(form_.Handle());
    const auto chosen = static_cast<UINT>(
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY, screenX, screenY, 0, form_.Handle(), nullptr));
    PostMessageW(form_.Handle(), WM_NULL, 0, 0);
    if (chosen != 0) Run(chosen);
}

void TMainAppearanceMenu::BackgroundChanged() {
    BuildSkinMenu();
    // Asking for the appearance makes the shared picture follow the preference.
    const TFormAppearance appearance = CurrentAppearance();
    form_.SetColor(appearance.color);
    form_.Invalidate();
}

void TMainAppearanceMenu::Run(UINT command) {
    switch (command) {
        case cmdBackgroundColor: {
            const auto color = PickColor(static_cast<COLORREF>(preferences_.GetBackgroundColor()) & 0xFFFFFFu);
            if (!color) return;
            preferences_.SetBackgroundColor(static_cast<std::int32_t>(*color));
            preferences_.SetBackgroundImage("");
            BackgroundChanged();
            return;
        }
        case cmdBackgroundImage: {
            const auto path = PickPicture();
            if (!path) return;
            // A file that is no picture would leave every window plain without
            // a word; say so and keep the background the user had.
            try {
                LoadGraphicFile(*path);
            } catch (const std::exception& e) {
                ShowWarning(std::string("This picture cannot be used as the background.\r\n") + e.what(), kPleaseNote);
                return;
            }
            preferences_.SetBackgroundImage(*path);
            BackgroundChanged();
            return;
        }
        case cmdClearBackgroundImage:
            preferences_.SetBackgroundImage("");
            BackgroundChanged();
            return;
        case cmdTransparency:
            if (RunTransparencyDialog()) SetFormTransparency(form_, preferences_.GetTransparency());
            return;
        case cmdTextColor: {
            const auto color = PickColor(static_cast<COLORREF>(preferences_.GetTextColor()) & 0xFFFFFFu);
            if (!color) return;
            preferences_.SetTextColor(static_cast<std::int32_t>(*color));
            SetFormTextColor(form_, *color);
            return;
        }
        case cmdAutohide: docking_.SetAutohide(!docking_.Autohide()); return;
        default: break;
    }
    const std::size_t index = command - cmdFirstSkin;
    VH_ASSERT(command >= cmdFirstSkin && index < skinMenu_.skins.size());
    preferences_.SetBackgroundImage(skinMenu_.skins[index].path);
    BackgroundChanged();
}

}  // namespace vh::win32
