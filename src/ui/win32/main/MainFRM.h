#pragma once
// The main window: the side bar that lives in the notification area. It owns
// the monitoring timers and hands their ticks, the hot key and the session
// and power notices to its monitoring side (TMainMonitor); its close only
// minimises. Its views (MainViews.cpp): the time display, the reminder texts
// of the day's periods, the time-limit list, the usage list, and the view and
// tools menus.

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/MonitoredObjects.h"
#include "monitor/Enforcement.h"
#include "monitor/IMainWindow.h"
#include "monitor/MainMonitor.h"
#include "platform/win32/SystemShutdown.h"
#include "platform/win32/WindowSystem.h"
#include "ui/win32/main/MainAppearanceMenu.h"
#include "ui/win32/main/MainDocking.h"
#include "ui/win32/main/MainWindowNotices.h"
#include "ui/win32/skin/BaseFRM.h"
#include "ui/win32/toolkit/Hints.h"
#include "ui/win32/toolkit/ListControls.h"

namespace vh {
class TOptions;
}

namespace vh::win32 {

inline constexpr char kApplicationTitle[] = "Vornhalt";
// The tray icon's callback message.
inline constexpr UINT kTrayIconMessage = WM_USER + 1;
// Posted to itself: what the start-up leaves for the running window.
inline constexpr UINT kNoticeMessage = WM_USER + 2;
inline constexpr UINT kAfterStartMessage = WM_USER + 3;

class TfrmMain : public TfrmBase, private IMainWindow {
public:
    explicit TfrmMain(TOptions& options);
    ~TfrmMain() override;

    TTimer& tmrScan;
    TTimer& tmrUsage;
    TTimer& tmrTime;
    TTimer& tmrSaveOptions;
    TTimer& tmrReminderOnly;
    TTimer& tmrReminderChange;
    TTimer& tmrShutdown;
    TTimer& tmrTimeSynchronization;

    // Header and time display (form level).
    TImageButton& btnView;
    TImageButton& btnLinks;
    TImageButton& btnMinimize;
    TLabel& lblMain_TimeLink;
    TImagePanel& pnlMain_TimeOnline;
    TLabel& lblMain_TimeTitle;
    TLabel& lblMain_Time;
    // The Focus button, and the focus display shown in place of the time
    // display while focus mode is on (MainFocus.cpp).
    TImageButton& btnFocus;
    TLabel& lblMain_FocusModeTimeLink;
    TImagePanel& pnlMain_FocusTime;
    TLabel& lblMain_FocusTimeTitle;
    TLabel& lblMain_FocusTime;
    TImageButton& btnBack;
    TImageButton& btnNext;
    TPageControl& pcMain;
    TTabSheet& tsMain;
    TTabSheet& tsReminder;
    TTabSheet& tsUsage;
    // tsMain
    TLabel& lblReminder;
    TImagePanel& pnlReminderCombo;
    TImageButton& btnReminderCombo;
    TImagePanel& pnlReminder;
    TLabel& lblMain_Applications;
    TImagePanel& pnlMain_Applications;
    TImagePanel& pnlApp_Name;
    TImagePanel& pnlApp_Type;
    TImagePanel& pnlApp_Time;
    TLabel& lblApp_Name;
    TLabel& lblApp_Type;
    TLabel& lblApp_Time;
    TImageButton& btnApp_Add;
    TImageButton& btnApp_Delete;
    TLabel& lblAction;
    TImagePanel& pnlAction;
    TImageButton& btnTimeEdit;
    TLabel& lblTimeLimit;
    TImagePanel& pnlAfter;
    // tsReminder
    TLabel& lblReminderMorning;
    TImagePanel& pnlReminderMorning;
    TLabel& lblReminderAfternoon;
    TImagePanel& pnlReminderAfternoon;
    TLabel& lblReminderEvening;
    TImagePanel& pnlReminderEvening;
    // tsUsage
    TImagePanel& pnlUsage_Period;
    TImageButton& btnComboUsagePeriod;
    TLabel& lblUsage_Applications;
    TImagePanel& pnlUsage_Applications;
    TImagePanel& pnlUsage_Name;
    TImagePanel& pnlUsage_Type;
    TImagePanel& pnlUsage_Time;
    TLabel& lblUsage_Name;
    TLabel& lblUsage_Type;
    TLabel& lblUsage_Time;
    TImageButton& btnUsage_History;
    // Native controls (above every window-less one).
    TOwnerDrawComboBox& cbxReminder;
    TMemo& mmReminder;
    TItemListBox& lbxMain_Applications;
    TEdit& edtAction;
    TEdit& edtTimeLimit;
    TMemo& mmReminderMorning;
    TMemo& mmReminderAfrernoon;
    TMemo& mmReminderEvening;
    TComboBox& cbxUsage_Period;
    TItemListBox& lbxUsage_Applications;
    // Menus.
    TPopupMenu& pmnView;
    TMenuItem& miChooseView;
    TMenuItem& miViewMain;
    TMenuItem& miViewRemindersOnly;
    TMenuItem& miViewUsage;
    TMenuItem& miViewLite;
    TPopupMenu& pmnAddons;
    TMenuItem& miAutohide;
    TMenuItem& miSettings;
    TMenuItem& miHistory;
    TMenuItem& miHelp;
    TMenuItem& miUsefulLinks;
    TMenuItem& miHomeworkTips;
    TMenuItem& miLinksHelp;
    TMenuItem& miUpgrades;
    TPopupMenu& pmnHidden;
    TMenuItem& miMinimize;
    // Its one item runs the exit action, which is not visible, so the menu
    // shows no entry.
    TPopupMenu& pmnTray;
    TMenuItem& miExit;

    TMainMonitor& Monitor() noexcept { return monitor_; }
    TMainDocking& Docking() noexcept { return docking_; }
    TMainAppearanceMenu& AppearanceMenu() noexcept { return appearanceMenu_; }
    // The header drag only flips the window to the other edge.
    bool CanMoveTo(int newLeft, int newTop) override;
    THints& Hints() noexcept { return hints_; }

    // The window's view state.
    std::uint8_t TimeDisplayMode = 0;
    bool LiteView = false;
    bool Loading = false;
    TTabSheet* ActivePage() const noexcept { return activePage_; }

    void ShowView(TTabSheet& page, bool lite);
    void btnBackClick();
    void btnNextClick();
    void actChangeTimeFormatExecute();
    void actTimeEditExecute();
    // The settings dialog, with the options-saving timer stopped around it;
    // after Apply the views show the new settings.
    void actSettingsExecute();
    // The usage history window, over the engine's log.
    void actHistoryExecute();
    void actMinimizeExecute();
    void btnApp_DeleteClick();
    // The period chosen in cbxReminder: its text into mmReminder.
    void cbxReminderChange();
    void RefreshReminderFlags();
    bool ReminderHasText(int period) const noexcept { return reminderFlags_[static_cast<std::size_t>(period)]; }
    void FillMainList();
    void RefreshUsageList();
    // Runs the delete confirmation; tests replace it.
    std::function<bool(const std::string& caption)> DeleteConfirmRunner;

    // The add button: runs the add wizard over the options' list and applies
    // its result however the wizard was closed.
    void btnApp_AddClick();
    // Applies a list a dialog handed back (the add wizard's): the persisted
    // list and the engine's list of today's items take its entries, the list
    // is saved and the list view refreshed.
    void ApplyCandidates(const TMonitoredList& candidates);
    // Runs the add wizard over the options' list into `result` (the add
    // button's, or the focus dialog's "your list").
    void RunAddWizard(HWND owner, TMonitoredList& result);
    // Runs the add wizard; tests replace it.
    std::function<void(TOptions& options, TMonitoredList& result)> AddWizardRunner;
    // The focus mode start: the "Block Mode" dialog, then focus mode for the
    // time chosen there.
    void btnFocusClick();
    // The focus display's next mode: elapsed, remaining, the clock.
    void actChangeFocusModeTimeFormatExecute();

    void AfterConstruction() override;
    // Shows `message` ("Please Note") from the message loop, so that the
    // monitoring timers run while it waits for OK: a notice of the start-up
    // (databases kept aside) never holds the limits back.
    void PostNotice(const std::string& message);

protected:
    void FormClose(TCloseAction& action) override;
    // Another scale re-sizes the bar from its definition: back to its edge
    // at the view's height.
    void FormDpiChanged() override;
    // The client height of the current view (lite or the work area's), at
    // the window's edge.
    void FitViewHeight();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // IMainWindow
    void SetScanTimerEnabled(bool enabled) override;
    void SetReminderOnlyTimerEnabled(bool enabled) override;
    void SelectReminderPeriod(TReminderType period) override;
    void ShowNormalLayout() override;
    void ShowFocusLayout() override;
    void RefreshUsage() override;
    void RefreshTime() override;
    void ClearListViews() override;
    void ShowDayStart(const std::string& timeLimitText, const std::string& expirationActionText) override;
    bool ShowReminder(bool inFocus, const std::string& remainingText, bool show5MinButton) override;
    void RunReminderChange() override;
    void MinimizeApplication() override;
    void TrayIconLeftClick() override;
    void TerminateApplication() override;

    void BuildViews();
    void BuildFocusDisplay();
    void SetFocusDisplayVisible(bool focus);
    void RefreshFocusTime();
    void BuildMainPage();
    void BuildReminderPage();
    void BuildUsagePage();
    void BuildMenus();
    void ApplyOptionsToWindow();
    void ShowTimeSettings();
    void ViewMenuClick(TMenuItem& item, TTabSheet& page, bool lite);
    void PopupBelow(TPopupMenu& menu, const TControl& button);
    void LoadPeriodMemos();
    void DrawReminderComboItem(TOwnerDrawComboBox& combo, const DRAWITEMSTRUCT& item);
    int PageIndex(const TTabSheet* page) const noexcept;

    void TrayIconMessage(LPARAM mouseMessage);
    // The window was shown or hidden: the display timers follow.
    void ShownChanged(bool shown);
    void RestoreApplication();
    void ShowPostedNotices();

    TOptions& options_;
    WindowSystem windows_;
    SystemShutdown shutdown_;
    TEnforcement enforcement_{windows_, shutdown_};
    TMainMonitor monitor_;
    THints hints_{*this};
    TTabSheet* activePage_ = nullptr;
    std::array<bool, 3> reminderFlags_{};
    TMainDocking docking_;
    TMainAppearanceMenu appearanceMenu_;
    bool focusLayoutShown_ = true;  // until the building hides it
    std::vector<std::string> notices_;
    // Declared last: they go first, while the window still exists.
    std::optional<TSessionNotices> sessionNotices_;
    std::optional<TTrayIcon> trayIcon_;
    std::optional<THotKey> hotKey_;
};

}  // namespace vh::win32
