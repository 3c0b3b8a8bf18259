// The daily reset at 4:00 AM: deferred removals, pending values and a new engine.
#include <gtest/gtest.h>

#include "monitor/MainMonitorFixture.h"

namespace vh {
namespace {

class DailyResetTest : public MainMonitorTest {
protected:
    void Prepare(bool allowed) {
        Start();
        AddEntry(mitWebSite, "example.com", "Example");
        options_->AllowUserToChangeSettings = allowed;
        monitor_->tmrUsageTimer();
        monitor_->LimitReminderAllowed = false;
        monitor_->FocusReminderAllowed = false;
        monitor_->Show5MinButton = false;
        TIniFile& ini = GetIniFile();
        ini.WriteString("Applications", kGame, kGame);
        ini.WriteString("WebSites", "gone.example", "gone.example");
        ini.WriteInteger("Common", "TimeLimitSeconds", 3600);
        ini.WriteBool("Common", "TimeLimitSecondsChanged", true);
    }
    void CheckCommon() {
        TIniFile& ini = GetIniFile();
        EXPECT_FALSE(ini.SectionExists("Applications"));
        EXPECT_FALSE(ini.SectionExists("WebSites"));
        EXPECT_FALSE(ini.SectionExists("Common"));
        EXPECT_TRUE(monitor_->LimitReminderAllowed);
        EXPECT_TRUE(monitor_->FocusReminderAllowed);
        EXPECT_TRUE(monitor_->Show5MinButton);
        EXPECT_DOUBLE_EQ(options_->ResetDateTime, EncodeDateTime({2024, 3, 11, 4, 0, 0, 0}));
    }
    Rows StoredList() { return testing::QueryRows(settings_, "SELECT name FROM applications_list"); }
};

TEST_F(DailyResetTest, AppliesDeferredRemovalsAndPendingLimitWhenAllowed) {
    Prepare(true);
    monitor_->DailyReset();
    CheckCommon();
    EXPECT_LT(options_->MonitoredList().IndexOfName(kGame), 0);
    EXPECT_GE(options_->MonitoredList().IndexOfName("example.com"), 0);
    EXPECT_TRUE(StoredList().empty());  // saved
    EXPECT_LT(monitor_->Logger().TodayList().IndexOfName(kGame), 0);
    EXPECT_EQ(options_->TimeLimitSeconds(), 3600);
    EXPECT_EQ(window_.timeLimitText, "01:00");
    EXPECT_EQ(window_.actionText, "Reminder Only");
}

TEST_F(DailyResetTest, KeepsEverythingButStillErasesTheSectionsWhenNotAllowed) {
    Prepare(false);
    monitor_->DailyReset();
    CheckCommon();
    EXPECT_GE(options_->MonitoredList().IndexOfName(kGame), 0);
    EXPECT_EQ(StoredList(), (Rows{{kGame}}));
    EXPECT_EQ(options_->TimeLimitSeconds(), 28800);
    EXPECT_EQ(window_.timeLimitText, "08:00");
}

TEST_F(DailyResetTest, RowsTheLogDidNotTakeBeforeTheResetAreWrittenAfterIt) {
    Start();
    monitor_->Logger();  // today's totals loaded
    Pass(3);
    {
        // Another program holds the log past the busy time-out.
        TSQLiteDatabase holder(log_);
        holder.ExecSQL("BEGIN EXCLUSIVE");
        monitor_->tmrScanTimer();
        holder.ExecSQL("ROLLBACK");
    }
    ASSERT_EQ(monitor_->Logger().PendingRowCount(), 1u);
    monitor_->DailyReset();
    Pass(4);
    monitor_->tmrScanTimer();
    EXPECT_EQ(Durations(), (std::vector<std::string>{"3", "4"}));
}

TEST_F(DailyResetTest, ANewEngineCountsFromTheLatestFourOClock) {
    LogRow("2024-03-10 03:00:00", 500);
    LogRow("2024-03-10 05:00:00", 70);
    Prepare(false);  // the game stays on the list
    monitor_->Logger().SecondsOnList = 99999;
    monitor_->DailyReset();
    EXPECT_TRUE(monitor_->HasLogger());
    EXPECT_EQ(monitor_->Logger().SecondsOnList, 70);
}

}  // namespace
}  // namespace vh
