#include "ui/presenters/ListEntryRemoval.h"

#include <gtest/gtest.h>

#include "doubles/FakeEnvironmentClock.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/TempFolder.h"
#include "environment/DateTimeUtils.h"
#include "environment/IniFile.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "monitor/ZuravoZazoApplicationLogger.h"
#include "storage/Options.h"
#include "support/StorageTestSupport.h"
#include "ui/presenters/TimeUpSettings.h"

namespace vh {
namespace {

using testing::FileIn;

constexpr char kNotepad[] = "C:\\windows\\notepad.exe";

// Options over temporary databases with two listed applications, and an
// engine that loaded them.
struct ListWorld {
    ListWorld() {
        // The engine reads the environment's date texts and the program clock.
        InstallEnvironment(std::make_unique<testing::FakeEnvironmentPlatform>());
        clock_.utc = EncodeDateTime({2026, 3, 21, 16, 5, 9, 0});
        InitializeProgramClock(clock_);
        platform_.CreateFolders("C:\\data");
        testing::CopyReadyMadeDatabase("settings.sqlite", settings_);
        testing::CopyReadyMadeDatabase("actmondb.sqlite", log_);
        TOptionsSite site;
        site.SettingsDBFileName = settings_;
        site.LogDBFileName = log_;
        site.IniFile = [this]() -> TIniFile& { return ini_; };
        site.Now = [] { return EncodeDateTime({2026, 3, 21, 16, 5, 9, 0}); };
        options_ = std::make_unique<TOptions>(site);
        for (const char* name : {kNotepad, "C:\\games\\game.exe"}) {
            auto item = std::make_unique<TMonitoredItem>();
            item->ItemType = mitApplication;
            item->Name = name;
            const std::string caption = name == std::string(kNotepad) ? "Notepad" : "Game";
            item->Caption = caption;
            options_->MonitoredList().Add(caption, std::move(item));
        }
        options_->MonitoredItemsSave();
        engine_ = std::make_unique<TZuravoZazoApplicationLogger>(log_);
    }

    ~ListWorld() {
        engine_.reset();
        options_.reset();
        FinalizeProgramClock();
        UninstallEnvironment();
    }

    // The active flags of both lists' notepad entries; "gone" once deleted.
    std::string State(TMonitoredList& list) {
        const int index = list.IndexOfName(kNotepad);
        return index < 0 ? "gone" : list.Items(index).Active ? "active" : "inactive";
    }

    testing::FakeEnvironmentClock clock_;
    testing::TempFolder folder_;
    std::string settings_ = FileIn(folder_.Path(), "settings.sqlite");
    std::string log_ = FileIn(folder_.Path(), "actmondb.sqlite");
    testing::FakeEnvironmentPlatform platform_;
    TIniFile ini_{"C:\\data\\Vornhalt.ini", platform_};
    std::unique_ptr<TOptions> options_;
    std::unique_ptr<TZuravoZazoApplicationLogger> engine_;
};

TEST(ListEntryRemoval, EachRemovalModeReachesBothListsAndTheDatabase) {
    struct Case {
        const char* what;
        bool immediate, allowChanges, processedBefore;
        TDeleteResult result;
        const char* state;
        const char* pendingIni;
    };
    for (const Case& c : {Case{"immediate", true, true, true, TDeleteResult::Deleted, "gone", ""},
                          Case{"the day's first removal", false, true, false, TDeleteResult::Deleted, "gone", ""},
                          Case{"deferred", false, true, true, TDeleteResult::Deactivated, "inactive", kNotepad},
                          Case{"no changes allowed", false, false, false, TDeleteResult::Nothing, "active", ""}}) {
        SCOPED_TRACE(c.what);
        ListWorld fresh;
        TOptions& options = *fresh.options_;
        options.ImmediateChangeAllowed = c.immediate;
        options.AllowUserToChangeSettings = c.allowChanges;
        if (c.processedBefore) options.SetMonitoredItemDeleteActionProcessed(true);
        TMonitoredList& today = fresh.engine_->TodayList();
        ASSERT_EQ(fresh.State(today), "active");
        // The row's item is the engine's own, as the main list holds it.
        const TDeleteResult result = RemoveListEntry(options, *fresh.engine_, today.Items(today.IndexOfName(kNotepad)));
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(fresh.State(options.MonitoredList()), c.state);
        EXPECT_EQ(fresh.State(today), c.state);
        EXPECT_FALSE(options.ImmediateChangeAllowed);
        EXPECT_EQ(fresh.ini_.ReadString("Applications", kNotepad, ""), c.pendingIni);
        // The other entry stays; the saved list matches the one in memory.
        EXPECT_NE(options.MonitoredList().IndexOfName("C:\\games\\game.exe"), -1);
        TZuravoZazoApplicationLogger reloaded(fresh.log_);
        EXPECT_EQ(fresh.State(reloaded.TodayList()), c.state);
        // A removal made at once uses up the day's one, also after a restart.
        EXPECT_EQ(fresh.ini_.ReadBool("Common", "MonitoredItemDeleteActionProcessed", false),
                  c.processedBefore || (c.result == TDeleteResult::Deleted && !c.immediate));
    }
}

TEST(TimeUpSettings, ValuesShownAndStored) {
    ListWorld world;
    auto& options_ = world.options_;
    auto& ini_ = world.ini_;
    options_->AllowUserToChangeSettings = true;
    // The day's increase is used: a longer limit waits for the reset.
    options_->SetTimeLimitSeconds(options_->TimeLimitSeconds() + 60);
    options_->SetExpirationAction(eaReminderOnly);
    const std::int32_t inForce = options_->TimeLimitSeconds();
    StoreTimeUpValues(*options_, EncodeTime(10, 30, 0), eaShutdownComputer);
    EXPECT_EQ(options_->TimeLimitSeconds(), inForce);

    TTimeUpValues shown = ShownTimeUpValues(*options_);
    EXPECT_EQ(shown.timeLimitSeconds, 10 * 3600 + 1800);
    EXPECT_EQ(shown.action, eaShutdownComputer);
    options_->ImmediateChangeAllowed = true;
    shown = ShownTimeUpValues(*options_);
    EXPECT_EQ(shown.timeLimitSeconds, inForce);
    EXPECT_EQ(shown.action, eaReminderOnly);

    // Recorded values that name no limit or action fall back to those in force.
    options_->ImmediateChangeAllowed = false;
    ini_.WriteInteger("Common", "TimeLimitSeconds", -5);
    ini_.WriteInteger("Common", "ExpirationAction", 9);
    shown = ShownTimeUpValues(*options_);
    EXPECT_EQ(shown.timeLimitSeconds, inForce);
    EXPECT_EQ(shown.action, eaReminderOnly);

    // 01:30 is 5400 seconds; a decrease applies at once.
    StoreTimeUpValues(*options_, EncodeTime(1, 30, 0) - 1e-9, 7);
    EXPECT_EQ(options_->TimeLimitSeconds(), 5400);
    EXPECT_EQ(options_->ExpirationAction(), eaReminderOnly);
}

}  // namespace
}  // namespace vh
