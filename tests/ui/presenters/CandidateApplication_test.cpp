#include "ui/presenters/CandidateApplication.h"
#include "support/ListEntries.h"

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

class ApplyCandidates : public ::testing::Test {
protected:
    ApplyCandidates() {
        platform_.CreateFolders("C:\\data");
        testing::CopyReadyMadeDatabase("settings.sqlite", settings_);
        testing::CopyReadyMadeDatabase("actmondb.sqlite", log_);
        options_ = Load();
        testing::AddListEntry(options_->MonitoredList(), mitWebSite, "later.com", "later.com", true, false);
        testing::AddListEntry(options_->MonitoredList(), mitWebSite, "example.com/?q=a", "example.com/?q=a", true,
                              false);
        testing::AddListEntry(today_, mitWebSite, "later.com", "later.com", true, false);
    }
    std::unique_ptr<TOptions> Load() {
        TOptionsSite site;
        site.SettingsDBFileName = settings_;
        site.LogDBFileName = log_;
        site.IniFile = [this]() -> TIniFile& { return ini_; };
        site.Now = [] { return TDateTime(46000); };
        return std::make_unique<TOptions>(site);
    }

    testing::TempFolder folder_;
    std::string settings_ = FileIn(folder_.Path(), "settings.sqlite");
    std::string log_ = FileIn(folder_.Path(), "actmondb.sqlite");
    testing::FakeEnvironmentPlatform platform_;
    TIniFile ini_{"C:\\data\\Vornhalt.ini", platform_};
    std::unique_ptr<TOptions> options_;
    TMonitoredList today_;
};

TEST_F(ApplyCandidates, SavesTheListRecordsPendingRemovalsAndClearsImmediateChanges) {
    options_->ImmediateChangeAllowed = true;
    TMonitoredList candidates;
    testing::AddListEntry(candidates, mitWebSite, "new.com", "new.com", true, true);
    testing::AddListEntry(candidates, mitWebSite, "later.com", "later.com", false, false);
    ApplyCandidateList(*options_, &today_, candidates, "");
    EXPECT_FALSE(options_->ImmediateChangeAllowed);
    EXPECT_EQ(ini_.ReadString("WebSites", "later.com", ""), "later.com");
    EXPECT_FALSE(today_.Items(today_.IndexOfName("later.com")).Active);
    EXPECT_GE(today_.IndexOfName("new.com"), 0);

    const auto stored = Load();
    const TMonitoredList& list = stored->MonitoredList();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(list.Items(list.IndexOfName("new.com")).Active);
    EXPECT_FALSE(list.Items(list.IndexOfName("later.com")).Active);

    // An empty list changes nothing, and still clears the flag.
    options_->ImmediateChangeAllowed = true;
    ApplyCandidateList(*options_, &today_, TMonitoredList(), "");
    EXPECT_FALSE(options_->ImmediateChangeAllowed);
    EXPECT_EQ(options_->MonitoredList().Count(), 3);
}

// A removal the INI file cannot record would leave its entry inactive with
// nothing to remove it: it stays active, the rest is saved, and the failure
// is raised.
TEST_F(ApplyCandidates, AnUnrecordablePendingRemovalLeavesItsEntryActive) {
    TMonitoredList candidates;
    testing::AddListEntry(candidates, mitWebSite, "example.com/?q=a", "example.com/?q=a", false, false);
    testing::AddListEntry(candidates, mitWebSite, "new.com", "new.com", true, true);
    EXPECT_THROW(ApplyCandidateList(*options_, &today_, candidates, ""), Exception);
    const auto stored = Load();
    const TMonitoredList& list = stored->MonitoredList();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(list.Items(list.IndexOfName("example.com/?q=a")).Active);
}

}  // namespace
}  // namespace vh
