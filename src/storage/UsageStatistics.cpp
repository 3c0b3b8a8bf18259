#include "storage/UsageStatistics.h"

#include <cmath>
#include <map>
#include <utility>

#include "common/Exceptions.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "model/ProgramNames.h"
#include "storage/DailyHistory.h"
#include "storage/DailyTotals.h"
#include "storage/LoggedPrograms.h"

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

std::vector<TUsageTotal> ReadTotals(TSQLiteDatabase& db, const TUsageQuery& query) {
    const auto table = db.GetTable(query.Sql, query.Params);
    std::vector<TUsageTotal> totals;
    if (table->RowCount() == 0) return totals;
    const int caption = table->FieldIndex("caption");
    const int active = table->FieldIndex("active");
    const int name = table->FieldIndex("name");
    const int total = table->FieldIndex("total_duration");
    for (table->MoveFirst(); !table->Eof(); table->Next())
        totals.push_back({table->FieldAsString(caption), table->FieldAsInteger(active) == 1, table->FieldAsString(name),
                          table->FieldAsInteger(total)});
    return totals;
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

// Each entry sums the browser rows logged under its name through the address
// index (which ignores case), reading only the rows of the period.
TUsageQuery BuildApplicationEntriesQuery(std::string_view fromText, std::string_view toText) {
    return WithBounds("WITH " + DistinctEntries("applications_list") +
                          SelectTotals("COALESCE((SELECT SUM(duration) FROM applications WHERE browser_url = e.name "
                                       "COLLATE NOCASE AND origin = 2 AND " +
                                       std::string(kInPeriod) + "), 0)"),
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

std::vector<TUsageTotal> ApplicationTotals(TSQLiteDatabase& db, std::string_view fromText, std::string_view toText) {
    std::vector<TUsageTotal> totals = ReadTotals(db, BuildApplicationEntriesQuery(fromText, toText));
    // The rule is C++, so it runs over the few programs of the period rather
    // than in SQL over every row.
    const std::vector<TProgramSeconds> programs = LoggedProgramSeconds(db, fromText, toText);
    for (TUsageTotal& total : totals)
        for (const TProgramSeconds& program : programs)
            if (ProgramMatches(total.Name, program.Path)) total.Seconds += program.Seconds;
    return totals;
}

std::vector<TUsageTotal> WebSiteTotals(TSQLiteDatabase& db, std::string_view fromText, std::string_view toText) {
    return ReadTotals(db, BuildWebSitesQuery(fromText, toText));
}

namespace {

std::vector<TUsageTotal> LogTotals(TSQLiteDatabase& db, TMonitoredItemType type, TDateTime from, TDateTime to) {
    const std::string fromText = DateTimeToDbString(from);
    const std::string toText = DateTimeToDbString(to);
    return type == mitApplication ? ApplicationTotals(db, fromText, toText) : WebSiteTotals(db, fromText, toText);
}

}  // namespace

std::vector<TUsageTotal> UsageTotals(TSQLiteDatabase& db, TMonitoredItemType type, TDateTime from, TDateTime to) {
    VH_ASSERT(type == mitApplication || type == mitWebSite);
    const TDateTime firstDayStart = TodayStart(from);
    const TDateTime lastDayStart = TodayStart(to);
    if (lastDayStart - firstDayStart < 0.5) return LogTotals(db, type, from, to);

    // The first day from `from` on and the last day up to `to` come from the
    // log; the whole days between them from the daily totals. The parts meet
    // at 4:00:00 texts, as the day key splits the log's rows.
    EnsureDailyTotals(db);
    const TDateTime secondDayStart = firstDayStart + 1;
    std::vector<TUsageTotal> totals = LogTotals(db, type, from, secondDayStart - 1.0 / kSecondsPerDay);
    std::map<std::string, std::int64_t> rest;
    if (lastDayStart - secondDayStart > 0.5)
        for (const TEntryDaySeconds& day :
             DailyEntrySeconds(db, type, DayKey(secondDayStart), DayKey(lastDayStart - 1)))
            rest[day.Name] += day.Seconds;
    for (const TUsageTotal& total : LogTotals(db, type, lastDayStart, to)) rest[total.Name] += total.Seconds;
    for (TUsageTotal& total : totals)
        if (const auto found = rest.find(total.Name); found != rest.end()) total.Seconds += found->second;
    return totals;
}

}  // namespace vh
