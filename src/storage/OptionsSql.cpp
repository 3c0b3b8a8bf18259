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

TSqlStatement SettingsInsertSql(const std::vector<std::pair<std::string, std::string>>& rows) {
    TSqlStatement statement;
    const std::vector<std::string> lines(rows.size(), "SELECT ?, ?");
    for (const auto& [key, value] : rows) {
        statement.Params.emplace_back(key);
        statement.Params.emplace_back(value);
    }
    statement.Sql = UnionInsertSql("INSERT INTO settings(name, value)", lines);
    return statement;
}

TSqlStatement RemindersInsertSql(const std::array<std::string, kReminderTypeCount>& texts) {
    TSqlStatement statement;
    std::vector<std::string> lines;
    for (int type = rtMorning; type <= rtEvening; ++type) {
        // The type is ours, a single-quoted literal: SQLite reads a
        // double-quoted one as a string only through a leniency builds may drop.
        lines.push_back("SELECT ?, " + QuotedSqlString(ReminderTypeStorageName(static_cast<TReminderType>(type))));
        statement.Params.emplace_back(texts[static_cast<std::size_t>(type)]);
    }
    statement.Sql = UnionInsertSql("INSERT INTO reminders(text, reminder_type)", lines);
    return statement;
}

std::vector<TSqlStatement> MonitoredItemsInsertSql(const TMonitoredList& list, TMonitoredItemType type) {
    const std::string header = "INSERT INTO " + MonitoredListTableName(type) + "(name, caption, active)";
    std::vector<TSqlStatement> statements;
    std::vector<std::string> lines;
    TSQLiteParams params;
    auto flush = [&] {
        if (lines.empty()) return;
        statements.push_back({UnionInsertSql(header, lines), std::move(params)});
        lines.clear();
        params.clear();
    };
    for (int i = 0; i < list.Count(); ++i) {
        const TMonitoredItem& item = list.Items(i);
        if (item.ItemType != type) continue;
        lines.emplace_back("SELECT ?, ?, ?");
        params.emplace_back(item.Name);
        params.emplace_back(item.Caption);
        params.emplace_back(std::int64_t{item.Active ? 1 : 0});
        if (static_cast<int>(lines.size()) == kRowsPerInsert) flush();
    }
    flush();
    return statements;
}

std::string MonitoredItemsDeleteSql(TMonitoredItemType type) {
    return "DELETE FROM " + MonitoredListTableName(type) + ";";
}

}  // namespace vh
