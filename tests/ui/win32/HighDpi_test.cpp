// Run only in a Wine session whose system DPI is 144 (the prefix's LogPixels,
// set by scripts/lib/wine-exec-dpi): the toolkit shows the 96-DPI form
// definitions at 150 %.
#include <gtest/gtest.h>

#include "model/MonitoredObjects.h"

#include "ReminderFixture.h"
#include "ui/win32/dialogs/FocusSettingsFRM.h"

namespace vh::win32 {
namespace {

using testing::ChildRect;
using testing::ReminderWindow;

TEST_F(ReminderWindow, AtOneHundredFortyFourDpiEverythingIsOneAndAHalfTimesItsSize) {
    auto& form = Create(eaReminderOnly);  // the action list is offered
    ASSERT_EQ(form.Dpi(), 144) << "this program must run in a session at LogPixels 144";
    testing::WhenModal([&](TForm&) {
        testing::SaveScreen(form, "TfrmReminder-144dpi");
        EXPECT_EQ(form.DeviceClientSize(), (IntSize{738, 800}));  // 492 x 533 at 150 %
        EXPECT_EQ(form.ClientSize(), (IntSize{492, 533}));
        // Window-less controls: drawn and hit at 1.5 times their places.
        EXPECT_EQ(form.btnOk.BoundsRect(), (IntRect{397, 491, 482, 523}));
        EXPECT_EQ(form.btnOk.DeviceRect(), (IntRect{596, 737, 723, 785}));
        EXPECT_EQ(form.lblReminderMorning.DeviceRect(), ScaleRectToDpi(form.lblReminderMorning.BoundsRect(), 144));
        // Native children: their windows at 1.5 times, in the scaled font.
        const IntRect memo = form.memReminderMorning.BoundsRect();
        EXPECT_EQ(ChildRect(form.memReminderMorning.Handle()), ScaleRectToDpi(memo, 144));
        EXPECT_EQ(ChildRect(form.memReminderMorning.Handle()).Width(), (memo.Width() * 3 + 1) / 2);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.cbxExpirationAction.Handle(), WM_GETFONT, 0, 0)),
                   sizeof(font), &font);
        EXPECT_EQ(font.lfHeight, -20);
        form.btnOk.Click();
    });
    form.Execute(false, "", false);
}

TEST_F(ReminderWindow, BlockModeWithThreeScheduledPeriodsAtOneHundredFortyFourDpi) {
    auto& form = CreateForm<TfrmFocusSettings>();
    ASSERT_EQ(form.Dpi(), 144);
    TBlockScheduleState current;
    for (const char* text : {"Mon,Tue,Wed,Thu,Fri 09:00-12:00", "Mon,Tue,Wed,Thu,Fri 14:00-17:00", "Sat 22:00-02:00"})
        current.InForce.push_back(ParseBlockPeriod(text).value());
    form.SetSchedule(current, EncodeDateTime({2024, 3, 10, 9, 0, 0, 0}), EncodeDateTime({2024, 3, 11, 4, 0, 0, 0}));
    testing::WhenModal([&](TForm&) {
        TFocusSchedulePart& part = form.Schedule;
        EXPECT_EQ(part.lbxSchedule.Count(), 3);
        // The check boxes grew with their captions and stay inside the dialog.
        EXPECT_LE(part.chkDays[6]->BoundsRect().right, form.ClientSize().width - 10);
        EXPECT_LE(part.btnDelete.BoundsRect().right, form.ClientSize().width - 10);
        EXPECT_EQ(ChildRect(part.lbxSchedule.Handle()), ScaleRectToDpi(part.lbxSchedule.BoundsRect(), 144));
        testing::SaveScreen(form, "TfrmFocusSettings-schedule-144dpi");
        PostMessageW(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    TMonitoredList list;
    TDateTime duration = 0;
    EXPECT_FALSE(form.Execute(duration, list));
}

}  // namespace
}  // namespace vh::win32
