#include "storage/DailyHistory.h"

#include <algorithm>
#include <map>
#include <utility>

#include "common/Exceptions.h"
#include "common/StringUtils.h"
#include "model/ProgramNames.h"
#include "storage/DailyTotals.h"

namespace vh {

namespace {

using TDayEntryKey = std::pair<std::string, std::string>;  // day key, entry name
using TDayEntryMap = std::map<TDayEntryKey, std::int64_t>;

void AddRows(TDayEntryMap& seconds, TSQLiteTable& table) {
    for (table.MoveFirst(); !table.Eof(); table.Next())
        seconds[{table.FieldAsString(0), table.FieldAsString(1)}] += table.FieldAsInteger(2);
}

// The day's addresses are summed first, each address is matched against the
// patterns once, and the sums are then shared out: a day holds few addresses.
void AddWebSiteSeconds(TSQLiteDatabase& db, const TSQLiteParams& days, TDayEntryMap& seconds) {
    const auto table = db.GetTable(
        "WITH entries AS (SELECT name FROM websites_list GROUP BY name), "
        "sums AS MATERIALIZED (SELECT day, browser_url AS address, SUM(seconds) AS seconds FROM daily_totals WHERE "
        "day BETWEEN ?1 AND ?2 GROUP BY day, browser_url), "
        "matches AS MATERIALIZED (SELECT a.address AS address, e.name AS name FROM (SELECT DISTINCT address FROM "
        "sums) a JOIN entries e ON a.address LIKE '%' || e.name || '%') "
        "SELECT s.day, m.name, SUM(s.seconds) FROM sums s JOIN matches m ON m.address = s.address COLLATE NOCASE "
        "GROUP BY s.day, m.name",
        days);
    AddRows(seconds, *table);
}

// A browser on the list as an application is logged under its path as the
// address (origin 2); programs (origin 1) are matched by the list's own rule,
// once per program.
void AddApplicationSeconds(TSQLiteDatabase& db, const TSQLiteParams& days, TDayEntryMap& seconds) {
    const auto browsers = db.GetTable(
        "WITH entries AS (SELECT name FROM applications_list GROUP BY name) SELECT d.day, e.name, SUM(d.seconds) FROM "
        "daily_totals d JOIN entries e ON d.browser_url = e.name COLLATE NOCASE WHERE d.origin = 2 AND d.day BETWEEN "
        "?1 AND ?2 GROUP BY d.day, e.name",
        days);
    AddRows(seconds, *browsers);

    std::vector<std::string> entries;
    const auto names = db.GetTable("SELECT name FROM applications_list GROUP BY name");
    for (names->MoveFirst(); !names->Eof(); names->Next()) entries.push_back(names->FieldAsString(0));
    const auto programs = db.GetTable(
        "SELECT day, app_name, SUM(seconds) FROM daily_totals WHERE origin = 1 AND day BETWEEN ?1 AND ?2 GROUP BY "
        "day, app_name",
        days);
    std::map<std::string, std::vector<const std::string*>> entriesOfProgram;
    for (programs->MoveFirst(); !programs->Eof(); programs->Next()) {
        const std::string program = programs->FieldAsString(1);
        auto [found, added] = entriesOfProgram.try_emplace(program);
        if (added)
            for (const std::string& entry : entries)
                if (ProgramMatches(entry, program)) found->second.push_back(&entry);
        for (const std::string* entry : found->second)
            seconds[{programs->FieldAsString(0), *entry}] += programs->FieldAsInteger(2);
    }
}

struct TListEntry {
    TMonitoredItemType ItemType;
    std::string Name;
    std::string Caption;
};

// The list's entries, one per distinct name of each list table, in the
// order the history shows them.
std::vector<TListEntry> ListEntries(TSQLiteDatabase& db) {
    std::vector<TListEntry> entries;
    for (const auto& [type, table] : {std::pair{mitWebSite, "websites_list"}, {mitApplication, "applications_list"}}) {
        const auto rows = db.GetTable("SELECT name, caption FROM " + std::string(table) + " GROUP BY name");
        std::vector<TListEntry> ofType;
        for (rows->MoveFirst(); !rows->Eof(); rows->Next())
            ofType.push_back({type, rows->FieldAsString(0), rows->FieldAsString(1)});
        std::stable_sort(ofType.begin(), ofType.end(), [](const TListEntry& a, const TListEntry& b) {
            return CompareTextAscii(a.Caption, b.Caption) < 0;
        });
        entries.insert(entries.end(), ofType.begin(), ofType.end());
    }
    return entries;
}

}  // namespace

std::vector<TEntryDaySeconds> DailyEntrySeconds(TSQLiteDatabase& db, TMonitoredItemType type,
                                                std::string_view firstDayKey, std::string_view lastDayKey) {
    VH_ASSERT(type == mitApplication || type == mitWebSite);
    const TSQLiteParams days = {std::string(firstDayKey), std::string(lastDayKey)};
    TDayEntryMap seconds;
    if (type == mitWebSite)
        AddWebSiteSeconds(db, days, seconds);
    else
        AddApplicationSeconds(db, days, seconds);
    std::vector<TEntryDaySeconds> result;
    result.reserve(seconds.size());
    for (auto& [key, value] : seconds)
        if (value != 0) result.push_back({key.first, key.second, value});
    return result;
}

std::vector<TDailyHistoryDay> DailyHistory(TSQLiteDatabase& db, TDateTime firstDay, TDateTime lastDay) {
    EnsureDailyTotals(db);
    // The range's pages are read in four passes; SQLite's default 2 MB cache
    // holds less than a year of them, and each page read again costs a
    // system call (under Wine a slow one): up to 64 MB, freed with the
    // connection, halves the read of a year.
    db.ExecSQL("PRAGMA cache_size = -65536");
    std::vector<TDailyHistoryDay> history;
    std::map<std::string, std::size_t> dayIndex;
    // Dates are whole numbers, so the steps are exact.
    for (TDateTime date = DateOf(firstDay); date <= DateOf(lastDay); date += 1) {
        dayIndex[DayKey(date)] = history.size();
        history.push_back({date, 0, {}});
    }
    if (history.empty()) return history;
    const std::string firstKey = DayKey(firstDay);
    const std::string lastKey = DayKey(lastDay);

    const auto onList = db.GetTable(
        "SELECT day, SUM(seconds) FROM daily_totals WHERE day BETWEEN ?1 AND ?2 GROUP BY day", {firstKey, lastKey});
    for (onList->MoveFirst(); !onList->Eof(); onList->Next())
        history[dayIndex.at(onList->FieldAsString(0))].SecondsOnList = onList->FieldAsInteger(1);

    std::map<std::pair<TMonitoredItemType, std::string>, std::map<std::string, std::int64_t>> byEntry;
    for (TMonitoredItemType type : {mitWebSite, mitApplication})
        for (TEntryDaySeconds& day : DailyEntrySeconds(db, type, firstKey, lastKey))
            byEntry[{type, day.Name}][day.Day] = day.Seconds;
    for (const TListEntry& entry : ListEntries(db)) {
        const auto found = byEntry.find({entry.ItemType, entry.Name});
        if (found == byEntry.end()) continue;
        for (const auto& [day, seconds] : found->second)
            history[dayIndex.at(day)].Entries.push_back({entry.ItemType, entry.Name, entry.Caption, seconds});
    }
    return history;
}

}  // namespace vh
