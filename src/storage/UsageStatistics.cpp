#include "storage/UsageStatistics.h"

#include <cmath>

#include "common/Exceptions.h"
#include "common/StringUtils.h"
#include "environment/ZuravoZazoApplicationDefs.h"

namespace vh {

namespace {

constexpr double kDayStartHours = 4.0;

// Log rows of the period, added up per what the name matching looks at.
// MATERIALIZED: the per-entry subqueries read the small sums, not the log.
std::string PeriodSums(std::string_view columns, std::string_view fromText, std::string_view toText) {
    return "SELECT " + std::string(columns) +
           ", SUM(duration) AS duration FROM applications WHERE date_created BETWEEN " + QuotedSqlString(fromText) +
           " AND " + QuotedSqlString(toText) + " GROUP BY " + std::string(columns);
}

// One row per distinct entry name of a list table.
std::string DistinctEntries(std::string_view table) {
    return "SELECT name, caption, active FROM " + std::string(table) + " GROUP BY name";
}

std::string EntryTotals(std::string_view listTable, std::string_view sumColumns, std::string_view matchCondition,
                        std::string_view fromText, std::string_view toText) {
    return "WITH entries AS (" + DistinctEntries(listTable) + "), period AS MATERIALIZED (" +
           PeriodSums(sumColumns, fromText, toText) +
           ") SELECT e.caption AS caption, e.active AS active, e.name AS name, "
           "COALESCE((SELECT SUM(p.duration) FROM period p WHERE " +
           std::string(matchCondition) + "), 0) AS total_duration FROM entries e ORDER BY e.name";
}

}  // namespace

TDateTime TodayStart(TDateTime now) {
    TDateTime from = DateOf(now) + kDayStartHours / 24.0;
    // A hair of tolerance: 04:00:00 read back from milliseconds must count as 04:00.
    if (from > now + 1e-9) from -= 1.0;
    return from;
}

TPeriodBounds UsagePeriodBounds(TUsagePeriod period, TDateTime now) {
    switch (period) {
        case upToday: return {TodayStart(now), now};
        case upLast24Hours: return {now - 1, now};
        case upLast7Days: return {now - 7, now};
        case upLast14Days: return {now - 14, now};
        case upLast30Days: return {now - 30, now};
        case upLast3Months: return {now - 90, now};
    }
    VH_ASSERT(!"a valid period choice");
    return {};
}

std::string BuildApplicationsQuery(std::string_view fromText, std::string_view toText) {
    return EntryTotals("applications_list", "app_name, browser_url, origin",
                       "(p.origin = 1 AND p.app_name = e.name COLLATE NOCASE) OR "
                       "(p.origin = 2 AND p.browser_url = e.name COLLATE NOCASE)",
                       fromText, toText);
}

std::string BuildWebSitesQuery(std::string_view fromText, std::string_view toText) {
    return EntryTotals("websites_list", "browser_url", "p.browser_url LIKE '%' || e.name || '%'", fromText, toText);
}

std::string BuildApplicationsQuery(TDateTime from, TDateTime to) {
    return BuildApplicationsQuery(DateTimeToDbString(from), DateTimeToDbString(to));
}

std::string BuildWebSitesQuery(TDateTime from, TDateTime to) {
    return BuildWebSitesQuery(DateTimeToDbString(from), DateTimeToDbString(to));
}

}  // namespace vh
