#include "ui/presenters/AppSiteAddWizardModel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Exceptions.h"

namespace vh {
namespace {

constexpr char kProgram[] = "C:\\Program Files\\Vornhalt\\Vornhalt.exe";
constexpr char kChess[] = "C:\\Games\\Chess\\chess.exe";
constexpr char kEditor[] = "C:\\Tools\\edit.exe";

void AddEntry(TMonitoredList& list, TMonitoredItemType type, const std::string& name, const std::string& caption,
              bool active = true) {
    auto item = std::make_unique<TMonitoredItem>();
    item->ItemType = type;
    item->Name = name;
    item->Caption = caption;
    item->Active = active;
    list.Add(caption, std::move(item));
}

const TMonitoredItem* Entry(const TMonitoredList& list, const std::string& name) {
    const int index = list.IndexOfName(name);
    return index < 0 ? nullptr : &list.Items(index);
}

TAddWizardSettings Settings(TAccessMode mode = kAccessDeferred, bool processed = false) {
    TAddWizardSettings settings;
    settings.AccessMode = mode;
    settings.DeleteActionProcessed = processed;
    settings.ProgramFile = kProgram;
    settings.ProgramName = "Vornhalt";
    return settings;
}

class AddWizardModel : public ::testing::Test {
protected:
    TAppSiteAddWizardModel& Make(TAccessMode mode = kAccessDeferred, bool processed = false) {
        model_ = std::make_unique<TAppSiteAddWizardModel>(persisted_, result_, Settings(mode, processed));
        return *model_;
    }
    int Row(TMonitoredList& view, const std::string& name) { return view.IndexOfName(name); }

    TMonitoredList persisted_;
    TMonitoredList result_;
    std::unique_ptr<TAppSiteAddWizardModel> model_;
};

TEST_F(AddWizardModel, AnAddressAddedTwiceIsRefusedWithTheSameTagAndRecaptionedWithAnother) {
    auto& model = Make();
    EXPECT_TRUE(model.Add(mitWebSite, "www.example.com", "  ").Taken);
    const TAddOutcome again = model.Add(mitWebSite, "www.example.com", "");
    EXPECT_FALSE(again.Taken);
    EXPECT_EQ(again.Message,
              "You have already added an site with the same URL to the list. Please choose another URL.");
    EXPECT_EQ(again.MessageCaption, "Please note");
    EXPECT_TRUE(model.Add(mitWebSite, "WWW.EXAMPLE.COM", "News").Taken);
    ASSERT_EQ(model.Sites().Count(), 1);
    EXPECT_EQ(model.Sites().Items(0).Caption, "News");
    model.RebuildResult();
    ASSERT_EQ(result_.Count(), 1);
    EXPECT_TRUE(result_.Items(0).Selected);
    EXPECT_TRUE(result_.Items(0).Active);
    EXPECT_EQ(result_.Items(0).ItemType, mitWebSite);
}

TEST_F(AddWizardModel, TheFourDuplicateMessagesNameWhereTheSameNameWasFound) {
    struct Case {
        TMonitoredItemType first;
        TMonitoredItemType second;
        const char* message;
    };
    const Case cases[] = {
        {mitWebSite, mitWebSite,
         "You have already added an site with the same URL to the list. Please choose another URL."},
        {mitApplication, mitWebSite,
         "You have already added an application with the same filename. Please choose another URL."},
        {mitApplication, mitApplication,
         "You have already added an application with the same filename. Please choose another filename."},
        {mitWebSite, mitApplication,
         "You have already added an site with the same URL to the list. Please choose filename."},
    };
    for (const Case& c : cases) {
        result_.Clear();
        auto& model = Make();
        ASSERT_TRUE(model.Add(c.first, kChess, "Chess").Taken);
        const TAddOutcome outcome = model.Add(c.second, kChess, "Chess");
        EXPECT_FALSE(outcome.Taken) << c.message;
        EXPECT_EQ(outcome.Message, c.message);
        model.RebuildResult();
        EXPECT_EQ(result_.Count(), 1) << c.message;
    }
}

TEST_F(AddWizardModel, RefusesTheProgramItselfAnEmptyNameAndAnUnknownType) {
    auto& model = Make();
    const TAddOutcome own = model.Add(mitApplication, "c:\\program files\\vornhalt\\VORNHALT.EXE", "");
    EXPECT_FALSE(own.Taken);
    EXPECT_EQ(own.Message, "\"Vornhalt\" could not be added to time-limit list");
    EXPECT_EQ(own.MessageCaption, "Please Note");
    EXPECT_FALSE(model.Add(mitWebSite, "", "tag").Taken);
    EXPECT_THROW(model.Add(mitAll, "example.com", ""), Exception);
    try {
        model.Add(static_cast<TMonitoredItemType>(7), "example.com", "");
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "AMonitoredItemType type = 7 is not allowed");
    }
    model.RebuildResult();
    EXPECT_EQ(result_.Count(), 0);
}

TEST_F(AddWizardModel, TickingAFoundApplicationChoosesItAndUntickingReturnsIt) {
    AddEntry(persisted_, mitApplication, kEditor, "Editor");
    auto& model = Make();
    model.BeginScan();
    EXPECT_TRUE(model.ScanFirst());
    model.LoadScanResult({{kChess, "Chess", TCandidateKind::Shortcut},
                          {kEditor, "Edit", TCandidateKind::RunningProcess},
                          {"C:\\Games\\Golf\\golf.exe", "Golf", TCandidateKind::RunningProcess}});
    model.RebuildScannedView("");
    TMonitoredList& view = model.ScannedView();
    ASSERT_EQ(view.Count(), 3);
    EXPECT_EQ(Entry(view, kEditor)->Caption, "Editor");  // the persisted copy wins
    EXPECT_TRUE(Entry(view, kEditor)->Selected);
    EXPECT_FALSE(Entry(view, kChess)->Selected);

    model.ToggleTick(TWizardList::Scanned, Row(view, kChess));
    EXPECT_TRUE(Entry(view, kChess)->Selected);
    EXPECT_EQ(model.ScanChosen().Count(), 1);
    EXPECT_EQ(model.ScanFound().IndexOfName(kChess), -1);
    model.RebuildResult();
    ASSERT_NE(Entry(result_, kChess), nullptr);
    EXPECT_TRUE(Entry(result_, kChess)->Selected);

    // A filter hides entries but keeps their ticks.
    model.RebuildScannedView("GOL");
    ASSERT_EQ(view.Count(), 1);
    EXPECT_EQ(view.Items(0).Caption, "Golf");
    model.RebuildScannedView("");
    EXPECT_TRUE(Entry(view, kChess)->Selected);

    model.ToggleTick(TWizardList::Scanned, Row(view, kChess));
    EXPECT_EQ(model.ScanChosen().Count(), 0);
    EXPECT_NE(model.ScanFound().IndexOfName(kChess), -1);
    model.RebuildResult();
    EXPECT_EQ(Entry(result_, kChess), nullptr);

    // A new scan replaces what was found but keeps what was chosen.
    model.ToggleTick(TWizardList::Scanned, Row(view, kChess));
    model.BeginScan();
    model.LoadScanResult({{kChess, "Chess again", TCandidateKind::Shortcut}});
    EXPECT_EQ(model.ScanFound().Count(), 0);
    EXPECT_EQ(model.ScanChosen().Count(), 1);
}

TEST_F(AddWizardModel, ApplicationsAddedByNameAreUntickedAndTickedAgainOnPageThree) {
    auto& model = Make();
    EXPECT_TRUE(model.Add(mitApplication, kChess, "").Taken);
    EXPECT_TRUE(model.NameFirst());
    model.BeginScan();
    EXPECT_FALSE(model.ScanFirst());
    model.RebuildByNameView();
    TMonitoredList& view = model.ByNameView();
    ASSERT_EQ(view.Count(), 1);
    EXPECT_EQ(view.Items(0).Caption, kChess);
    model.ToggleTick(TWizardList::ByName, 0);
    model.RebuildResult();
    EXPECT_EQ(result_.Count(), 0);
    model.RebuildByNameView();
    ASSERT_EQ(view.Count(), 1);  // still offered, unticked
    EXPECT_FALSE(view.Items(0).Selected);
    model.ToggleTick(TWizardList::ByName, 0);
    model.RebuildResult();
    ASSERT_EQ(result_.Count(), 1);
    EXPECT_TRUE(result_.Items(0).Selected);
}

TEST_F(AddWizardModel, RemovalsFollowTheAccessModeAndTheDaysFirstRemoval) {
    struct Case {
        TAccessMode mode;
        bool processed;
        bool firstStaysActive;   // removed at once: the caller deletes it
        bool secondStaysActive;  // otherwise it waits for the daily reset
        bool firstRemovalDone;
    };
    const Case cases[] = {
        {kAccessDeferred, false, true, false, true},
        {kAccessDeferred, true, false, false, false},
        {kAccessImmediate, false, true, true, false},
        {kAccessNone, false, true, true, false},
    };
    for (const Case& c : cases) {
        persisted_.Clear();
        result_.Clear();
        AddEntry(persisted_, mitWebSite, "example.com", "Example");
        AddEntry(persisted_, mitApplication, kChess, "Chess");
        auto& model = Make(c.mode, c.processed);
        model.ToggleTick(TWizardList::Sites, 0);
        model.RebuildByNameView();
        model.ToggleTick(TWizardList::ByName, 0);
        EXPECT_FALSE(model.ByNameView().Items(0).Selected);
        EXPECT_EQ(model.ByNameView().Items(0).Active, c.secondStaysActive) << int(c.mode);
        EXPECT_EQ(model.Finish(), c.firstRemovalDone) << int(c.mode);
        const TMonitoredItem* site = Entry(result_, "example.com");
        const TMonitoredItem* app = Entry(result_, kChess);
        ASSERT_TRUE(site && app);
        EXPECT_FALSE(site->Selected);
        EXPECT_EQ(site->Active, c.firstStaysActive) << int(c.mode) << c.processed;
        EXPECT_EQ(app->Active, c.secondStaysActive) << int(c.mode) << c.processed;
        // An immediate removal leaves the entry unticked; a deferred one keeps
        // it ticked and inactive, which the caller makes pending.
        EXPECT_EQ(app->Selected, !c.secondStaysActive);
    }
}

TEST_F(AddWizardModel, ReaddingAPendingEntryActivatesItAndOnlyAddedSitesCanBeDeleted) {
    AddEntry(persisted_, mitWebSite, "example.com", "Example", false);
    auto& model = Make();
    EXPECT_TRUE(model.Add(mitWebSite, "example.com", "Other tag").Taken);
    const TMonitoredItem* site = Entry(model.Sites(), "example.com");
    ASSERT_NE(site, nullptr);
    EXPECT_TRUE(site->Active);
    EXPECT_TRUE(site->Selected);
    EXPECT_TRUE(model.Add(mitWebSite, "news.org", "").Taken);
    EXPECT_FALSE(model.DeleteSite(model.Sites().IndexOfName("example.com")));
    EXPECT_TRUE(model.DeleteSite(model.Sites().IndexOfName("news.org")));
    EXPECT_FALSE(model.DeleteSite(5));
    EXPECT_EQ(model.Sites().Count(), 1);
}

// The by-name page takes what the list's rule can match: typed names are
// stored trimmed with their variables expanded, spellings of a listed
// program are that entry, and what cannot be a program is refused.
TEST_F(AddWizardModel, ApplicationsByNameAreStoredAsTheRuleMatchesThemAndNonProgramsAreRefused) {
    AddEntry(persisted_, mitApplication, "c:\\windows\\notepad.exe", "Notepad");
    TAddWizardSettings settings = Settings();
    settings.ExpandEnvironment = [](const std::string& text) {
        std::string expanded = text;
        const std::string variable = "%ProgramFiles%";
        if (const auto at = expanded.find(variable); at != std::string::npos)
            expanded.replace(at, variable.size(), "C:\\Program Files");
        return expanded;
    };
    settings.PathKindOf = [](const std::string& path) {
        if (path == "C:\\Games") return TPathKind::Folder;
        return path == "C:\\Program Files\\Office\\excel.exe" ? TPathKind::File : TPathKind::Missing;
    };
    model_ = std::make_unique<TAppSiteAddWizardModel>(persisted_, result_, settings);
    auto& model = *model_;

    const TAddOutcome excel = model.Add(mitApplication, "  \"%ProgramFiles%\\Office\\excel.exe\" ", "");
    EXPECT_TRUE(excel.Taken);
    EXPECT_EQ(excel.Info, "C:\\Program Files\\Office\\excel.exe\r\nC:\\Program Files\\Office\\excel.exe");
    ASSERT_NE(Entry(model.AddedByName(), "C:\\Program Files\\Office\\excel.exe"), nullptr);
    EXPECT_EQ(model.AddedByName().Items(0).Name, "C:\\Program Files\\Office\\excel.exe");

    const TAddOutcome later = model.Add(mitApplication, "D:\\Later\\tool.exe", "Tool");
    EXPECT_TRUE(later.Taken);
    EXPECT_NE(later.Info.find("No such file exists yet"), std::string::npos) << later.Info;
    EXPECT_TRUE(model.Add(mitApplication, "calc", "").Taken);  // a bare name is looked for nowhere

    // Another spelling of the listed notepad is the duplicate it is.
    const TAddOutcome again = model.Add(mitApplication, "C:/Windows/NOTEPAD.EXE", "Notepad");
    EXPECT_FALSE(again.Taken);
    EXPECT_EQ(again.Message,
              "You have already added an application with the same filename. Please choose another filename.");
    EXPECT_EQ(model.AddedByName().Count(), 3);

    for (const char* bad : {"   ", "C:\\Games", "C:\\Games\\", "chess?.exe", "vornhalt"}) {
        const TAddOutcome refused = model.Add(mitApplication, bad, "");
        EXPECT_FALSE(refused.Taken) << bad;
        EXPECT_FALSE(refused.Message.empty()) << bad;
    }
    EXPECT_EQ(model.AddedByName().Count(), 3);
    EXPECT_FALSE(model.Add(mitApplication, "", "").Taken);
    EXPECT_TRUE(model.Add(mitApplication, "", "").Message.empty());  // nothing typed: nothing said
}

}  // namespace
}  // namespace vh
