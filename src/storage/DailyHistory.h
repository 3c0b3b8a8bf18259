#pragma once
// The usage history by day, read from the log database's daily totals: for
// each day (the 24 hours from its 4:00 AM) the seconds on the list and the
// seconds of each entry of the time-limit list. Entries count a day's items
// by the rules of the usage statistics (UsageStatistics.h): a web site every
// address that contains its name, an application its program's rows and a
// browser's rows logged under its path. Today's figures are current: the
// engine adds every interval as it logs it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/DateTime.h"
#include "model/MonitoredObjects.h"
#include "storage/SQLiteTable3.h"

namespace vh {

// One entry's seconds on one day.
struct TDailyEntrySeconds {
    TMonitoredItemType ItemType = mitApplication;
    std::string Name;     // the entry's Name, as the list holds it
    std::string Caption;  // its display text
    std::int64_t Seconds = 0;
};

struct TDailyHistoryDay {
    TDateTime Date = 0;                       // midnight of the date whose 4:00 AM starts the day
    std::int64_t SecondsOnList = 0;           // every logged interval of the day, each counted once
    std::vector<TDailyEntrySeconds> Entries;  // web sites first, then applications, by caption; only entries with time
};

// Every day from `firstDay` to `lastDay` (dates; their time of day is
// ignored), both included and in order, days without time among them.
// Entries are those of the log database's copy of the list now. Creates
// the daily totals from the log first when the file lacks them, and reads
// the file through a mapping while the connection lives. Raises ESQLiteException.
std::vector<TDailyHistoryDay> DailyHistory(TSQLiteDatabase& db, TDateTime firstDay, TDateTime lastDay);

// As DailyHistory, one period per calendar month that [firstDay, lastDay]
// touches, dated the month's first and summing the range's days in it: what
// a year's bars need, read as a dozen periods instead of 365 days.
std::vector<TDailyHistoryDay> MonthlyHistory(TSQLiteDatabase& db, TDateTime firstDay, TDateTime lastDay);

// One entry's seconds on one day, by day key ("yyyy-mm-dd", DayKey).
struct TEntryDaySeconds {
    std::string Day;
    std::string Name;
    std::int64_t Seconds = 0;
};

// The seconds of each entry of `type` (mitApplication or mitWebSite) on each
// day from `firstDayKey` to `lastDayKey`, both included; pairs without time
// are left out. The daily totals must exist (EnsureDailyTotals).
std::vector<TEntryDaySeconds> DailyEntrySeconds(TSQLiteDatabase& db, TMonitoredItemType type,
                                                std::string_view firstDayKey, std::string_view lastDayKey);

}  // namespace vh
