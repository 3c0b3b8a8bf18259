#pragma once
// The statement texts through which the options are written. Values are
// placed into the text quoted as SQL string literals; each INSERT is one
// SELECT line per row with a UNION ALL line between each two.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/MonitoredObjects.h"
#include "storage/OptionsTypes.h"

namespace vh {

inline constexpr std::string_view kSqlLineBreak = "\r\n";
inline constexpr int kRowsPerInsert = 15;

// `header`, a line break, then the lines with "UNION ALL" lines between them.
// The separator goes between the lines themselves, never into their text, so a
// value holding a line that starts with "SELECT" is stored as it is.
std::string UnionInsertSql(std::string_view header, const std::vector<std::string>& lines);

// "INSERT INTO settings(name, value)" with one "SELECT 'key', 'value'" per row.
std::string SettingsInsertSql(const std::vector<std::pair<std::string, std::string>>& rows);

// "INSERT INTO reminders(text, reminder_type)" with the three texts in type order.
std::string RemindersInsertSql(const std::array<std::string, kReminderTypeCount>& texts);

// The INSERTs of the list's entries of `type`, in list order, at most
// kRowsPerInsert rows each; none for no entries.
std::vector<std::string> MonitoredItemsInsertSql(const TMonitoredList& list, TMonitoredItemType type);

// "DELETE FROM applications_list;" and "DELETE FROM websites_list;".
std::string MonitoredItemsDeleteSql(TMonitoredItemType type);

}  // namespace vh
