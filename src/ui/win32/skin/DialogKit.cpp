#include "ui/win32/skin/DialogKit.h"

#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

constexpr int kButtonHeight = 32;

}  // namespace

TFontStyle WhiteFont(bool bold) {
    TFontStyle font;
    font.color = RGB(255, 255, 255);
    font.bold = bold;
    return font;
}

void SkinDialogButton(TImageButton& button, const std::string& name, const std::string& caption, int left, int top,
                      int width) {
    const TSkinSet& skins = Skins();
    button.Name = name;
    button.SetCaption(caption);
    button.SetBounds(left, top, width, kButtonHeight);
    button.SetBackground(skins.button);
    button.SetBackgroundSelected(skins.buttonSelected);
    button.SetBackgroundDowned(skins.buttonDowned);
    button.SetSideWidth(kButtonSide);
    button.SetSideHeight(kButtonSide);
}

void PlacePageLabel(TTabSheet& page, TLabel& label, const std::string& name, const std::string& caption, int left,
                    int top, int width, int height, bool bold) {
    label.Name = name;
    label.SetFont(WhiteFont(bold));
    label.SetCaption(caption);
    label.WordWrap = height > kOneLineLabelHeight;
    page.Insert(label, left, top, width, height);
}

void SkinPanel(TImagePanel& panel, const std::string& name, const TPicture& skin, int side) {
    panel.Name = name;
    panel.SetBackground(skin);
    panel.SetSideWidth(side);
    panel.SetSideHeight(side);
}

void SkinComboButton(TImageButton& button, const std::string& name) {
    const TSkinSet& skins = Skins();
    button.Name = name;
    button.SetBackground(skins.comboButton);
    button.SetBackgroundSelected(skins.comboButtonSelected);
    button.SetBackgroundDowned(skins.comboButtonDowned);
    button.SetSideWidth(5);
    button.SetSideHeight(5);
}

void BindHiddenShortcuts(std::initializer_list<TMenuItem*> items, const std::function<void()>& action) {
    for (TMenuItem* item : items) {
        item->Visible = false;
        item->OnClick = [action](TMenuItem&) { action(); };
    }
}

}  // namespace vh::win32
