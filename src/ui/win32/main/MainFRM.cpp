#include "ui/win32/main/MainFRM.h"

#include <shellapi.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "environment/DateTimeUtils.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "platform/win32/Utf16.h"
#include "storage/AppearancePreferences.h"
#include "storage/DatabaseFiles.h"
#include "storage/Options.h"
#include "storage/OptionsTypes.h"
#include "ui/MainViewRules.h"
#include "ui/presenters/CandidateApplication.h"
#include "ui/win32/addwizard/AppSiteAddWizardFRM.h"
#include "ui/win32/dialogs/ReminderChangeFRM.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/reminder/ReminderFRM.h"
#include "ui/win32/skin/DialogRoutines.h"

namespace vh::win32 {
namespace {

constexpr int kClientWidth = 319;
constexpr int kClientHeight = 631;
constexpr int kReminderRowHeight = 14;
constexpr UINT kTrayIconId = 0;
constexpr int kApplicationIconResource = 1;

}  // namespace

TfrmMain::TfrmMain(TOptions& options)
    : TfrmBase(kApplicationTitle, kClientWidth, kClientHeight),
      tmrScan(AddTimer()),
      tmrUsage(AddTimer()),
      tmrTime(AddTimer()),
      tmrSaveOptions(AddTimer()),
      tmrReminderOnly(AddTimer()),
      tmrReminderChange(AddTimer()),
      tmrShutdown(AddTimer()),
      tmrTimeSynchronization(AddTimer()),
      btnView(Add<TImageButton>()),
      btnLinks(Add<TImageButton>()),
      btnMinimize(Add<TImageButton>()),
      lblMain_TimeLink(Add<TLabel>()),
      pnlMain_TimeOnline(Add<TImagePanel>()),
      lblMain_TimeTitle(Add<TLabel>()),
      lblMain_Time(Add<TLabel>()),
      btnFocus(Add<TImageButton>()),
      lblMain_FocusModeTimeLink(Add<TLabel>()),
      pnlMain_FocusTime(Add<TImagePanel>()),
      lblMain_FocusTimeTitle(Add<TLabel>()),
      lblMain_FocusTime(Add<TLabel>()),
      btnBack(Add<TImageButton>()),
      btnNext(Add<TImageButton>()),
      pcMain(Add<TPageControl>()),
      tsMain(pcMain.AddPage("tsMain")),
      tsReminder(pcMain.AddPage("tsReminder")),
      tsUsage(pcMain.AddPage("tsUsage")),
      lblReminder(Add<TLabel>()),
      pnlReminderCombo(Add<TImagePanel>()),
      btnReminderCombo(Add<TImageButton>()),
      pnlReminder(Add<TImagePanel>()),
      lblMain_Applications(Add<TLabel>()),
      pnlMain_Applications(Add<TImagePanel>()),
      pnlApp_Name(Add<TImagePanel>()),
      pnlApp_Type(Add<TImagePanel>()),
      pnlApp_Time(Add<TImagePanel>()),
      lblApp_Name(Add<TLabel>()),
      lblApp_Type(Add<TLabel>()),
      lblApp_Time(Add<TLabel>()),
      btnApp_Add(Add<TImageButton>()),
      btnApp_Delete(Add<TImageButton>()),
      lblAction(Add<TLabel>()),
      pnlAction(Add<TImagePanel>()),
      btnTimeEdit(Add<TImageButton>()),
      lblTimeLimit(Add<TLabel>()),
      pnlAfter(Add<TImagePanel>()),
      lblReminderMorning(Add<TLabel>()),
      pnlReminderMorning(Add<TImagePanel>()),
      lblReminderAfternoon(Add<TLabel>()),
      pnlReminderAfternoon(Add<TImagePanel>()),
      lblReminderEvening(Add<TLabel>()),
      pnlReminderEvening(Add<TImagePanel>()),
      pnlUsage_Period(Add<TImagePanel>()),
      btnComboUsagePeriod(Add<TImageButton>()),
      lblUsage_Applications(Add<TLabel>()),
      pnlUsage_Applications(Add<TImagePanel>()),
      pnlUsage_Name(Add<TImagePanel>()),
      pnlUsage_Type(Add<TImagePanel>()),
      pnlUsage_Time(Add<TImagePanel>()),
      lblUsage_Name(Add<TLabel>()),
      lblUsage_Type(Add<TLabel>()),
      lblUsage_Time(Add<TLabel>()),
      btnUsage_History(Add<TImageButton>()),
      cbxReminder(Add<TOwnerDrawComboBox>(kReminderRowHeight)),
      mmReminder(Add<TMemo>()),
      lbxMain_Applications(Add<TItemListBox>()),
      edtAction(Add<TEdit>()),
      edtTimeLimit(Add<TEdit>()),
      mmReminderMorning(Add<TMemo>()),
      mmReminderAfrernoon(Add<TMemo>()),
      mmReminderEvening(Add<TMemo>()),
      cbxUsage_Period(Add<TComboBox>()),
      lbxUsage_Applications(Add<TItemListBox>()),
      pmnView(AddPopupMenu("pmnView")),
      miChooseView(pmnView.Add("miChooseView", "Choose View:")),
      miViewMain((pmnView.AddSeparator(), pmnView.Add("miViewMain", "All"))),
      miViewRemindersOnly(pmnView.Add("miViewRemindersOnly", "Reminders")),
      miViewUsage(pmnView.Add("miViewUsage", "Usage")),
      miViewLite(pmnView.Add("miViewLite", "Lite")),
      pmnAddons(AddPopupMenu("pmnAddons")),
      miAutohide(pmnAddons.Add("miAutohide", "Auto-hide")),
      miSettings(pmnAddons.Add("miSettings", "Settings")),
      miHistory(pmnAddons.Add("miHistory", "Usage History...")),
      miHelp(pmnAddons.Add("miHelp", "Help")),
      miUsefulLinks((pmnAddons.AddSeparator(), pmnAddons.Add("miUsefulLinks", "Useful Links"))),
      miHomeworkTips(miUsefulLinks.Add("miHomeworkTips", "Homework Tips")),
      miLinksHelp(miUsefulLinks.Add("miLinksHelp", "Help")),
      miUpgrades(miUsefulLinks.Add("miUpgrades", "Upgrades")),
      pmnHidden(AddPopupMenu("pmnHidden")),
      miMinimize(pmnHidden.Add("miMinimize", "Minimize", VK_ESCAPE)),
      pmnTray(AddPopupMenu("pmnTray")),
      miExit(pmnTray.Add("miExit", "&Exit")),
      options_(options),
      monitor_(options, windows_, *this),
      docking_(*this, AppearancePreferences()),
      appearanceMenu_(*this, AppearancePreferences(), docking_, pmnAddons, miAutohide) {
    // No task-bar button: the tray icon is the way in.
    const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, (exStyle & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW);

    tmrScan.SetInterval(kScanIntervalBeforeStart);
    tmrUsage.SetInterval(kUsageInterval);
    tmrTime.SetInterval(kTimeInterval);
    tmrSaveOptions.SetInterval(kSaveOptionsInterval);
    tmrReminderOnly.SetInterval(kReminderOnlyInterval);
    tmrReminderChange.SetInterval(kReminderChangeInterval);
    tmrShutdown.SetInterval(kShutdownInterval);
    tmrTimeSynchronization.SetInterval(kTimeSynchronizationInterval);
    tmrScan.OnTimer = [this](TTimer&) { monitor_.tmrScanTimer(); };
    tmrUsage.OnTimer = [this](TTimer&) { monitor_.tmrUsageTimer(); };
    tmrTime.OnTimer = [this](TTimer&) { monitor_.tmrTimeTimer(); };
    tmrSaveOptions.OnTimer = [this](TTimer&) { monitor_.tmrSaveOptionsTimer(); };
    tmrReminderOnly.OnTimer = [this](TTimer&) { monitor_.tmrReminderOnlyTimer(); };
    tmrReminderChange.OnTimer = [this](TTimer&) { monitor_.tmrReminderChangeTimer(); };
    tmrShutdown.OnTimer = [this](TTimer& timer) {
        timer.SetEnabled(false);
        monitor_.tmrShutdownTimer();
        timer.SetEnabled(true);
    };
    tmrTimeSynchronization.OnTimer = [this](TTimer&) { monitor_.tmrTimeSynchronizationTimer(); };
    BuildViews();

    miExit.Visible = false;
    miExit.OnClick = [this](TMenuItem&) { TerminateApplication(); };
    docking_.IsPaused = [this] { return monitor_.Busy(); };
    docking_.IsLiteView = [this] { return LiteView; };
    docking_.LiteViewHeight = [this] { return ViewClientHeight(true, pnlReminder.BoundsRect().bottom, 0); };
    // The hidden bar's sliver may lie over any of its controls: a mouse move
    // over any of them brings it back.
    for (const auto& control : Controls()) {
        control->OnMouseMove = [this, own = control->OnMouseMove](TControl& sender, TShiftState shift, int x, int y) {
            docking_.BodyMouseMove();
            if (own) own(sender, shift, x, y);
        };
    }
}

void TfrmMain::AfterConstruction() {
    TfrmBase::AfterConstruction();
    sessionNotices_.emplace(Handle());
    monitor_.LastScanTime = ProgramNow();
    // A shared icon of the module: not destroyed by us.
    trayIcon_.emplace(Handle(), kTrayIconId, kTrayIconMessage,
                      LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kApplicationIconResource)),
                      kApplicationTitle);
    TimeDisplayMode = 0;
    monitor_.FocusTimeDisplay = 1;

    ApplyOptionsToWindow();
    // A period below a second would make the scan a busy loop.
    tmrScan.SetInterval(static_cast<UINT>(std::max(1, options_.ScanPeriodSeconds)) * 1000u);
    monitor_.LastScanTime = ProgramNow();
    monitor_.tmrTimeTimer();
    monitor_.tmrUsageTimer();
    docking_.Start();
    ShowView(tsMain, true);
    tmrReminderChange.SetEnabled(true);
    monitor_.tmrUsageTimer();

    monitor_.Start();
    hotKey_.emplace(Handle(), kHotKeyAtomName, MOD_ALT, 0);
    monitor_.HotKeyId = hotKey_->Id();
    // The clean-up has the file to itself; the next row opens the log again.
    monitor_.Logger().CloseLog();
    PurgeActivityLog();

    for (TTimer* timer : {&tmrScan, &tmrSaveOptions, &tmrShutdown, &tmrTimeSynchronization}) timer->SetEnabled(true);
    // The time display's and the lists' timers run while the window shows.
    ShownChanged(Visible());
    MinimizeApplication();
    // The reminder-change question waits in a modal loop: asked once the
    // message loop runs, with the scan already timed.
    PostMessageW(Handle(), kAfterStartMessage, 0, 0);
}

void TfrmMain::PostNotice(const std::string& message) {
    notices_.push_back(message);
    PostMessageW(Handle(), kNoticeMessage, 0, 0);
}

void TfrmMain::ShowPostedNotices() {
    // Taken first: a notice posted while one is open comes after it.
    std::vector<std::string> notices;
    notices.swap(notices_);
    for (const std::string& notice : notices) ShowWarning(notice, kPleaseNote);
}

TfrmMain::~TfrmMain() {
    for (auto& timer : {&tmrScan, &tmrUsage, &tmrTime, &tmrSaveOptions, &tmrReminderOnly, &tmrReminderChange,
                        &tmrShutdown, &tmrTimeSynchronization})
        timer->OnTimer = nullptr;
}

void TfrmMain::FormClose(TCloseAction& action) {
    // Closing only minimises; the window is disabled while a reminder shows.
    action = TCloseAction::caNone;
    if (IsWindowEnabled(Handle())) MinimizeApplication();
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HOTKEY: {
            // The message's time is the key press's; unsigned arithmetic
            // survives the tick count's wrap.
            const DWORD age = GetTickCount() - static_cast<DWORD>(GetMessageTime());
            monitor_.HotKey(static_cast<std::uintptr_t>(wParam), age / 1000.0);
            return 0;
        }
        case WM_POWERBROADCAST: monitor_.PowerBroadcast(static_cast<std::uintptr_t>(wParam)); return TRUE;
        case WM_WTSSESSION_CHANGE: monitor_.SessionChange(static_cast<std::uintptr_t>(wParam)); return 0;
        case kTrayIconMessage: TrayIconMessage(lParam); return 0;
        case kNoticeMessage: ShowPostedNotices(); return 0;
        case kAfterStartMessage: monitor_.tmrReminderChangeTimer(); return 0;
        case WM_SHOWWINDOW:
            // Not the hiding and showing with an owner, which this window has not.
            if (lParam == 0) ShownChanged(wParam != FALSE);
            return TfrmBase::HandleMessage(message, wParam, lParam);
        // A task bar moved or resized, a monitor added or removed.
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA) docking_.ReDock();
            return TfrmBase::HandleMessage(message, wParam, lParam);
        case WM_DISPLAYCHANGE: docking_.ReDock(); return TfrmBase::HandleMessage(message, wParam, lParam);
        default: return TfrmBase::HandleMessage(message, wParam, lParam);
    }
}

bool TfrmMain::CanMoveTo(int newLeft, int newTop) {
    return docking_.CanMoveTo(newLeft, newTop);
}

void TfrmMain::TrayIconMessage(LPARAM mouseMessage) {
    if (mouseMessage == WM_RBUTTONDOWN) {
        POINT cursor{};
        GetCursorPos(&cursor);
        // Popup brings the window to the front and posts the closing WM_NULL.
        pmnTray.Popup(Handle(), cursor.x, cursor.y);
        return;
    }
    if (mouseMessage != WM_LBUTTONDOWN) return;
    if (docking_.SlideState() == TSlideState::Hidden) {
        RestoreApplication();
        docking_.ShowIfHidden();
    } else if (Visible()) {
        // Not while a modal dialog has disabled the window.
        if (IsWindowEnabled(Handle())) MinimizeApplication();
    } else {
        RestoreApplication();
    }
}

void TfrmMain::ShownChanged(bool shown) {
    // Sent before the window appears: its first paint shows the present.
    if (shown) {
        monitor_.tmrTimeTimer();
        monitor_.tmrUsageTimer();
    }
    // Nobody reads a hidden display: no tick a second to refresh it.
    tmrTime.SetEnabled(shown);
    tmrUsage.SetEnabled(shown);
    docking_.WindowShown(shown);
}

void TfrmMain::RestoreApplication() {
    Show();
    SetForegroundWindow(Handle());
}

// ------------------------------------------------------------ IMainWindow

void TfrmMain::SetScanTimerEnabled(bool enabled) {
    tmrScan.SetEnabled(enabled);
}
void TfrmMain::SetReminderOnlyTimerEnabled(bool enabled) {
    tmrReminderOnly.SetEnabled(enabled);
}

void TfrmMain::btnApp_AddClick() {
    TMonitoredList result;
    RunAddWizard(Handle(), result);
    ApplyCandidates(result);
}

void TfrmMain::RunAddWizard(HWND owner, TMonitoredList& result) {
    if (AddWizardRunner)
        AddWizardRunner(options_, result);
    else
        CreateForm<TfrmAppSiteAddWizard>(owner).Execute(&options_, &options_.MonitoredList(), &result);
}

void TfrmMain::ApplyCandidates(const TMonitoredList& candidates) {
    TMonitoredList* today = monitor_.HasLogger() ? &monitor_.Logger().TodayList() : nullptr;
    ApplyCandidateList(options_, today, candidates, EnvironmentInstalled() ? GProgramFile() : std::string());
    if (candidates.Count() > 0 && monitor_.HasLogger()) FillMainList();
}
bool TfrmMain::ShowReminder(bool inFocus, const std::string& remainingText, bool show5MinButton) {
    TReminderSettings settings;
    settings.ExpirationAction = options_.ExpirationAction();
    for (int type = 0; type < kReminderTypeCount; ++type)
        settings.ReminderTexts[static_cast<std::size_t>(type)] =
            options_.GetReminderText(static_cast<TReminderType>(type));
    auto& reminder = CreateForm<TfrmReminder>(
        Handle(), std::move(settings), [this](bool fiveMinutesChosen, bool focusMode, int chosenAction) {
            enforcement_.EndReminder(fiveMinutesChosen, focusMode, chosenAction, options_.MonitoredList());
        });
    return reminder.Execute(inFocus, remainingText, show5MinButton);
}

void TfrmMain::RunReminderChange() {
    CreateForm<TfrmReminderChange>().Execute(options_);
}

void TfrmMain::MinimizeApplication() {
    Hide();
}

void TfrmMain::actMinimizeExecute() {
    // Not while a modal dialog of the window is open.
    if (IsWindowEnabled(Handle())) MinimizeApplication();
}

void TfrmMain::TrayIconLeftClick() {
    SendMessageW(Handle(), kTrayIconMessage, 0, WM_LBUTTONDOWN);
}

void TfrmMain::TerminateApplication() {
    PostQuitMessage(0);
}

}  // namespace vh::win32
