#include "ui/win32/WarningFRM.h"

#include "ui/FormRules.h"
#include "ui/win32/Skins.h"

namespace vh::win32 {
namespace {

constexpr int kButtonHeight = 32;
// The designed size, for a short message.
const WarningLayout kDesigned = LayOutWarning({});

void Place(TControl& control, const IntRect& r) {
    control.SetBounds(r.left, r.top, r.Width(), r.Height());
}

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

TfrmWarning::TfrmWarning()
    : TfrmBase("Please Note", kDesigned.client.width, kDesigned.client.height),
      lblWarning(Add<TLabel>()),
      btnOk(Add<TImageButton>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miOk(pmnButtons.Add("miOk", "OK", VK_RETURN)),
      miCancel(pmnButtons.Add("miCancel", "Cancel", VK_ESCAPE)) {
    lblWarning.Name = "lblWarning";
    Place(lblWarning, kDesigned.message);
    lblWarning.Alignment = TLabel::TAlignment::taCenter;
    lblWarning.WordWrap = true;
    lblWarning.SetFont(WhiteFont());
    lblWarning.BreakLongWords = true;
    lblWarning.SetCaption("Warning Text");

    SkinDialogButton(btnOk, "btnOk", "OK", kDesigned.ok.left, kDesigned.ok.top, kDesigned.ok.Width());
    btnOk.OnClick = [this](TControl&) { CommonOkClick(); };
    BindHiddenShortcuts({&miOk, &miCancel}, [this] { CommonOkClick(); });
}

void TfrmWarning::CommonOkClick() {
    SetModalResult(mrOk);
}

void TfrmWarning::SetMessage(const std::string& message) {
    lblWarning.SetCaption(message);
    const int width = WarningMessageWidth(lblWarning.DesignedCaptionSize(0).width);
    const WarningLayout layout = LayOutWarning({width, lblWarning.DesignedCaptionSize(width).height});
    Place(lblWarning, layout.message);
    Place(btnOk, layout.ok);
    SetClientSize(layout.client.width, layout.client.height);
    CenterOnScreen();
}

}  // namespace vh::win32
