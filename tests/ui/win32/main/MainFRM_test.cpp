#include "ui/win32/main/MainFRM.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>

#include "UiTestSupport.h"
#include "doubles/FakeEnvironmentClock.h"
#include "doubles/FakeEnvironmentPlatform.h"
#include "doubles/TempFolder.h"
#include "environment/DateTimeUtils.h"
#include "environment/IniFile.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "storage/Options.h"
#include "support/StorageTestSupport.h"
#include "ui/win32/dialogs/DeleteConfirmFRM.h"
#include "ui/win32/dialogs/FocusSettingsFRM.h"
#include "ui/win32/dialogs/ReminderSettingsFRM.h"
#include "ui/win32/settings/SettingsFRM.h"

namespace vh::win32 {
namespace {

constexpr char kNotepad[] = "C:\\windows\\notepad.exe";

// Replaces a memo's text as typing does (a multi-line edit reports no
// change for a text set as a whole).
void Type(TMemo& memo, const std::string& text) {
    SendMessageW(memo.Handle(), EM_SETSEL, 0, -1);
    const std::wstring wide(text.begin(), text.end());
    SendMessageW(memo.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

// The main window over options and a log in a temporary folder, with notepad
// listed and 20 minutes of it logged today.
class MainWindow : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        InstallEnvironment(std::make_unique<vh::testing::FakeEnvironmentPlatform>());
        clock_.standardOffsetHours = 0;
        clock_.daylightOffsetHours = 0;
        clock_.utc = EncodeDateTime({2024, 3, 10, 13, 30, 0, 0});
        InitializeProgramClock(clock_);
        vh::testing::CopyReadyMadeDatabase("settings.sqlite", settings_);
        vh::testing::CopyReadyMadeDatabase("actmondb.sqlite", log_);
        vh::testing::InsertListEntry(settings_, "applications_list", kNotepad, "Notepad");
        vh::testing::InsertListEntry(log_, "applications_list", kNotepad, "Notepad");
        vh::testing::InsertLogRow(log_, "2024-03-10 12:00:00", kNotepad, "", 1200, 1);
        TOptionsSite site;
        site.SettingsDBFileName = settings_;
        site.LogDBFileName = log_;
        site.IniFile = []() -> TIniFile& { return GetIniFile(); };
        site.Now = [] { return ProgramNow(); };
        options_ = std::make_unique<TOptions>(site);
        options_->SetReminderText(rtMorning, "one\ntwo");
        options_->SetReminderText(rtEvening, "   ");
        form_ = &CreateForm<TfrmMain>(*options_);
    }
    void TearDown() override {
        if (form_) FreeForm(form_);
        options_.reset();
        UiTest::TearDown();
        FinalizeProgramClock();
        UninstallEnvironment();
    }
    void Shoot(const std::string& name) {
        form_->Show();
        SetWindowPos(form_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        UpdateWindow(form_->Handle());
        ProcessMessages();
        TBitmap32 shot;
        testing::CaptureFromScreen(form_->Handle(), shot);
        testing::SaveScreenshot(shot, name);
    }

    vh::testing::FakeEnvironmentClock clock_;
    vh::testing::TempFolder folder_;
    std::string settings_ = vh::testing::FileIn(folder_.Path(), "settings.sqlite");
    std::string log_ = vh::testing::FileIn(folder_.Path(), "actmondb.sqlite");
    std::unique_ptr<TOptions> options_;
    TfrmMain* form_ = nullptr;
};

TEST_F(MainWindow, ViewsMenusAndTheTimeDisplay) {
    TfrmMain& form = *form_;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // Start: the lite view of the main page, "Lite" checked.
    EXPECT_TRUE(form.miViewLite.Checked);
    EXPECT_EQ(form.ActivePage(), &form.tsMain);
    EXPECT_EQ(form.ClientSize().height, 92 + 46 + 147 + 10);
    EXPECT_EQ(form.ClientSize().width, 319);
    EXPECT_EQ(form.lblMain_TimeTitle.Caption(), "Time on List:");
    EXPECT_EQ(form.lblMain_Time.Caption(), "00:20");
    ASSERT_GE(form.lbxMain_Applications.Count(), 1);
    EXPECT_EQ(form.lbxMain_Applications.Item(0), "Notepad");
    EXPECT_EQ(static_cast<TMonitoredItem*>(form.lbxMain_Applications.Object(0))->Seconds, 1200);
    EXPECT_EQ(form.edtTimeLimit.Text(), "08:00");
    EXPECT_EQ(form.edtAction.Text(), "Reminder Only");
    EXPECT_EQ(form.Hints().HintOf(form.btnView), "View Mode");
    Shoot("main_lite");

    // Re-clicking the checked "Lite" keeps it checked and changes nothing.
    form.miViewLite.Click();
    EXPECT_TRUE(form.miViewLite.Checked);
    EXPECT_TRUE(form.LiteView);
    EXPECT_EQ(form.ClientSize().height, 295);

    struct Step {
        TMenuItem* item;
        TTabSheet* page;
        bool back;
    } steps[] = {{&form.miViewUsage, &form.tsUsage, true},
                 {&form.miViewRemindersOnly, &form.tsReminder, true},
                 {&form.miViewMain, &form.tsMain, false}};
    const char* shots[] = {"main_usage", "main_reminders", "main_all"};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(steps[i].item->Caption);
        steps[i].item->Click();
        EXPECT_TRUE(steps[i].item->Checked);
        EXPECT_FALSE(form.miViewLite.Checked);
        EXPECT_EQ(form.ActivePage(), steps[i].page);
        EXPECT_FALSE(form.LiteView);
        EXPECT_EQ(form.ClientSize().height, work.bottom - work.top);
        EXPECT_EQ(form.btnBack.Visible(), steps[i].back);
        EXPECT_EQ(form.btnNext.Visible(), steps[i].back);
        Shoot(shots[i]);
    }
    // At 144 DPI the full view still fits the work area, the rows' columns
    // stay under their heads and the hints follow their buttons.
    PostMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
    ProcessMessages();
    EXPECT_EQ(form.DeviceClientSize().width, 479);
    EXPECT_EQ(form.DeviceClientSize().height, work.bottom - work.top) << "no pixel lost through 96-DPI rounding";
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = form.Handle();
    tool.uId = 1;
    ASSERT_TRUE(SendMessageW(form.Hints().Handle(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.rect.left, form.btnView.DeviceRect().left);
    EXPECT_EQ(tool.rect.bottom, form.btnView.DeviceRect().bottom);
    Shoot("main_all_144dpi");
    PostMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    ProcessMessages();
    EXPECT_EQ(form.ClientSize().height, work.bottom - work.top);

    // The usage list for "Today" shows the logged time.
    ASSERT_GE(form.lbxUsage_Applications.Count(), 1);
    EXPECT_EQ(form.lbxUsage_Applications.Item(0), "Notepad");
    EXPECT_EQ(static_cast<TMonitoredItem*>(form.lbxUsage_Applications.Object(0))->Seconds, 1200);

    // Back and Next wrap around and leave the menu's marks alone.
    form.miViewUsage.Click();
    form.btnNextClick();
    EXPECT_EQ(form.ActivePage(), &form.tsMain);
    EXPECT_FALSE(form.btnBack.Visible());
    form.btnBackClick();
    EXPECT_EQ(form.ActivePage(), &form.tsUsage);
    EXPECT_TRUE(form.miViewUsage.Checked);

    // The time display cycles; its panel follows the texts.
    form.actChangeTimeFormatExecute();
    EXPECT_EQ(form.lblMain_TimeTitle.Caption(), "Time to Limit:");
    EXPECT_EQ(form.lblMain_Time.Caption(), "07:40");
    EXPECT_EQ(form.lblMain_Time.Left(), form.lblMain_TimeTitle.Left() + form.lblMain_TimeTitle.Width() + 4);
    form.actChangeTimeFormatExecute();
    EXPECT_EQ(form.lblMain_Time.Caption(), "01:30 PM");
    EXPECT_EQ(form.lblMain_TimeLink.Caption(), "Show Time on List");

    // The tools menu's links, and Escape's hidden item minimising the window.
    std::vector<std::string> opened;
    SetWebAddressOpenerForTesting([&](const std::string& address) { opened.push_back(address); });
    form.miUpgrades.Click();
    form.miHomeworkTips.Click();
    SetWebAddressOpenerForTesting(nullptr);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], ProductWebPage("/download"));
    EXPECT_EQ(opened[1], ProductWebPage("/help"));
    ASSERT_TRUE(form.Visible());
    EnableWindow(form.Handle(), FALSE);  // a modal dialog is open
    form.miMinimize.Click();
    EXPECT_TRUE(form.Visible());
    EnableWindow(form.Handle(), TRUE);
    form.miMinimize.Click();
    EXPECT_FALSE(form.Visible());
}

// Hidden in the tray the window keeps no display timer running and frees
// what it paints with; shown again it shows the present and looks as before.
TEST_F(MainWindow, HiddenItStopsTheDisplayTimersAndFreesItsBuffersShownAgainItLooksTheSame) {
    TfrmMain& form = *form_;
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(form.tmrScan.Enabled());
    EXPECT_FALSE(form.tmrTime.Enabled());
    EXPECT_FALSE(form.tmrUsage.Enabled());
    EXPECT_FALSE(form.Docking().tmrDeactivation.Enabled());
    Shoot("main_lite_before_hiding");
    EXPECT_TRUE(form.tmrTime.Enabled());
    EXPECT_TRUE(form.tmrUsage.Enabled());
    EXPECT_TRUE(form.Docking().tmrDeactivation.Enabled());
    // The focus, which hiding takes away, in the same place for both looks.
    const auto focusAndCapture = [&](TBitmap32& shot) {
        SetFocus(form.cbxReminder.Handle());
        UpdateWindow(form.Handle());
        ProcessMessages();
        testing::CaptureFromScreen(form.Handle(), shot);
    };
    TBitmap32 before;
    focusAndCapture(before);
    ASSERT_FALSE(form.btnFocus.BackgroundCopy().Empty());

    form.actMinimizeExecute();
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.tmrTime.Enabled());
    EXPECT_FALSE(form.tmrUsage.Enabled());
    EXPECT_FALSE(form.Docking().tmrDeactivation.Enabled());
    EXPECT_TRUE(form.tmrScan.Enabled());
    EXPECT_TRUE(form.btnFocus.BackgroundCopy().Empty());

    Shoot("main_lite_shown_again");
    TBitmap32 after;
    focusAndCapture(after);
    ASSERT_EQ(after.Size(), before.Size());
    EXPECT_TRUE(std::equal(before.Pixels().begin(), before.Pixels().end(), after.Pixels().begin()))
        << "the window shown again looks other than before";

    // Time logged while hidden is on the display the moment it shows.
    form.actMinimizeExecute();
    form.Monitor().Logger().SecondsOnList += 600;
    form.Show();
    EXPECT_EQ(form.lblMain_Time.Caption(), "00:30");
}

TEST_F(MainWindow, ReminderMemosStoreThePeriodTextAndLoadingStopsTheEcho) {
    TfrmMain& form = *form_;
    // 13:30 is the afternoon.
    EXPECT_EQ(form.cbxReminder.ItemIndex(), 1);
    EXPECT_FALSE(form.ReminderHasText(1));
    Type(form.mmReminder, "Gym at five");
    EXPECT_EQ(options_->GetReminderText(rtAfternoon), "Gym at five");
    EXPECT_EQ(form.mmReminderAfrernoon.Text(), "Gym at five");
    EXPECT_TRUE(form.ReminderHasText(1));
    EXPECT_FALSE(form.ReminderHasText(2));  // blanks only

    // Choosing a period writes its text into the memo without storing it
    // back (the memo has Windows line breaks).
    form.cbxReminder.SetItemIndex(0);
    form.cbxReminderChange();
    EXPECT_EQ(form.mmReminder.Text(), "one\r\ntwo");
    EXPECT_EQ(options_->GetReminderText(rtMorning), "one\ntwo");

    // A period memo stores its own text and leaves mmReminder alone.
    Type(form.mmReminderEvening, "Read");
    EXPECT_EQ(options_->GetReminderText(rtEvening), "Read");
    EXPECT_EQ(form.mmReminder.Text(), "one\r\ntwo");
    EXPECT_TRUE(form.ReminderHasText(2));
}

TEST_F(MainWindow, DeletingAnEntryAsksAndRemovesIt) {
    TfrmMain& form = *form_;
    std::vector<std::string> asked;
    form.DeleteConfirmRunner = [&](const std::string& caption) {
        asked.push_back(caption);
        return asked.size() > 1;  // declined first, then accepted
    };
    // Rows fill the list down to its bottom; below the last there is none.
    const int rows = form.lbxMain_Applications.Count();
    ASSERT_GT(rows, 1);
    EXPECT_EQ(form.lbxMain_Applications.ItemAtPos(5, 5), 0);
    EXPECT_EQ(form.lbxMain_Applications.ItemAtPos(5, 16 * (rows - 1) + 3), rows - 1);
    EXPECT_EQ(form.lbxMain_Applications.ItemAtPos(5, 16 * rows + 3), -1);
    // A blank row does nothing.
    form.lbxMain_Applications.SetItemIndex(1);
    form.btnApp_DeleteClick();
    EXPECT_TRUE(asked.empty());

    form.lbxMain_Applications.SetItemIndex(0);
    form.Monitor().tmrUsageTimer();  // refills the list meanwhile
    EXPECT_EQ(form.lbxMain_Applications.ItemIndex(), 0) << "the refill lost the chosen row";
    form.btnApp_DeleteClick();
    EXPECT_EQ(asked, std::vector<std::string>{"Notepad"});
    EXPECT_EQ(form.lbxMain_Applications.Item(0), "Notepad");

    options_->ImmediateChangeAllowed = true;
    form.btnApp_DeleteClick();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(options_->MonitoredList().IndexOfName(kNotepad), -1);
    EXPECT_EQ(form.lbxMain_Applications.Item(0), "");
    EXPECT_EQ(form.lbxMain_Applications.Object(0), nullptr);
}

TEST_F(MainWindow, DeleteConfirmationShowsACaptionWithQuotesAsItIs) {
    auto& dialog = CreateForm<TfrmDeleteConfirm>();
    testing::WhenModal([&](TForm& modal) {
        TBitmap32 shot;
        testing::CaptureFromScreen(modal.Handle(), shot);
        testing::SaveScreenshot(shot, "delete_confirm");
        PostMessageW(modal.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_FALSE(dialog.Execute("The \"best\" 100% site"));
    EXPECT_EQ(dialog.lblDescription.Caption(),
              "Are you sure you want to delete \"The \"best\" 100% site\" from your time-limit list?");
    EXPECT_EQ(dialog.Caption(), "Confirm Delete");
}

TEST_F(MainWindow, TimeEditShowsThePendingLimitAndStoresTheEditedOne) {
    TfrmMain& form = *form_;
    options_->AllowUserToChangeSettings = true;
    // The day's increase is used up: a longer limit waits for the reset.
    options_->SetTimeLimitSeconds(9 * 3600);
    options_->SetTimeLimitSeconds(10 * 3600);
    std::string shown, caption;
    testing::WhenModal([&](TForm& modal) {
        auto& dialog = dynamic_cast<TfrmReminderSettings&>(modal);
        shown = dialog.medTimeLimit.Text();
        caption = dialog.Caption();
        dialog.cbxExpirationAction.SetItemIndex(eaCloseBrowserApp);
        dialog.medTimeLimit.SetText("01:30");
        TBitmap32 shot;
        testing::CaptureFromScreen(modal.Handle(), shot);
        testing::SaveScreenshot(shot, "time_up_settings");
        dialog.btnOkClick();
    });
    form.actTimeEditExecute();
    EXPECT_EQ(caption, "Time-Up Settings");
    EXPECT_EQ(shown, "10:00");
    // A decrease applies at once; the action is the day's first change.
    EXPECT_EQ(options_->TimeLimitSeconds(), 5400);
    EXPECT_EQ(options_->ExpirationAction(), eaCloseBrowserApp);
    EXPECT_EQ(form.edtTimeLimit.Text(), "01:30");
    EXPECT_EQ(form.edtAction.Text(), "Close Browser/App.");
    EXPECT_FALSE(options_->ImmediateChangeAllowed);
}

TEST_F(MainWindow, SettingsStopTheSavingTimerAndTheViewsShowWhatWasApplied) {
    TfrmMain& form = *form_;
    ASSERT_TRUE(form.tmrSaveOptions.Enabled());
    bool savingWhileOpen = true;
    testing::WhenModal([&](TForm& modal) {
        auto& dialog = dynamic_cast<TfrmSettings&>(modal);
        savingWhileOpen = form.tmrSaveOptions.Enabled();
        EXPECT_EQ(dialog.lbxAppSites.Item(0), "Notepad");
        dialog.medTimeLimit.SetText("00:30");
        dialog.cbxExpirationAction.SetItemIndex(eaShutdownComputer);
        dialog.btnFinishClick();
    });
    form.miSettings.OnClick(form.miSettings);
    EXPECT_FALSE(savingWhileOpen);
    EXPECT_TRUE(form.tmrSaveOptions.Enabled());
    EXPECT_FALSE(options_->ImmediateChangeAllowed);
    EXPECT_EQ(form.edtTimeLimit.Text(), "00:30");
    EXPECT_EQ(form.edtAction.Text(), "Shutdown Computer");
    // The list was loaded again from what Apply saved.
    EXPECT_EQ(form.lbxMain_Applications.Item(0), "Notepad");
    EXPECT_NE(form.lbxMain_Applications.Object(0), nullptr);
}

TEST_F(MainWindow, FocusButtonStartsTheFocusDisplayWhichCyclesItsModesAndEndsWithThePeriod) {
    TfrmMain& form = *form_;
    EXPECT_TRUE(form.btnFocus.Visible());
    EXPECT_FALSE(form.lblMain_FocusTime.Visible());
    clock_.Advance(3);
    form.Monitor().tmrScanTimer();  // outside focus mode: the display's mode is 0
    // "your list" runs the add wizard; what it chose is applied with the start.
    form.AddWizardRunner = [](TOptions&, TMonitoredList& result) {
        auto item = std::make_unique<TMonitoredItem>();
        item->ItemType = mitWebSite;
        item->Name = item->Caption = "example.org";
        item->Active = item->Selected = true;
        result.Add("example.org", std::move(item));
    };
    testing::WhenModal([](TForm& dialog) {
        auto& settings = dynamic_cast<TfrmFocusSettings&>(dialog);
        EXPECT_TRUE(settings.lblAppWizardLink.Visible());
        settings.lblAppWizardLinkClick();
        settings.medTimeLimit.SetText("00:30");
        PostMessageW(settings.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    });
    form.btnFocusClick();
    ASSERT_TRUE(form.Monitor().InFocus());
    EXPECT_GE(options_->MonitoredList().IndexOfName("example.org"), 0);
    EXPECT_GE(form.Monitor().Logger().TodayList().IndexOfName("example.org"), 0);
    for (TControl* shown : std::initializer_list<TControl*>{&form.lblMain_FocusTime, &form.lblMain_FocusTimeTitle,
                                                            &form.pnlMain_FocusTime, &form.lblMain_FocusModeTimeLink})
        EXPECT_TRUE(shown->Visible()) << shown->Name;
    for (TControl* hidden :
         std::initializer_list<TControl*>{&form.lblMain_TimeTitle, &form.lblMain_TimeLink, &form.lblMain_Time,
                                          &form.pnlMain_TimeOnline, &form.btnFocus})
        EXPECT_FALSE(hidden->Visible()) << hidden->Name;

    // Midway (ten minutes and a half in): each click shows the next mode.
    clock_.Advance(10 * 60 + 30);
    form.Monitor().tmrTimeTimer();
    struct Mode {
        const char* title;
        const char* link;
        const char* value;
    };
    const Mode modes[] = {{"Focus Started:", "Show Focus End Time", "00:10"},
                          {"Focus Ends In:", "Show Time Now", "00:20"},
                          {"Time Now:", "Show Focus Start Time", "13:40"},
                          {"Focus Started:", "Show Focus End Time", "00:10"}};
    for (const Mode& mode : modes) {
        SCOPED_TRACE(mode.title);
        EXPECT_EQ(form.lblMain_FocusTimeTitle.Caption(), mode.title);
        EXPECT_EQ(form.lblMain_FocusModeTimeLink.Caption(), mode.link);
        EXPECT_EQ(form.lblMain_FocusTime.Caption(), mode.value);
        if (&mode == &modes[1]) Shoot("main_focus");
        form.actChangeFocusModeTimeFormatExecute();
    }

    // After the end the next scan brings the time display and the button back.
    clock_.Advance(20 * 60);
    form.Monitor().tmrScanTimer();
    EXPECT_FALSE(form.Monitor().InFocus());
    EXPECT_TRUE(form.btnFocus.Visible());
    EXPECT_TRUE(form.lblMain_Time.Visible());
    EXPECT_FALSE(form.lblMain_FocusTime.Visible());
    EXPECT_EQ(form.Monitor().FocusTimeDisplay, 0);
    EXPECT_EQ(form.lblMain_FocusTimeTitle.Caption(), "Focus Started:");
}

}  // namespace
}  // namespace vh::win32
