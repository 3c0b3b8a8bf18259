#include "storage/DailyHistory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>
#include <utility>

#include "common/Exceptions.h"
#include "common/StringUtils.h"
#include "model/ProgramNames.h"
#include "storage/DailyTotals.h"

namespace vh {

namespace {

struct TListEntry {
    TMonitoredItemType ItemType;
    std::string Name;
    std::string Caption;
    std::string ProgramKey;  // an application's name as programs are matched against it
};

// The list's entries of `types`, one per distinct name of each list table,
// web sites first and each type by caption: the order the history shows.
std::vector<TListEntry> ListEntries(TSQLiteDatabase& db, std::initializer_list<TMonitoredItemType> types) {
    std::vector<TListEntry> entries;
    for (TMonitoredItemType type : types) {
        const char* table = type == mitWebSite ? "websites_list" : "applications_list";
        const auto rows = db.GetTable("SELECT name, caption FROM " + std::string(table) + " GROUP BY name");
        std::vector<TListEntry> ofType;
        for (rows->MoveFirst(); !rows->Eof(); rows->Next())
            ofType.push_back({type, rows->FieldAsString(0), rows->FieldAsString(1),
                              type == mitApplication ? ProgramNameKey(rows->FieldAsString(0)) : std::string()});
        std::stable_sort(ofType.begin(), ofType.end(), [](const TListEntry& a, const TListEntry& b) {
            return CompareTextAscii(a.Caption, b.Caption) < 0;
        });
        entries.insert(entries.end(), ofType.begin(), ofType.end());
    }
    return entries;
}

// One logged item of the daily totals: the values the entries match.
struct TLoggedItem {
    std::int64_t Origin = 0;
    std::string Program;
    std::string Address;
};

// The entries (positions in `entries`) that count an item's time, by the
// usage statistics' rules: a web site every address that contains its name
// (SQLite's LIKE, as the usage view asks it), an application its program
// by the list's own rule and a browser's rows logged under its path.
std::vector<std::size_t> EntriesOfItem(TSQLiteDatabase& db, const std::vector<TListEntry>& entries,
                                       const TLoggedItem& item) {
    std::vector<std::string> sites;
    const bool anySite =
        std::any_of(entries.begin(), entries.end(), [](const TListEntry& e) { return e.ItemType == mitWebSite; });
    if (anySite && !item.Address.empty()) {
        const auto matched = db.GetTable(
            "SELECT name FROM websites_list WHERE ?1 LIKE '%' || name || '%' GROUP BY name", {item.Address});
        for (matched->MoveFirst(); !matched->Eof(); matched->Next()) sites.push_back(matched->FieldAsString(0));
    }
    const std::string programKey = item.Origin == 1 ? ProgramPathKey(item.Program) : std::string();
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TListEntry& entry = entries[i];
        const bool counts = entry.ItemType == mitWebSite
                                ? std::find(sites.begin(), sites.end(), entry.Name) != sites.end()
                                : (item.Origin == 2 && SameTextAscii(item.Address, entry.Name)) ||
                                      (item.Origin == 1 && ProgramKeyMatches(entry.ProgramKey, programKey));
        if (counts) found.push_back(i);
    }
    return found;
}

// An entry's seconds on one day.
struct TEntrySeconds {
    std::size_t Entry = 0;  // position in the entries
    std::int64_t Seconds = 0;
};

// The daily totals of a range of days, shared out to the entries.
struct TEntryDays {
    std::vector<std::string> DayKeys;                 // the days with rows, in order
    std::vector<std::int64_t> SecondsOnList;          // per day of DayKeys
    std::vector<std::vector<TEntrySeconds>> Entries;  // per day of DayKeys, by entry position; only with time
};

// The range's rows are read once, in day order, and streamed: a year of a
// long list is tens of thousands of rows. Each distinct item is matched
// against the entries once, however many days it was logged on. By month,
// a month's days are summed into one period keyed "yyyy-mm".
TEntryDays ReadEntryDays(TSQLiteDatabase& db, const std::vector<TListEntry>& entries, std::string_view firstDayKey,
                         std::string_view lastDayKey, bool byMonth = false) {
    TEntryDays days;
    // Names are compared ignoring ASCII case, as the table's key has them.
    std::unordered_map<std::string, std::vector<std::size_t>> entriesOfItem;
    std::vector<std::int64_t> secondsOfEntry(entries.size(), 0);
    std::vector<std::size_t> touched;
    auto closePeriod = [&] {
        std::sort(touched.begin(), touched.end());
        std::vector<TEntrySeconds>& ofPeriod = days.Entries.emplace_back();
        for (std::size_t entry : touched) {
            if (secondsOfEntry[entry] != 0) ofPeriod.push_back({entry, secondsOfEntry[entry]});
            secondsOfEntry[entry] = 0;
        }
        touched.clear();
    };
    std::string key;
    db.ForEachRow(
        "SELECT day, origin, app_name, browser_url, seconds FROM daily_totals WHERE day BETWEEN ?1 AND ?2 ORDER BY "
        "day",
        {std::string(firstDayKey), std::string(lastDayKey)}, [&](const TSQLiteRowView& row) {
            const std::string_view period = byMonth ? row.Text(0).substr(0, 7) : row.Text(0);
            if (days.DayKeys.empty() || days.DayKeys.back() != period) {
                if (!days.DayKeys.empty()) closePeriod();
                days.DayKeys.emplace_back(period);
                days.SecondsOnList.push_back(0);
            }
            const std::int64_t seconds = row.Integer(4);
            days.SecondsOnList.back() += seconds;
            key.assign(row.Text(1)).append("\n").append(row.Text(2)).append("\n").append(row.Text(3));
            for (char& c : key)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            auto found = entriesOfItem.find(key);
            if (found == entriesOfItem.end()) {
                const TLoggedItem item{row.Integer(1), std::string(row.Text(2)), std::string(row.Text(3))};
                found = entriesOfItem.emplace(key, EntriesOfItem(db, entries, item)).first;
            }
            for (std::size_t entry : found->second) {
                if (secondsOfEntry[entry] == 0) touched.push_back(entry);
                secondsOfEntry[entry] += seconds;
            }
        });
    if (!days.DayKeys.empty()) closePeriod();
    return days;
}

}  // namespace

std::vector<TEntryDaySeconds> DailyEntrySeconds(TSQLiteDatabase& db, TMonitoredItemType type,
                                                std::string_view firstDayKey, std::string_view lastDayKey) {
    VH_ASSERT(type == mitApplication || type == mitWebSite);
    const std::vector<TListEntry> entries = ListEntries(db, {type});
    const TEntryDays days = ReadEntryDays(db, entries, firstDayKey, lastDayKey);
    std::vector<TEntryDaySeconds> result;
    for (std::size_t day = 0; day < days.DayKeys.size(); ++day)
        for (const TEntrySeconds& entry : days.Entries[day])
            result.push_back({days.DayKeys[day], entries[entry.Entry].Name, entry.Seconds});
    return result;
}

namespace {

// The history's periods, each with the key its rows carry, filled from the
// daily totals of [firstDay, lastDay].
std::vector<TDailyHistoryDay> HistoryOf(TSQLiteDatabase& db, std::vector<TDailyHistoryDay> periods,
                                        const std::function<std::string(TDateTime)>& keyOf, TDateTime firstDay,
                                        TDateTime lastDay, bool byMonth) {
    if (periods.empty()) return periods;
    EnsureDailyTotals(db);
    // Under Wine each page read is a slow system call, and SQLite's default
    // 2 MB cache holds less than a year of the range: the file is read
    // through a mapping for as long as this connection lives (a read's
    // length; the log's file never shrinks, so no mapping stands in the way
    // of a truncation), the rest cached up to 64 MB.
    db.GetTable("PRAGMA mmap_size = 268435456");
    db.ExecSQL("PRAGMA cache_size = -65536");
    std::map<std::string, std::size_t> periodIndex;
    for (std::size_t i = 0; i < periods.size(); ++i) periodIndex[keyOf(periods[i].Date)] = i;

    const std::vector<TListEntry> entries = ListEntries(db, {mitWebSite, mitApplication});
    const TEntryDays read = ReadEntryDays(db, entries, DayKey(firstDay), DayKey(lastDay), byMonth);
    for (std::size_t period = 0; period < read.DayKeys.size(); ++period) {
        const auto found = periodIndex.find(read.DayKeys[period]);
        if (found == periodIndex.end()) continue;
        TDailyHistoryDay& into = periods[found->second];
        into.SecondsOnList = read.SecondsOnList[period];
        for (const TEntrySeconds& entry : read.Entries[period]) {
            const TListEntry& listed = entries[entry.Entry];
            into.Entries.push_back({listed.ItemType, listed.Name, listed.Caption, entry.Seconds});
        }
    }
    return periods;
}

}  // namespace

std::vector<TDailyHistoryDay> DailyHistory(TSQLiteDatabase& db, TDateTime firstDay, TDateTime lastDay) {
    std::vector<TDailyHistoryDay> days;
    // Dates are whole numbers, so the steps are exact.
    for (TDateTime date = DateOf(firstDay); date <= DateOf(lastDay); date += 1) days.push_back({date, 0, {}});
    return HistoryOf(db, std::move(days), &DayKey, firstDay, lastDay, false);
}

std::vector<TDailyHistoryDay> MonthlyHistory(TSQLiteDatabase& db, TDateTime firstDay, TDateTime lastDay) {
    std::vector<TDailyHistoryDay> months;
    const DateTimeParts first = DecodeDateTime(firstDay);
    for (TDateTime month = EncodeDate(first.year, first.month, 1); month <= DateOf(lastDay); month = IncMonth(month, 1))
        months.push_back({month, 0, {}});
    return HistoryOf(
        db, std::move(months), [](TDateTime month) { return DayKey(month).substr(0, 7); }, firstDay, lastDay, true);
}

}  // namespace vh
