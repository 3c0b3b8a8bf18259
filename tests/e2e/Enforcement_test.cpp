// The real Vornhalt.exe enforcing under Wine: today's log already over a
// small limit and Wine's notepad on the list. With "Close Browser/App." the
// reminder counts down and every listed notepad is closed; with "Reminder
// Only" nothing is closed unless the user chooses "Close Application". A
// window that is not on the list is never closed. ("Shutdown Computer" is
// left to the tests with a double: no test shuts anything down.)

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "Screenshot.h"
#include "platform/win32/Utf16.h"
#include "support/E2eSupport.h"
#include "support/ForegroundSupport.h"
#include "support/ProgramTest.h"

namespace vh::e2e {
namespace {

using namespace std::chrono_literals;

class EnforcementEndToEnd : public ProgramTest {
protected:
    // Notepad used for two minutes today against a one-minute limit.
    void PrepareUsedUpAllowance(const std::string& expirationAction) {
        PrepareListedNotepad();
        SetSetting("TimeLimitSeconds", "60");
        SetSetting("ExpirationAction", expirationAction);
        LogNotepadToday(120);
    }

    // Two listed notepads, the first in front, and an unlisted window behind.
    void StartWindows() {
        inFront_ = std::make_unique<RunningProgram>(NotepadPath());
        inFrontWindow_ = WaitForMainWindow(*inFront_, 20s);
        ASSERT_NE(inFrontWindow_, nullptr);
        behind_ = std::make_unique<RunningProgram>(NotepadPath());
        ASSERT_NE(WaitForMainWindow(*behind_, 20s), nullptr);
        unlisted_ = std::make_unique<RunningProgram>(OwnFolder() / L"FakeBrowser.exe",
                                                     FakeBrowserArguments(L"chrome", L"Unlisted", L"unlisted.example"));
        ASSERT_NE(WaitForMainWindow(*unlisted_, 20s), nullptr);
        ASSERT_TRUE(BringToFront(inFrontWindow_, 10s));
    }

    // The used-up allowance, the windows, the program, and its reminder with
    // the action list inside it.
    void StartUntilReminder(const std::string& expirationAction) {
        PrepareUsedUpAllowance(expirationAction);
        ASSERT_NO_FATAL_FAILURE(StartWindows());
        program_ = std::make_unique<RunningProgram>(exe_);
        ASSERT_NE(program_->WaitForMainWindow(20s), nullptr);
        // The window exists, hidden, while it is being built: wait until it
        // shows. Until it exists the notepad is kept in front: under Wine a
        // window started earlier can take the focus late, when the X server's
        // focus event for it arrives.
        WaitUntil(
            [&] {
                reminder_ = program_->FindWindowTitled(L"Reminder");
                if (reminder_ == nullptr && GetForegroundWindow() != inFrontWindow_)
                    SetForegroundWindow(inFrontWindow_);
                return reminder_ && IsWindowVisible(reminder_);
            },
            30s);
        ASSERT_TRUE(reminder_ && IsWindowVisible(reminder_))
            << "no reminder; windows: " << WindowTitles(program_->ProcessId())
            << "; in front: " << DescribeForegroundWindow();
        list_ = ActionList(reminder_);
        ASSERT_NE(list_, nullptr);
    }

    // The real program's reminder as the screen shows it, for a person to look at.
    void SaveReminderScreenshot(const std::string& name) const {
        std::this_thread::sleep_for(500ms);  // painted
        win32::TBitmap32 shot;
        win32::testing::CaptureFromScreen(reminder_, shot);
        win32::testing::SavePng(shot, VH_SCREENSHOT_DIR, name);
    }

    static HWND ActionList(HWND reminder) { return FindWindowExW(reminder, nullptr, L"ComboBox", nullptr); }
    static std::string SelectedAction(HWND list) {
        const auto index = SendMessageW(list, CB_GETCURSEL, 0, 0);
        if (index < 0) return std::string();
        wchar_t text[64] = {};
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return win32::WideToUtf8(text);
    }

    std::unique_ptr<RunningProgram> inFront_;
    std::unique_ptr<RunningProgram> behind_;
    std::unique_ptr<RunningProgram> unlisted_;
    HWND inFrontWindow_ = nullptr;
    std::unique_ptr<RunningProgram> program_;
    HWND reminder_ = nullptr;
    HWND list_ = nullptr;
};

TEST_F(EnforcementEndToEnd, CloseActionCountsDownAMinuteThenClosesEveryListedWindow) {
    ASSERT_NO_FATAL_FAILURE(StartUntilReminder("Close Browser/App."));
    const auto shown = std::chrono::steady_clock::now();
    EXPECT_TRUE(GetWindowLongPtrW(reminder_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(IsWindowVisible(list_)) << "a counting-down reminder offers no choice";
    SaveReminderScreenshot("Vornhalt-reminder-countdown");

    // Nothing closes while the reminder counts down.
    std::this_thread::sleep_for(5s);
    EXPECT_FALSE(inFront_->WaitForExit(0ms));
    EXPECT_FALSE(behind_->WaitForExit(0ms));

    ASSERT_TRUE(behind_->WaitForExit(90s)) << "the notepad behind was not closed";
    const auto closedAfter = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - shown);
    EXPECT_GE(closedAfter.count(), 58) << "closed before the countdown ended";
    EXPECT_LE(closedAfter.count(), 70);
    EXPECT_TRUE(inFront_->WaitForExit(10s)) << "the notepad in front was not closed";
    // The reminder frees itself only once its owner's messages flow again,
    // which on a loaded machine can be after the notepads have gone.
    EXPECT_TRUE(WaitUntil([&] { return program_->FindWindowTitled(L"Reminder") == nullptr; }, 10s));

    std::this_thread::sleep_for(5s);  // more scans, nothing listed in front
    EXPECT_FALSE(unlisted_->WaitForExit(0ms)) << "an unlisted window was closed";
    // The minute the reminder was open is charged to the notepad that caused it.
    const auto rows = NotepadRows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_GE(rows[1].duration, 58);
    EndThroughFlag(*program_);
}

TEST_F(EnforcementEndToEnd, ReminderOnlyOffersTheChoiceAndContinueClosesNothing) {
    ASSERT_NO_FATAL_FAILURE(StartUntilReminder("Reminder Only"));
    EXPECT_TRUE(IsWindowVisible(list_));
    EXPECT_EQ(SelectedAction(list_), "Continue");
    SaveReminderScreenshot("Vornhalt-reminder-choice");
    std::this_thread::sleep_for(3s);
    EXPECT_TRUE(IsWindow(reminder_)) << "a reminder without countdown closed by itself";

    PostMessageW(reminder_, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(reminder_) || !IsWindowVisible(reminder_); }, 5s));
    ASSERT_TRUE(BringToFront(inFrontWindow_, 10s));
    std::this_thread::sleep_for(9s);  // two scans with the listed notepad in front
    EXPECT_FALSE(inFront_->WaitForExit(0ms));
    EXPECT_FALSE(behind_->WaitForExit(0ms));
    EXPECT_FALSE(unlisted_->WaitForExit(0ms));
    EXPECT_EQ(program_->FindWindowTitled(L"Reminder"), nullptr) << "reminded again within five minutes";
    EndThroughFlag(*program_);
}

TEST_F(EnforcementEndToEnd, ReminderOnlyWithCloseApplicationChosenClosesTheListedWindowsOnly) {
    ASSERT_NO_FATAL_FAILURE(StartUntilReminder("Reminder Only"));
    SendMessageW(list_, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(SelectedAction(list_), "Close Application");
    PostMessageW(reminder_, WM_KEYDOWN, VK_RETURN, 0);

    EXPECT_TRUE(inFront_->WaitForExit(10s)) << "the notepad in front was not closed";
    EXPECT_TRUE(behind_->WaitForExit(10s)) << "the notepad behind was not closed";
    std::this_thread::sleep_for(2s);
    EXPECT_FALSE(unlisted_->WaitForExit(0ms)) << "an unlisted window was closed";
    EndThroughFlag(*program_);
}

}  // namespace
}  // namespace vh::e2e
