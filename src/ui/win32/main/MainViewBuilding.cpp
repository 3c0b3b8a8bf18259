// The main window's pages (the full view, the reminders, the usage) and its
// view and tools menus, built on their design-time sheets.

#include <algorithm>

#include "common/ScopeExit.h"
#include "common/StringUtils.h"
#include "environment/DateTimeUtils.h"
#include "environment/Trace.h"
#include "model/DurationText.h"
#include "monitor/MainMonitor.h"
#include "platform/win32/Utf16.h"
#include "storage/AppearancePreferences.h"
#include "storage/Options.h"
#include "storage/UsageStatistics.h"
#include "ui/MainViewRules.h"
#include "ui/presenters/ListEntryRemoval.h"
#include "ui/win32/dialogs/DeleteConfirmFRM.h"
#include "ui/win32/dialogs/ReminderSettingsFRM.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/main/MainFRM.h"
#include "ui/win32/main/SettingsDialogs.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

// Page controls are lifted onto the window at this offset.
constexpr int kPageLeft = 1;
constexpr int kPageTop = 92;
constexpr int kHeadHeight = 22;
constexpr int kNameHeadWidth = 171;
constexpr int kTypeHeadWidth = 42;
constexpr int kMainRowHeight = 16;
constexpr int kUsageRowHeight = 13;
constexpr int kPanelHeight = 30;

// A label of one line (18 pixels), never wrapped.
void PageLabel(TTabSheet& page, TLabel& label, const char* name, const std::string& caption, int left, int top,
               int width) {
    PlacePageLabel(page, label, name, caption, left, top, width, 18);
    label.WordWrap = false;
}

void PictureButton(TImageButton& button, const char* name, const TPicture& picture) {
    button.Name = name;
    button.SetBackground(picture);
    button.SetBackgroundSelected(picture);
    button.SetBackgroundDowned(picture);
    button.SetSideWidth(0);
    button.SetSideHeight(0);
}

// Memos, lists and edits sit on skinned panels and have no border of their own.
void RemoveBorder(TWinControl& control) {
    const LONG_PTR exStyle = GetWindowLongPtrW(control.Handle(), GWL_EXSTYLE);
    SetWindowLongPtrW(control.Handle(), GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowPos(control.Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ColumnHeads(TTabSheet& page, int top, TImagePanel* heads[3], TLabel* labels[3], const char* names[6]) {
    const int lefts[3] = {10, 10 + kNameHeadWidth, 10 + kNameHeadWidth + kTypeHeadWidth};
    const int widths[3] = {kNameHeadWidth, kTypeHeadWidth, 92};
    const char* captions[3] = {"Name", "Type", "Time"};
    for (int i = 0; i < 3; ++i) {
        SkinPanel(*heads[i], names[i], Skins().columnHead, 4);
        page.Insert(*heads[i], lefts[i], top, widths[i], kHeadHeight);
        labels[i]->Name = names[i + 3];
        labels[i]->SetFont(WhiteFont());
        labels[i]->Alignment = i == 0 ? TLabel::TAlignment::taLeftJustify : TLabel::TAlignment::taCenter;
        labels[i]->SetCaption(captions[i]);
        page.Insert(*labels[i], lefts[i] + 6, top + 3, i == 2 ? 40 : widths[i] - 8, 16);
    }
}

// A time-limit list drawn row by row under the column heads.
void TimeList(TTabSheet& page, TItemListBox& list, const char* name, int rowHeight, IntRect bounds) {
    list.Name = name;
    RemoveBorder(list);
    list.SetItemHeight(rowHeight);
    page.Insert(list, bounds.left, bounds.top, bounds.Width(), bounds.Height());
    list.OnDrawItem = [](TListBox& drawn, const DRAWITEMSTRUCT& item) {
        DrawMonitoredRow(static_cast<TItemListBox&>(drawn), item, kNameHeadWidth, kTypeHeadWidth);
    };
    list.AccessibleRowName = [&list](int row) {
        const auto* entry = static_cast<const TMonitoredItem*>(list.Object(row));
        return entry ? RowAccessibleName(RowTexts(*entry)) : std::string();
    };
}

}  // namespace

void TfrmMain::BuildViews() {
    // Stay on top: the side bar is always at hand.
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    imgIcon.SetVisible(false);
    lblCaption.SetVisible(false);
    const TSkinSet& skins = Skins();

    PictureButton(btnView, "btnView", skins.viewButton);
    btnView.SetBounds(260, 6, 16, 16);
    btnView.OnClick = [this](TControl&) { PopupBelow(pmnView, btnView); };
    btnView.OpensMenu = true;
    PictureButton(btnLinks, "btnLinks", skins.linksButton);
    btnLinks.SetBounds(280, 6, 16, 16);
    btnLinks.OnClick = [this](TControl&) { PopupBelow(pmnAddons, btnLinks); };
    btnLinks.OpensMenu = true;
    PictureButton(btnMinimize, "btnMinimize", skins.minimizeButton);
    // The last button ends inside the 319-pixel client, not on its edge.
    btnMinimize.SetBounds(300, 6, 16, 16);
    btnMinimize.OnClick = [this](TControl&) { actMinimizeExecute(); };

    lblMain_TimeLink.Name = "lblMain_TimeLink";
    TFontStyle link = WhiteFont();
    link.height = -11;
    link.bold = false;
    link.underline = true;
    lblMain_TimeLink.SetFont(link);
    lblMain_TimeLink.HandCursor = true;
    lblMain_TimeLink.SetBounds(8, 36, 150, 16);
    lblMain_TimeLink.OnClick = [this](TControl&) { actChangeTimeFormatExecute(); };
    pnlMain_TimeOnline.Name = "pnlMain_TimeOnline";
    pnlMain_TimeOnline.SetTransparent(false);
    pnlMain_TimeOnline.SetColor(RGB(255, 255, 255));
    pnlMain_TimeOnline.SetBounds(-12, 55, 156, 28);
    lblMain_TimeTitle.Name = "lblMain_TimeTitle";
    lblMain_TimeTitle.SetBounds(8, 61, 110, 18);
    lblMain_Time.Name = "lblMain_Time";
    lblMain_Time.SetBounds(100, 61, 80, 18);
    // Screen readers hear the value under its title ("Time on List:").
    lblMain_Time.NameLabel = &lblMain_TimeTitle;
    BuildFocusDisplay();

    SkinDialogButton(btnBack, "btnBack", "< Back", 83, 589, 85);
    btnBack.OnClick = [this](TControl&) { btnBackClick(); };
    SkinDialogButton(btnNext, "btnNext", "Next >", 179, 589, 85);
    btnNext.OnClick = [this](TControl&) { btnNextClick(); };

    pcMain.Name = "pcMain";
    pcMain.SetBounds(kPageLeft, kPageTop, 318, 500);
    pcMain.SetVisible(false);  // only its pages' controls are shown
    BuildMainPage();
    BuildReminderPage();
    BuildUsagePage();
    BuildMenus();

    const std::pair<TImageButton*, const char*> hinted[] = {
        {&btnView, "View Mode"}, {&btnLinks, "Tools"}, {&btnMinimize, "Minimize"}};
    for (const auto& [button, hint] : hinted) {
        hints_.Add(*button, hint);
        button->AccessibleName = hint;
    }
    btnApp_Add.AccessibleName = "Add";
    btnApp_Delete.AccessibleName = "Delete";
    btnReminderCombo.AccessibleName = "Choose the period";
    btnComboUsagePeriod.AccessibleName = "Choose the period";
    const TDisplayTexts texts = TimeDisplayTexts(TimeDisplayMode);
    lblMain_TimeLink.SetCaption(texts.link);
    lblMain_TimeTitle.SetCaption(texts.title);
}

void TfrmMain::BuildMainPage() {
    const TSkinSet& skins = Skins();
    PageLabel(tsMain, lblReminder, "lblReminder", "Things to do this:", 10, 15, 115);
    // Plain type: the bold face would run under the combo box.
    lblReminder.SetFont(WhiteFont(false));
    SkinPanel(pnlReminderCombo, "pnlReminderCombo", skins.panelFrame, kHeaderSide);
    tsMain.Insert(pnlReminderCombo, 123, 9, 190, kPanelHeight);
    SkinComboButton(btnReminderCombo, "btnReminderCombo");
    tsMain.Insert(btnReminderCombo, 282, 11, 26, 26);
    btnReminderCombo.OnClick = [this](TControl&) { cbxReminder.DropDown(); };
    SkinPanel(pnlReminder, "pnlReminder", skins.panelFrame, kHeaderSide);
    tsMain.Insert(pnlReminder, 10, 46, 305, 147);

    PageLabel(tsMain, lblMain_Applications, "lblMain_Applications", "Sites/Apps to time limit:", 10, 202, 250);
    SkinPanel(pnlMain_Applications, "pnlMain_Applications", skins.panelFrame, kHeaderSide);
    tsMain.Insert(pnlMain_Applications, 10, 224, 305, 158);
    TImagePanel* heads[3] = {&pnlApp_Name, &pnlApp_Type, &pnlApp_Time};
    TLabel* labels[3] = {&lblApp_Name, &lblApp_Type, &lblApp_Time};
    const char* names[6] = {"pnlApp_Name", "pnlApp_Type", "pnlApp_Time", "lblApp_Name", "lblApp_Type", "lblApp_Time"};
    ColumnHeads(tsMain, 224, heads, labels, names);
    PictureButton(btnApp_Add, "btnApp_Add", skins.addButton);
    tsMain.Insert(btnApp_Add, 276, 227, 14, 16);
    btnApp_Add.OnClick = [this](TControl&) { btnApp_AddClick(); };
    PictureButton(btnApp_Delete, "btnApp_Delete", skins.deleteButton);
    tsMain.Insert(btnApp_Delete, 296, 227, 14, 16);
    btnApp_Delete.OnClick = [this](TControl&) { btnApp_DeleteClick(); };

    PageLabel(tsMain, lblAction, "lblAction", "Action when time limit is reached:", 10, 389, 300);
    SkinPanel(pnlAction, "pnlAction", skins.panelFrame, kHeaderSide);
    tsMain.Insert(pnlAction, 10, 410, 240, kPanelHeight);
    SkinDialogButton(btnTimeEdit, "btnTimeEdit", "Edit", 0, 0, 59);
    tsMain.Insert(btnTimeEdit, 256, 408, 59, 32);
    btnTimeEdit.OnClick = [this](TControl&) { actTimeEditExecute(); };
    PageLabel(tsMain, lblTimeLimit, "lblTimeLimit", "Time Limit:", 10, 453, 85);
    SkinPanel(pnlAfter, "pnlAfter", skins.panelFrame, kHeaderSide);
    tsMain.Insert(pnlAfter, 90, 446, 70, kPanelHeight);

    cbxReminder.Name = "cbxReminder";
    for (const char* period : {"Morning", "Afternoon", "Evening"}) cbxReminder.AddItem(period);
    tsMain.Insert(cbxReminder, 130, 13, 172, 120);
    cbxReminder.OnDrawItem = [this](TOwnerDrawComboBox& combo, const DRAWITEMSTRUCT& item) {
        DrawReminderComboItem(combo, item);
    };
    cbxReminder.OnChange = [this](TWinControl&) { cbxReminderChange(); };
    mmReminder.Name = "mmReminder";
    RemoveBorder(mmReminder);
    tsMain.Insert(mmReminder, 17, 54, 290, 132);
    mmReminder.OnChange = [this](TWinControl&) {
        if (Loading) return;
        const int period = ReminderPeriodOfIndex(cbxReminder.ItemIndex());
        const std::string text = mmReminder.Text();
        options_.SetReminderText(static_cast<TReminderType>(period), text);
        TMemo* memos[3] = {&mmReminderMorning, &mmReminderAfrernoon, &mmReminderEvening};
        Loading = true;
        memos[period]->SetText(text);
        Loading = false;
        RefreshReminderFlags();
    };
    TimeList(tsMain, lbxMain_Applications, "lbxMain_Applications", kMainRowHeight, {17, 247, 17 + 290, 247 + 127});
    edtAction.Name = "edtAction";
    RemoveBorder(edtAction);
    SendMessageW(edtAction.Handle(), EM_SETREADONLY, TRUE, 0);
    tsMain.Insert(edtAction, 18, 416, 224, 18);
    edtTimeLimit.Name = "edtTimeLimit";
    RemoveBorder(edtTimeLimit);
    SendMessageW(edtTimeLimit.Handle(), EM_SETREADONLY, TRUE, 0);
    tsMain.Insert(edtTimeLimit, 98, 452, 54, 18);
}

void TfrmMain::BuildReminderPage() {
    const TSkinSet& skins = Skins();
    TLabel* labels[3] = {&lblReminderMorning, &lblReminderAfternoon, &lblReminderEvening};
    TImagePanel* panels[3] = {&pnlReminderMorning, &pnlReminderAfternoon, &pnlReminderEvening};
    TMemo* memos[3] = {&mmReminderMorning, &mmReminderAfrernoon, &mmReminderEvening};
    const char* captions[3] = {"This Morning:", "This Afternoon:", "This Evening:"};
    const char* labelNames[3] = {"lblReminderMorning", "lblReminderAfternoon", "lblReminderEvening"};
    const char* panelNames[3] = {"pnlReminderMorning", "pnlReminderAfternoon", "pnlReminderEvening"};
    const char* memoNames[3] = {"mmReminderMorning", "mmReminderAfrernoon", "mmReminderEvening"};
    for (int i = 0; i < 3; ++i) {
        const int top = 10 + 160 * i;
        PageLabel(tsReminder, *labels[i], labelNames[i], captions[i], 10, top, 200);
        SkinPanel(*panels[i], panelNames[i], skins.panelFrame, kHeaderSide);
        tsReminder.Insert(*panels[i], 10, top + 23, 305, 130);
    }
    for (int i = 0; i < 3; ++i) {
        memos[i]->Name = memoNames[i];
        RemoveBorder(*memos[i]);
        tsReminder.Insert(*memos[i], 17, 41 + 160 * i, 290, 114);
        memos[i]->OnChange = [this, i](TWinControl& memo) {
            if (Loading) return;
            options_.SetReminderText(static_cast<TReminderType>(i), memo.Text());
            RefreshReminderFlags();
        };
    }
}

void TfrmMain::BuildUsagePage() {
    const TSkinSet& skins = Skins();
    SkinPanel(pnlUsage_Period, "pnlUsage_Period", skins.panelFrame, kHeaderSide);
    tsUsage.Insert(pnlUsage_Period, 10, 8, 305, kPanelHeight);
    SkinComboButton(btnComboUsagePeriod, "btnComboUsagePeriod");
    tsUsage.Insert(btnComboUsagePeriod, 283, 10, 26, 26);
    btnComboUsagePeriod.OnClick = [this](TControl&) { cbxUsage_Period.DropDown(); };
    PageLabel(tsUsage, lblUsage_Applications, "lblUsage_Applications", "Time spent on these applications/websites:", 10,
              44, 305);
    lblUsage_Applications.SetFont(WhiteFont(false));
    SkinPanel(pnlUsage_Applications, "pnlUsage_Applications", skins.panelFrame, kHeaderSide);
    tsUsage.Insert(pnlUsage_Applications, 10, 64, 305, 380);
    SkinDialogButton(btnUsage_History, "btnUsage_History", "History...", 0, 0, 100);
    tsUsage.Insert(btnUsage_History, 215, 450, 100, 32);
    btnUsage_History.OnClick = [this](TControl&) { actHistoryExecute(); };
    TImagePanel* heads[3] = {&pnlUsage_Name, &pnlUsage_Type, &pnlUsage_Time};
    TLabel* labels[3] = {&lblUsage_Name, &lblUsage_Type, &lblUsage_Time};
    const char* names[6] = {"pnlUsage_Name", "pnlUsage_Type", "pnlUsage_Time",
                            "lblUsage_Name", "lblUsage_Type", "lblUsage_Time"};
    ColumnHeads(tsUsage, 64, heads, labels, names);

    cbxUsage_Period.Name = "cbxUsage_Period";
    for (std::string_view period : kUsagePeriodTexts) cbxUsage_Period.AddItem(std::string(period));
    cbxUsage_Period.SetItemIndex(upToday);
    tsUsage.Insert(cbxUsage_Period, 18, 12, 288, 200);
    cbxUsage_Period.OnChange = [this](TWinControl&) { RefreshUsageList(); };
    TimeList(tsUsage, lbxUsage_Applications, "lbxUsage_Applications", kUsageRowHeight, {16, 87, 16 + 291, 87 + 349});
}

void TfrmMain::BuildMenus() {
    miChooseView.Enabled = false;
    const std::pair<TMenuItem*, std::pair<TTabSheet*, bool>> views[] = {
        {&miViewMain, {&tsMain, false}},
        {&miViewRemindersOnly, {&tsReminder, false}},
        {&miViewUsage, {&tsUsage, false}},
        {&miViewLite, {&tsMain, true}},
    };
    for (const auto& [item, view] : views) {
        item->AutoCheck = true;
        item->RadioItem = true;
        item->OnClick = [this, page = view.first, lite = view.second](TMenuItem& clicked) {
            ViewMenuClick(clicked, *page, lite);
        };
    }
    miViewLite.SetChecked(true);

    miSettings.OnClick = [this](TMenuItem&) { actSettingsExecute(); };
    miHistory.OnClick = [this](TMenuItem&) { actHistoryExecute(); };
    miHelp.OnClick = [](TMenuItem&) { OpenWebAddress(ProductWebPage("/help")); };
    miHomeworkTips.OnClick = [](TMenuItem&) { OpenWebAddress(ProductWebPage("/help")); };
    miLinksHelp.OnClick = [](TMenuItem&) { OpenWebAddress(ProductWebPage("/help")); };
    miUpgrades.OnClick = [](TMenuItem&) { OpenWebAddress(ProductWebPage("/download")); };

    miMinimize.Visible = false;
    miMinimize.OnClick = [this](TMenuItem&) { actMinimizeExecute(); };
}

void TfrmMain::PopupBelow(TPopupMenu& menu, const TControl& button) {
    const IntRect device = button.DeviceRect();
    POINT corner{device.left, device.bottom};
    ClientToScreen(Handle(), &corner);
    menu.Popup(Handle(), corner.x, corner.y);
}

}  // namespace vh::win32
