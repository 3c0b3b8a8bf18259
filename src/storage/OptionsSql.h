#pragma once
// The statements through which the options are written. Values are bound
// to the statements' parameters, never placed into their text; each INSERT
// is one SELECT line per row with a UNION ALL line between each two.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/MonitoredObjects.h"
#include "storage/OptionsTypes.h"
#include "storage/SQLiteTable3.h"

namespace vh {

inline constexpr std::string_view kSqlLineBreak = "\r\n";
inline constexpr int kRowsPerInsert = 15;

// A statement's text and the values of its parameters, in order.
struct TSqlStatement {
    std::string Sql;
    TSQLiteParams Params;
};

// `header`, a line break, then the lines with "UNION ALL" lines between them.
// The separator goes between the lines themselves, never into their text, so a
// value holding a line that starts with "SELECT" is stored as it is.
std::string UnionInsertSql(std::string_view header, const std::vector<std::string>& lines);

// "INSERT INTO settings(name, value)" with one "SELECT ?, ?" per row.
TSqlStatement SettingsInsertSql(const std::vector<std::pair<std::string, std::string>>& rows);

// "INSERT INTO reminders(text, reminder_type)" with the three texts in type
// order, each as "SELECT ?, 'morning'" and so on.
TSqlStatement RemindersInsertSql(const std::array<std::string, kReminderTypeCount>& texts);

// The INSERTs of the list's entries of `type` ("SELECT ?, ?, ?": name,
// caption, active), in list order, at most kRowsPerInsert rows each; none
// for no entries.
std::vector<TSqlStatement> MonitoredItemsInsertSql(const TMonitoredList& list, TMonitoredItemType type);

// "DELETE FROM applications_list;" and "DELETE FROM websites_list;".
std::string MonitoredItemsDeleteSql(TMonitoredItemType type);

}  // namespace vh
