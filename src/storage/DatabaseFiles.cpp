#include "storage/DatabaseFiles.h"

#include <optional>

#include "environment/DateTimeUtils.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"

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

void CopyDatabasesToAppData(TEnvironment& environment) {
    const std::string& appData = environment.AppDataFolder();
    const std::string& program = environment.ProgramFolder();
    const std::string target = appData + std::string(kSettingsDBName);
    const std::string source = program + std::string(kSettingsDBName);
    if (environment.SafeFileExists(target) || !environment.SafeFileExists(source)) return;

    IEnvironmentPlatform& platform = environment.Platform();
    if (!platform.CreateFolders(appData)) throw EFileError("Unable to create folder \"" + appData + "\"");
    CopyFileWhole(platform, source, target);
    CopyFileWhole(platform, program + std::string(kLogDBName), appData + std::string(kLogDBName));
}

void CopyDatabasesToAppData() {
    CopyDatabasesToAppData(Environment());
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

// Names compare ignoring case, as the list's own match does: rows of an entry
// typed in other letter case are the entry's rows and stay.
std::string PurgeUnlistedApplicationsSql() {
    return "delete from applications where origin = 1 and app_name COLLATE NOCASE not in (select distinct name "
           "from applications_list)";
}

void PurgeActivityLog(const std::string& logDBFileName, const std::string& cutoffText) {
    DBExecSQL(logDBFileName, PurgeOldRowsSql(), {cutoffText});
    DBExecSQL(logDBFileName, PurgeUnlistedApplicationsSql());
}

void PurgeActivityLog() {
    PurgeActivityLog(LogDBFileName(), DateTimeToDbString(ProgramNow() - kActivityLogDays));
}

}  // namespace vh
