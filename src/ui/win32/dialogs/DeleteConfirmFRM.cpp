#include "ui/win32/dialogs/DeleteConfirmFRM.h"

#include "ui/MainViewRules.h"
#include "ui/win32/dialogs/WarningFRM.h"

namespace vh::win32 {
namespace {

constexpr int kClientWidth = 365;
constexpr int kButtonTop = 84;
// The buttons must lie wholly inside the window.
constexpr int kClientHeight = kButtonTop + 32 + 10;

}  // namespace

TfrmDeleteConfirm::TfrmDeleteConfirm()
    : TfrmBase("Confirm Delete", kClientWidth, kClientHeight),
      lblDescription(Add<TLabel>()),
      btnOk(Add<TImageButton>()),
      btnCancel(Add<TImageButton>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miOk(pmnButtons.Add("miOk", "OK", VK_RETURN)),
      miCancel(pmnButtons.Add("miCancel", "Cancel", VK_ESCAPE)) {
    lblDescription.Name = "lblDescription";
    lblDescription.SetFont(WhiteFont());
    lblDescription.WordWrap = true;
    lblDescription.SetBounds(10, 41, 345, 36);
    lblDescription.SetCaption(kDeleteConfirmFormat);
    SkinDialogButton(btnOk, "btnOk", "OK", 101, kButtonTop, 85);
    SkinDialogButton(btnCancel, "btnCancel", "Cancel", 195, kButtonTop, 85);
    btnOk.OnClick = [this](TControl&) { SetModalResult(mrOk); };
    btnCancel.OnClick = [this](TControl&) { SetModalResult(mrCancel); };
    miOk.Visible = false;
    miOk.OnClick = [this](TMenuItem&) { SetModalResult(mrOk); };
    miCancel.Visible = false;
    miCancel.OnClick = [this](TMenuItem&) { SetModalResult(mrCancel); };
}

bool TfrmDeleteConfirm::Execute(const std::string& caption) {
    lblDescription.SetCaption(FormatWithCaption(kDeleteConfirmFormat, caption));
    return ShowModal() == mrOk;
}

}  // namespace vh::win32
