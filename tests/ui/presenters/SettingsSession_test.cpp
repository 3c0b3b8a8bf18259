#include "ui/presenters/SettingsSession.h"
#include "support/ListEntries.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/StringUtils.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "environment/IniFile.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "storage/Options.h"
#include "support/StorageTestSupport.h"

namespace vh {
namespace {

using testing::CopyReadyMadeDatabase;
using testing::FakeEnvironmentPlatform;
using testing::FileIn;
using testing::QueryRows;
using testing::RunScript;
using testing::TempFolder;
using Rows = std::vector<std::vector<std::string>>;

class SettingsSessionTest : public ::testing::Test {
protected:
    SettingsSessionTest() {
        CopyReadyMadeDatabase("settings.sqlite", settings_);
        CopyReadyMadeDatabase("actmondb.sqlite", log_);
    }

    TOptions& Options() {
        if (!options_) {
            TOptionsSite site;
            site.SettingsDBFileName = settings_;
            site.LogDBFileName = log_;
            site.IniFile = [this]() -> TIniFile& { return env_.GetIniFile(); };
            site.Now = [] { return EncodeDateTime({2026, 3, 21, 16, 5, 9, 0}); };
            options_ = std::make_unique<TOptions>(site);
        }
        return *options_;
    }
    void StoreSetting(const std::string& name, const std::string& value) {
        RunScript(settings_, "INSERT INTO settings(name, value) VALUES(" + QuotedSqlString(name) + ", " +
                                 QuotedSqlString(value) + ")");
    }
    TIniFile& Ini() { return env_.GetIniFile(); }
    std::string StoredSetting(const std::string& name) {
        const Rows rows = QueryRows(settings_, "SELECT value FROM settings WHERE name = " + QuotedSqlString(name));
        return rows.empty() ? "<none>" : rows[0][0];
    }

    TempFolder folder_;
    std::string settings_ = FileIn(folder_.Path(), "settings.sqlite");
    std::string log_ = FileIn(folder_.Path(), "actmondb.sqlite");
    FakeEnvironmentPlatform platform_;
    TEnvironment env_{platform_};
    TAppearancePreferences prefs_{env_};
    std::unique_ptr<TOptions> options_;
};

struct LimitCase {
    const char* name;
    bool dayChangeUsed;
    std::int32_t newLimit;
    std::int32_t inForce;
    std::int32_t pending;  // -1: none
    bool dayChangeUsedAfter;
};

class SettingsLimitTest : public SettingsSessionTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(SettingsLimitTest, ApplyGoesThroughTheDailyChangeRules) {
    const LimitCase& c = GetParam();
    StoreSetting("TimeLimitSeconds", "3600");
    StoreSetting("ExpirationAction", "Close Browser/App.");
    if (c.dayChangeUsed) Ini().WriteBool(kCommonSection, "TimeLimitSecondsChanged", true);
    {
        TSettingsSession session(Options(), prefs_, false);
        EXPECT_EQ(session.TimeLimitSeconds, 3600);
        EXPECT_EQ(session.ExpirationAction, eaCloseBrowserApp);
        session.TimeLimitSeconds = c.newLimit;
        EXPECT_TRUE(session.Apply());
    }
    EXPECT_EQ(Options().TimeLimitSeconds(), c.inForce);
    EXPECT_EQ(StoredSetting("TimeLimitSeconds"), std::to_string(c.inForce));
    EXPECT_EQ(Ini().ReadInteger(kCommonSection, "TimeLimitSeconds", -1), c.pending);
    EXPECT_EQ(Options().TimeLimitSecondsChanged(), c.dayChangeUsedAfter);
    // The action was not touched: the day's change of it is still there.
    EXPECT_FALSE(Options().ExpirationActionChanged());
    EXPECT_EQ(StoredSetting("ExpirationAction"), "Close Browser/App.");

    // A second showing offers what the user chose last, pending or not.
    TSettingsSession again(Options(), prefs_, false);
    EXPECT_EQ(again.TimeLimitSeconds, c.pending > 0 ? c.pending : c.inForce);
}

INSTANTIATE_TEST_SUITE_P(Limits, SettingsLimitTest,
                         ::testing::Values(LimitCase{"FirstLooseningAppliesAndUsesTheDay", false, 7200, 7200, -1, true},
                                           LimitCase{"LooseningWaitsOnceTheDayIsUsed", true, 7200, 3600, 7200, true},
                                           LimitCase{"TighteningAppliesAtOnce", true, 1800, 1800, -1, true},
                                           LimitCase{"UnchangedLimitKeepsTheDaysLoosening", false, 3600, 3600, -1,
                                                     false}),
                         [](const ::testing::TestParamInfo<LimitCase>& limit) { return limit.param.name; });

TEST_F(SettingsSessionTest, ApplySavesActionRemindersPeriodAndList) {
    testing::AddListEntry(Options().MonitoredList(), mitApplication, "C:\\Windows\\notepad.exe", "Notepad");
    TSettingsSession session(Options(), prefs_, true);
    EXPECT_TRUE(Options().ImmediateChangeAllowed);
    testing::AddListEntry(session.WorkingList(), mitWebSite, "example.com", "example.com");
    session.ExpirationAction = eaShutdownComputer;
    session.ReminderTexts[rtMorning] = "Write the 'report'";
    session.ReminderChangePeriod = rcpWeekly;
    session.TimeLimitSeconds = 60;
    // Nothing reaches the options before Apply.
    EXPECT_EQ(Options().MonitoredList().Count(), 1);
    ASSERT_TRUE(session.Apply());
    EXPECT_FALSE(Options().ImmediateChangeAllowed);

    EXPECT_EQ(Options().ExpirationAction(), eaShutdownComputer);
    EXPECT_EQ(StoredSetting("ExpirationAction"), "Shutdown Computer");
    EXPECT_EQ(StoredSetting("TimeLimitSeconds"), "60");
    EXPECT_EQ(StoredSetting("ReminderChangePeriod"), "weekly");
    EXPECT_EQ(QueryRows(settings_, "SELECT text FROM reminders WHERE reminder_type = 'morning'"),
              (Rows{{"Write the 'report'"}}));
    EXPECT_EQ(QueryRows(settings_, "SELECT name, active FROM websites_list"), (Rows{{"example.com", "1"}}));
    EXPECT_EQ(QueryRows(log_, "SELECT name FROM applications_list"), (Rows{{"C:\\Windows\\notepad.exe"}}));
}

TEST_F(SettingsSessionTest, RemovalsAreImmediateInTheFirstRunAndDeferredAfterwards) {
    testing::AddListEntry(Options().MonitoredList(), mitApplication, "C:\\a.exe", "A");
    testing::AddListEntry(Options().MonitoredList(), mitWebSite, "b.com", "b.com");
    {
        TSettingsSession first(Options(), prefs_, true);
        EXPECT_TRUE(first.DeleteEntry(first.WorkingList().Items(0)));
        EXPECT_EQ(first.WorkingList().Count(), 1);
        EXPECT_EQ(Options().MonitoredList().Count(), 2);  // cancelled: the options keep it
    }
    // However the dialog ended, removals are no longer immediate.
    EXPECT_FALSE(Options().ImmediateChangeAllowed);

    TSettingsSession later(Options(), prefs_, false);
    TMonitoredItem web;
    web.Name = "B.COM";
    EXPECT_TRUE(later.DeleteEntry(web));
    ASSERT_EQ(later.WorkingList().Count(), 2);
    EXPECT_FALSE(later.WorkingList().Items(later.WorkingList().IndexOfName("b.com")).Active);
    ASSERT_TRUE(later.Apply());
    // Saved inactive, and removed by the next daily reset.
    EXPECT_EQ(QueryRows(settings_, "SELECT name, active FROM websites_list"), (Rows{{"b.com", "0"}}));
    EXPECT_EQ(Ini().ReadString("WebSites", "b.com", ""), "b.com");
    TSettingsSession shownAgain(Options(), prefs_, false);
    EXPECT_FALSE(shownAgain.WorkingList().Items(shownAgain.WorkingList().IndexOfName("b.com")).Active);
    // Added back through the wizard, it is no longer pending.
    TMonitoredList back;
    testing::AddListEntry(back, mitWebSite, "b.com", "b.com", true, true);
    shownAgain.MergeWizardResult(back, "C:\\vh\\Vornhalt.exe");
    ASSERT_TRUE(shownAgain.Apply());
    EXPECT_EQ(Ini().ReadString("WebSites", "b.com", "<none>"), "<none>");
    ASSERT_TRUE(later.Apply());  // and removed again
    Options().ApplyDeferredRemovals(nullptr);
    EXPECT_EQ(Options().MonitoredList().IndexOfName("b.com"), -1);
    EXPECT_EQ(Options().MonitoredList().Count(), 1);
}

TEST_F(SettingsSessionTest, CancelRestoresTheAppearanceFoundAtTheStart) {
    prefs_.SetTransparency(30);
    prefs_.SetTextColor(0x0000FF);
    TSettingsSession session(Options(), prefs_, false);
    prefs_.SetTransparency(70);
    prefs_.SetBackgroundImage("C:\\pictures\\sea.png");
    prefs_.SetBackgroundColor(0x808080);
    prefs_.SetTextColor(0);
    session.RestoreAppearance();
    TAppearancePreferences reread(env_);
    EXPECT_EQ(reread.GetTransparency(), 30);
    EXPECT_EQ(reread.GetBackgroundImage(), "");
    EXPECT_EQ(reread.GetBackgroundColor(), 0);
    EXPECT_EQ(reread.GetTextColor(), 0x0000FF);
}

TEST_F(SettingsSessionTest, WizardResultsMergeIntoTheWorkingList) {
    TSettingsSession session(Options(), prefs_, false);
    TMonitoredList& working = session.WorkingList();
    testing::AddListEntry(working, mitApplication, "C:\\gone.exe", "Gone");
    testing::AddListEntry(working, mitApplication, "C:\\old.exe", "Old", false);
    TMonitoredList result;
    testing::AddListEntry(result, mitApplication, "C:\\gone.exe", "Gone", true, false);     // unticked: leaves
    testing::AddListEntry(result, mitApplication, "C:\\old.exe", "Old again", true, true);  // back, renamed
    testing::AddListEntry(result, mitWebSite, "new.com", "new.com", true, true);            // new
    testing::AddListEntry(result, mitApplication, "C:\\vh\\Vornhalt.exe", "Me", true, true);
    session.MergeWizardResult(result, "C:\\vh\\Vornhalt.exe");
    ASSERT_EQ(working.Count(), 2);
    EXPECT_EQ(working.IndexOfName("C:\\gone.exe"), -1);
    EXPECT_EQ(working.IndexOfName("C:\\vh\\Vornhalt.exe"), -1);
    const TMonitoredItem& old = working.Items(working.IndexOfName("C:\\old.exe"));
    EXPECT_TRUE(old.Active);
    EXPECT_EQ(old.Caption, "Old again");
    EXPECT_EQ(working.Items(working.IndexOfName("new.com")).ItemType, mitWebSite);
}

TEST(SettingsSteps, StepsForwardAndBackOverVisiblePages) {
    const TStepVisibility all{true, true, true, true};
    EXPECT_EQ(NextSettingsStep(-1, all), ssBackground);
    EXPECT_EQ(NextSettingsStep(ssExpiration, all), ssReminder);
    EXPECT_EQ(NextSettingsStep(ssReminder, all), std::nullopt);  // Apply
    EXPECT_EQ(PreviousSettingsStep(ssMonitoredList, all), ssBackground);
    EXPECT_EQ(PreviousSettingsStep(ssBackground, all), std::nullopt);  // Cancel
    const TStepVisibility noList{true, false, true, true};
    EXPECT_EQ(NextSettingsStep(ssBackground, noList), ssExpiration);
    EXPECT_EQ(PreviousSettingsStep(ssExpiration, noList), ssBackground);
}

TEST(SettingsReminders, FilledMeansTextBesideBlanks) {
    EXPECT_TRUE(ReminderTextFilled(" call Anna "));
    EXPECT_FALSE(ReminderTextFilled(" \r\n\t"));
}

}  // namespace
}  // namespace vh
