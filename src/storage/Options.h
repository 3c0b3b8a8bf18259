#pragma once
// TOptions: every persistent setting, the three reminder texts and the
// time-limit list, loaded at creation and written back by Save; and the daily
// change rules (one immediate increase of the limit and one change of the
// expiration action a day, later ones pending until the daily reset). The
// day's change flags and the pending values live in section "Common" of the
// INI file. One instance, GOptions_Local(), for the life of the program.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/DateTime.h"
#include "model/MonitoredObjects.h"
#include "storage/DateTimeText.h"
#include "storage/OptionsSql.h"
#include "storage/OptionsTypes.h"
#include "storage/SQLiteTable3.h"

namespace vh {

class TIniFile;

// Where the options keep their data and what they ask the environment.
struct TOptionsSite {
    std::string SettingsDBFileName;
    std::string LogDBFileName;
    std::function<TIniFile&()> IniFile;
    std::function<TDateTime()> Now;      // the program clock
    TDateTimeTextFormat ReminderFormat;  // the reminder moments' text form
};

// The installed environment's files and INI file, and the program clock.
TOptionsSite InstalledOptionsSite();

inline constexpr std::string_view kCommonSection = "Common";
inline constexpr std::int32_t kDefaultScanPeriodSeconds = 3;
inline constexpr std::int32_t kDefaultTimeLimitSeconds = 28800;

class TOptions {
public:
    // Sets the defaults and loads. Settings values that do not convert keep
    // their defaults; the rest loads as usual.
    explicit TOptions(TOptionsSite site);
    // Saves once more; failures are dropped.
    ~TOptions();
    TOptions(const TOptions&) = delete;
    TOptions& operator=(const TOptions&) = delete;

    bool AllowUserToChangeSettings = false;
    bool ImmediateChangeAllowed = false;  // in memory only
    bool IsNotFirstRun = false;
    std::string Password;
    TDateTime ReminderChangedDateTime = 0;
    TReminderChangePeriod ReminderChangePeriod = rcpNever;
    TDateTime ReminderShowedDateTime = 0;
    TDateTime ResetDateTime = 0;
    std::int32_t ScanPeriodSeconds = kDefaultScanPeriodSeconds;

    TExpirationAction ExpirationAction() const noexcept { return expirationAction_; }
    bool ExpirationActionChanged() const noexcept { return expirationActionChanged_; }
    bool MonitoredItemDeleteActionProcessed() const noexcept { return monitoredItemDeleteActionProcessed_; }
    std::int32_t TimeLimitSeconds() const noexcept { return timeLimitSeconds_; }
    bool TimeLimitSecondsChanged() const noexcept { return timeLimitSecondsChanged_; }

    TMonitoredList& MonitoredList() noexcept { return monitoredList_; }
    TDateTime TimeLimit() const noexcept;  // TimeLimitSeconds as a day fraction
    std::string ExpirationActionName() const;

    const std::string& GetReminderText(TReminderType type) const;
    // A different text is stored and stamps ReminderChangedDateTime; an equal one changes nothing.
    void SetReminderText(TReminderType type, const std::string& text);

    // The daily change rules, for every caller but the daily reset.
    void SetTimeLimitSeconds(std::int32_t value);
    void SetExpirationAction(TExpirationAction value);
    void SetMonitoredItemDeleteActionProcessed(bool value);

    TAccessMode GetAccessMode() const noexcept;
    // Nothing without access; deferred access deactivates the entry and
    // records the removal for the daily reset; immediate access deletes it.
    TDeleteResult MonitoredItemDelete(const TMonitoredItem& item);
    // A removal that a dialog's result left to the daily reset: recorded as
    // MonitoredItemDelete records one, or forgotten when the entry is active
    // again (the reset would otherwise still delete it).
    void RecordPendingRemoval(const TMonitoredItem& item);
    void ForgetPendingRemoval(const TMonitoredItem& item);
    // The daily reset: clears the day's flags and applies pending values.
    void ResetDayChanges();
    // The daily reset: removes the entries whose removal waited for it (when
    // the user may change settings) from the list and from `alsoFrom`, and
    // forgets the pending removals either way.
    void ApplyDeferredRemovals(TMonitoredList* alsoFrom);

    // A part that cannot be read (a failing disk, a locked file) keeps its
    // defaults for this run.
    void Load();
    // Rewrites the settings database (and the list in both databases), each
    // database in one transaction: a save happens whole or not at all. False
    // when either transaction failed (traced). After a Load that could not
    // read everything, saving would write defaults over the user's stored
    // data: the stored data is kept instead, and Save answers false.
    bool Save();
    // Rewrites the list tables of both databases, each in one transaction;
    // false when either failed; as Save, nothing after an incomplete Load.
    bool MonitoredItemsSave();
    bool LoadIncomplete() const noexcept { return loadIncomplete_; }

    // One statement or query on one connection; failures are dropped.
    void SettingsDBExecSQL(const std::string& sql) const noexcept;
    std::unique_ptr<TSQLiteTable> SettingsDBGetTable(const std::string& sql) const noexcept;
    void LogDBExecSQL(const std::string& sql) const noexcept;

    const TOptionsSite& Site() const noexcept { return site_; }

private:
    void SetDefaults();
    bool KeepsStoredData() const noexcept;
    void LoadIniFlags();
    void LoadMonitoredItems();
    void LoadReminders();
    void LoadSettings();
    void ApplySettingsRow(const std::string& name, const std::string& value);
    std::vector<std::pair<std::string, std::string>> SettingsRows() const;
    std::vector<TSqlStatement> MonitoredItemsStatements() const;

    TOptionsSite site_;
    TExpirationAction expirationAction_ = eaReminderOnly;
    bool expirationActionChanged_ = false;
    bool monitoredItemDeleteActionProcessed_ = false;
    std::int32_t timeLimitSeconds_ = kDefaultTimeLimitSeconds;
    bool timeLimitSecondsChanged_ = false;
    bool loadIncomplete_ = false;
    std::array<std::string, kReminderTypeCount> reminderTexts_;
    TMonitoredList monitoredList_;
};

// Runs the statements on the file in one transaction; false (and nothing
// changed) when any of them fails. The failure is traced.
bool ExecSQLInTransaction(const std::string& fileName, const std::vector<TSqlStatement>& statements) noexcept;

// The program's options, created on first use.
TOptions& GOptions_Local();
// At program end: saves and frees the program's options. A later
// GOptions_Local() creates the options anew.
void FreeOptions() noexcept;

}  // namespace vh
