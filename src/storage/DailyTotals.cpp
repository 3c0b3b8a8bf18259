#include "storage/DailyTotals.h"

#include <cstdio>

#include "environment/ZuravoZazoApplicationDefs.h"
#include "model/DayRules.h"
#include "storage/DailyTotalsSchema.h"

namespace vh {

namespace {

constexpr std::string_view kDailyTotalsColumns = "daily_totals(day, origin, app_name, browser_url, seconds)";
constexpr std::string_view kAddOnConflict =
    " ON CONFLICT(day, origin, app_name, browser_url) DO UPDATE SET seconds = seconds + excluded.seconds";

bool SchemaHas(TSQLiteDatabase& db, std::string_view type, std::string_view name) {
    return db.GetTable("SELECT 1 FROM sqlite_master WHERE type = ?1 AND name = ?2",
                       {std::string(type), std::string(name)})
               ->RowCount() > 0;
}

// The last thing the schema makes: with it, all of it is there.
bool DailyTotalsComplete(TSQLiteDatabase& db) {
    return SchemaHas(db, "index", "daily_totals_days");
}

// Every row of the log summed into its day; names that differ only in case
// are one item, as the table's key has them.
std::string FillFromLogSql() {
    return "INSERT INTO " + std::string(kDailyTotalsColumns) + " SELECT " + DayOfDateTextSql("date_created") +
           " AS row_day, origin, app_name, browser_url, COALESCE(SUM(duration), 0) FROM applications WHERE row_day "
           "IS NOT NULL GROUP BY row_day, origin, app_name COLLATE NOCASE, browser_url COLLATE NOCASE" +
           std::string(kAddOnConflict);
}

}  // namespace

std::string DayKey(TDateTime date) {
    return FormatDbDate(DateOf(date));
}

std::string DayOfDateTextSql(std::string_view dateTextExpression) {
    char hour[8];
    std::snprintf(hour, sizeof hour, "%02d", static_cast<int>(kDayStartHour));
    const std::string text(dateTextExpression);
    return "(CASE WHEN substr(" + text + ", 12, 2) < '" + hour + "' THEN date(substr(" + text +
           ", 1, 10), '-1 day') ELSE substr(" + text + ", 1, 10) END)";
}

std::string DailyTotalUpsertSql() {
    return "INSERT INTO " + std::string(kDailyTotalsColumns) + " VALUES(" + DayOfDateTextSql("?1") +
           ", ?6, ?2, ?3, ?5)" + std::string(kAddOnConflict);
}

bool EnsureDailyTotals(TSQLiteDatabase& db) {
    if (DailyTotalsComplete(db)) return false;
    TSQLiteTransaction transaction(db);
    // Asked again under the write lock: another connection may have made
    // them while this one waited.
    if (DailyTotalsComplete(db)) return false;
    // Totals kept before the range index came keep their rows and gain it.
    const bool created = !SchemaHas(db, "table", "daily_totals");
    db.ExecScript(kDailyTotalsSchemaSql);
    if (created) db.ExecSQL(FillFromLogSql());
    transaction.Commit();
    return created;
}

void PurgeOldDailyTotals(TSQLiteDatabase& db, std::string_view oldestDayKey) {
    db.ExecSQL("DELETE FROM daily_totals WHERE day < ?", {std::string(oldestDayKey)});
}

std::string OldestDailyTotalsDay(TDateTime now) {
    return DayKey(IncMonth(TodayStart(now), -kDailyTotalsMonths));
}

std::vector<std::string> DailyTotalsPrograms(TSQLiteDatabase& db) {
    const auto table = db.GetTable("SELECT DISTINCT app_name FROM daily_totals WHERE origin = 1");
    std::vector<std::string> programs;
    for (table->MoveFirst(); !table->Eof(); table->Next()) programs.push_back(table->FieldAsString(0));
    return programs;
}

}  // namespace vh
