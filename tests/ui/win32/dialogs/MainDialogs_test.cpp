// The main window's own dialogs under Wine: "Please change reminders" and
// "Block Mode", each driven from inside its modal loop, as a user would.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "ReminderFixture.h"
#include "UiTestSupport.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/TempFolder.h"
#include "environment/IniFile.h"
#include "model/MonitoredObjects.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"
#include "storage/Options.h"
#include "support/StorageTestSupport.h"
#include "ui/DpiScale.h"
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

TBlockPeriod Period(const char* text) {
    return ParseBlockPeriod(text).value();
}

std::vector<std::string> Rows(const TListBox& list) {
    std::vector<std::string> rows;
    for (int i = 0; i < list.Count(); ++i) rows.push_back(list.Item(i));
    return rows;
}

// Sunday 10 March 2024, 9:00: the next reset is tomorrow's 4:00 AM.
TEST_F(MainDialogs, BlockModeScheduleEditsPeriodsAndSaysWhenALooseningTakesEffect) {
    auto& form = CreateForm<TfrmFocusSettings>();
    const TBlockScheduleState current{{Period("Mon,Tue,Wed,Thu,Fri 09:00-12:00"),
                                       Period("Mon,Tue,Wed,Thu,Fri 14:00-17:00"), Period("Sat 22:00-02:00")},
                                      std::nullopt,
                                      0};
    form.SetSchedule(current, ProgramNow(), EncodeDateTime({2024, 3, 11, 4, 0, 0, 0}));
    TMonitoredList list;
    TDateTime duration = -1;
    testing::WhenModal([&](TForm&) {
        TFocusSchedulePart& part = form.Schedule;
        EXPECT_EQ(Rows(part.lbxSchedule),
                  (std::vector<std::string>{"Mon\u2013Fri  09:00\u201312:00", "Mon\u2013Fri  14:00\u201317:00",
                                            "Sat  22:00\u201302:00"}));
        // Everything the user reads fits inside the dialog, above its buttons.
        for (const TWinControl* control : std::initializer_list<const TWinControl*>{&part.lbxSchedule, part.chkDays[6],
                                                                                    &part.medEnd, &part.btnDelete})
            EXPECT_LE(control->BoundsRect().right, form.ClientSize().width - 10) << control->Name;
        EXPECT_LE(part.lblScheduleNote.BoundsRect().bottom, form.btnOk.Top());
        EXPECT_LE(UnscaleFromDpi(part.lblScheduleNote.MeasureCaption().height, form.Dpi()),
                  part.lblScheduleNote.Height());

        // Tab walks the part in reading order.
        const std::vector<TWinControl*>& tabs = form.TabList().Items();
        std::vector<std::string> order;
        for (auto it = std::find(tabs.begin(), tabs.end(), &part.lbxSchedule); it != tabs.end(); ++it)
            order.push_back((*it)->Name);
        EXPECT_EQ(order,
                  (std::vector<std::string>{"lbxSchedule", "chkMon", "chkTue", "chkWed", "chkThu", "chkFri", "chkSat",
                                            "chkSun", "medStart", "medEnd", "btnAdd", "btnChange", "btnDelete"}));
        // The row chosen fills the editors; shortening it keeps the old period until the reset.
        SendMessageW(part.lbxSchedule.Handle(), LB_SETCURSEL, 1, 0);
        part.lbxScheduleChange();
        EXPECT_TRUE(part.chkDays[0]->Checked());
        EXPECT_FALSE(part.chkDays[5]->Checked());
        EXPECT_EQ(part.medStart.Text(), "14:00");
        EXPECT_EQ(part.medEnd.Text(), "17:00");
        SaveScreen(form, "TfrmFocusSettings-schedule");
        part.medEnd.SetText("16:00");
        part.btnChangeClick();
        ASSERT_EQ(part.lbxSchedule.Count(), 5);
        EXPECT_EQ(part.lbxSchedule.Item(1), "Mon\u2013Fri  14:00\u201316:00");
        EXPECT_EQ(part.lbxSchedule.Item(3), "Removed (takes effect tomorrow at 4:00 AM):");
        EXPECT_EQ(part.lbxSchedule.Item(4), "    Mon\u2013Fri  14:00\u201317:00");
        // Every row fits the list's width in its font.
        {
            const ClientDc dc(part.lbxSchedule.Handle());
            const ScopedSelect font(
                dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(part.lbxSchedule.Handle(), WM_GETFONT, 0, 0)));
            RECT client{};
            GetClientRect(part.lbxSchedule.Handle(), &client);
            for (int i = 0; i < part.lbxSchedule.Count(); ++i) {
                const std::wstring row = Utf8ToWide(part.lbxSchedule.Item(i));
                SIZE size{};
                GetTextExtentPoint32W(dc.Get(), row.c_str(), static_cast<int>(row.size()), &size);
                // Room for the scroll bar of a full list.
                EXPECT_LE(size.cx + GetSystemMetrics(SM_CXVSCROLL), client.right) << part.lbxSchedule.Item(i);
            }
        }
        // The going period cannot be edited.
        SendMessageW(part.lbxSchedule.Handle(), LB_SETCURSEL, 4, 0);
        part.lbxScheduleChange();
        EXPECT_FALSE(part.btnChange.Enabled());
        EXPECT_FALSE(part.btnDelete.Enabled());
        SaveScreen(form, "TfrmFocusSettings-schedule-loosened");

        // A period needs a day and two different times.
        for (TCheckBox* box : part.chkDays) box->SetChecked(false);
        ExpectWarning("Choose at least one day");
        part.btnAddClick();
        part.chkDays[6]->SetChecked(true);
        part.medStart.SetText("08:00");
        part.medEnd.SetText("08:00");
        ExpectWarning("A period must end at another time than it starts");
        part.btnAddClick();
        EXPECT_EQ(part.lbxSchedule.Count(), 5);
        // Only the schedule changed: OK with "00:00" starts nothing by hand.
        PostMessageW(form.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_TRUE(form.Execute(duration, list));
    EXPECT_DOUBLE_EQ(duration, 0);
    EXPECT_EQ(form.ChangedSchedule(),
              (TBlockSchedule{Period("Mon,Tue,Wed,Thu,Fri 09:00-12:00"), Period("Mon,Tue,Wed,Thu,Fri 14:00-16:00"),
                              Period("Sat 22:00-02:00")}));
    ProcessMessages();
}

}  // namespace
}  // namespace vh::win32
