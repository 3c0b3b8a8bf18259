#include "monitor/MainMonitor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "environment/DateTimeUtils.h"
#include "environment/IniFile.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "model/DayRules.h"
#include "model/DurationText.h"
#include "storage/FocusPeriod.h"
#include "storage/Options.h"
#include "storage/OptionsTypes.h"

namespace vh {
namespace {

constexpr char kScanWhere[] = "TfrmMain.tmrScanTimer";

bool IsSessionUnlock(std::uintptr_t code) noexcept {
    return code == kWtsConsoleConnect || code == kWtsRemoteConnect || code == kWtsSessionLogon ||
           code == kWtsSessionUnlock;
}
bool IsSessionLock(std::uintptr_t code) noexcept {
    return code == kWtsConsoleDisconnect || code == kWtsRemoteDisconnect || code == kWtsSessionLogoff ||
           code == kWtsSessionLock;
}

// Runs the end of a tick however the tick ends.
template <class F>
class TScopeExit {
public:
    explicit TScopeExit(F f) : f_(std::move(f)) {}
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    ~TScopeExit() { f_(); }

private:
    F f_;
};

}  // namespace

std::int32_t ElapsedSeconds(TDateTime from, TDateTime to) noexcept {
    // The default rounding mode rounds half to even.
    const double seconds = std::nearbyint((to - from) * kSecondsPerDay);
    if (!(seconds > 0)) return 0;
    if (seconds >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(seconds);
}

TMainMonitor::TMainMonitor(TOptions& options, IWindowSystem& windows, IMainWindow& window)
    : options_(options), windows_(windows), window_(window) {
    const TDateTime now = ProgramNow();
    LastHotKeyTime = now;
    FocusEndTime = now;
    LastScanTime = now;
}

TMainMonitor::~TMainMonitor() = default;

TZuravoZazoApplication& TMainMonitor::Probe() {
    if (!probe_) probe_ = std::make_unique<TZuravoZazoApplication>(windows_);
    return *probe_;
}

TZuravoZazoApplicationLogger& TMainMonitor::Logger() {
    if (!logger_) logger_ = std::make_unique<TZuravoZazoApplicationLogger>(options_.Site().LogDBFileName);
    return *logger_;
}

void TMainMonitor::Start() {
    LastScanTime = ProgramNow();
    ReminderPeriod = 255;
    SelectReminderPeriod();
    LastHotKeyTime = ProgramNow();
    FocusEndTime = ProgramNow();
    Show5MinButton = options_.Site().IniFile().ReadBool(kCommonSection, "Show5MinButton", true);
    RestoreFocus();
    scheduled_.Load(options_.Site().IniFile());
    // A period that began while the program was not running is on from now.
    FollowBlockSchedule();
}

bool TMainMonitor::InFocus() const {
    return ProgramNow() <= FocusEndTime;
}

bool TMainMonitor::StartFocus(TDateTime duration) {
    const double minutes = std::nearbyint(duration * kMinutesPerDay);
    if (!(minutes >= 1 && minutes <= kLongestFocusMinutes)) return false;
    // Kept first: a period the file refused is not promised.
    const TDateTime start = ProgramNow();
    WriteFocusPeriod(options_.Site().IniFile(), {start, start + minutes / kMinutesPerDay});
    FocusStartTime = start;
    FocusDuration = minutes / kMinutesPerDay;
    FocusEndTime = start + FocusDuration;
    handFocus_ = TFocusPeriod{FocusStartTime, FocusEndTime};
    FocusScheduled = false;
    window_.RefreshTime();
    window_.ShowFocusLayout();
    // A period it runs into makes one block with it.
    FollowBlockSchedule();
    return true;
}

void TMainMonitor::ChangeBlockSchedule(const TBlockSchedule& chosen) {
    scheduled_.Change(options_.Site().IniFile(), chosen, NextResetDateTime(ProgramNow()));
    FollowBlockSchedule();
}

void TMainMonitor::FollowBlockSchedule() {
    const TDateTime now = ProgramNow();
    const TDateTime nowUtc = ProgramNowUtc();
    std::optional<TBlockInterval> hand;
    if (handFocus_ && now <= handFocus_->End) {
        // Program time runs at the zone's offset of now from universal time.
        const TDateTime offset = now - nowUtc;
        hand = TBlockInterval{handFocus_->Start - offset, handFocus_->End - offset};
    }
    const std::optional<TRunningBlock> block =
        scheduled_.Follow(options_.Site().IniFile(), nowUtc, ProgramLocalTimeOf, hand);
    if (!block || !block->Scheduled) {
        FocusScheduled = false;
        return;
    }
    // The focus on now, by hand or by the schedule, is never shortened.
    const bool wasInFocus = InFocus() && (FocusScheduled || hand);
    const TDateTime end = std::max(ProgramLocalTimeOf(block->EndUtc), wasInFocus ? FocusEndTime : 0.0);
    const TDateTime start = std::min(ProgramLocalTimeOf(block->StartUtc), wasInFocus ? FocusStartTime : now);
    if (FocusScheduled && wasInFocus && end == FocusEndTime && start == FocusStartTime) return;
    FocusStartTime = start;
    FocusEndTime = end;
    FocusDuration = end - start;
    FocusScheduled = true;
    window_.RefreshTime();
    window_.ShowFocusLayout();
}

void TMainMonitor::RestoreFocus() {
    const TIniFile& ini = options_.Site().IniFile();
    const std::optional<TFocusPeriod> period = ReadFocusPeriod(ini);
    // The focus reminder was shown today already when the file says so.
    FocusReminderAllowed = ini.ReadBool(kCommonSection, kFocusReminderAllowedKey, true);
    if (!period) return;
    const TDateTime now = ProgramNow();
    const double minutes = std::nearbyint((period->End - period->Start) * kMinutesPerDay);
    // A period that is over, or that no dialog could have started (a damaged
    // or edited file), is not restored; nor one ending more than a day from
    // now (the clock was put back), which would last longer than promised.
    if (now > period->End || !(minutes >= 1 && minutes <= kLongestFocusMinutes) || period->End - now > 1) return;
    FocusStartTime = period->Start;
    FocusDuration = minutes / kMinutesPerDay;
    FocusEndTime = period->End;
    handFocus_ = *period;
    window_.RefreshTime();
    window_.ShowFocusLayout();
}

void TMainMonitor::SelectReminderPeriod() {
    const TReminderType period = ReminderPeriodOf(ProgramTime());
    if (period == ReminderPeriod) return;
    ReminderPeriod = period;
    window_.SelectReminderPeriod(period);
}

// ---------------------------------------------------------------- the scan

void TMainMonitor::tmrScanTimer() {
    Trace("tmrScanTimer started");
    if (Busy()) return;
    window_.SetScanTimerEnabled(false);
    TScopeExit guard([this]() noexcept {
        try {
            window_.SetScanTimerEnabled(true);
            LastScanTime = ProgramNow();
        } catch (const std::exception& e) {
            TraceException(ErrorTraceText(e, kScanWhere));
        }
        Trace("tmrScanTimer ended");
    });
    ScanSteps();
}

void TMainMonitor::ScanSteps() {
    // A gap far longer than the scan period is a sleep nobody announced
    // (modern standby sends no notice): nobody used that time.
    const double sleepGap = std::max(kUnannouncedSleepSeconds, 4.0 * options_.ScanPeriodSeconds);
    if (ElapsedSeconds(LastScanTime, ProgramNow()) > sleepGap) {
        Trace("tmrScanTimer: the time since the previous scan is not charged");
        LastScanTime = ProgramNow();
    }

    SelectReminderPeriod();

    FollowBlockSchedule();
    const bool inFocus = InFocus();
    if (!inFocus) {
        window_.ShowNormalLayout();
        FocusTimeDisplay = 0;
    }

    if (ProgramNow() > options_.ResetDateTime) DailyReset();

    TZuravoZazoApplication& probe = Probe();
    try {
        probe.Execute(false, nullptr);
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, kScanWhere));
    }

    TMonitoredList& list = options_.MonitoredList();
    int index = -1;
    TMonitoredItemType kind = mitAll;
    if (!probe.IsOnList(&list, index, kind)) return;

    const bool limitReached = Logger().SecondsOnList >= options_.TimeLimitSeconds();
    if (limitReached || inFocus) {
        std::string remaining;
        if (inFocus) {
            const double elapsedMinutes = std::trunc((ProgramNow() - FocusStartTime) * kMinutesPerDay);
            remaining = FormatHHNN(FocusDuration - elapsedMinutes / kMinutesPerDay, TMinuteRounding::Down);
        }
        if ((!inFocus && LimitReminderAllowed) || (inFocus && FocusReminderAllowed)) {
            try {
                FiveMinutesGranted = window_.ShowReminder(inFocus, remaining, Show5MinButton);
            } catch (...) {
                // The reminder was shown even though its action failed (a
                // refused shutdown): it must not come back at the next scan.
                FiveMinutesGranted = false;
                ReminderShown(inFocus);
                throw;
            }
            ReminderShown(inFocus);
        }
        if ((options_.ExpirationAction() == eaCloseBrowserApp || inFocus) && !FiveMinutesGranted)
            windows_.PostClose(probe.Window);
    }

    // The list may have changed while the reminder was open.
    if (probe.Kind != akDesktop && index >= 0 && index < list.Count()) probe.Address = list.Items(index).Name;

    Logger().Log(&probe, ElapsedSeconds(LastScanTime, ProgramNow()));
}

void TMainMonitor::ReminderShown(bool inFocus) {
    if (inFocus) {
        FocusReminderAllowed = false;
        // Once a day, even across a restart; the daily reset erases it.
        options_.Site().IniFile().WriteBool(kCommonSection, kFocusReminderAllowedKey, false);
    } else {
        LimitReminderAllowed = false;
    }
    if (FiveMinutesGranted && Show5MinButton) {
        Show5MinButton = false;
        // Kept for the rest of the day, so a restart does not offer it
        // again; the daily reset erases the section.
        options_.Site().IniFile().WriteBool(kCommonSection, "Show5MinButton", false);
    }
    window_.SetReminderOnlyTimerEnabled(true);
}

// ------------------------------------------------------------- other timers

void TMainMonitor::tmrUsageTimer() {
    if (Busy()) return;
    Trace("tmrUsageTimer started");
    Logger();
    window_.RefreshUsage();
    Trace("tmrUsageTimer stoped");
}

void TMainMonitor::tmrTimeTimer() {
    if (Busy()) return;
    window_.RefreshTime();
}

void TMainMonitor::tmrSaveOptionsTimer() {
    if (Busy()) return;
    Trace("tmrSaveOptionsTimer started");
    if (!options_.Save()) Trace("tmrSaveOptionsTimer: the options were not saved");
    Trace("tmrSaveOptionsTimer stoped");
}

void TMainMonitor::tmrReminderOnlyTimer() {
    if (Busy()) return;
    LimitReminderAllowed = true;
    FiveMinutesGranted = false;
    window_.SetReminderOnlyTimerEnabled(false);
}

void TMainMonitor::tmrReminderChangeTimer() {
    if (Busy() || options_.ReminderChangePeriod == rcpNever) return;
    Trace("tmrReminderChangeTimer started");
    const TDateTime now = ProgramNow();
    const double period = ReminderChangePeriodDays(options_.ReminderChangePeriod, now);
    if (std::nearbyint(now - options_.ReminderShowedDateTime) >= period &&
        options_.ReminderChangedDateTime + period < now && !ReminderChangeOpen) {
        ReminderChangeOpen = true;
        TScopeExit reopen([this]() noexcept { ReminderChangeOpen = false; });
        Trace("tmrReminderChangeTimer TfrmReminderChange.Create started");
        window_.RunReminderChange();
        Trace("tmrReminderChangeTimer TfrmReminderChange.Create ended");
    }
    Trace("tmrReminderChangeTimer stoped");
}

void TMainMonitor::tmrShutdownTimer() {
    if (terminating_) return;
    // The program runs from that folder, so its volume answers: no volume
    // query (slow under Wine) before a check made every 0.9 s.
    if (Environment().Platform().FileExists(GProgramFolder() + kUninstallFlagFileName)) {
        terminating_ = true;
        Trace("tmrShutdownTimer: uninstall.flag found, the program ends");
        window_.TerminateApplication();
    }
}

void TMainMonitor::tmrTimeSynchronizationTimer() {
    ResynchronizeProgramClock();
}

// ------------------------------------------------------------ daily reset

void TMainMonitor::DailyReset() {
    LimitReminderAllowed = true;
    FocusReminderAllowed = true;
    Show5MinButton = true;
    // The first 4:00 AM still to come: after a start between midnight and
    // 4:00 that is today's, so no day boundary is skipped.
    options_.ResetDateTime = NextResetDateTime(ProgramNow());
    options_.ResetDayChanges();

    options_.ApplyDeferredRemovals(logger_ ? &logger_->TodayList() : nullptr);
    if (!options_.Save()) Trace("DailyReset: the options were not saved");

    window_.ClearListViews();
    // Rows the log has not taken yet go on waiting in the new engine.
    std::unique_ptr<TZuravoZazoApplicationLogger> previous = std::move(logger_);
    Logger();
    if (previous) previous->HandPendingRowsTo(*logger_);
    previous.reset();
    window_.ShowDayStart(FormatHHNN(options_.TimeLimit(), TMinuteRounding::Down), options_.ExpirationActionName());
}

// ------------------------------------------------------------- notices

void TMainMonitor::HotKey(std::uintptr_t id, double pressedSecondsAgo) {
    if (id != HotKeyId) return;
    const TDateTime now = ProgramNow() - std::max(0.0, pressedSecondsAgo) / kSecondsPerDay;
    if (std::fabs(now - LastHotKeyTime) * kSecondsPerDay <= kHotKeyDoublePressSeconds) {
        window_.TrayIconLeftClick();
        LastHotKeyTime = 0;
    } else {
        LastHotKeyTime = now;
    }
}

void TMainMonitor::PowerBroadcast(std::uintptr_t code) {
    if (code == kPbtApmSuspend || code == kPbtApmStandby) {
        Suspended = true;
        window_.MinimizeApplication();
        Trace("Application suspended. Code: " + std::to_string(code));
    } else if (code == kPbtApmQueryStandby || code == kPbtApmResumeCritical || code == kPbtApmResumeSuspend ||
               code == kPbtApmResumeStandby) {
        Trace("Application resumed. Code: " + std::to_string(code));
        window_.MinimizeApplication();
        Suspended = false;
        // The sleep is no one's time, as a lock is not.
        if (!Locked) LastScanTime = ProgramNow();
    }
}

void TMainMonitor::SessionChange(std::uintptr_t code) {
    if (IsSessionUnlock(code)) {
        window_.MinimizeApplication();
        Trace("Locking finished");
        Locked = false;
        if (!Suspended) LastScanTime = ProgramNow();
    } else if (IsSessionLock(code)) {
        window_.MinimizeApplication();
        Locked = true;
        Trace("Locking started");
    }
}

}  // namespace vh
