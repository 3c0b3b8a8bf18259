// Focus mode on the monitoring side: started by hand, restored after a restart, and
// followed from the block schedule.
#include <gtest/gtest.h>

#include "monitor/MainMonitorFixture.h"

namespace vh {
namespace {

class FocusModeTest : public MainMonitorTest {
protected:
    // The program ends and starts again: new options and monitor over the same files.
    void Restart() {
        monitor_.reset();
        options_.reset();
        window_ = RecordingWindow{};
        Start(false);
        // At its start the program's focus end is that very moment.
        Pass(1);
    }
    std::string Common(std::string_view key) { return GetIniFile().ReadString("Common", key, ""); }
};

TEST_F(FocusModeTest, OnlyADurationTheDialogAcceptsStartsFocusMode) {
    struct Case {
        TDateTime duration;
        bool started;
    };
    bool first = true;
    for (const Case& c : {Case{0, false}, Case{-EncodeTime(0, 30, 0), false}, Case{EncodeTime(0, 0, 20), false},
                          Case{1.0, false}, Case{EncodeTime(0, 1, 0), true}, Case{EncodeTime(23, 59, 0), true}}) {
        SCOPED_TRACE(c.duration * 1440);
        Start(first);
        first = false;
        EXPECT_EQ(monitor_->StartFocus(c.duration), c.started);
        Pass(1);
        EXPECT_EQ(monitor_->InFocus(), c.started);
        EXPECT_EQ(window_.focusLayouts, c.started ? 1 : 0);
        EXPECT_EQ(Common("FocusEndTime").empty(), !c.started);
        if (c.started) {
            EXPECT_DOUBLE_EQ(monitor_->FocusEndTime, monitor_->FocusStartTime + c.duration);
        }
        monitor_.reset();
        options_.reset();
        GetIniFile().EraseSection("Common");
        window_ = RecordingWindow{};
    }
}

TEST_F(FocusModeTest, ARunningModeSurvivesARestartAndTheDailyResetUntilItsEnd) {
    Start();
    ASSERT_TRUE(monitor_->StartFocus(EncodeTime(0, 30, 0)));
    const TDateTime start = monitor_->FocusStartTime;
    EXPECT_EQ(Common("FocusStartTime").substr(0, 16), "2024-03-10 09:00");
    Pass(3);
    monitor_->tmrScanTimer();
    ASSERT_EQ(window_.reminders.size(), 1u);
    EXPECT_EQ(window_.reminders[0].remaining, "00:30");

    // Ten minutes on, across the 4:00 AM reset's erasing of the day's keys.
    Pass(600);
    monitor_->DailyReset();
    Restart();
    EXPECT_TRUE(monitor_->InFocus());
    EXPECT_NEAR(monitor_->FocusStartTime, start, 1e-8);
    EXPECT_DOUBLE_EQ(monitor_->FocusDuration, EncodeTime(0, 30, 0));
    EXPECT_EQ(window_.focusLayouts, 1);
    // The reset allowed the focus reminder again; otherwise a restart would not.
    EXPECT_TRUE(monitor_->FocusReminderAllowed);
    Pass(3);
    monitor_->tmrScanTimer();
    ASSERT_EQ(window_.reminders.size(), 1u);
    EXPECT_EQ(window_.reminders[0].remaining, "00:20");
    Restart();
    EXPECT_FALSE(monitor_->FocusReminderAllowed);
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_TRUE(window_.reminders.empty());
    EXPECT_EQ(windows_.Closed, (std::vector<TWindowId>{game_, game_, game_}));

    // Past the end a restart finds focus mode over, and the scan keeps the normal layout.
    Pass(20 * 60);
    Restart();
    EXPECT_FALSE(monitor_->InFocus());
    EXPECT_EQ(window_.focusLayouts, 0);
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_EQ(window_.normalLayouts, 1);
    EXPECT_EQ(windows_.Closed.size(), 3u);
    // A period that is over goes with the rest of the day's keys.
    monitor_->DailyReset();
    EXPECT_FALSE(GetIniFile().SectionExists("Common"));
}

TEST_F(FocusModeTest, APeriodNoDialogCouldHaveStartedIsNotRestored) {
    struct Case {
        const char* start;
        const char* end;
    };
    for (const Case& c : {Case{"2024-03-10 08:50:00.000", "2024-03-10 08:59:00.000"},  // over
                          Case{"2024-03-10 08:50:00.000", "2024-03-11 09:00:00.000"},  // longer than 23:59
                          Case{"2024-03-10 09:10:00.000", "2024-03-10 09:05:00.000"},  // ends before it starts
                          Case{"2024-03-11 12:00:00.000", "2024-03-11 12:30:00.000"},  // more than a day ahead
                          Case{"yesterday", "2024-03-10 09:30:00.000"}, Case{"", "2024-03-10 09:30:00.000"}}) {
        SCOPED_TRACE(std::string(c.start) + " - " + c.end);
        GetIniFile().WriteString("Common", "FocusStartTime", c.start);
        GetIniFile().WriteString("Common", "FocusEndTime", c.end);
        Restart();
        EXPECT_FALSE(monitor_->InFocus());
        EXPECT_EQ(window_.focusLayouts, 0);
    }
    GetIniFile().WriteString("Common", "FocusStartTime", "2024-03-10 08:50:00.000");
    Restart();
    EXPECT_TRUE(monitor_->InFocus());
    EXPECT_EQ(window_.focusLayouts, 1);
}

// 10 March 2024 is a Sunday; the clock starts at 9:00.
TEST_F(FocusModeTest, AScheduledPeriodClosesListedWindowsFromItsStartAndSurvivesARestart) {
    GetIniFile().WriteString("BlockSchedule", "Period1", "Sun 09:01-09:30");
    GetIniFile().WriteString("BlockSchedule", "Period2", "Sun 25:00-26:00");
    int unreadable = 0;
    SetTraceSinkForTesting([&unreadable](char, std::string_view text) {
        if (text.find("Period2=Sun 25:00-26:00") != std::string_view::npos) ++unreadable;
    });
    Start();
    Pass(3);
    monitor_->tmrScanTimer();
    SetTraceSinkForTesting(nullptr);
    EXPECT_EQ(unreadable, 1);
    EXPECT_FALSE(monitor_->InFocus());
    EXPECT_TRUE(windows_.Closed.empty());
    Pass(60);
    monitor_->tmrScanTimer();
    EXPECT_TRUE(monitor_->InFocus());
    EXPECT_TRUE(monitor_->FocusScheduled);
    EXPECT_EQ(window_.focusLayouts, 1);
    ASSERT_EQ(window_.reminders.size(), 1u);
    EXPECT_EQ(window_.reminders[0].remaining, "00:29");
    EXPECT_EQ(windows_.Closed, (std::vector<TWindowId>{game_}));

    // Started again within the period, it is on from the start.
    Pass(600);
    Restart();
    EXPECT_TRUE(monitor_->InFocus());
    EXPECT_TRUE(monitor_->FocusScheduled);
    EXPECT_EQ(window_.focusLayouts, 1);
    EXPECT_NEAR(monitor_->FocusEndTime, EncodeDateTime({2024, 3, 10, 9, 30, 0, 0}), 1e-8);

    // Deleting the running period ends nothing today.
    monitor_->ChangeBlockSchedule({});
    EXPECT_TRUE(GetIniFile().SectionExists("BlockSchedulePending"));
    EXPECT_EQ(GetIniFile().ReadString("BlockSchedule", "Period1", ""), "Sun 09:01-09:30");
    Pass(3);
    monitor_->tmrScanTimer();
    EXPECT_TRUE(monitor_->InFocus());
    Pass(20 * 60);
    monitor_->tmrScanTimer();
    EXPECT_FALSE(monitor_->InFocus());
    EXPECT_FALSE(monitor_->FocusScheduled);
    EXPECT_EQ(window_.normalLayouts, 1);
}

}  // namespace
}  // namespace vh
