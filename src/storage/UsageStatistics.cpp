#include "storage/UsageStatistics.h"

#include <cmath>
#include <utility>

#include "common/Exceptions.h"
#include "environment/ZuravoZazoApplicationDefs.h"

namespace vh {

namespace {

// The bounds are the query's parameters ?1 and ?2, so no date ever becomes
// part of the statement's text.
constexpr std::string_view kInPeriod = "date_created BETWEEN ?1 AND ?2";

TUsageQuery WithBounds(std::string sql, std::string_view fromText, std::string_view toText) {
    return {std::move(sql), {std::string(fromText), std::string(toText)}};
}

// One row per distinct entry name of a list table.
std::string DistinctEntries(std::string_view table) {
    return "entries AS (SELECT name, caption, active FROM " + std::string(table) + " GROUP BY name)";
}

std::string SelectTotals(std::string_view totalExpression) {
    return " SELECT e.caption AS caption, e.active AS active, e.name AS name, " + std::string(totalExpression) +
           " AS total_duration FROM entries e ORDER BY e.name";
}

}  // namespace

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

// Each entry sums its own rows through the application and address
// indexes (both ignore case), reading only the rows of the period.
TUsageQuery BuildApplicationsQuery(std::string_view fromText, std::string_view toText) {
    const std::string period(kInPeriod);
    return WithBounds("WITH " + DistinctEntries("applications_list") +
                          SelectTotals("COALESCE((SELECT SUM(duration) FROM applications WHERE app_name = e.name "
                                       "COLLATE NOCASE AND origin = 1 AND " +
                                       period +
                                       "), 0) + COALESCE((SELECT SUM(duration) FROM applications WHERE browser_url = "
                                       "e.name COLLATE NOCASE AND origin = 2 AND " +
                                       period + "), 0)"),
                      fromText, toText);
}

// The log holds few distinct addresses (a browser's rows carry the matched
// entry's name), so they are listed by hopping through the address index,
// each one that some entry's pattern matches is summed over the period, and
// the patterns are then matched against those sums. LIKE ignores ASCII case
// just as the index does, so addresses equal but for case match alike.
TUsageQuery BuildWebSitesQuery(std::string_view fromText, std::string_view toText) {
    return WithBounds(
        "WITH RECURSIVE " + DistinctEntries("websites_list") +
            ", addresses(address) AS (SELECT (SELECT MIN(browser_url COLLATE NOCASE) FROM applications) UNION ALL "
            "SELECT (SELECT MIN(browser_url COLLATE NOCASE) FROM applications WHERE browser_url > address COLLATE "
            "NOCASE) FROM addresses WHERE address IS NOT NULL), "
            "sums AS MATERIALIZED (SELECT address, (SELECT SUM(duration) FROM applications WHERE browser_url = "
            "address COLLATE NOCASE AND " +
            std::string(kInPeriod) +
            ") AS duration FROM addresses WHERE address IS NOT NULL AND EXISTS (SELECT 1 FROM entries w WHERE "
            "address LIKE '%' || w.name || '%'))" +
            SelectTotals("COALESCE((SELECT SUM(s.duration) FROM sums s WHERE s.address LIKE '%' || e.name || '%'), 0)"),
        fromText, toText);
}

TUsageQuery BuildApplicationsQuery(TDateTime from, TDateTime to) {
    return BuildApplicationsQuery(DateTimeToDbString(from), DateTimeToDbString(to));
}

TUsageQuery BuildWebSitesQuery(TDateTime from, TDateTime to) {
    return BuildWebSitesQuery(DateTimeToDbString(from), DateTimeToDbString(to));
}

}  // namespace vh
