#include "monitor/ZuravoZazoApplicationLogger.h"

#include <exception>
#include <utility>
#include <vector>

#include "common/Exceptions.h"
#include "common/StringUtils.h"
#include "environment/DateTimeUtils.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "monitor/ZuravoZazoApplication.h"
#include "storage/DailyTotals.h"
#include "storage/DatabaseFiles.h"
#include "storage/SQLiteTable3.h"
#include "storage/UsageStatistics.h"

namespace vh {

TSQLiteParams ActivityRowParams(const std::string& dateText, const std::string& applicationPath,
                                const std::string& address, const std::string& kindText, std::int32_t seconds,
                                TMonitoredItemType origin) {
    return {dateText, applicationPath, address, kindText, std::int64_t{seconds}, std::int64_t{origin}};
}

// The connection the rows are written through, with its statements compiled
// once. A log database without daily totals (an older file, or one put in
// the log's place) gets them, filled from its rows, when it is opened.
struct TZuravoZazoApplicationLogger::TLogConnection {
    explicit TLogConnection(const std::string& fileName)
        : db(fileName),
          dailyTotalsCreated(EnsureDailyTotals(db)),
          insert(db, kActivityRowInsertSql),
          addToDay(db, DailyTotalUpsertSql()) {}
    TSQLiteDatabase db;
    bool dailyTotalsCreated;  // before the statements, which need the table
    TSQLiteStatement insert;  // declared after their connection: finalized first
    TSQLiteStatement addToDay;
};

TZuravoZazoApplicationLogger::TZuravoZazoApplicationLogger(std::string logDBFileName)
    : logDBFileName_(std::move(logDBFileName)) {
    SecondsOnList = 0;
    MonitoredListLoad(true);
}

TZuravoZazoApplicationLogger::TZuravoZazoApplicationLogger() : TZuravoZazoApplicationLogger(LogDBFileName()) {}

TZuravoZazoApplicationLogger::~TZuravoZazoApplicationLogger() {
    if (pendingRows_.empty()) return;
    try {
        WritePendingRows();
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "TZuravoZazoApplicationLogger.~TZuravoZazoApplicationLogger"));
    } catch (...) {
        // A destructor raises nothing.
    }
}

void TZuravoZazoApplicationLogger::HandPendingRowsTo(TZuravoZazoApplicationLogger& successor) {
    VH_ASSERT(&successor != this);
    // Older than any of the successor's; the bound keeps the oldest.
    std::deque<TSQLiteParams> rows = std::move(pendingRows_);
    pendingRows_.clear();
    for (TSQLiteParams& row : successor.pendingRows_) rows.push_back(std::move(row));
    if (rows.size() > kMaxPendingRows) rows.resize(kMaxPendingRows);
    successor.pendingRows_ = std::move(rows);
}

void TZuravoZazoApplicationLogger::CloseLog() noexcept {
    log_.reset();
}

TMonitoredList& TZuravoZazoApplicationLogger::UsageList() {
    if (!usageList_) usageList_ = std::make_unique<TMonitoredList>();
    return *usageList_;
}

TMonitoredList& TZuravoZazoApplicationLogger::TodayList() {
    if (!todayList_) todayList_ = std::make_unique<TMonitoredList>();
    return *todayList_;
}

void TZuravoZazoApplicationLogger::Log(const TZuravoZazoApplication* probe, std::int32_t seconds) {
    VH_ASSERT(probe != nullptr);
    try {
        const std::string dateText = DateTimeToDbString(ProgramNow());
        const TMatch match = TodayList().FindMatch(probe->ApplicationPath, probe->Address);
        if (match.Index == -1) return;
        TodayList().Items(match.Index).Seconds += seconds;
        // Counted before the write: a log that cannot be written must not
        // switch the limit off.
        SecondsOnList += seconds;
        if (pendingRows_.size() < kMaxPendingRows)
            pendingRows_.push_back(ActivityRowParams(dateText, probe->ApplicationPath, probe->Address,
                                                     probe->GetKindText(), seconds, match.Kind));
        WritePendingRows();
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "TZuravoZazoApplicationLogger.Log"));
    }
}

void TZuravoZazoApplicationLogger::WritePendingRows() {
    try {
        if (!log_) log_ = std::make_unique<TLogConnection>(logDBFileName_);
        // All or nothing, so a failure part-way can neither write a row twice
        // later nor leave a row outside its day's total.
        TSQLiteTransaction transaction(log_->db);
        for (const TSQLiteParams& row : pendingRows_) {
            log_->insert.Exec(row);
            log_->addToDay.Exec(row);
        }
        transaction.Commit();
    } catch (...) {
        // Whatever broke (a lock, a disk, a file replaced) is met afresh by
        // a new connection at the next row; closing rolls back what is open.
        log_.reset();
        throw;
    }
    pendingRows_.clear();
}

void TZuravoZazoApplicationLogger::MonitoredItemsLoad(TMonitoredList& list, TMonitoredItemType type, TDateTime from,
                                                      TDateTime to, bool accumulate) {
    try {
        std::vector<TUsageTotal> totals;
        {
            TSQLiteDatabase db(logDBFileName_, DecimalSeparatorForText());
            totals = UsageTotals(db, type, from, to);
        }
        list.SetCapacity(list.Count() + static_cast<int>(totals.size()));
        for (TUsageTotal& total : totals) {
            const auto seconds = static_cast<std::int32_t>(total.Seconds);
            if (accumulate) SecondsOnList += seconds;
            auto item = std::make_unique<TMonitoredItem>();
            item->Caption = std::move(total.Caption);
            item->Name = std::move(total.Name);
            item->Seconds = seconds;
            item->ItemType = type;
            item->Active = total.Active;
            std::string key = item->Caption;
            list.Add(std::move(key), std::move(item));
        }
    } catch (const std::exception& e) {
        TraceException(ErrorTraceText(e, "TZuravoZazoApplicationLogger.MonitoredItemsLoad"));
    }
}

void TZuravoZazoApplicationLogger::MonitoredListLoad(bool accumulate) {
    TodayList().Clear();
    const TDateTime now = ProgramNow();
    const TDateTime from = TodayStart(now);
    MonitoredItemsLoad(TodayList(), mitWebSite, from, now, accumulate);
    MonitoredItemsLoad(TodayList(), mitApplication, from, now, accumulate);
}

void TZuravoZazoApplicationLogger::UsageListLoad(bool accumulate, TDateTime from, TDateTime to) {
    UsageList().Clear();
    MonitoredItemsLoad(UsageList(), mitWebSite, from, to, accumulate);
    MonitoredItemsLoad(UsageList(), mitApplication, from, to, accumulate);
}

void TZuravoZazoApplicationLogger::MonitoredItemDelete(const TMonitoredItem* item, TDeleteResult result) {
    VH_ASSERT(item != nullptr);
    if (result == TDeleteResult::Nothing) return;
    const int index = TodayList().IndexOfItem(*item);
    if (index == -1) return;
    if (result == TDeleteResult::Deleted)
        TodayList().Delete(index);
    else
        TodayList().Items(index).Active = false;
}

}  // namespace vh
