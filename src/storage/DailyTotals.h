#pragma once
// The daily totals of the log database (table daily_totals): per day and per
// logged item the seconds the log's rows hold. The engine adds each interval
// to them as it writes the interval's row; a log database without them gets
// them, filled from its rows, the first time a connection needs them. The
// usage view reads whole past days here rather than from the log.

#include <string>
#include <string_view>
#include <vector>

#include "common/DateTime.h"
#include "storage/SQLiteTable3.h"

namespace vh {

// How far back the daily totals are kept, in calendar months.
inline constexpr int kDailyTotalsMonths = 36;

// The key of the day that starts at 4:00 AM of `date`'s calendar date:
// "yyyy-mm-dd" of that date.
std::string DayKey(TDateTime date);

// An SQL expression for the day key of a stored date-time text
// ("yyyy-mm-dd hh:nn:ss", whatever the time separator): texts before 4:00
// belong to the previous date's day. Text comparison is what the log's
// queries count by, so a row falls on exactly one side of every 4:00.
std::string DayOfDateTextSql(std::string_view dateTextExpression);

// Adds one interval to its day: bound with the values of the log row's
// insert (ActivityRowParams: ?1 date, ?2 program, ?3 address, ?5 seconds,
// ?6 origin).
std::string DailyTotalUpsertSql();

// Creates the daily totals where the log database lacks them and fills them
// from every row of the log, in one transaction; true when it did. Totals
// made before their range index gain it.
bool EnsureDailyTotals(TSQLiteDatabase& db);

// Deletes the days before `oldestDayKey`: the history's length is bounded,
// but it is not cut with the log's own clean-up.
void PurgeOldDailyTotals(TSQLiteDatabase& db, std::string_view oldestDayKey);
// The key of the oldest day kept at `now`.
std::string OldestDailyTotalsDay(TDateTime now);

// The programs the daily totals hold application seconds of (origin 1),
// one per spelling that differs only in ASCII case.
std::vector<std::string> DailyTotalsPrograms(TSQLiteDatabase& db);

}  // namespace vh
