// The options' daily change rules: the limit's one change a day, pending
// values at the reset, permissions, and removals by access mode.
#include <gtest/gtest.h>

#include "environment/IniFile.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "storage/OptionsTestFixture.h"

namespace vh {
namespace {

using testing::QueryRows;
using testing::RunScript;
using Rows = std::vector<std::vector<std::string>>;

TEST_F(OptionsTest, TimeLimitChangesOfOneDay) {
    auto options = Make();
    options->SetTimeLimitSeconds(7200);  // a decrease: applied, the day's change not used
    EXPECT_EQ(options->TimeLimitSeconds(), 7200);
    EXPECT_FALSE(options->TimeLimitSecondsChanged());

    options->SetTimeLimitSeconds(3600);
    EXPECT_EQ(options->TimeLimitSeconds(), 3600);
    EXPECT_FALSE(options->TimeLimitSecondsChanged());
    EXPECT_EQ(Common("TimeLimitSecondsChanged"), "0");

    options->SetTimeLimitSeconds(3600);  // saved unchanged: the day's change is not used up
    EXPECT_EQ(options->TimeLimitSeconds(), 3600);
    EXPECT_FALSE(options->TimeLimitSecondsChanged());
    EXPECT_EQ(Common("TimeLimitSecondsChanged"), "0");

    options->SetTimeLimitSeconds(5400);  // the day's one increase
    EXPECT_EQ(options->TimeLimitSeconds(), 5400);
    EXPECT_TRUE(options->TimeLimitSecondsChanged());
    EXPECT_EQ(Common("TimeLimitSecondsChanged"), "1");

    options->SetTimeLimitSeconds(9000);  // pending until the next reset
    EXPECT_EQ(options->TimeLimitSeconds(), 5400);
    EXPECT_EQ(Common("TimeLimitSeconds"), "9000");

    options->SetTimeLimitSeconds(1800);  // a decrease applies at once and drops the pending value
    EXPECT_EQ(options->TimeLimitSeconds(), 1800);
    EXPECT_EQ(Common("TimeLimitSeconds"), "<none>");

    options->ResetDayChanges();
    EXPECT_EQ(options->TimeLimitSeconds(), 1800);
    EXPECT_FALSE(options->TimeLimitSecondsChanged());
    EXPECT_FALSE(ini_.SectionExists("Common"));
}

TEST_F(OptionsTest, PendingValuesApplyAtTheResetAndFlagsSurviveARestart) {
    {
        auto options = Make();
        options->SetTimeLimitSeconds(30000);
        options->SetTimeLimitSeconds(36000);
        options->SetExpirationAction(eaShutdownComputer);
        options->SetExpirationAction(eaCloseBrowserApp);
        EXPECT_EQ(options->ExpirationAction(), eaShutdownComputer);
        EXPECT_EQ(Common("ExpirationAction"), "1");
    }
    auto options = Make();  // the same day, after a restart
    EXPECT_TRUE(options->TimeLimitSecondsChanged());
    EXPECT_TRUE(options->ExpirationActionChanged());
    EXPECT_EQ(options->TimeLimitSeconds(), 30000);
    options->SetTimeLimitSeconds(40000);
    EXPECT_EQ(Common("TimeLimitSeconds"), "40000");

    options->ResetDayChanges();
    EXPECT_EQ(options->TimeLimitSeconds(), 40000);
    EXPECT_EQ(options->ExpirationAction(), eaCloseBrowserApp);
    EXPECT_FALSE(options->ExpirationActionChanged());
    EXPECT_FALSE(ini_.SectionExists("Common"));
}

TEST_F(OptionsTest, ChangesAfterTheDaysOneNeedPermission) {
    auto options = Make();
    options->SetTimeLimitSeconds(30000);
    options->SetExpirationAction(eaCloseBrowserApp);
    options->AllowUserToChangeSettings = false;
    options->SetTimeLimitSeconds(100);
    options->SetTimeLimitSeconds(40000);
    options->SetExpirationAction(eaShutdownComputer);
    EXPECT_EQ(options->TimeLimitSeconds(), 30000);
    EXPECT_EQ(Common("TimeLimitSeconds"), "<none>");
    EXPECT_EQ(Common("ExpirationAction"), "<none>");
    // Without permission the reset does not apply pending values either.
    ini_.WriteInteger("Common", "TimeLimitSeconds", 50000);
    options->ResetDayChanges();
    EXPECT_EQ(options->TimeLimitSeconds(), 30000);
}

TEST_F(OptionsTest, PendingValuesOutOfRangeAreDropped) {
    auto options = Make();
    ini_.WriteInteger("Common", "TimeLimitSeconds", 0);
    ini_.WriteInteger("Common", "ExpirationAction", 3);
    options->ResetDayChanges();
    EXPECT_EQ(options->TimeLimitSeconds(), 28800);
    EXPECT_EQ(options->ExpirationAction(), eaReminderOnly);
}

TEST_F(OptionsTest, MonitoredItemDeleteAfterAReset) {
    auto options = Make();
    AddItem(*options, mitApplication, "C:\\Apps\\a.exe", "A");
    AddItem(*options, mitWebSite, "example.com", "B");
    options->ResetDayChanges();
    EXPECT_EQ(options->GetAccessMode(), kAccessDeferred);

    TMonitoredItem probe;
    probe.Name = "c:\\apps\\A.EXE";
    EXPECT_EQ(options->MonitoredItemDelete(probe), TDeleteResult::Deleted);
    EXPECT_EQ(options->MonitoredList().Count(), 1);
    EXPECT_TRUE(options->MonitoredItemDeleteActionProcessed());
    EXPECT_EQ(Common("MonitoredItemDeleteActionProcessed"), "<none>");  // in memory only

    probe.Name = "example.com";
    EXPECT_EQ(options->MonitoredItemDelete(probe), TDeleteResult::Deactivated);
    ASSERT_EQ(options->MonitoredList().Count(), 1);
    EXPECT_FALSE(options->MonitoredList().Items(0).Active);
    EXPECT_EQ(ini_.ReadString("WebSites", "example.com", ""), "example.com");

    probe.Name = "not.listed";
    EXPECT_EQ(options->MonitoredItemDelete(probe), TDeleteResult::Deactivated);
}

// A dialog's result records removals for the reset, and forgets one whose
// entry became active again.
TEST_F(OptionsTest, PendingRemovalsRecordedAndForgottenForTheReset) {
    auto options = Make();
    options->AllowUserToChangeSettings = true;
    AddItem(*options, mitApplication, "C:\\Apps\\a.exe", "A", false);
    AddItem(*options, mitWebSite, "example.com", "B", false);
    options->RecordPendingRemoval(options->MonitoredList().Items(0));
    options->RecordPendingRemoval(options->MonitoredList().Items(1));
    EXPECT_EQ(ini_.ReadString("Applications", "C:\\Apps\\a.exe", ""), "C:\\Apps\\a.exe");
    options->ForgetPendingRemoval(options->MonitoredList().Items(1));
    options->ApplyDeferredRemovals(nullptr);
    ASSERT_EQ(options->MonitoredList().Count(), 1);
    EXPECT_EQ(options->MonitoredList().Items(0).Name, "example.com");
}

// A pending removal the INI file cannot record leaves the entry as it was,
// rather than inactive with nothing to remove it at the reset.
TEST_F(OptionsTest, UnrecordableRemovalChangesNothing) {
    auto options = Make();
    AddItem(*options, mitWebSite, "example.com/?q=a", "Query");
    options->SetMonitoredItemDeleteActionProcessed(true);
    EXPECT_THROW(options->MonitoredItemDelete(options->MonitoredList().Items(0)), EIniFileError);
    ASSERT_EQ(options->MonitoredList().Count(), 1);
    EXPECT_TRUE(options->MonitoredList().Items(0).Active);
}

TEST_F(OptionsTest, MonitoredItemDeleteByAccessMode) {
    auto options = Make();
    AddItem(*options, mitApplication, "C:\\a.exe", "A");
    AddItem(*options, mitApplication, "C:\\b.exe", "B");
    options->SetMonitoredItemDeleteActionProcessed(true);
    EXPECT_EQ(Common("MonitoredItemDeleteActionProcessed"), "1");

    options->ImmediateChangeAllowed = true;
    EXPECT_EQ(options->GetAccessMode(), kAccessImmediate);
    EXPECT_EQ(options->MonitoredItemDelete(options->MonitoredList().Items(0)), TDeleteResult::Deleted);
    EXPECT_EQ(options->MonitoredList().Count(), 1);

    options->ImmediateChangeAllowed = false;
    options->AllowUserToChangeSettings = false;
    EXPECT_EQ(options->MonitoredItemDelete(options->MonitoredList().Items(0)), TDeleteResult::Nothing);
    EXPECT_EQ(options->MonitoredList().Count(), 1);
    EXPECT_TRUE(options->MonitoredList().Items(0).Active);
}

}  // namespace
}  // namespace vh
