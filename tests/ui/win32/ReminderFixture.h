#pragma once
// The reminder tests' fixture: a program clock at a chosen time of day, a
// stand-in main window and a reminder whose end is recorded.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "UiTestSupport.h"
#include "common/DateTime.h"
#include "common/Exceptions.h"
#include "doubles/FakeEnvironmentClock.h"
#include "environment/DateTimeUtils.h"
#include "platform/win32/Handles.h"
#include "ui/win32/reminder/ReminderFRM.h"

namespace vh::win32::testing {

struct EndCall {
    bool fiveMinutes;
    bool focusMode;
    int chosenAction;
};

class ReminderWindow : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        clock_.standardOffsetHours = 0;
        clock_.daylightOffsetHours = 0;
        SetTime(9, 0);
        mainWindow_.Reset(
            CreateWindowExW(0, L"STATIC", L"Vornhalt", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(mainWindow_);
    }
    void TearDown() override {
        UiTest::TearDown();
        FinalizeProgramClock();
    }
    void SetTime(int hour, int minute) {
        clock_.utc = EncodeDateTime({2024, 3, 10, hour, minute, 0, 0});
        InitializeProgramClock(clock_);
    }
    TfrmReminder& Create(TExpirationAction expirationAction) {
        TReminderSettings settings;
        settings.ExpirationAction = expirationAction;
        settings.ReminderTexts = {"Write the report\nCall Anna", "Gym at five", "Read a chapter"};
        return CreateForm<TfrmReminder>(mainWindow_.Get(), settings, [this](bool five, bool focus, int chosen) {
            end_ = EndCall{five, focus, chosen};
            if (failOnEnd_) throw EOSError(5, "Access is denied.");
        });
    }

    vh::testing::FakeEnvironmentClock clock_;
    UniqueWindow mainWindow_;
    std::optional<EndCall> end_;
    bool failOnEnd_ = false;
};

// Everything a person sees of the window, as the screen shows it.
// A native child's rectangle in its parent's client coordinates.
inline IntRect ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

inline void SaveScreen(TForm& form, const std::string& name) {
    TBitmap32 shot;
    CaptureFromScreen(form.Handle(), shot);
    SaveScreenshot(shot, name);
}

}  // namespace vh::win32::testing
