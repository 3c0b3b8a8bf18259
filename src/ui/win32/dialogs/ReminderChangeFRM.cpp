#include "ui/win32/dialogs/ReminderChangeFRM.h"

#include "common/Exceptions.h"
#include "environment/DateTimeUtils.h"
#include "storage/Options.h"
#include "ui/presenters/ReminderChange.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

constexpr int kClientWidth = 400;
constexpr int kMargin = 10;
constexpr int kRowTop = 84;
constexpr int kClientHeight = kRowTop + 32 + kMargin;
constexpr int kComboLeft = 104;
constexpr int kComboWidth = 146;
constexpr int kComboDropButton = 26;
constexpr int kOkWidth = 85;

}  // namespace

TfrmReminderChange::TfrmReminderChange()
    : TfrmBase(kReminderChangeCaption, kClientWidth, kClientHeight),
      lblWarningText(Add<TLabel>()),
      lblRemindMe(Add<TLabel>()),
      pnlReminderChangeFrequency(Add<TImagePanel>()),
      btnCombo(Add<TImageButton>()),
      btnOk(Add<TImageButton>()),
      cbxReminderChangeFrequency(Add<TComboBox>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miOk(pmnButtons.Add("miOk", "OK", VK_RETURN)),
      miCancel(pmnButtons.Add("miCancel", "Cancel", VK_ESCAPE)) {
    lblWarningText.Name = "lblWarningText";
    lblWarningText.SetFont(WhiteFont(false));
    lblWarningText.WordWrap = true;
    lblWarningText.SetBounds(kMargin, 42, kClientWidth - 2 * kMargin, 34);

    lblRemindMe.Name = "lblRemindMe";
    lblRemindMe.SetFont(WhiteFont(true));
    lblRemindMe.SetCaption("Remind me:");
    lblRemindMe.SetBounds(kMargin, kRowTop + 8, kComboLeft - kMargin - 4, 18);

    const TSkinSet& skins = Skins();
    pnlReminderChangeFrequency.Name = "pnlReminderChangeFrequency";
    pnlReminderChangeFrequency.SetBackground(skins.panelFrame);
    pnlReminderChangeFrequency.SetSideWidth(kHeaderSide);
    pnlReminderChangeFrequency.SetSideHeight(kHeaderSide);
    pnlReminderChangeFrequency.SetBounds(kComboLeft, kRowTop + 1, kComboWidth, 30);
    cbxReminderChangeFrequency.Name = "cbxReminderChangeFrequency";
    for (const char* period : {"Never", "Daily", "Weekly", "Fortnightly", "Monthly"})
        cbxReminderChangeFrequency.AddItem(period);
    // The height of a drop-down list includes its open list.
    cbxReminderChangeFrequency.SetBounds(kComboLeft + 2, kRowTop + 3, kComboWidth - 4, 140);
    btnCombo.Name = "btnCombo";
    btnCombo.SetBackground(skins.comboButton);
    btnCombo.SetBackgroundSelected(skins.comboButtonSelected);
    btnCombo.SetBackgroundDowned(skins.comboButtonDowned);
    btnCombo.SetSideWidth(5);
    btnCombo.SetSideHeight(5);
    btnCombo.AccessibleName = "Remind me:";
    btnCombo.SetBounds(kComboLeft + kComboWidth - 2 - kComboDropButton, kRowTop + 3, kComboDropButton, 26);
    btnCombo.OnClick = [this](TControl&) { btnComboClick(); };

    SkinDialogButton(btnOk, "btnOk", "OK", kClientWidth - kMargin - kOkWidth, kRowTop, kOkWidth);
    btnOk.OnClick = [this](TControl&) { CommonOkClick(); };
    BindHiddenShortcuts({&miOk, &miCancel}, [this] { CommonOkClick(); });
    CenterOnScreen();
}

void TfrmReminderChange::AfterConstruction() {
    TfrmBase::AfterConstruction();
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfrmReminderChange::FormShow() {
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool TfrmReminderChange::Execute(TOptions& options) {
    options_ = &options;
    lblWarningText.SetCaption(OpenReminderChange(options, ProgramNow()));
    cbxReminderChangeFrequency.SetItemIndex(options.ReminderChangePeriod);
    return ShowModal() == mrOk;
}

void TfrmReminderChange::CommonOkClick() {
    VH_ASSERT(options_ != nullptr);
    CloseReminderChange(*options_, cbxReminderChangeFrequency.ItemIndex());
    SetModalResult(mrOk);
}

void TfrmReminderChange::btnComboClick() {
    cbxReminderChangeFrequency.DropDown();
}

}  // namespace vh::win32
