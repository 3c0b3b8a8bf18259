// The main window's own dialogs under Wine: "Please change reminders" and
// "Block Mode", each driven from inside its modal loop, as a user would.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ReminderFixture.h"
#include "UiTestSupport.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/TempFolder.h"
#include "environment/IniFile.h"
#include "model/MonitoredObjects.h"
#include "storage/Options.h"
#include "support/StorageTestSupport.h"
#include "ui/win32/dialogs/FocusSettingsFRM.h"
#include "ui/win32/dialogs/ReminderChangeFRM.h"
#include "ui/win32/dialogs/WarningFRM.h"

namespace vh::win32 {
namespace {

using testing::SaveScreen;

class MainDialogs : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        clock_.standardOffsetHours = 0;
        clock_.daylightOffsetHours = 0;
        clock_.utc = EncodeDateTime({2024, 3, 10, 9, 0, 0, 0});
        InitializeProgramClock(clock_);
        platform_.CreateFolders("C:\\data");
        vh::testing::CopyReadyMadeDatabase("settings.sqlite", settings_);
        vh::testing::CopyReadyMadeDatabase("actmondb.sqlite", log_);
        TOptionsSite site;
        site.SettingsDBFileName = settings_;
        site.LogDBFileName = log_;
        site.IniFile = [this]() -> TIniFile& { return ini_; };
        site.Now = [] { return ProgramNow(); };
        options_ = std::make_unique<TOptions>(site);
    }
    void TearDown() override {
        options_.reset();
        UiTest::TearDown();
        FinalizeProgramClock();
    }
    // The warning a refused time opens, read and closed from its own loop
    // (the dialog beneath is modal too).
    static void ExpectWarning(const std::string& text) {
        testing::WhenModal([text](TForm&) {
            TfrmWarning* warning = nullptr;
            for (TForm* form : LiveForms()) {
                if (auto* w = dynamic_cast<TfrmWarning*>(form); w && w->IsModal()) warning = w;
            }
            ASSERT_NE(warning, nullptr);
            EXPECT_EQ(warning->lblCaption.Caption(), "Please Note");
            EXPECT_EQ(warning->lblWarning.Caption(), text);
            PostMessageW(warning->Handle(), WM_KEYDOWN, VK_RETURN, 0);
        });
    }

    vh::testing::FakeEnvironmentClock clock_;
    vh::testing::TempFolder folder_;
    std::string settings_ = vh::testing::FileIn(folder_.Path(), "settings.sqlite");
    std::string log_ = vh::testing::FileIn(folder_.Path(), "actmondb.sqlite");
    vh::testing::FakeEnvironmentPlatform platform_;
    TIniFile ini_{"C:\\data\\Vornhalt.ini", platform_};
    std::unique_ptr<TOptions> options_;
};

TEST_F(MainDialogs, ReminderChangeShowsTheAgeStampsTheQuestionAndKeepsThePeriodChosenBeforeEscape) {
    options_->ReminderChangePeriod = rcpWeekly;
    options_->ReminderChangedDateTime = ProgramNow() - (9 + 14.0 / 24);
    auto& form = CreateForm<TfrmReminderChange>();
    EXPECT_EQ(form.Caption(), "Please change reminders");
    testing::WhenModal([&](TForm&) {
        EXPECT_EQ(form.lblWarningText.Caption(), "You have not updated your reminders in 10 day(s)");
        EXPECT_EQ(form.cbxReminderChangeFrequency.Text(), "Weekly");
        EXPECT_EQ(form.cbxReminderChangeFrequency.Count(), 5);
        EXPECT_DOUBLE_EQ(options_->ReminderShowedDateTime, ProgramNow());
        EXPECT_TRUE(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        SaveScreen(form, "TfrmReminderChange");
        form.cbxReminderChangeFrequency.SetItemIndex(rcpNever);
        PostMessageW(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_TRUE(form.Execute(*options_));
    EXPECT_EQ(options_->ReminderChangePeriod, rcpNever);
    ProcessMessages();
}

TEST_F(MainDialogs, BlockModeRefusesAnEmptyOrTooLongTimeAndAnswersTheOneAccepted) {
    auto& form = CreateForm<TfrmFocusSettings>();
    EXPECT_EQ(form.Caption(), "Block Mode");
    TMonitoredList list;
    TDateTime duration = 0;
    testing::WhenModal([&](TForm&) {
        EXPECT_EQ(form.medTimeLimit.Text(), "00:00");
        EXPECT_FALSE(form.lblAppWizardLink.Visible()) << "no wizard, no link";
        // "00:00" keeps the dialog open with the warning.
        ExpectWarning("Limit can't be empty");
        form.btnOkClick();
        EXPECT_EQ(form.ModalResult(), mrNone);
        form.medTimeLimit.SetText("24:00");
        ExpectWarning("'24:00' is not a valid time");
        form.btnOkClick();
        EXPECT_EQ(form.ModalResult(), mrNone);
        form.medTimeLimit.SetText("00:02");
        SaveScreen(form, "TfrmFocusSettings");
        PostMessageW(form.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_TRUE(form.Execute(duration, list));
    EXPECT_DOUBLE_EQ(duration, 2.0 / 1440);
    ProcessMessages();

    // Escape cancels and leaves the duration alone; the link runs the wizard
    // into the caller's list.
    auto& again = CreateForm<TfrmFocusSettings>();
    int wizardRuns = 0;
    again.AppWizardRunner = [&](TMonitoredList& into) {
        EXPECT_EQ(&into, &list);
        ++wizardRuns;
    };
    testing::WhenModal([&](TForm&) {
        ASSERT_TRUE(again.lblAppWizardLink.Visible());
        // The link lies on the words "your list" of the sentence.
        EXPECT_GT(again.lblAppWizardLink.Left(), again.lblTimeLimit.Left());
        EXPECT_LT(again.lblAppWizardLink.BoundsRect().right, again.medTimeLimit.BoundsRect().left);
        EXPECT_EQ(again.lblAppWizardLink.Top(), again.lblTimeLimit.Top());
        again.medTimeLimit.SetText("01:30");
        SaveScreen(again, "TfrmFocusSettings-link");
        testing::ClickAt(again, again.lblAppWizardLink.DeviceRect());
        PostMessageW(again.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_FALSE(again.Execute(duration, list));
    EXPECT_EQ(wizardRuns, 1);
    EXPECT_DOUBLE_EQ(duration, 2.0 / 1440);
    ProcessMessages();
}

}  // namespace
}  // namespace vh::win32
