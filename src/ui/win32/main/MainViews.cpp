// The main window's views: building the pages and menus, the time display,
// the reminder texts, the two time-limit lists and the dialogs they open.

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
#include "ui/ListEntryRemoval.h"
#include "ui/MainViewRules.h"
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
}

// The width of a label's caption in its font, in 96-DPI pixels rounded up, so
// the label laid out at that width still holds it at the form's scale.
int CaptionWidth(const TLabel& label) {
    const int device = label.MeasureCaption().width;
    const int dpi = label.Dpi();
    int design = UnscaleFromDpi(device, dpi);
    while (ScaleToDpi(design, dpi) < device) ++design;
    return design;
}

}  // namespace

// ------------------------------------------------------------ building

void TfrmMain::BuildViews() {
    // Stay on top: the side bar is always at hand.
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    imgIcon.SetVisible(false);
    lblCaption.SetVisible(false);
    const TSkinSet& skins = Skins();

    PictureButton(btnView, "btnView", skins.viewButton);
    btnView.SetBounds(260, 6, 16, 16);
    btnView.OnClick = [this](TControl&) { PopupBelow(pmnView, btnView); };
    PictureButton(btnLinks, "btnLinks", skins.linksButton);
    btnLinks.SetBounds(280, 6, 16, 16);
    btnLinks.OnClick = [this](TControl&) { PopupBelow(pmnAddons, btnLinks); };
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
    tsUsage.Insert(pnlUsage_Applications, 10, 64, 305, 418);
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
    TimeList(tsUsage, lbxUsage_Applications, "lbxUsage_Applications", kUsageRowHeight, {16, 87, 16 + 291, 87 + 387});
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

// ------------------------------------------------------------ views

void TfrmMain::ViewMenuClick(TMenuItem& item, TTabSheet& page, bool lite) {
    // Re-clicking the checked view unchecked it: check it again, nothing else.
    if (!item.Checked) {
        item.Checked = true;
        return;
    }
    ShowView(page, lite);
}

void TfrmMain::ShowView(TTabSheet& page, bool lite) {
    activePage_ = &page;
    {
        // One repaint at the end instead of one per control moved.
        struct TRedrawOff {
            HWND window;
            ~TRedrawOff() {
                SendMessageW(window, WM_SETREDRAW, TRUE, 0);
                RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
            }
        } redrawOff{Handle()};
        SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
        ReturnPageControls(*this);
        ShowPageControls(*this, page);
        if (&page == &tsUsage) RefreshUsageList();
    }
    LiteView = lite;
    FitViewHeight();
    const bool paging = &page != &tsMain;
    btnBack.SetVisible(paging);
    btnNext.SetVisible(paging);
    Invalidate();
}

void TfrmMain::FitViewHeight() {
    // The lite view's height or the work area's, at the window's edge.
    docking_.ReDock();
}

void TfrmMain::FormDpiChanged() {
    TfrmBase::FormDpiChanged();
    FitViewHeight();
    hints_.PlaceTools();
}

int TfrmMain::PageIndex(const TTabSheet* page) const noexcept {
    const auto& pages = pcMain.Pages();
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].get() == page) return static_cast<int>(i);
    }
    return 0;
}

void TfrmMain::btnBackClick() {
    const int count = static_cast<int>(pcMain.Pages().size());
    ShowView(*pcMain.Pages()[static_cast<std::size_t>(StepPage(PageIndex(activePage_), -1, count))], false);
}

void TfrmMain::btnNextClick() {
    const int count = static_cast<int>(pcMain.Pages().size());
    ShowView(*pcMain.Pages()[static_cast<std::size_t>(StepPage(PageIndex(activePage_), +1, count))], false);
}

// ------------------------------------------------------------ time display

void TfrmMain::actChangeTimeFormatExecute() {
    TimeDisplayMode = static_cast<std::uint8_t>(NextDisplayMode(TimeDisplayMode));
    const TDisplayTexts texts = TimeDisplayTexts(TimeDisplayMode);
    lblMain_TimeLink.SetCaption(texts.link);
    lblMain_TimeTitle.SetCaption(texts.title);
    RefreshTime();
}

void TfrmMain::RefreshTime() {
    const std::int32_t seconds = monitor_.Logger().SecondsOnList;
    lblMain_Time.SetCaption(TimeDisplayValue(TimeDisplayMode, seconds, options_.TimeLimitSeconds(), ProgramNow()));
    const int titleWidth = CaptionWidth(lblMain_TimeTitle);
    const int valueWidth = CaptionWidth(lblMain_Time);
    const TTimePanelLayout layout = LayoutTimePanel(lblMain_TimeTitle.Left(), titleWidth, valueWidth);
    lblMain_TimeTitle.SetBounds(lblMain_TimeTitle.Left(), lblMain_TimeTitle.Top(), titleWidth + 2,
                                lblMain_TimeTitle.Height());
    lblMain_Time.SetBounds(layout.valueLeft, lblMain_Time.Top(), valueWidth + 2, lblMain_Time.Height());
    pnlMain_TimeOnline.SetBounds(pnlMain_TimeOnline.Left(), pnlMain_TimeOnline.Top(), layout.panelWidth,
                                 pnlMain_TimeOnline.Height());
    if (monitor_.InFocus()) RefreshFocusTime();
}

// ------------------------------------------------------------ reminder texts

void TfrmMain::RefreshReminderFlags() {
    for (int period = 0; period < kReminderTypeCount; ++period)
        reminderFlags_[static_cast<std::size_t>(period)] =
            HasReminderText(options_.GetReminderText(static_cast<TReminderType>(period)));
    ::InvalidateRect(cbxReminder.Handle(), nullptr, TRUE);
}

void TfrmMain::cbxReminderChange() {
    RefreshReminderFlags();
    const int period = ReminderPeriodOfIndex(cbxReminder.ItemIndex());
    Loading = true;
    mmReminder.SetText(WithWindowsLineBreaks(options_.GetReminderText(static_cast<TReminderType>(period))));
    Loading = false;
}

void TfrmMain::SelectReminderPeriod(TReminderType period) {
    if (cbxReminder.ItemIndex() == period) return;
    cbxReminder.SetItemIndex(period);
    cbxReminderChange();
}

void TfrmMain::LoadPeriodMemos() {
    TMemo* memos[3] = {&mmReminderMorning, &mmReminderAfrernoon, &mmReminderEvening};
    Loading = true;
    for (int period = 0; period < kReminderTypeCount; ++period)
        memos[period]->SetText(WithWindowsLineBreaks(options_.GetReminderText(static_cast<TReminderType>(period))));
    Loading = false;
}

void TfrmMain::DrawReminderComboItem(TOwnerDrawComboBox& combo, const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1)) return;
    const int rowHeight = item.rcItem.bottom - item.rcItem.top;
    const int square = rowHeight + Scale(10);
    RECT text = item.rcItem;
    text.right -= square;
    text.left += 2;
    const std::wstring caption = ItemTextW(combo.Handle(), CB_GETLBTEXTLEN, CB_GETLBTEXT, item.itemID);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    const auto period = static_cast<int>(item.itemID);
    if (combo.DroppedDown() && (item.itemState & ODS_COMBOBOXEDIT) == 0 && period < kReminderTypeCount &&
        ReminderHasText(period)) {
        const TPicture& check = Skins().tick;
        const IntSize size = check.SizeAt(Dpi());
        check.Draw(dc, item.rcItem.right - square + (square - size.width) / 2,
                   item.rcItem.top + (rowHeight - size.height) / 2, Dpi());
    }
}

// ------------------------------------------------------------ lists

void TfrmMain::FillMainList() {
    TListBoxTarget target(lbxMain_Applications);
    monitor_.Logger().TodayList().FillStrings(target, mitAll);
    PadListWithBlankRows(*this, lbxMain_Applications);
}

void TfrmMain::RefreshUsageList() {
    // The rows point into the usage list, which the load replaces.
    lbxUsage_Applications.Clear();
    const int choice = std::clamp(cbxUsage_Period.ItemIndex(), 0, static_cast<int>(kUsagePeriodTexts.size()) - 1);
    const TPeriodBounds bounds = UsagePeriodBounds(static_cast<TUsagePeriod>(choice), ProgramNow());
    TZuravoZazoApplicationLogger& engine = monitor_.Logger();
    engine.UsageListLoad(false, bounds.From, bounds.To);
    TListBoxTarget target(lbxUsage_Applications);
    engine.UsageList().FillStrings(target, mitAll);
    PadListWithBlankRows(*this, lbxUsage_Applications);
}

void TfrmMain::RefreshUsage() {
    FillMainList();
    if (activePage_ == &tsUsage) RefreshUsageList();
}

void TfrmMain::ClearListViews() {
    lbxMain_Applications.Clear();
    lbxUsage_Applications.Clear();
}

void TfrmMain::ShowDayStart(const std::string& timeLimitText, const std::string& expirationActionText) {
    ClearListViews();
    edtTimeLimit.SetText(timeLimitText);
    edtAction.SetText(expirationActionText);
    // The usage list is loaded when its view shows (ShowView): the log's
    // totals are not read for a hidden list.
    RefreshUsage();
    RefreshTime();
}

void TfrmMain::ApplyOptionsToWindow() {
    ShowTimeSettings();
    cbxReminder.SetItemIndex(ReminderPeriodOf(ProgramTime()));
    cbxReminderChange();
    LoadPeriodMemos();
    RefreshReminderFlags();
}

void TfrmMain::ShowTimeSettings() {
    edtTimeLimit.SetText(FormatHHNN(options_.TimeLimit(), TMinuteRounding::Down));
    edtAction.SetText(options_.ExpirationActionName());
}

// ------------------------------------------------------------ dialogs

void TfrmMain::actSettingsExecute() {
    Trace("TfrmMain.actSettingsExecute started");
    tmrSaveOptions.SetEnabled(false);
    bool applied = false;
    {
        const ScopeExit restore([this] {
            tmrSaveOptions.SetEnabled(true);
            options_.ImmediateChangeAllowed = false;
        });
        applied = RunSettingsDialog(options_, AppearancePreferences(), false);
    }
    if (!applied) return;
    ApplyOptionsToWindow();
    // The rows point into the engine's list of today, which the load replaces.
    lbxMain_Applications.Clear();
    monitor_.Logger().MonitoredListLoad(false);
    FillMainList();
    RefreshTime();
    const TFormAppearance appearance = CurrentAppearance();
    SetColor(appearance.color);
    SetFormTransparency(*this, appearance.transparency);
    SetFormTextColor(*this, appearance.textColor);
    Invalidate();
}

void TfrmMain::actTimeEditExecute() {
    auto& dialog = CreateForm<TfrmReminderSettings>(options_);
    if (!dialog.Execute()) return;
    options_.Save();
    ShowTimeSettings();
    RefreshTime();
}

void TfrmMain::btnApp_DeleteClick() {
    const int index = lbxMain_Applications.ItemIndex();
    auto* item = index >= 0 ? static_cast<TMonitoredItem*>(lbxMain_Applications.Object(index)) : nullptr;
    switch (DeleteStepFor(item)) {
        case TDeleteStep::Nothing: return;
        case TDeleteStep::PendingNotice:
            ShowWarning(FormatWithCaption(kPendingRemovalFormat, item->Caption), kPleaseNote);
            return;
        case TDeleteStep::Confirm: break;
    }
    const std::string caption = lbxMain_Applications.Item(index);
    const bool confirmed =
        DeleteConfirmRunner ? DeleteConfirmRunner(caption) : CreateForm<TfrmDeleteConfirm>().Execute(caption);
    if (!confirmed) return;
    lbxMain_Applications.BeginUpdate();
    const ScopeExit endUpdate([this] { lbxMain_Applications.EndUpdate(); });
    // No row may keep pointing at an entry that is gone, also when the
    // removal fails part-way.
    ScopeExit clearRows([this] { lbxMain_Applications.Clear(); });
    // The row's item may be deleted: the list is refilled before any paint.
    RemoveListEntry(options_, monitor_.Logger(), *item);
    FillMainList();
    clearRows.Dismiss();
}

}  // namespace vh::win32
