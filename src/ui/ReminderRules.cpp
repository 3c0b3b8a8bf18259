#include "ui/ReminderRules.h"

#include <cmath>
#include <cstdio>

namespace vh {
namespace {

// Kept exactly as the product has always shown them, double blanks included.
constexpr char kFocusText[] =
    "You have chosen to focus without interruptions for a while.  Here's a reminder of your tasks today. The "
    "distracting sites and applications on your list will be closing shortly.";
constexpr char kReminderOnlyText[] =
    "Sorry but you have now spent your allocated time on your 'sites and applications to watch' list. Here's a "
    "reminder of  your tasks for the rest of the day. You can either block the 'sites and applications' until "
    "0400 tomorrow or continue.";
constexpr char kCloseText[] =
    "Sorry but you have now spent your allocated time on your 'sites and applications to watch' list. Here's a "
    "reminder of your tasks for the rest of the day. The sites and applications on your 'to watch' list will be "
    "closing in 60 seconds. You will not be able to access your 'sites and applications to watch' list until 0400 "
    "tomorrow.";
constexpr char kShutdownText[] =
    "Sorry but you have now spent your allocated time on your 'sites and applications to watch' list. Here's a "
    "reminder of your tasks for the rest of the day. The computer will be shutting down in 60 seconds. You will "
    "not be able to access your 'sites and applications to watch' list until 0400 tomorrow.";

}  // namespace

std::string ReminderMessageText(bool focusMode, TExpirationAction expirationAction) {
    if (focusMode) return kFocusText;
    switch (expirationAction) {
        case eaCloseBrowserApp: return kCloseText;
        case eaShutdownComputer: return kShutdownText;
        default: return kReminderOnlyText;
    }
}

bool ReminderOffersChoice(bool focusMode, TExpirationAction expirationAction) noexcept {
    return expirationAction == eaReminderOnly && !focusMode;
}

int ReminderHeight(TReminderType period) noexcept {
    switch (period) {
        case rtAfternoon: return 413;
        case rtEvening: return 295;
        default: return 533;
    }
}

int ReminderLayoutShift(TReminderType period, int morningTop, int afternoonTop, int eveningTop) noexcept {
    switch (period) {
        case rtAfternoon: return afternoonTop - morningTop;
        case rtEvening: return eveningTop - morningTop;
        default: return 0;
    }
}

std::string CountdownText(int seconds) {
    if (seconds < 0) seconds = 0;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

TCountdownTick CountdownTick(int& secondsLeft, unsigned intervalMilliseconds) {
    // A value that went below zero (never by this rule) still ends the countdown.
    if (secondsLeft <= 0) return {true, std::string()};
    TCountdownTick tick{false, CountdownText(secondsLeft)};
    secondsLeft = static_cast<int>(std::lround(secondsLeft - intervalMilliseconds / 1000.0));
    if (secondsLeft < 0) secondsLeft = 0;
    return tick;
}

}  // namespace vh
