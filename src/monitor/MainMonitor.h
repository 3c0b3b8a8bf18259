#pragma once
// The monitoring side of the main window: its state, the ticks of the
// monitoring timers (the scan, usage, time display, options saving, reminder
// re-arming, reminder-change offer, uninstall check and clock
// re-synchronisation), the daily reset, and the hot-key, power and session
// notices. Portable: the window is reached through IMainWindow, the desktop
// through IWindowSystem, time through the program clock.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/DateTime.h"
#include "monitor/IMainWindow.h"
#include "monitor/ScheduledFocus.h"
#include "monitor/ZuravoZazoApplication.h"
#include "monitor/ZuravoZazoApplicationLogger.h"
#include "platform/IWindowSystem.h"
#include "storage/FocusPeriod.h"

namespace vh {

class TOptions;

// Timer intervals in milliseconds.
inline constexpr unsigned kScanIntervalBeforeStart = 4000;
inline constexpr unsigned kUsageInterval = 12001;
inline constexpr unsigned kTimeInterval = 1000;
inline constexpr unsigned kSaveOptionsInterval = 240025;
inline constexpr unsigned kReminderOnlyInterval = 300000;
inline constexpr unsigned kReminderChangeInterval = 100002;
inline constexpr unsigned kShutdownInterval = 900;
inline constexpr unsigned kTimeSynchronizationInterval = 1800000;

// Event codes of WM_POWERBROADCAST (PBT_*) and WM_WTSSESSION_CHANGE (WTS_*),
// named here because portable code includes no Windows header.
inline constexpr std::uintptr_t kPbtApmQueryStandby = 1;
inline constexpr std::uintptr_t kPbtApmSuspend = 4;
inline constexpr std::uintptr_t kPbtApmStandby = 5;
inline constexpr std::uintptr_t kPbtApmResumeCritical = 6;
inline constexpr std::uintptr_t kPbtApmResumeSuspend = 7;
inline constexpr std::uintptr_t kPbtApmResumeStandby = 8;
inline constexpr std::uintptr_t kWtsConsoleConnect = 1;
inline constexpr std::uintptr_t kWtsConsoleDisconnect = 2;
inline constexpr std::uintptr_t kWtsRemoteConnect = 3;
inline constexpr std::uintptr_t kWtsRemoteDisconnect = 4;
inline constexpr std::uintptr_t kWtsSessionLogon = 5;
inline constexpr std::uintptr_t kWtsSessionLogoff = 6;
inline constexpr std::uintptr_t kWtsSessionLock = 7;
inline constexpr std::uintptr_t kWtsSessionUnlock = 8;

// A gap since the previous scan longer than this (and than a few scan
// periods) is a sleep the system did not announce: it is not charged.
inline constexpr double kUnannouncedSleepSeconds = 60;
// Two hot-key presses this close together act as a tray-icon click.
inline constexpr double kHotKeyDoublePressSeconds = 0.5;

inline constexpr char kHotKeyAtomName[] = "REZ_UZU_Vivuri";
inline constexpr char kUninstallFlagFileName[] = "uninstall.flag";
// The longest focus period, 23:59.
inline constexpr double kLongestFocusMinutes = 1439;
// Section "Common": false once the focus reminder was shown today.
inline constexpr char kFocusReminderAllowedKey[] = "FocusReminderAllowed";

// Seconds between two moments, rounded half to even, within 0 and the 32-bit maximum.
std::int32_t ElapsedSeconds(TDateTime from, TDateTime to) noexcept;
class TMainMonitor {
public:
    // The options, window system and window must outlive the object. Reads
    // the program clock; the window is not called during construction.
    TMainMonitor(TOptions& options, IWindowSystem& windows, IMainWindow& window);
    TMainMonitor(const TMainMonitor&) = delete;
    TMainMonitor& operator=(const TMainMonitor&) = delete;
    ~TMainMonitor();

    // Monitoring state, in the order of the main window's fields.
    bool FiveMinutesGranted = false;
    std::uint16_t HotKeyId = 0;
    TDateTime LastHotKeyTime = 0;
    std::uint8_t FocusTimeDisplay = 1;
    TDateTime FocusEndTime = 0;
    TDateTime FocusStartTime = 0;
    TDateTime FocusDuration = 0;
    bool FocusReminderAllowed = true;
    // The focus running is (or has merged into) a period of the block schedule.
    bool FocusScheduled = false;
    bool Suspended = false;
    std::uint8_t ReminderPeriod = 255;
    bool ReminderChangeOpen = false;
    bool LimitReminderAllowed = true;
    bool Locked = false;
    bool Show5MinButton = true;
    TDateTime LastScanTime = 0;

    bool Busy() const noexcept { return Suspended || Locked; }

    // Created on first use; the engine is freed by the daily reset.
    TZuravoZazoApplication& Probe();
    TZuravoZazoApplicationLogger& Logger();
    bool HasLogger() const noexcept { return logger_ != nullptr; }

    // Start-up of the main window: the reminder period, the hot-key time,
    // the five-minute button from the INI file, and focus off unless the INI
    // file holds a focus period still running, which goes on.
    void Start();
    // Focus mode from now on for `duration` (whole minutes, 00:01 to 23:59 as
    // a day fraction), kept in the INI file, the window in its focus layout.
    // Another duration changes nothing and answers false.
    bool StartFocus(TDateTime duration);
    bool InFocus() const;
    // The block schedule in force and the one last chosen.
    const TBlockScheduleState& BlockSchedule() const noexcept { return scheduled_.State(); }
    // The Block Mode dialog's schedule: tightening in force at once,
    // loosening from the next daily reset; a period it starts runs at once.
    // An EIniFileError changes nothing.
    void ChangeBlockSchedule(const TBlockSchedule& chosen);
    // Stores the period of the program time and tells the window when it changed.
    void SelectReminderPeriod();

    void tmrScanTimer();
    void tmrUsageTimer();
    void tmrTimeTimer();
    void tmrSaveOptionsTimer();
    void tmrReminderOnlyTimer();
    void tmrReminderChangeTimer();
    void tmrShutdownTimer();
    void tmrTimeSynchronizationTimer();

    void DailyReset();

    // The identifier of a WM_HOTKEY and how long ago the key was pressed: a
    // window busy for a while must not take two presses a second apart, which
    // it handles one right after the other, for a double press.
    void HotKey(std::uintptr_t id, double pressedSecondsAgo = 0);
    // The event code of a WM_POWERBROADCAST.
    void PowerBroadcast(std::uintptr_t code);
    // The event code of a WM_WTSSESSION_CHANGE.
    void SessionChange(std::uintptr_t code);

private:
    void ScanSteps();
    // The reminder flags after a reminder of the kind was shown.
    void ReminderShown(bool inFocus);
    void RestoreFocus();
    // Focus on while a scheduled block runs, exactly as if started by hand.
    void FollowBlockSchedule();

    TOptions& options_;
    IWindowSystem& windows_;
    IMainWindow& window_;
    std::unique_ptr<TZuravoZazoApplication> probe_;
    std::unique_ptr<TZuravoZazoApplicationLogger> logger_;
    bool terminating_ = false;
    TScheduledFocus scheduled_;
    // The focus started by hand, in program time, apart from what it merged with.
    std::optional<TFocusPeriod> handFocus_;
};

}  // namespace vh
