#include "ui/win32/dialogs/WarningFRM.h"

#include "ui/FormRules.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

// The designed size, for a short message.
const WarningLayout kDesigned = LayOutWarning({});

void Place(TControl& control, const IntRect& r) {
    control.SetBounds(r.left, r.top, r.Width(), r.Height());
}

}  // namespace

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

void ShowWarning(const std::string& message, const std::string& caption) {
    TfrmWarning& form = CreateForm<TfrmWarning>();
    form.lblCaption.SetCaption(caption);
    form.SetCaption(caption);
    form.SetMessage(message);
    form.ShowModal();
}

bool CheckTimeLimitEdit(TForm& form, TWinControl& edit) {
    const TimeLimitCheck check = CheckTimeLimitText(edit.Text());
    if (check.accepted) return true;
    ShowWarning(check.message, kPleaseNote);
    form.SetActiveControl(&edit);
    return false;
}

}  // namespace vh::win32
