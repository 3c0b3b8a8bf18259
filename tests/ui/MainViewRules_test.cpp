#include "ui/MainViewRules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "model/MonitoredObjects.h"

namespace vh {
namespace {

TEST(MainViewRules, TimeDisplayCyclesThroughItsThreeModes) {
    const TDateTime now = EncodeDate(2024, 3, 10) + EncodeTime(13, 7, 40);
    struct Case {
        int mode, next;
        const char *title, *link, *value;
    };
    // 20 min 59 s used of a 1-hour limit.
    for (const Case& c : {Case{0, 1, "Time on List:", "Show Time to Limit", "00:20"},
                          Case{1, 2, "Time to Limit:", "Show Time Now", "00:40"},
                          Case{2, 0, "Time Now:", "Show Time on List", "01:07 PM"}}) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(NextDisplayMode(c.mode), c.next);
        EXPECT_EQ(TimeDisplayTexts(c.mode).title, c.title);
        EXPECT_EQ(TimeDisplayTexts(c.mode).link, c.link);
        EXPECT_EQ(TimeDisplayValue(c.mode, 20 * 60 + 59, 3600, now), c.value);
    }
    // A mode out of range is read as the first one.
    EXPECT_EQ(NextDisplayMode(7), 1);
}

TEST(MainViewRules, TimeValuesTruncateAndNeverGoNegative) {
    EXPECT_EQ(TimeDisplayValue(0, 59, 3600, 0), "00:00");
    EXPECT_EQ(TimeDisplayValue(1, 7200, 3600, 0), "00:00");
    EXPECT_EQ(TimeDisplayValue(1, 3599, 3600, 0), "00:01");  // 59 whole minutes used
    EXPECT_EQ(TimeDisplayValue(0, 25 * 3600, 3600, 0), "25:00");
    EXPECT_EQ(FormatTimeAmPm(EncodeTime(0, 5, 0)), "12:05 AM");
    EXPECT_EQ(FormatTimeAmPm(EncodeTime(11, 59, 59)), "11:59 AM");
    EXPECT_EQ(FormatTimeAmPm(EncodeTime(12, 0, 0)), "12:00 PM");
    EXPECT_EQ(FormatTimeAmPm(EncodeDate(2024, 1, 2) + EncodeTime(23, 30, 0)), "11:30 PM");
}

TEST(MainViewRules, FocusDisplayShowsElapsedRemainingOrNowUntilTheEnd) {
    const TDateTime start = EncodeDate(2024, 3, 10) + EncodeTime(9, 0, 0);
    const TDateTime duration = EncodeTime(0, 45, 0);
    const TDateTime now = start + EncodeTime(0, 10, 30);
    EXPECT_EQ(FocusDisplayTexts(1).title, "Focus Ends In:");
    EXPECT_EQ(FocusDisplayTexts(2).link, "Show Focus Start Time");
    EXPECT_EQ(FocusDisplayValue(0, now, start, start + duration, duration), "00:10");
    EXPECT_EQ(FocusDisplayValue(1, now, start, start + duration, duration), "00:35");
    EXPECT_EQ(FocusDisplayValue(2, now, start, start + duration, duration), "09:10");
    EXPECT_EQ(FocusDisplayValue(0, start + duration + 1e-5, start, start + duration, duration), std::nullopt);
    // A scheduled focus first says so and when it ends; the other modes are the same.
    EXPECT_EQ(FocusDisplayTexts(0, true).title, "Scheduled Until:");
    EXPECT_EQ(FocusDisplayValue(0, now, start, start + duration, duration, true), "09:45");
    EXPECT_EQ(FocusDisplayValue(1, now, start, start + duration, duration, true), "00:35");
}

TEST(MainViewRules, FocusDisplayAtTheStartMidwayAndUntilTheEndInEachMode) {
    const TDateTime start = EncodeDate(2024, 3, 10) + EncodeTime(10, 0, 0);
    const TDateTime duration = EncodeTime(0, 30, 0);
    struct Case {
        TDateTime at;
        std::optional<std::string> elapsed, remaining, now;
    };
    const Case cases[] = {
        {start, "00:00", "00:30", "10:00"},
        {start + EncodeTime(0, 14, 59), "00:14", "00:16", "10:14"},
        {start + duration, "00:30", "00:00", "10:30"},
        {start + duration + EncodeTime(0, 0, 1), std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.at - start) * 86400);
        EXPECT_EQ(FocusDisplayValue(0, c.at, start, start + duration, duration), c.elapsed);
        EXPECT_EQ(FocusDisplayValue(1, c.at, start, start + duration, duration), c.remaining);
        EXPECT_EQ(FocusDisplayValue(2, c.at, start, start + duration, duration), c.now);
    }
}

TEST(MainViewRules, ViewHeightPanelLayoutAndPageWrapping) {
    EXPECT_EQ(ViewClientHeight(true, 92 + 46 + 147, 740), 295);
    EXPECT_EQ(ViewClientHeight(false, 285, 740), 740);
    const TTimePanelLayout layout = LayoutTimePanel(8, 80, 40);
    EXPECT_EQ(layout.panelWidth, 154);
    EXPECT_EQ(layout.valueLeft, 94);
    // Back from the first page goes to the last, Next from the last to the first.
    EXPECT_EQ(StepPage(0, -1, 3), 2);
    EXPECT_EQ(StepPage(1, -1, 3), 0);
    EXPECT_EQ(StepPage(1, +1, 3), 2);
    EXPECT_EQ(StepPage(2, +1, 3), 0);
}

TEST(MainViewRules, RowColoursAndColumns) {
    EXPECT_EQ(RowBackground(0, false), (RgbColor{255, 255, 255}));
    EXPECT_EQ(RowBackground(3, false), (RgbColor{241, 241, 241}));
    EXPECT_EQ(RowBackground(2, true), std::nullopt);
    EXPECT_EQ(RowTextColor(false, false), kInactiveRowTextColor);
    EXPECT_EQ(RowTextColor(false, true), std::nullopt);
    EXPECT_EQ(RowTextColor(true, false), std::nullopt);

    const TRowColumns c = RowColumns({0, 16, 290, 32}, 171, 42);
    EXPECT_EQ(c.name, (IntRect{0, 16, 163, 32}));
    EXPECT_EQ(c.type, (IntRect{165, 16, 207, 32}));
    EXPECT_EQ(c.time, (IntRect{209, 16, 290, 32}));
    EXPECT_EQ(c.nameText, (IntRect{2, 16, 161, 32}));
    EXPECT_EQ(c.typeText, (IntRect{167, 16, 205, 32}));
    EXPECT_EQ(c.timeText, (IntRect{211, 16, 288, 32}));

    TMonitoredItem item;
    item.Caption = "Notepad";
    item.ItemType = mitWebSite;
    item.Seconds = 20 * 60 + 59;
    const TRowTexts texts = RowTexts(item);
    EXPECT_EQ(texts.name, "Notepad");
    EXPECT_EQ(texts.type, "Web");
    EXPECT_EQ(texts.time, "00:20");
}

TEST(MainViewRules, ReminderPeriodsAndTheirCheckMarks) {
    EXPECT_EQ(ReminderPeriodOfIndex(-1), 0);
    EXPECT_EQ(ReminderPeriodOfIndex(1), 1);
    EXPECT_EQ(ReminderPeriodOfIndex(2), 2);
    EXPECT_EQ(ReminderPeriodOfIndex(3), 0);
    EXPECT_FALSE(HasReminderText(" \t\r\n "));
    EXPECT_TRUE(HasReminderText("  read  "));
}

TEST(MainViewRules, DeleteStepsAndTheirTexts) {
    TMonitoredItem item;
    EXPECT_EQ(DeleteStepFor(nullptr), TDeleteStep::Nothing);
    EXPECT_EQ(DeleteStepFor(&item), TDeleteStep::Confirm);
    item.Active = false;
    EXPECT_EQ(DeleteStepFor(&item), TDeleteStep::PendingNotice);
    // A caption with quotes, a placeholder and a percent is inserted as it is.
    EXPECT_EQ(FormatWithCaption(kDeleteConfirmFormat, "Say \"hi\" %s 100%"),
              "Are you sure you want to delete \"Say \"hi\" %s 100%\" from your time-limit list?");
    EXPECT_EQ(FormatWithCaption(kPendingRemovalFormat, "Notepad"),
              "\"Notepad\" will be removed from time-limit list after 4:00 AM");
}

}  // namespace
}  // namespace vh
