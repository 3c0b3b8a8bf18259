#pragma once
// Rules of the reminder window that need no window: its message, whether it
// offers a choice or counts down, its height and layout by the period of the
// day, and the countdown.

#include <string>

#include "model/OptionsEnums.h"

namespace vh {

// Seconds the reminder counts down before it closes itself.
inline constexpr int kReminderCountdownSeconds = 60;

// The message: the focus text in focus mode, else the one of the expiration
// action.
std::string ReminderMessageText(bool focusMode, TExpirationAction expirationAction);

// A reminder offers the action list (and no countdown) only for "Reminder
// Only" outside focus mode.
bool ReminderOffersChoice(bool focusMode, TExpirationAction expirationAction) noexcept;

// The window's height for a reminder period (morning, afternoon,
// evening): 533, 413, 295.
int ReminderHeight(TReminderType period) noexcept;

// How far the controls below the period groups move up: in the afternoon the
// morning group goes, in the evening the morning and afternoon groups.
// The arguments are the tops of the three period labels.
int ReminderLayoutShift(TReminderType period, int morningTop, int afternoonTop, int eveningTop) noexcept;

// "nn:ss" of a number of seconds (minutes not limited to 59).
std::string CountdownText(int seconds);

// One tick of the countdown shared by the reminder windows. While seconds
// are left it shows them and counts one tick down; at 0 the window closes.
struct TCountdownTick {
    bool close = false;
    std::string text;  // what the time label shows now; empty when closing
};
TCountdownTick CountdownTick(int& secondsLeft, unsigned intervalMilliseconds);

}  // namespace vh
