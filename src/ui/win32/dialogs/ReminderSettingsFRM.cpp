#include "ui/win32/dialogs/ReminderSettingsFRM.h"

#include "model/DurationText.h"
#include "storage/Options.h"
#include "ui/FormRules.h"
#include "ui/presenters/TimeUpSettings.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

constexpr int kClientWidth = 350;
constexpr int kButtonTop = 257;
// The buttons must lie wholly inside the window.
constexpr int kClientHeight = kButtonTop + 32 + 10;

constexpr char kDescription[] =
    "If you reduce the time allowed on distracting sites/apps or add more sites/apps to your list, these changes "
    "take effect immediately.\r\n\r\nThe following changes happen instantly once a day. Further changes take effect "
    "at 4am.\r\n-Increasing time allowed on distracting sites/apps\r\n-Changing what happens when your time limit is "
    "reached.";

}  // namespace

TfrmReminderSettings::TfrmReminderSettings(TOptions& options)
    : TfrmBase("Time-Up Settings", kClientWidth, kClientHeight),
      lblAppsDescription(Add<TLabel>()),
      lblAction(Add<TLabel>()),
      pnlExpirationAction(Add<TImagePanel>()),
      btnCombo(Add<TImageButton>()),
      lblTimeLimit(Add<TLabel>()),
      lblTimeFormat(Add<TLabel>()),
      btnOk(Add<TImageButton>()),
      btnCancel(Add<TImageButton>()),
      cbxExpirationAction(Add<TComboBox>()),
      medTimeLimit(Add<TMaskEdit>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miOk(pmnButtons.Add("miOk", "OK", VK_RETURN)),
      miCancel(pmnButtons.Add("miCancel", "Cancel", VK_ESCAPE)),
      options_(options) {
    const TSkinSet& skins = Skins();
    lblAppsDescription.Name = "lblAppsDescription";
    lblAppsDescription.SetFont(WhiteFont(false));
    lblAppsDescription.WordWrap = true;
    lblAppsDescription.SetBounds(10, 38, kClientWidth - 20, 144);
    lblAppsDescription.SetCaption(kDescription);

    lblAction.Name = "lblAction";
    lblAction.SetFont(WhiteFont(true));
    lblAction.Alignment = TLabel::TAlignment::taRightJustify;
    lblAction.SetBounds(2, 192, 118, 18);
    lblAction.SetCaption("Time up action:");
    pnlExpirationAction.Name = "pnlExpirationAction";
    pnlExpirationAction.SetBackground(skins.panelFrame);
    pnlExpirationAction.SetSideWidth(kHeaderSide);
    pnlExpirationAction.SetSideHeight(kHeaderSide);
    pnlExpirationAction.SetBounds(121, 184, 188, 30);
    cbxExpirationAction.Name = "cbxExpirationAction";
    for (const char* action : {"Reminder Only", "Close Browser/App.", "Shutdown Computer"})
        cbxExpirationAction.AddItem(action);
    // Wide enough for "Close Browser/App." beside the drop button.
    cbxExpirationAction.SetBounds(125, 188, 180, 120);
    btnCombo.Name = "btnCombo";
    btnCombo.SetBackground(skins.comboButton);
    btnCombo.SetBackgroundSelected(skins.comboButtonSelected);
    btnCombo.SetBackgroundDowned(skins.comboButtonDowned);
    btnCombo.SetSideWidth(5);
    btnCombo.SetSideHeight(5);
    btnCombo.SetBounds(281, 186, 26, 26);
    btnCombo.OnClick = [this](TControl&) { cbxExpirationAction.DropDown(); };

    lblTimeLimit.Name = "lblTimeLimit";
    lblTimeLimit.SetFont(WhiteFont(true));
    lblTimeLimit.SetBounds(36, 228, 85, 18);
    lblTimeLimit.SetCaption("Time Limit:");
    medTimeLimit.Name = "medTimeLimit";
    medTimeLimit.SetBounds(125, 224, 58, 22);
    SendMessageW(medTimeLimit.Handle(), EM_SETLIMITTEXT, 5, 0);
    lblTimeFormat.Name = "lblTimeFormat";
    lblTimeFormat.SetFont(WhiteFont(false));
    lblTimeFormat.SetBounds(190, 228, 120, 18);
    lblTimeFormat.SetCaption("hours:minutes");

    SkinDialogButton(btnOk, "btnOk", "OK", 104, kButtonTop, 73);
    SkinDialogButton(btnCancel, "btnCancel", "Cancel", 186, kButtonTop, 73);
    btnOk.OnClick = [this](TControl&) { btnOkClick(); };
    btnCancel.OnClick = [this](TControl&) { SetModalResult(mrCancel); };
    miOk.Visible = false;
    miOk.OnClick = [this](TMenuItem&) { btnOkClick(); };
    miCancel.Visible = false;
    miCancel.OnClick = [this](TMenuItem&) { SetModalResult(mrCancel); };
}

void TfrmReminderSettings::btnOkClick() {
    if (CheckTimeLimitEdit(*this, medTimeLimit)) SetModalResult(mrOk);
}

bool TfrmReminderSettings::Execute() {
    struct ClearImmediate {
        TOptions& options;
        ~ClearImmediate() { options.ImmediateChangeAllowed = false; }
    } clear{options_};
    const TTimeUpValues shown = ShownTimeUpValues(options_);
    medTimeLimit.SetText(FormatHHNN(shown.timeLimitSeconds / kSecondsPerDay, TMinuteRounding::Nearest));
    cbxExpirationAction.SetItemIndex(shown.action);
    if (ShowModal() != mrOk) return false;
    StoreTimeUpValues(options_, CheckTimeLimitText(medTimeLimit.Text()).time, cbxExpirationAction.ItemIndex());
    return true;
}

}  // namespace vh::win32
