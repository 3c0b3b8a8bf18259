// The settings dialog's four pages, built on their design-time sheets:
// background, the list, the time limit with its action, the reminders.
#include <string>
#include <utility>

#include "ui/MainViewRules.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/settings/SettingsFRM.h"
#include "ui/win32/settings/SettingsLayout.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

using namespace settings_layout;

void PlaceFrame(TTabSheet& page, TImagePanel& frame, const char* name, int left, int top, int width, int height) {
    SkinPanel(frame, name, Skins().panelFrame, kHeaderSide);
    page.Insert(frame, left, top, width, height);
}

void PlaceCombo(TTabSheet& page, TImagePanel& frame, TComboBox& combo, TImageButton& button, const char* frameName,
                const char* comboName, const char* buttonName, const std::string& accessibleName, int left, int top,
                int width) {
    PlaceFrame(page, frame, frameName, left, top, width, kComboHeight);
    combo.Name = comboName;
    // The height of a drop-down list includes its open list.
    page.Insert(combo, left + 2, top + 2, width - 4, 200);
    SkinComboButton(button, buttonName);
    button.AccessibleName = accessibleName;
    button.OnClick = [&combo](TControl&) {
        combo.SetFocus();
        combo.DropDown();
    };
    page.Insert(button, left + width - 2 - kComboButton, top + 2, kComboButton, kComboHeight - 4);
}

void PlaceButton(TTabSheet& page, TImageButton& button, const char* name, const std::string& caption, bool right) {
    SkinDialogButton(button, name, caption, 0, 0, kButtonWidth);
    const IntRect r = button.BoundsRect();
    page.Insert(button, right ? kPageWidth - kMargin - kButtonWidth : kMargin, kButtonTop, kButtonWidth, r.Height());
}

template <std::size_t N>
void FillItems(TComboBox& combo, const char* const (&items)[N]) {
    for (const char* item : items) combo.AddItem(item);
}

}  // namespace

void TfrmSettings::BuildBackgroundPage() {
    TTabSheet& bg = tsBackground;
    PlacePageLabel(bg, lblBackground, "lblBackground", "Background", kMargin, 10, 200);
    PlacePageLabel(bg, lblImage, "lblImage", "Image:", kMargin, 46, kFieldLeft - kMargin);
    PlaceCombo(bg, pnlImage, cbxImage, btnImageDown, "pnlImage", "cbxImage", "btnImageDown", "Image:", kFieldLeft, 39,
               kPageWidth - kMargin - kFieldLeft);
    SkinDialogButton(btnBrowseImage, "btnBrowseImage", "Browse...", 0, 0, kButtonWidth);
    bg.Insert(btnBrowseImage, kPageWidth - kMargin - kButtonWidth, 74, kButtonWidth, btnBrowseImage.Height());
    PlacePageLabel(bg, lblColor, "lblColor", "Color:", kMargin, 122, kFieldLeft - kMargin);
    PlaceCombo(bg, pnlColor, cbxColor, btnColorDropDown, "pnlColor", "cbxColor", "btnColorDropDown",
               "Color:", kFieldLeft, 115, kPageWidth - kMargin - kFieldLeft);
    PlacePageLabel(bg, lblTextColor, "lblTextColor", "Text Color:", kMargin, 160, kFieldLeft - kMargin);
    PlaceCombo(bg, pnlTextColor, cbxTextColor, btnTextColor, "pnlTextColor", "cbxTextColor", "btnTextColor",
               "Text Color:", kFieldLeft, 153, kPageWidth - kMargin - kFieldLeft);
    PlacePageLabel(bg, lblTransparency, "lblTransparency", "Transparency:", kMargin, 198, kFieldLeft - kMargin);
    PlaceCombo(bg, pnlTransparency, cbxTransparency, btnTransparency, "pnlTransparency", "cbxTransparency",
               "btnTransparency", "Transparency:", kFieldLeft, 191, kPageWidth - kMargin - kFieldLeft);
    FillItems(cbxTransparency, kTransparencies);
    PlacePageLabel(bg, lblBackgroundText, "lblBackgroundText", kBackgroundText, kMargin, 240, kPageWidth - 2 * kMargin,
                   110, false);
    PlaceButton(bg, btnBackgroundCancel, "btnBackgroundCancel", "Cancel", false);
    PlaceButton(bg, btnBackgroundNext, "btnBackgroundNext", "Next >", true);
}

void TfrmSettings::BuildListPage() {
    TTabSheet& list = tsMonitoredList;
    PlacePageLabel(list, lblMonitoredListText, "lblMonitoredListText", kMonitoredListText, kMargin, 8,
                   kPageWidth - 2 * kMargin, 100, false);
    const int listWidth = kListWidth;
    const int typeWidth = kTypeColumnWidth;
    PlaceFrame(list, pnlNameHeader, "pnlNameHeader", kMargin, 112, listWidth - typeWidth, 22);
    pnlNameHeader.SetBackground(Skins().columnHead);
    pnlNameHeader.SetSideWidth(4);
    pnlNameHeader.SetSideHeight(4);
    PlacePageLabel(list, lblNameHeader, "lblNameHeader", "Name", kMargin + 8, 115, 120);
    PlaceFrame(list, pnlTypeHeader, "pnlTypeHeader", kMargin + listWidth - typeWidth, 112, typeWidth, 22);
    pnlTypeHeader.SetBackground(Skins().columnHead);
    pnlTypeHeader.SetSideWidth(4);
    pnlTypeHeader.SetSideHeight(4);
    PlacePageLabel(list, lblTypeHeader, "lblTypeHeader", "Type", kMargin + listWidth - typeWidth, 115, typeWidth);
    lblTypeHeader.Alignment = TLabel::TAlignment::taCenter;
    lbxAppSites.Name = "lbxAppSites";
    lbxAppSites.SetItemHeight(kListRowHeight);
    list.Insert(lbxAppSites, kMargin, 134, listWidth, 178);
    lbxAppSites.OnDrawItem = [this](TListBox&, const DRAWITEMSTRUCT& item) { DrawListRow(item); };
    lbxAppSites.AccessibleRowName = [this](int row) {
        const auto* entry = static_cast<const TMonitoredItem*>(lbxAppSites.Object(row));
        return entry ? RowAccessibleName({entry->Caption, entry->GetTypeText(), {}}) : std::string();
    };
    // Picture buttons under the list's right end, each with its hint.
    const std::pair<TImageButton*, const TPicture*> listButtons[] = {{&btnApp_Add, &Skins().addButton},
                                                                     {&btnApp_Delete, &Skins().deleteButton}};
    int buttonLeft = kMargin + listWidth - 40;
    for (const auto& [button, picture] : listButtons) {
        button->SetBackground(*picture);
        button->SetBackgroundSelected(*picture);
        button->SetBackgroundDowned(*picture);
        button->SetSideWidth(0);
        button->SetSideHeight(0);
        list.Insert(*button, buttonLeft, 318, 14, 16);
        buttonLeft += 22;
    }
    btnApp_Add.Name = "btnApp_Add";
    btnApp_Delete.Name = "btnApp_Delete";
    for (const auto& [button, hint] :
         {std::pair{&btnApp_Add, "Add site/application"}, std::pair{&btnApp_Delete, "Delete"}}) {
        hints_.Add(*button, hint);
        button->AccessibleName = hint;
    }
    PlaceButton(list, btnListBack, "btnListBack", "< Back", false);
    PlaceButton(list, btnListNext, "btnListNext", "Next >", true);
}

void TfrmSettings::BuildExpirationPage() {
    TTabSheet& exp = tsExpiration;
    PlacePageLabel(exp, lblTimeLimit, "lblTimeLimit", "Daily time limit:", kMargin, 18, 130);
    PlaceFrame(exp, pnlTimeLimit, "pnlTimeLimit", 136, 11, 72, kComboHeight);
    medTimeLimit.Name = "medTimeLimit";
    exp.Insert(medTimeLimit, 142, 16, 60, 20);
    PlacePageLabel(exp, lblHoursMinutes, "lblHoursMinutes", "hours:minutes", 214, 18, 96, kLabelHeight);
    lblHoursMinutes.SetFont(WhiteFont(false));
    PlacePageLabel(exp, lblExpirationQuestion, "lblExpirationQuestion", kExpirationQuestion, kMargin, 56,
                   kPageWidth - 2 * kMargin, 34);
    PlacePageLabel(exp, lblExpirationAction, "lblExpirationAction", "Time up action:", kMargin, 106, 114);
    PlaceCombo(exp, pnlExpirationAction, cbxExpirationAction, btnExpirationActionDown, "pnlExpirationAction",
               "cbxExpirationAction", "btnExpirationActionDown", "Time up action:", 124, 99,
               kPageWidth - kMargin - 124);
    FillItems(cbxExpirationAction, kExpirationActions);
    PlacePageLabel(exp, lblExpirationText, "lblExpirationText", kExpirationText, kMargin, 146, kPageWidth - 2 * kMargin,
                   90, false);
    PlaceButton(exp, btnExpirationBack, "btnExpirationBack", "< Back", false);
    PlaceButton(exp, btnExpirationNext, "btnExpirationNext", "Next >", true);
}

void TfrmSettings::BuildReminderPage() {
    TTabSheet& rem = tsReminder;
    PlacePageLabel(rem, lblReminderSettings, "lblReminderSettings", "Reminder Settings", kMargin, 10, 200);
    PlacePageLabel(rem, lblReminder, "lblReminder", "Reminder:", kMargin, 46, 90);
    PlaceCombo(rem, pnlReminder, cbxReminder, btnReminderDown, "pnlReminder", "cbxReminder", "btnReminderDown",
               "Reminder:", kFieldLeft, 39, kPageWidth - kMargin - kFieldLeft);
    FillItems(cbxReminder, kReminders);
    cbxReminder.OnDrawItem = [this](TOwnerDrawComboBox&, const DRAWITEMSTRUCT& item) { DrawReminderItem(item); };
    PlaceFrame(rem, pnlReminderMemo, "pnlReminderMemo", kMargin, 78, kPageWidth - 2 * kMargin, 222);
    memReminder.Name = "memReminder";
    rem.Insert(memReminder, kMargin + 4, 82, kPageWidth - 2 * kMargin - 8, 214);
    PlacePageLabel(rem, lblReminderChange, "lblReminderChange", "Alert to change reminder:", kMargin, 318, 190);
    PlaceCombo(rem, pnlReminderChange, cbRemiderChangePeriod, btnReminderChangeDown, "pnlReminderChange",
               "cbRemiderChangePeriod", "btnReminderChangeDown", "Alert to change reminder:", 202, 311,
               kPageWidth - kMargin - 202);
    FillItems(cbRemiderChangePeriod, kChangePeriods);
    PlaceButton(rem, btnReminderBack, "btnReminderBack", "< Back", false);
    PlaceButton(rem, btnFinish, "btnFinish", "Apply", true);
}

}  // namespace vh::win32
