#include "storage/OptionsSql.h"

#include "common/StringUtils.h"

namespace vh {

std::string UnionInsertSql(std::string_view header, const std::vector<std::string>& lines) {
    std::string sql(header);
    sql += kSqlLineBreak;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            sql += kSqlLineBreak;
            sql += "UNION ALL";
            sql += kSqlLineBreak;
        }
        sql += lines[i];
    }
    return sql;
}

std::string SettingsInsertSql(const std::vector<std::pair<std::string, std::string>>& rows) {
    std::vector<std::string> lines;
    lines.reserve(rows.size());
    for (const auto& [key, value] : rows)
        lines.push_back("SELECT " + QuotedSqlString(key) + ", " + QuotedSqlString(value));
    return UnionInsertSql("INSERT INTO settings(name, value)", lines);
}

std::string RemindersInsertSql(const std::array<std::string, kReminderTypeCount>& texts) {
    std::vector<std::string> lines;
    for (int type = rtMorning; type <= rtEvening; ++type) {
        // A single-quoted literal: SQLite reads a double-quoted one as a
        // string only through a leniency that builds may switch off.
        lines.push_back("SELECT " + QuotedSqlString(texts[static_cast<std::size_t>(type)]) + ", " +
                        QuotedSqlString(ReminderTypeStorageName(static_cast<TReminderType>(type))));
    }
    return UnionInsertSql("INSERT INTO reminders(text, reminder_type)", lines);
}

std::vector<std::string> MonitoredItemsInsertSql(const TMonitoredList& list, TMonitoredItemType type) {
    const std::string header = "INSERT INTO " + MonitoredListTableName(type) + "(name, caption, active)";
    std::vector<std::string> statements;
    std::vector<std::string> lines;
    auto flush = [&] {
        if (lines.empty()) return;
        statements.push_back(UnionInsertSql(header, lines));
        lines.clear();
    };
    for (int i = 0; i < list.Count(); ++i) {
        const TMonitoredItem& item = list.Items(i);
        if (item.ItemType != type) continue;
        lines.push_back("SELECT " + QuotedSqlString(item.Name) + ", " + QuotedSqlString(item.Caption) + ", " +
                        (item.Active ? "1" : "0"));
        if (static_cast<int>(lines.size()) == kRowsPerInsert) flush();
    }
    flush();
    return statements;
}

std::string MonitoredItemsDeleteSql(TMonitoredItemType type) {
    return "DELETE FROM " + MonitoredListTableName(type) + ";";
}

}  // namespace vh
