#pragma once
// The engine: how many seconds of today went to entries of the time-limit
// list, and the activity log row of every timed interval, added to its day's
// total (DailyTotals.h) in the same transaction. "Today" starts at the most
// recent 4:00 AM of the program clock. Used on the user-interface thread
// only. The rows go through one connection with its statements prepared,
// opened at the first row, closed by CloseLog and after a failed write and
// opened again at the next row; between rows it holds no lock, so other
// programs read and write the file as they like.

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "common/DateTime.h"
#include "model/DurationText.h"
#include "model/MonitoredObjects.h"
#include "model/OptionsEnums.h"
#include "storage/SQLiteTable3.h"
#include "storage/UsageStatistics.h"

namespace vh {

class TZuravoZazoApplication;

class TZuravoZazoApplicationLogger {
public:
    // Rows kept in memory while the log database cannot be written; past
    // this the newest are dropped (their time still counts).
    static constexpr std::size_t kMaxPendingRows = 20000;

    // Loads today's totals from the log database `logDBFileName`.
    explicit TZuravoZazoApplicationLogger(std::string logDBFileName);
    // The installed environment's log database.
    TZuravoZazoApplicationLogger();
    TZuravoZazoApplicationLogger(const TZuravoZazoApplicationLogger&) = delete;
    TZuravoZazoApplicationLogger& operator=(const TZuravoZazoApplicationLogger&) = delete;
    // Tries once more to write the rows still waiting (a failure is traced).
    ~TZuravoZazoApplicationLogger();

    // Entries with their seconds for the period the usage view chose.
    TMonitoredList& UsageList();
    // Entries with their seconds since the most recent 4:00 AM.
    TMonitoredList& TodayList();
    // Seconds on listed entries today: the loaded sum plus every logged interval.
    std::int32_t SecondsOnList = 0;

    // Records one interval for the probed window when it matches an entry of
    // TodayList: adds it to the entry and to SecondsOnList at once and writes
    // the row. A row that cannot be written now is kept and written, in
    // order, before the next one. Never raises. Asserts a probe.
    void Log(const TZuravoZazoApplication* probe, std::int32_t seconds);

    void MonitoredListLoad(bool accumulate);
    void UsageListLoad(bool accumulate, TDateTime from, TDateTime to);
    // Appends an entry per list entry of `type` with its seconds between the
    // bounds (UsageTotals); a failure is traced and loads nothing.
    void MonitoredItemsLoad(TMonitoredList& list, TMonitoredItemType type, TDateTime from, TDateTime to,
                            bool accumulate);

    // Applies the result of the options' removal to TodayList.
    void MonitoredItemDelete(const TMonitoredItem* item, TDeleteResult result);

    std::size_t PendingRowCount() const noexcept { return pendingRows_.size(); }
    // The log database the rows go to (and the usage history reads).
    const std::string& LogDBFileName() const noexcept { return logDBFileName_; }

    // Closes the log connection, before the log's clean-up and at the end;
    // the next row opens it again.
    void CloseLog() noexcept;
    // Hands the rows still waiting to `successor` (the daily reset's new
    // engine), which writes them, in order, before its own.
    void HandPendingRowsTo(TZuravoZazoApplicationLogger& successor);

private:
    struct TLogConnection;
    void WritePendingRows();

    std::string logDBFileName_;
    std::unique_ptr<TMonitoredList> usageList_;
    std::unique_ptr<TMonitoredList> todayList_;
    std::deque<TSQLiteParams> pendingRows_;  // values of kActivityRowInsertSql, oldest first
    std::unique_ptr<TLogConnection> log_;    // none until the first row and after a failure
};

// The log row of one interval, its values bound in column order.
inline constexpr char kActivityRowInsertSql[] =
    "INSERT INTO applications(date_created, app_name, browser_url, app_type, duration, origin) "
    "VALUES(?, ?, ?, ?, ?, ?)";
TSQLiteParams ActivityRowParams(const std::string& dateText, const std::string& applicationPath,
                                const std::string& address, const std::string& kindText, std::int32_t seconds,
                                TMonitoredItemType origin);

}  // namespace vh
