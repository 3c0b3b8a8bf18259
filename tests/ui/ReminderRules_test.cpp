#include "ui/ReminderRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/DateTime.h"
#include "model/DayRules.h"

namespace vh {
namespace {

TEST(ReminderMessage, FocusModeWinsOverEveryExpirationAction) {
    for (TExpirationAction action : {eaReminderOnly, eaCloseBrowserApp, eaShutdownComputer}) {
        const std::string text = ReminderMessageText(true, action);
        EXPECT_EQ(text.rfind("You have chosen to focus without interruptions for a while.  Here's", 0), 0u) << action;
        EXPECT_NE(text.find("will be closing shortly."), std::string::npos);
    }
}

TEST(ReminderMessage, EachExpirationActionHasItsOwnTextWithItsBlanksKept) {
    const std::string reminderOnly = ReminderMessageText(false, eaReminderOnly);
    const std::string close = ReminderMessageText(false, eaCloseBrowserApp);
    const std::string shutdown = ReminderMessageText(false, eaShutdownComputer);
    EXPECT_NE(reminderOnly.find("Here's a reminder of  your tasks"), std::string::npos);
    EXPECT_NE(reminderOnly.find("until 0400 tomorrow or continue."), std::string::npos);
    EXPECT_NE(close.find("will be closing in 60 seconds."), std::string::npos);
    EXPECT_EQ(close.find("  "), std::string::npos);
    EXPECT_NE(shutdown.find("The computer will be shutting down in 60 seconds."), std::string::npos);
    EXPECT_EQ(shutdown.find("  "), std::string::npos);
    // An action outside the three reads as "Reminder Only".
    EXPECT_EQ(ReminderMessageText(false, static_cast<TExpirationAction>(7)), reminderOnly);
}

TEST(ReminderMessage, OnlyReminderOnlyOutsideFocusOffersAChoice) {
    EXPECT_TRUE(ReminderOffersChoice(false, eaReminderOnly));
    EXPECT_FALSE(ReminderOffersChoice(true, eaReminderOnly));
    EXPECT_FALSE(ReminderOffersChoice(false, eaCloseBrowserApp));
    EXPECT_FALSE(ReminderOffersChoice(false, eaShutdownComputer));
}

TEST(ReminderLayout, HeightAndShiftFollowThePeriodOfTheProgramTime) {
    struct Case {
        int hour, minute, height, shift;
    };
    // Labels at 100, 220 and 338: the evening moves up by the distance to the
    // evening label, the afternoon by the distance to the afternoon label.
    for (const Case& c : std::vector<Case>{{4, 0, 533, 0},
                                           {11, 59, 533, 0},
                                           {12, 0, 413, 120},
                                           {17, 59, 413, 120},
                                           {18, 0, 295, 238},
                                           {3, 59, 295, 238},
                                           {0, 0, 295, 238}}) {
        const TReminderType period = ReminderPeriodOf(EncodeTime(c.hour, c.minute, 0, 0));
        EXPECT_EQ(ReminderHeight(period), c.height) << c.hour << ":" << c.minute;
        EXPECT_EQ(ReminderLayoutShift(period, 100, 220, 338), c.shift) << c.hour << ":" << c.minute;
    }
}

TEST(ReminderCountdown, ShowsOneMinuteDownToOneSecondThenCloses) {
    int seconds = kReminderCountdownSeconds;
    std::vector<std::string> shown;
    int ticks = 0;
    for (;;) {
        ++ticks;
        const TCountdownTick tick = CountdownTick(seconds, 1000);
        if (tick.close) break;
        shown.push_back(tick.text);
        ASSERT_LT(ticks, 100) << "the countdown never ends";
    }
    ASSERT_EQ(shown.size(), 60u);
    EXPECT_EQ(shown.front(), "01:00");
    EXPECT_EQ(shown[1], "00:59");
    EXPECT_EQ(shown[50], "00:10");
    EXPECT_EQ(shown.back(), "00:01");
    // The first tick runs at once, so the window closes on the 61st: about
    // 61 seconds after it appeared.
    EXPECT_EQ(ticks, 61);
    EXPECT_EQ(seconds, 0);
    EXPECT_TRUE(CountdownTick(seconds, 1000).close);
}

TEST(ReminderCountdown, TextsOfLongAndNegativeValues) {
    EXPECT_EQ(CountdownText(0), "00:00");
    EXPECT_EQ(CountdownText(59), "00:59");
    EXPECT_EQ(CountdownText(6000), "100:00");
    EXPECT_EQ(CountdownText(-5), "00:00");
    int negative = -3;
    EXPECT_TRUE(CountdownTick(negative, 1000).close);
}

}  // namespace
}  // namespace vh
