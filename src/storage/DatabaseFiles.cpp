#include "storage/DatabaseFiles.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "environment/DateTimeUtils.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "model/ProgramNames.h"
#include "storage/DailyTotals.h"
#include "storage/LoggedPrograms.h"

namespace vh {

namespace {

// Copies through a temporary file that then replaces the target, so a copy
// that fails part-way never leaves a damaged database behind.
void CopyFileWhole(IEnvironmentPlatform& platform, const std::string& source, const std::string& target) {
    const std::string temporary = target + ".tmp";
    try {
        const std::optional<std::string> bytes = platform.ReadWholeFile(source);
        if (!bytes) return;
        platform.WriteNewFile(temporary, *bytes);
        platform.ReplaceFileAtomically(temporary, target);
    } catch (const std::exception& e) {
        platform.RemoveFile(temporary);
        TraceException(ErrorTraceText(e, "CopyDatabasesToAppData"));
    }
}

}  // namespace

std::string SettingsDBFileName() {
    return GAppDataFolder() + std::string(kSettingsDBName);
}

std::string LogDBFileName() {
    return GAppDataFolder() + std::string(kLogDBName);
}

std::string DamagedDatabaseName(const std::string& fileName, TDateTime now) {
    std::string stamp = FormatDbDateTime(now, ":");  // "yyyy-mm-dd hh:nn:ss"
    std::erase(stamp, ':');
    std::replace(stamp.begin(), stamp.end(), ' ', '-');
    return fileName + ".damaged-" + stamp;
}

std::string DamagedDatabasesMessage(const std::vector<std::string>& keptFiles) {
    std::string text = keptFiles.size() == 1 ? "A database file could not be read. It was kept as\r\n"
                                             : "Database files could not be read. They were kept as\r\n";
    for (const std::string& file : keptFiles) text += "\"" + file + "\"\r\n";
    return text + "and Vornhalt started with new ones.";
}

namespace {

std::uint32_t BigEndian(std::string_view bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

}  // namespace

bool IsDamagedDatabaseImage(std::string_view bytes) {
    constexpr std::string_view kMagic("SQLite format 3\0", 16);
    constexpr std::size_t kHeaderSize = 100;
    if (bytes.size() < kHeaderSize || bytes.substr(0, kMagic.size()) != kMagic) return true;
    std::uint32_t pageSize = BigEndian(bytes, 16, 2);
    if (pageSize == 1) pageSize = 65536;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0) return true;
    // The page count is trusted only when the writer kept it (its change
    // counter matches "version valid for").
    const std::uint32_t pageCount = BigEndian(bytes, 28, 4);
    const bool countValid = pageCount != 0 && BigEndian(bytes, 24, 4) == BigEndian(bytes, 92, 4);
    if (countValid) return bytes.size() / pageSize < pageCount;
    return bytes.size() % pageSize != 0;
}

namespace {

// Whether the file in the application-data folder must be moved aside. A
// rollback journal beside it means a crash part-way through a write, which
// the engine repairs at the next connection: such a file is left alone.
bool IsDamagedDatabaseFile(IEnvironmentPlatform& platform, const std::string& file) {
    if (platform.FileExists(file + "-journal")) return false;
    try {
        const std::optional<std::string> bytes = platform.ReadWholeFile(file);
        return bytes && IsDamagedDatabaseImage(*bytes);
    } catch (const std::exception& e) {
        // Unreadable now (held by another program): not judged.
        TraceException(ErrorTraceText(e, "CopyDatabasesToAppData"));
    }
    return false;
}

// Moves a file that is no database out of the way. Answers the name
// it was kept under, or nothing when it stays (it could not be moved).
std::optional<std::string> MoveDamagedAside(IEnvironmentPlatform& platform, const std::string& file, TDateTime now) {
    const std::string kept = DamagedDatabaseName(file, now);
    try {
        platform.ReplaceFileAtomically(file, kept);
        return kept;
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "CopyDatabasesToAppData"));
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> CopyDatabasesToAppData(TEnvironment& environment, TDateTime now) {
    const std::string& appData = environment.AppDataFolder();
    const std::string& program = environment.ProgramFolder();
    IEnvironmentPlatform& platform = environment.Platform();
    std::vector<std::string> kept;
    // Each file on its own: a log database that failed to copy at the first
    // start is copied at the next, not never.
    for (std::string_view name : {kSettingsDBName, kLogDBName}) {
        const std::string target = appData + std::string(name);
        const std::string source = program + std::string(name);
        if (environment.SafeFileExists(target)) {
            if (!IsDamagedDatabaseFile(platform, target)) continue;
            const std::optional<std::string> aside = MoveDamagedAside(platform, target, now);
            if (!aside) continue;
            kept.push_back(*aside);
        }
        if (!environment.SafeFileExists(source)) continue;
        if (!platform.CreateFolders(appData)) throw EFileError("Unable to create folder \"" + appData + "\"");
        CopyFileWhole(platform, source, target);
    }
    return kept;
}

std::vector<std::string> CopyDatabasesToAppData() {
    return CopyDatabasesToAppData(Environment(), ProgramNow());
}

void DBExecSQL(const std::string& fileName, const std::string& sql, const TSQLiteParams& params) noexcept {
    try {
        TSQLiteDatabase(fileName).ExecSQL(sql, params);
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "DBExecSQL"));
    }
}

std::string DecimalSeparatorForText() {
    return EnvironmentInstalled() ? Environment().ProcessFormatSettings().DecimalSeparator : std::string(".");
}

std::unique_ptr<TSQLiteTable> DBGetTable(const std::string& fileName, const std::string& sql) noexcept {
    try {
        return TSQLiteDatabase(fileName, DecimalSeparatorForText()).GetTable(sql);
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "DBGetTable"));
    }
    return nullptr;
}

std::string PurgeOldRowsSql() {
    return "DELETE FROM applications where date_created  < ?";
}

void PurgeUnlistedApplications(const std::string& logDBFileName) noexcept {
    try {
        TSQLiteDatabase db(logDBFileName);
        EnsureDailyTotals(db);
        std::vector<std::string> entries;
        const auto table = db.GetTable("SELECT DISTINCT name FROM applications_list");
        for (table->MoveFirst(); !table->Eof(); table->Next()) entries.push_back(table->FieldAsString(0));
        // The daily totals reach back past the log, so their programs are
        // asked about too.
        std::vector<std::string> programs = LoggedPrograms(db);
        for (std::string& program : DailyTotalsPrograms(db)) programs.push_back(std::move(program));
        TSQLiteParams unlisted;
        for (const std::string& program : programs) {
            const bool listed = std::any_of(entries.begin(), entries.end(),
                                            [&](const std::string& entry) { return ProgramMatches(entry, program); });
            if (!listed) unlisted.emplace_back(program);
        }
        if (unlisted.empty()) return;
        std::string in = "(?";
        for (size_t i = 1; i < unlisted.size(); ++i) in += ", ?";
        in += ")";
        // One transaction, so the clean-up is whole or not done at all, and
        // the daily totals never count rows the log no longer has.
        TSQLiteTransaction transaction(db);
        db.ExecSQL("DELETE FROM applications WHERE origin = 1 AND app_name COLLATE NOCASE IN " + in, unlisted);
        db.ExecSQL("DELETE FROM daily_totals WHERE origin = 1 AND app_name IN " + in, unlisted);
        transaction.Commit();
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "PurgeUnlistedApplications"));
    }
}

void PurgeOldRows(const std::string& logDBFileName, const std::string& cutoffText,
                  const std::string& oldestDayKey) noexcept {
    try {
        TSQLiteDatabase db(logDBFileName);
        // Made before the log's old rows go, so a file without daily totals
        // keeps their days in them.
        EnsureDailyTotals(db);
        TSQLiteTransaction transaction(db);
        db.ExecSQL(PurgeOldRowsSql(), {cutoffText});
        PurgeOldDailyTotals(db, oldestDayKey);
        transaction.Commit();
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "PurgeOldRows"));
    }
}

void PurgeActivityLog(const std::string& logDBFileName, const std::string& cutoffText,
                      const std::string& oldestDayKey) {
    PurgeOldRows(logDBFileName, cutoffText, oldestDayKey);
    PurgeUnlistedApplications(logDBFileName);
}

void PurgeActivityLog() {
    const TDateTime now = ProgramNow();
    PurgeActivityLog(LogDBFileName(), DateTimeToDbString(now - kActivityLogDays), OldestDailyTotalsDay(now));
}

}  // namespace vh
