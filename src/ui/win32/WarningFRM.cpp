#include "ui/win32/WarningFRM.h"

#include "ui/win32/Skins.h"

namespace vh::win32 {
namespace {

constexpr int kButtonHeight = 32;
constexpr int kBottomMargin = 10;
constexpr int kClientWidth = 352;
constexpr int kOkTop = 90;
// The OK button must lie wholly inside the window.
constexpr int kClientHeight = kOkTop + kButtonHeight + kBottomMargin;

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

void BindHiddenShortcuts(std::initializer_list<TMenuItem*> items, const std::function<void()>& action) {
    for (TMenuItem* item : items) {
        item->Visible = false;
        item->OnClick = [action](TMenuItem&) { action(); };
    }
}

TfrmWarning::TfrmWarning()
    : TfrmBase("Please Note", kClientWidth, kClientHeight),
      lblWarning(Add<TLabel>()),
      btnOk(Add<TImageButton>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miOk(pmnButtons.Add("miOk", "OK", VK_RETURN)),
      miCancel(pmnButtons.Add("miCancel", "Cancel", VK_ESCAPE)) {
    lblWarning.Name = "lblWarning";
    lblWarning.SetBounds(10, 45, 339, 38);
    lblWarning.Alignment = TLabel::TAlignment::taCenter;
    lblWarning.WordWrap = true;
    lblWarning.SetFont(WhiteFont());
    lblWarning.SetCaption("Warning Text");

    SkinDialogButton(btnOk, "btnOk", "OK", 138, kOkTop, 85);
    btnOk.OnClick = [this](TControl&) { CommonOkClick(); };
    BindHiddenShortcuts({&miOk, &miCancel}, [this] { CommonOkClick(); });
}

void TfrmWarning::CommonOkClick() {
    SetModalResult(mrOk);
}

}  // namespace vh::win32
