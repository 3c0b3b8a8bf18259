#include "ui/win32/dialogs/TransparencySettingsFRM.h"

#include <string>
#include <utility>

#include "common/ScopeExit.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

constexpr int kClientWidth = 215;
constexpr int kButtonTop = 78;
constexpr int kButtonHeight = 32;
// The buttons must lie wholly inside the window.
constexpr int kClientHeight = kButtonTop + kButtonHeight + 10;
constexpr int kComboLeft = 148;
constexpr int kComboTop = 45;
constexpr int kComboWidth = 56;
constexpr int kComboFrameHeight = 28;
constexpr int kComboDropButton = 26;
constexpr int kVisibleRows = 20;
constexpr int kRowHeight = 16;

}  // namespace

TfrmTransparencySettings::TfrmTransparencySettings(TTransparencyPreference preference, std::function<void()> onEnd)
    : TfrmBase("Transparency Settings", kClientWidth, kClientHeight),
      lblAction(Add<TLabel>()),
      pnlTransparencyCombo(Add<TImagePanel>()),
      cbxTransparency(Add<TComboBox>()),
      btnCombo(Add<TImageButton>()),
      btnOk(Add<TImageButton>()),
      btnCancel(Add<TImageButton>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miOk(pmnButtons.Add("miOk", "OK", VK_RETURN)),
      miCancel(pmnButtons.Add("miCancel", "Cancel", VK_ESCAPE)),
      preference_(std::move(preference)),
      onEnd_(std::move(onEnd)) {
    const TSkinSet& skins = Skins();
    lblAction.Name = "lblAction";
    TFontStyle font;
    font.color = RGB(255, 255, 255);
    lblAction.SetFont(font);
    lblAction.Alignment = TLabel::TAlignment::taRightJustify;
    lblAction.SetBounds(10, kComboTop + 3, kComboLeft - 4 - 10, 18);
    lblAction.SetCaption("Transparency %:");

    pnlTransparencyCombo.Name = "pnlTransparencyCombo";
    pnlTransparencyCombo.SetBackground(skins.panelFrame);
    pnlTransparencyCombo.SetSideWidth(kHeaderSide);
    pnlTransparencyCombo.SetSideHeight(kHeaderSide);
    pnlTransparencyCombo.SetBounds(kComboLeft - 2, kComboTop - 2, kComboWidth + 4, kComboFrameHeight);

    cbxTransparency.Name = "cbxTransparency";
    // The height of a drop-down list includes its open list.
    cbxTransparency.SetBounds(kComboLeft, kComboTop, kComboWidth, kVisibleRows * kRowHeight);
    for (int percent : kTransparencyChoices) cbxTransparency.AddItem(std::to_string(percent));
    cbxTransparency.OnChange = [this](TWinControl&) { cbxTransparencyChange(); };

    SkinComboButton(btnCombo, "btnCombo");
    btnCombo.SetBounds(kComboLeft + kComboWidth - kComboDropButton, kComboTop, kComboDropButton, kComboFrameHeight - 4);
    btnCombo.OnClick = [this](TControl&) { cbxTransparency.DropDown(); };

    SkinDialogButton(btnOk, "btnOk", "OK", 34, kButtonTop, 73);
    SkinDialogButton(btnCancel, "btnCancel", "Cancel", 116, kButtonTop, 73);
    btnOk.OnClick = [this](TControl&) { SetModalResult(mrOk); };
    btnCancel.OnClick = [this](TControl&) { SetModalResult(mrCancel); };
    BindHiddenShortcuts({&miOk}, [this] { SetModalResult(mrOk); });
    BindHiddenShortcuts({&miCancel}, [this] { SetModalResult(mrCancel); });
}

int TfrmTransparencySettings::SelectedPercent() const noexcept {
    const int index = cbxTransparency.ItemIndex();
    return index >= 0 && index < static_cast<int>(std::size(kTransparencyChoices)) ? kTransparencyChoices[index] : 0;
}

void TfrmTransparencySettings::cbxTransparencyChange() {
    const int percent = SelectedPercent();
    SetFormTransparency(*this, percent);
    preference_.Set(percent);
}

bool TfrmTransparencySettings::Execute() {
    kept_ = preference_.Get();
    cbxTransparency.SetItemIndex(TransparencyChoiceIndex(kept_));
    const bool ok = ShowModal() == mrOk;
    {
        // The end handler runs even when storing fails.
        const ScopeExit end([this] {
            if (onEnd_) onEnd_();
        });
        preference_.Set(ok ? SelectedPercent() : kept_);
    }
    return ok;
}

}  // namespace vh::win32
