// The main window's views: switching between them and the Back/Next
// buttons, the time display, the reminder texts and the two time-limit lists.

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
    const TListChoice choice(lbxMain_Applications);
    TListBoxTarget target(lbxMain_Applications);
    monitor_.Logger().TodayList().FillStrings(target, mitAll);
    PadListWithBlankRows(*this, lbxMain_Applications);
    choice.RestoreIn(lbxMain_Applications);
}

void TfrmMain::RefreshUsageList() {
    const TListChoice chosen(lbxUsage_Applications);
    // The rows point into the usage list, which the load replaces.
    lbxUsage_Applications.Clear();
    const int choice = std::clamp(cbxUsage_Period.ItemIndex(), 0, static_cast<int>(kUsagePeriodTexts.size()) - 1);
    const TPeriodBounds bounds = UsagePeriodBounds(static_cast<TUsagePeriod>(choice), ProgramNow());
    TZuravoZazoApplicationLogger& engine = monitor_.Logger();
    engine.UsageListLoad(false, bounds.From, bounds.To);
    TListBoxTarget target(lbxUsage_Applications);
    engine.UsageList().FillStrings(target, mitAll);
    PadListWithBlankRows(*this, lbxUsage_Applications);
    chosen.RestoreIn(lbxUsage_Applications);
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

}  // namespace vh::win32
