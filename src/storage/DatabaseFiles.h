#pragma once
// The two database files of the application-data folder: their names, the
// first-start copy of the ready-made files from the program folder, the
// error-swallowing statement routines every caller goes through, and the
// clean-up of the activity log.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/DateTime.h"
#include "storage/SQLiteTable3.h"

namespace vh {

class TEnvironment;

inline constexpr std::string_view kSettingsDBName = "settings.sqlite";
inline constexpr std::string_view kLogDBName = "actmondb.sqlite";

// Full paths in the installed environment's application-data folder.
std::string SettingsDBFileName();
std::string LogDBFileName();

// At start-up, for each of the two databases: a file in the
// application-data folder that is no database (zero bytes, truncated, other
// bytes) is moved aside under a dated name (DamagedDatabaseName), and a
// missing one is copied from the ready-made file beside the program. Each
// copy goes through a temporary file, so a failed copy leaves no half
// database; a failed copy is otherwise ignored and tried again at the next
// start. Returns the full names the damaged files were kept under. Raises
// EFileError when the application-data folder cannot be created.
std::vector<std::string> CopyDatabasesToAppData(TEnvironment& environment, TDateTime now = 0);
std::vector<std::string> CopyDatabasesToAppData();  // the installed environment and clock

// True when the bytes of a database file cannot be an SQLite database: empty,
// no SQLite header, an impossible page size, or shorter than the pages its
// header counts (truncated).
bool IsDamagedDatabaseImage(std::string_view bytes);

// "settings.sqlite" damaged at 16:05:09 on 21 March 2026 is kept as
// "settings.sqlite.damaged-2026-03-21-160509".
std::string DamagedDatabaseName(const std::string& fileName, TDateTime now);
// What the user is told, once, about the files kept aside.
std::string DamagedDatabasesMessage(const std::vector<std::string>& keptFiles);

// One connection, one statement, then closed. Failures are traced and
// dropped: the caller learns nothing of them.
void DBExecSQL(const std::string& fileName, const std::string& sql, const TSQLiteParams& params = {}) noexcept;
// As DBExecSQL for a query; nullptr when it failed.
// Numbers shown as text use the process-wide locale, as the user sees them;
// "." without an installed environment.
std::string DecimalSeparatorForText();
// Runs the query with the locale's decimal separator; failures are traced
// and give no table.
std::unique_ptr<TSQLiteTable> DBGetTable(const std::string& fileName, const std::string& sql) noexcept;

// Removes log rows older than 90 days before `now` (to the second; a row of
// exactly 90 days stays) with the daily totals of days before `oldestDayKey`,
// then application rows whose entry is no longer on the log database's copy
// of the list, from the log and from the daily totals (which it creates first
// where missing). `cutoffText` is the caller's DateTimeToDbString of
// now - 90; `oldestDayKey` is OldestDailyTotalsDay(now).
void PurgeActivityLog(const std::string& logDBFileName, const std::string& cutoffText, const std::string& oldestDayKey);
// The installed environment's log database and the program clock.
void PurgeActivityLog();

// The clean-up's two steps, in order, each in one transaction. The statement
// of old rows takes the cut-off text as its parameter; PurgeOldRows runs it
// with the daily totals' cut. PurgeUnlistedApplications deletes, in one
// transaction, the application rows and daily totals of programs that no
// application entry names by the list's own rule (a bare file name keeps its
// program's rows in every folder); failures are traced.
std::string PurgeOldRowsSql();
void PurgeOldRows(const std::string& logDBFileName, const std::string& cutoffText,
                  const std::string& oldestDayKey) noexcept;
void PurgeUnlistedApplications(const std::string& logDBFileName) noexcept;

inline constexpr int kActivityLogDays = 90;

}  // namespace vh
