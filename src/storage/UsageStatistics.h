#pragma once
// The time spent on each entry of the time-limit list over a period, computed
// from the activity log: one query for application entries, one for web-site
// entries, each giving one row (caption, active, name, total_duration) per
// distinct entry name.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/DateTime.h"
#include "model/DayRules.h"
#include "model/MonitoredObjects.h"
#include "storage/SQLiteTable3.h"

namespace vh {

// The period choices of the usage view, in the order of its period box.
enum TUsagePeriod : int {
    upToday = 0,
    upLast24Hours = 1,
    upLast7Days = 2,
    upLast14Days = 3,
    upLast30Days = 4,
    upLast3Months = 5,
};
inline constexpr std::array<std::string_view, 6> kUsagePeriodTexts = {"Today",        "Last 24 Hours", "Last 7 Days",
                                                                      "Last 14 Days", "Last 30 Days",  "Last 3 months"};

struct TPeriodBounds {
    TDateTime From = 0;
    TDateTime To = 0;
};

// From and To of a period choice for `now`. Asserts a valid choice.
TPeriodBounds UsagePeriodBounds(TUsagePeriod period, TDateTime now);

// A statement with the values of its parameters, in order.
struct TUsageQuery {
    std::string Sql;
    TSQLiteParams Params;
};

// One entry's total: one per distinct name of a list table.
struct TUsageTotal {
    std::string Caption;
    bool Active = false;
    std::string Name;
    std::int64_t Seconds = 0;
};

// The per-entry totals for dates already in the stored text form ("yyyy-mm-dd
// hh:nn:ss"), compared as text; both bounds count. They read the log through
// its application and address indexes, so their cost follows the rows of the
// period that concern the list, not the size of the log. The bounds travel as
// bound parameters, never inside a statement's text.
//
// Application entries count the rows of origin 1 whose program the entry
// names (ProgramMatches: a full path in any spelling, or a bare file name in
// any folder), and the rows of origin 2 whose browser_url equals the name (a
// browser on the list as an application is logged under the entry's name as
// the address), ignoring ASCII case.
std::vector<TUsageTotal> ApplicationTotals(TSQLiteDatabase& db, std::string_view fromText, std::string_view toText);
// Web-site entries count every row whose browser_url contains the name (LIKE,
// so ASCII case is ignored and "%" and "_" are wildcards). A log row counts
// once for each distinct entry name it matches.
std::vector<TUsageTotal> WebSiteTotals(TSQLiteDatabase& db, std::string_view fromText, std::string_view toText);

// The statements behind them: the web sites' totals, and the application
// entries with their browser rows (origin 2) summed.
TUsageQuery BuildWebSitesQuery(std::string_view fromText, std::string_view toText);
TUsageQuery BuildApplicationEntriesQuery(std::string_view fromText, std::string_view toText);

// Totals of one type (mitApplication or mitWebSite) for date-times, formatted
// with the installed environment's DateTimeToDbString. A period within one
// day reads the log; a longer one reads its first and last day from the log
// and the whole days between from the daily totals (DailyTotals.h), which it
// creates first where the file lacks them. The sums are the same.
std::vector<TUsageTotal> UsageTotals(TSQLiteDatabase& db, TMonitoredItemType type, TDateTime from, TDateTime to);

}  // namespace vh
