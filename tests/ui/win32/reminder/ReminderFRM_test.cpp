#include "ui/win32/reminder/ReminderFRM.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "ReminderFixture.h"
#include "UiTestSupport.h"
#include "common/DateTime.h"
#include "common/Exceptions.h"
#include "doubles/FakeEnvironmentClock.h"
#include "environment/DateTimeUtils.h"
#include "platform/win32/Handles.h"

namespace vh::win32 {
namespace {

using testing::ReminderWindow;
using testing::SaveScreen;

TEST_F(ReminderWindow, HeightAndGroupsFollowThePeriodOfTheDay) {
    struct Case {
        int hour, minute, height;
        bool morning, afternoon;
        const char* screenshot;
    };
    for (const Case& c :
         {Case{9, 0, 533, true, true, "TfrmReminder-morning"}, Case{12, 0, 413, false, true, "TfrmReminder-afternoon"},
          Case{3, 59, 295, false, false, "TfrmReminder-evening"}}) {
        SetTime(c.hour, c.minute);
        auto& form = Create(c.hour == 12 ? eaReminderOnly : eaCloseBrowserApp);
        EXPECT_EQ(form.ClientSize().height, c.height) << c.screenshot;
        testing::WhenModal([&](TForm&) {
            EXPECT_EQ(form.lblReminderMorning.Visible(), c.morning);
            EXPECT_EQ(form.memReminderMorning.Visible(), c.morning);
            EXPECT_EQ(form.lblReminderAfternoon.Visible(), c.afternoon);
            EXPECT_EQ(form.memReminderAfternoon.Visible(), c.afternoon);
            EXPECT_TRUE(form.memReminderEvening.Visible());
            // The first visible group sits where the morning group was, and the
            // buttons stay inside the window.
            const TLabel& first = c.morning ? form.lblReminderMorning
                                            : (c.afternoon ? form.lblReminderAfternoon : form.lblReminderEvening);
            EXPECT_EQ(first.Top(), 130) << c.screenshot;
            EXPECT_EQ(form.btnOk.BoundsRect().bottom, c.height - 10) << c.screenshot;
            EXPECT_LE(form.memReminderEvening.BoundsRect().bottom, form.btnOk.Top()) << c.screenshot;
            EXPECT_LE(form.cbxExpirationAction.BoundsRect().top, form.btnOk.Top() + 3) << c.screenshot;
            SaveScreen(form, c.screenshot);
            form.CommonOkClick();
        });
        form.Execute(false, "", true);
        ProcessMessages();
    }
}

TEST_F(ReminderWindow, ReminderOnlyOffersTheActionListAndCarriesOutTheChoice) {
    auto& form = Create(eaReminderOnly);
    EXPECT_EQ(form.Caption(), "Reminder");
    testing::WhenModal([&](TForm&) {
        EXPECT_TRUE(form.cbxExpirationAction.Visible());
        EXPECT_TRUE(form.lblAction.Visible());
        EXPECT_TRUE(form.btnComboExpirationAction.Visible());
        EXPECT_FALSE(form.lblTimeLeft.Visible());
        EXPECT_FALSE(form.lblTimeValue.Visible());
        EXPECT_FALSE(form.tmrCountdown.Enabled());
        EXPECT_EQ(form.cbxExpirationAction.Text(), "Continue");
        EXPECT_NE(form.lblReminderText.Caption().find("or continue."), std::string::npos);
        EXPECT_EQ(form.memReminderMorning.Text(), "Write the report\r\nCall Anna");
        EXPECT_EQ(form.memReminderEvening.Text(), "Read a chapter");
        EXPECT_TRUE(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(IsWindowEnabled(mainWindow_.Get()));
        form.cbxExpirationAction.SetItemIndex(2);
        SaveScreen(form, "TfrmReminder-choice");
        PostMessageW(form.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_FALSE(form.Execute(false, "", true));
    ASSERT_TRUE(end_);
    EXPECT_FALSE(end_->fiveMinutes);
    EXPECT_FALSE(end_->focusMode);
    EXPECT_EQ(end_->chosenAction, 2);
    EXPECT_TRUE(IsWindowEnabled(mainWindow_.Get()));
}

TEST_F(ReminderWindow, TheCountdownStartsAtOneMinuteAndClosesTheWindowAtZero) {
    auto& form = Create(eaCloseBrowserApp);
    std::string first, second;
    testing::WhenModal([&](TForm&) {
        EXPECT_TRUE(form.lblTimeValue.Visible());
        EXPECT_FALSE(form.cbxExpirationAction.Visible());
        first = form.lblTimeValue.Caption();
        // Let one tick pass, then shorten the shared countdown to its last second.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1300);
        while (std::chrono::steady_clock::now() < until) {
            ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        second = form.lblTimeValue.Caption();
        TfrmReminder::CountdownValue() = 1;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(form.Execute(false, "", true));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "the countdown did not close it";
    EXPECT_EQ(first, "01:00");
    EXPECT_EQ(second, "00:59");
    EXPECT_EQ(form.lblTimeValue.Caption(), "00:01");
    EXPECT_EQ(TfrmReminder::CountdownValue(), 0);
    ASSERT_TRUE(end_);
    EXPECT_EQ(end_->chosenAction, 1);
}

TEST_F(ReminderWindow, EachNewReminderStartsTheSharedCountdownAgain) {
    TfrmReminder::CountdownValue() = 3;
    Create(eaCloseBrowserApp);
    EXPECT_EQ(TfrmReminder::CountdownValue(), 60);
}

TEST_F(ReminderWindow, FocusModeShowsItsTextAndCountsDownWhateverTheAction) {
    auto& form = Create(eaShutdownComputer);
    testing::WhenModal([&](TForm&) {
        EXPECT_EQ(form.lblReminderText.Caption().rfind("You have chosen to focus", 0), 0u);
        EXPECT_TRUE(form.tmrCountdown.Enabled());
        EXPECT_FALSE(form.cbxExpirationAction.Visible());
        PostMessageW(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_FALSE(form.Execute(true, "00:25", true));
    ASSERT_TRUE(end_);
    EXPECT_TRUE(end_->focusMode);
    EXPECT_FALSE(end_->fiveMinutes);
}

TEST_F(ReminderWindow, TheFiveMinuteButtonIsOfferedOnlyWhenAskedAndGrantsTheExtension) {
    auto& hidden = Create(eaCloseBrowserApp);
    testing::WhenModal([&](TForm&) {
        EXPECT_FALSE(hidden.btnFiveMinutes.Visible());
        hidden.CommonOkClick();
    });
    EXPECT_FALSE(hidden.Execute(false, "", false));
    ProcessMessages();

    auto& form = Create(eaCloseBrowserApp);
    testing::WhenModal([&](TForm& modal) {
        EXPECT_TRUE(form.btnFiveMinutes.Visible());
        testing::ClickAt(modal, form.btnFiveMinutes.BoundsRect());
    });
    EXPECT_TRUE(form.Execute(false, "", true));
    ASSERT_TRUE(end_);
    EXPECT_TRUE(end_->fiveMinutes);
}

TEST_F(ReminderWindow, AFailingActionLeavesExecuteAfterTheWindowClosedAndTheMainWindowIsEnabled) {
    failOnEnd_ = true;
    auto& form = Create(eaShutdownComputer);
    testing::WhenModal([&](TForm&) { form.CommonOkClick(); });
    EXPECT_THROW(form.Execute(false, "", true), EOSError);
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(IsWindowEnabled(mainWindow_.Get()));
}

TEST_F(ReminderWindow, TheProgramEndingWhileItIsOpenCarriesOutNoAction) {
    auto& form = Create(eaShutdownComputer);
    testing::WhenModal([](TForm&) { PostQuitMessage(0); });
    EXPECT_FALSE(form.Execute(false, "", true));
    EXPECT_FALSE(end_) << "the shutdown ran because the program was ending";
    // The quit is handed on to the program's own loop.
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_TRUE(IsWindowEnabled(mainWindow_.Get()));
}

}  // namespace
}  // namespace vh::win32
