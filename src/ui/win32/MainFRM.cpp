#include "ui/win32/MainFRM.h"

#include <shellapi.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "environment/DateTimeUtils.h"
#include "environment/Trace.h"
#include "platform/win32/Utf16.h"
#include "storage/AppearancePreferences.h"
#include "storage/DatabaseFiles.h"
#include "storage/Options.h"
#include "storage/OptionsTypes.h"
#include "ui/win32/ReminderFRM.h"

namespace vh::win32 {
namespace {

constexpr int kClientWidth = 242;
constexpr int kClientHeight = 600;
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
      pmnTray(AddPopupMenu("pmnTray")),
      miExit(pmnTray.Add("miExit", "&Exit")),
      options_(options),
      monitor_(options, windows_, *this),
      docking_(*this, AppearancePreferences()),
      appearanceMenu_(*this, AppearancePreferences(), docking_) {
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

    miExit.Visible = false;
    miExit.OnClick = [this](TMenuItem&) { TerminateApplication(); };
    docking_.IsPaused = [this] { return monitor_.Busy(); };
    pnlBody.OnMouseMove = [this](TControl&, TShiftState, int, int) { docking_.BodyMouseMove(); };
    for (TControl* header : {static_cast<TControl*>(&pnlHeader), static_cast<TControl*>(&lblCaption)}) {
        header->OnMouseDown = [this](TControl& sender, TMouseButton button, TShiftState shift, int x, int y) {
            if (button != TMouseButton::mbRight) return CommonHeaderMouseDown(sender, button, shift, x, y);
            POINT cursor{};
            GetCursorPos(&cursor);
            appearanceMenu_.Popup(cursor.x, cursor.y);
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
    monitor_.FocusTimeDisplay = 1;

    // A period below a second would make the scan a busy loop.
    tmrScan.SetInterval(static_cast<UINT>(std::max(1, options_.ScanPeriodSeconds)) * 1000u);
    monitor_.LastScanTime = ProgramNow();
    monitor_.tmrTimeTimer();
    monitor_.tmrUsageTimer();
    monitor_.tmrReminderChangeTimer();
    docking_.Start();
    appearanceMenu_.ListSkins();
    tmrReminderChange.SetEnabled(true);
    monitor_.tmrUsageTimer();

    monitor_.Start();
    hotKey_.emplace(Handle(), kHotKeyAtomName, MOD_ALT, 0);
    monitor_.HotKeyId = hotKey_->Id();
    PurgeActivityLog();

    for (TTimer* timer : {&tmrScan, &tmrUsage, &tmrTime, &tmrSaveOptions, &tmrShutdown, &tmrTimeSynchronization})
        timer->SetEnabled(true);
    MinimizeApplication();
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
        case WM_HOTKEY: monitor_.HotKey(static_cast<std::uintptr_t>(wParam)); return 0;
        case WM_POWERBROADCAST: monitor_.PowerBroadcast(static_cast<std::uintptr_t>(wParam)); return TRUE;
        case WM_WTSSESSION_CHANGE: monitor_.SessionChange(static_cast<std::uintptr_t>(wParam)); return 0;
        case kTrayIconMessage: TrayIconMessage(lParam); return 0;
        // A task bar moved or resized, a monitor added or removed.
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA) docking_.ReDock();
            return TfrmBase::HandleMessage(message, wParam, lParam);
        case WM_DISPLAYCHANGE: docking_.ReDock(); return TfrmBase::HandleMessage(message, wParam, lParam);
        default: return TfrmBase::HandleMessage(message, wParam, lParam);
    }
}

void TfrmMain::FormDpiChanged() {
    TfrmBase::FormDpiChanged();
    docking_.ReDock();
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

// The views (reminder texts, lists, labels, focus layout) come with the main
// window's views; the monitoring side already tells the window when to
// change them.
void TfrmMain::SelectReminderPeriod(TReminderType) {}
void TfrmMain::ShowNormalLayout() {}
void TfrmMain::RefreshUsage() {}
void TfrmMain::RefreshTime() {}
void TfrmMain::ClearListViews() {}
void TfrmMain::ShowDayStart(const std::string&, const std::string&) {}

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
    if (ReminderChangeRunner) ReminderChangeRunner();
}

void TfrmMain::MinimizeApplication() {
    Hide();
}

void TfrmMain::TrayIconLeftClick() {
    SendMessageW(Handle(), kTrayIconMessage, 0, WM_LBUTTONDOWN);
}

void TfrmMain::TerminateApplication() {
    PostQuitMessage(0);
}

}  // namespace vh::win32
