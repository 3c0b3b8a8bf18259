#include "ui/presenters/ReminderChange.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/TempFolder.h"
#include "environment/IniFile.h"
#include "storage/Options.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

using testing::FileIn;

class ReminderChangeTest : public ::testing::Test {
protected:
    ReminderChangeTest() {
        platform_.CreateFolders("C:\\data");
        testing::CopyReadyMadeDatabase("settings.sqlite", settings_);
        testing::CopyReadyMadeDatabase("actmondb.sqlite", log_);
    }
    std::unique_ptr<TOptions> Load() {
        TOptionsSite site;
        site.SettingsDBFileName = settings_;
        site.LogDBFileName = log_;
        site.IniFile = [this]() -> TIniFile& { return ini_; };
        site.Now = [this] { return now_; };
        return std::make_unique<TOptions>(site);
    }

    testing::TempFolder folder_;
    std::string settings_ = FileIn(folder_.Path(), "settings.sqlite");
    std::string log_ = FileIn(folder_.Path(), "actmondb.sqlite");
    testing::FakeEnvironmentPlatform platform_;
    TIniFile ini_{"C:\\data\\Vornhalt.ini", platform_};
    TDateTime now_ = EncodeDateTime({2026, 3, 21, 16, 0, 0, 0});
};

TEST_F(ReminderChangeTest, TheMessageCountsWholeDaysRoundedAndNeverBelowZero) {
    struct Case {
        double daysAgo;
        int shown;
    };
    for (const Case& c : {Case{9 + 14.0 / 24, 10}, Case{9 + 11.0 / 24, 9}, Case{0.4, 0}, Case{-3, 0}, Case{400, 400}}) {
        SCOPED_TRACE(c.daysAgo);
        EXPECT_EQ(DaysSinceReminderChange(now_ - c.daysAgo, now_), c.shown);
    }
}

TEST_F(ReminderChangeTest, OpeningStampsTheQuestionAndClosingKeepsTheChosenPeriodUntilTheNextSave) {
    struct Case {
        TReminderChangePeriod before;
        int chosenIndex;
        TReminderChangePeriod after;
    };
    // Escape goes the same way as OK: "Never" chosen then Escape stores rcpNever.
    for (const Case& c : {Case{rcpWeekly, 0, rcpNever}, Case{rcpDaily, 1, rcpDaily}, Case{rcpNever, 4, rcpMonthly},
                          Case{rcpFortnightly, -1, rcpFortnightly}, Case{rcpWeekly, 5, rcpWeekly}}) {
        SCOPED_TRACE(c.chosenIndex);
        auto options = Load();
        options->ReminderChangePeriod = c.before;
        options->ReminderChangedDateTime = now_ - (9 + 14.0 / 24);
        options->ReminderShowedDateTime = now_ - 20;
        ASSERT_TRUE(options->Save());

        EXPECT_EQ(OpenReminderChange(*options, now_), "You have not updated your reminders in 10 day(s)");
        EXPECT_DOUBLE_EQ(options->ReminderShowedDateTime, now_);
        CloseReminderChange(*options, c.chosenIndex);
        EXPECT_EQ(options->ReminderChangePeriod, c.after);
        // Nothing is written by the dialog itself: a reload still has the old values.
        EXPECT_EQ(Load()->ReminderChangePeriod, c.before);
        ASSERT_TRUE(options->Save());
        options.reset();
        auto reloaded = Load();
        EXPECT_EQ(reloaded->ReminderChangePeriod, c.after);
        EXPECT_NEAR(reloaded->ReminderShowedDateTime, now_, 1.0 / 86400);
        EXPECT_NEAR(reloaded->ReminderChangedDateTime, now_ - (9 + 14.0 / 24), 1.0 / 86400);
    }
}

}  // namespace
}  // namespace vh
