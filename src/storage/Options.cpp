#include "storage/Options.h"

#include <charconv>
#include <optional>

#include "common/StringUtils.h"
#include "environment/DateTimeUtils.h"
#include "environment/IniFile.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "model/DayRules.h"
#include "storage/DatabaseFiles.h"
#include "storage/OptionsSql.h"

namespace vh {

namespace {

// A conversion of one settings value that failed: that field keeps its default.
class EOptionValueError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EConvertError"; }
};

std::int32_t ToInt32(const std::string& text) {
    const std::string trimmed = Trim(text);
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (first != last && *first == '+') ++first;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (trimmed.empty() || error != std::errc() || end != last)
        throw EOptionValueError("'" + text + "' is not a valid integer value");
    return value;
}

// "yyyy-mm-dd": exactly three "-"-separated numbers, giving that date at 4:00 AM.
TDateTime ResetDateFromText(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dash = text.find('-', start);
        parts.push_back(text.substr(start, dash == std::string::npos ? std::string::npos : dash - start));
        if (dash == std::string::npos) break;
        start = dash + 1;
    }
    if (parts.size() != 3) throw EOptionValueError("'" + text + "' is not a valid date");
    try {
        return EncodeDate(ToInt32(parts[0]), ToInt32(parts[1]), ToInt32(parts[2])) + kDayStartTime;
    } catch (const EOptionValueError&) {
        throw;
    } catch (const Exception&) {
        throw EOptionValueError("'" + text + "' is not a valid date");
    }
}

TDateTime DateTimeFromText(const std::string& text, const TDateTimeTextFormat& format) {
    const std::optional<TDateTime> value = TextToDateTime(text, format);
    if (!value) throw EOptionValueError("'" + text + "' is not a valid date and time");
    return *value;
}

std::string Flag(bool value) {
    return value ? "1" : "0";
}

}  // namespace

// ------------------------------------------------------------------- the site

TOptionsSite InstalledOptionsSite() {
    TOptionsSite site;
    site.SettingsDBFileName = SettingsDBFileName();
    site.LogDBFileName = LogDBFileName();
    site.IniFile = []() -> TIniFile& { return GetIniFile(); };
    site.Now = [] { return ProgramNow(); };
    // The locale's separators; the environment names no date and time patterns,
    // so the day-month-year and 24-hour patterns hold them.
    site.ReminderFormat.DateSeparator = GFormatSettings().DateSeparator;
    site.ReminderFormat.TimeSeparator = GFormatSettings().TimeSeparator;
    return site;
}

// ------------------------------------------------------------------ TOptions

TOptions::TOptions(TOptionsSite site) : site_(std::move(site)) {
    VH_ASSERT(site_.IniFile && site_.Now);
    SetDefaults();
    Load();
}

TOptions::~TOptions() {
    try {
        if (!Save()) Trace("TOptions.Destroy: the options were not saved");
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "TOptions.Destroy"));
    }
}

void TOptions::SetDefaults() {
    const TDateTime now = site_.Now();
    ScanPeriodSeconds = kDefaultScanPeriodSeconds;
    timeLimitSeconds_ = kDefaultTimeLimitSeconds;
    ReminderChangedDateTime = now;
    ReminderShowedDateTime = now;
    ResetDateTime = DayStartOf(now);
    if (now >= ResetDateTime) ResetDateTime += 1;
}

TDateTime TOptions::TimeLimit() const noexcept {
    return SecondsToDays(timeLimitSeconds_);
}

std::string TOptions::ExpirationActionName() const {
    return ExpirationActionStorageName(expirationAction_);
}

const std::string& TOptions::GetReminderText(TReminderType type) const {
    VH_ASSERT(type >= rtMorning && type <= rtEvening);
    return reminderTexts_[type];
}

void TOptions::SetReminderText(TReminderType type, const std::string& text) {
    VH_ASSERT(type >= rtMorning && type <= rtEvening);
    if (reminderTexts_[type] == text) return;
    reminderTexts_[type] = text;
    ReminderChangedDateTime = site_.Now();
}

// ---------------------------------------------------------------------- Load

void TOptions::Load() {
    loadIncomplete_ = false;
    LoadIniFlags();
    LoadMonitoredItems();
    LoadReminders();
    LoadSettings();
}

void TOptions::LoadIniFlags() {
    const TIniFile& ini = site_.IniFile();
    expirationActionChanged_ = ini.ReadBool(kCommonSection, "ExpirationActionChanged", false);
    timeLimitSecondsChanged_ = ini.ReadBool(kCommonSection, "TimeLimitSecondsChanged", false);
    monitoredItemDeleteActionProcessed_ = ini.ReadBool(kCommonSection, "MonitoredItemDeleteActionProcessed", false);
}

void TOptions::LoadMonitoredItems() {
    // Loading again must not add the entries a second time.
    monitoredList_.Clear();
    for (TMonitoredItemType type : {mitApplication, mitWebSite}) {
        std::unique_ptr<TSQLiteTable> table = SettingsDBGetTable("SELECT * FROM " + MonitoredListTableName(type));
        if (!table) {
            loadIncomplete_ = true;
            return;
        }
        try {
            monitoredList_.SetCapacity(monitoredList_.Count() + table->RowCount());
            for (table->MoveFirst(); !table->Eof(); table->Next()) {
                auto item = std::make_unique<TMonitoredItem>();
                item->Caption = table->FieldAsString("caption");
                item->Name = table->FieldAsString("name");
                item->ItemType = type;
                item->Active = table->FieldAsInteger(table->FieldIndex("active")) == 1;
                std::string key = item->Caption;
                monitoredList_.Add(std::move(key), std::move(item));
            }
        } catch (const Exception& e) {
            // A table of another shape counts as a failed query: loading stops.
            TraceException(ErrorTraceText(e, "TOptions.LoadMonitoredItems"));
            loadIncomplete_ = true;
            return;
        }
    }
}

void TOptions::LoadReminders() {
    std::unique_ptr<TSQLiteTable> table = SettingsDBGetTable("SELECT * FROM reminders");
    if (!table) {
        loadIncomplete_ = true;
        return;
    }
    try {
        for (table->MoveFirst(); !table->Eof(); table->Next()) {
            const TReminderType type = ReminderTypeFromStorageName(table->FieldAsString("reminder_type"));
            reminderTexts_[type] = table->FieldAsString("text");
        }
    } catch (const Exception& e) {
        TraceException(ErrorTraceText(e, "TOptions.LoadReminders"));
        loadIncomplete_ = true;
    }
}

void TOptions::LoadSettings() {
    SetDefaults();
    std::unique_ptr<TSQLiteTable> table = SettingsDBGetTable("SELECT * FROM settings");
    if (!table) {
        loadIncomplete_ = true;
        return;
    }
    try {
        for (table->MoveFirst(); !table->Eof(); table->Next()) {
            const std::string name = table->FieldAsString("name");
            const std::string value = table->FieldAsString("value");
            try {
                ApplySettingsRow(name, value);
            } catch (const Exception& e) {
                // One value that does not convert keeps that field's default;
                // it must not keep the program from starting.
                TraceException(ErrorTraceText(e, "TOptions.LoadSettings " + name));
            }
        }
    } catch (const Exception& e) {
        TraceException(ErrorTraceText(e, "TOptions.LoadSettings"));
        loadIncomplete_ = true;
    }
    if (ScanPeriodSeconds == 0) ScanPeriodSeconds = kDefaultScanPeriodSeconds;
    AllowUserToChangeSettings = true;
}

void TOptions::ApplySettingsRow(const std::string& name, const std::string& value) {
    if (SameTextAscii(name, "ScanPeriodSeconds")) {
        ScanPeriodSeconds = ToInt32(value);
    } else if (SameTextAscii(name, "TimeLimitSeconds")) {
        timeLimitSeconds_ = ToInt32(value);
    } else if (SameTextAscii(name, "ExpirationAction")) {
        expirationAction_ = ExpirationActionFromStorageName(value);
    } else if (SameTextAscii(name, "Password")) {
        Password = value;
    } else if (SameTextAscii(name, "ResetDateTime")) {
        ResetDateTime = ResetDateFromText(value);
    } else if (SameTextAscii(name, "AllowUserToChangeSettings")) {
        AllowUserToChangeSettings = value == "1";
    } else if (SameTextAscii(name, "ReminderChangedDateTime")) {
        ReminderChangedDateTime = DateTimeFromText(value, site_.ReminderFormat);
    } else if (SameTextAscii(name, "ReminderChangePeriod")) {
        ReminderChangePeriod = ReminderChangePeriodFromStorageName(value);
    } else if (SameTextAscii(name, "ReminderShowedDateTime")) {
        ReminderShowedDateTime = DateTimeFromText(value, site_.ReminderFormat);
    } else if (SameTextAscii(name, "IsNotFirstRun")) {
        IsNotFirstRun = value == "1";
    }
}

// ---------------------------------------------------------------------- Save

std::vector<std::pair<std::string, std::string>> TOptions::SettingsRows() const {
    return {
        {"ScanPeriodSeconds", std::to_string(ScanPeriodSeconds)},
        {"TimeLimitSeconds", std::to_string(timeLimitSeconds_)},
        {"ExpirationAction", ExpirationActionStorageName(expirationAction_)},
        {"Password", Password},
        {"ResetDateTime", FormatDbDate(ResetDateTime)},
        {"AllowUserToChangeSettings", Flag(AllowUserToChangeSettings)},
        {"ReminderChangedDateTime", DateTimeToText(ReminderChangedDateTime, site_.ReminderFormat)},
        {"ReminderChangePeriod", ReminderChangePeriodStorageName(ReminderChangePeriod)},
        {"ReminderShowedDateTime", DateTimeToText(ReminderShowedDateTime, site_.ReminderFormat)},
        {"IsNotFirstRun", Flag(IsNotFirstRun)},
    };
}

std::vector<TSqlStatement> TOptions::MonitoredItemsStatements() const {
    std::vector<TSqlStatement> statements{{MonitoredItemsDeleteSql(mitApplication), {}},
                                          {MonitoredItemsDeleteSql(mitWebSite), {}}};
    if (monitoredList_.Count() > 0) {
        for (TMonitoredItemType type : {mitApplication, mitWebSite})
            for (TSqlStatement& insert : MonitoredItemsInsertSql(monitoredList_, type))
                statements.push_back(std::move(insert));
    }
    return statements;
}

bool TOptions::KeepsStoredData() const noexcept {
    if (!loadIncomplete_) return false;
    TraceException("TOptions.Save: the settings were not read whole; the stored ones are kept");
    return true;
}

bool TOptions::Save() {
    if (KeepsStoredData()) return false;
    std::vector<TSqlStatement> settings{
        {"DELETE FROM settings;", {}}, {"DELETE FROM reminders;", {}}, SettingsInsertSql(SettingsRows())};
    const std::vector<TSqlStatement> list = MonitoredItemsStatements();
    settings.insert(settings.end(), list.begin(), list.end());
    settings.push_back(RemindersInsertSql(reminderTexts_));
    const bool settingsSaved = ExecSQLInTransaction(site_.SettingsDBFileName, settings);
    const bool logSaved = ExecSQLInTransaction(site_.LogDBFileName, list);
    return settingsSaved && logSaved;
}

bool TOptions::MonitoredItemsSave() {
    if (KeepsStoredData()) return false;
    const std::vector<TSqlStatement> list = MonitoredItemsStatements();
    const bool settingsSaved = ExecSQLInTransaction(site_.SettingsDBFileName, list);
    const bool logSaved = ExecSQLInTransaction(site_.LogDBFileName, list);
    return settingsSaved && logSaved;
}

// ----------------------------------------------------------- database routines

void TOptions::SettingsDBExecSQL(const std::string& sql) const noexcept {
    DBExecSQL(site_.SettingsDBFileName, sql);
}

std::unique_ptr<TSQLiteTable> TOptions::SettingsDBGetTable(const std::string& sql) const noexcept {
    return DBGetTable(site_.SettingsDBFileName, sql);
}

void TOptions::LogDBExecSQL(const std::string& sql) const noexcept {
    DBExecSQL(site_.LogDBFileName, sql);
}

bool ExecSQLInTransaction(const std::string& fileName, const std::vector<TSqlStatement>& statements) noexcept {
    try {
        TSQLiteDatabase db(fileName);
        TSQLiteTransaction transaction(db);
        for (const TSqlStatement& statement : statements) db.ExecSQL(statement.Sql, statement.Params);
        transaction.Commit();
        return true;
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "ExecSQLInTransaction"));
    }
    return false;
}

// ------------------------------------------------------------ GOptions_Local

namespace {
std::unique_ptr<TOptions>& Instance() {
    static std::unique_ptr<TOptions> options;
    return options;
}
}  // namespace

TOptions& GOptions_Local() {
    if (!Instance()) Instance() = std::make_unique<TOptions>(InstalledOptionsSite());
    return *Instance();
}

void FreeOptions() noexcept {
    Instance().reset();
}

}  // namespace vh
