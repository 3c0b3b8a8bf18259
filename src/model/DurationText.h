#pragma once
// "hh:nn" of a day fraction. Callers name the rounding: a limit the user
// typed is shown as the nearest minute, time still left is never rounded up.

#include <cstdint>
#include <string>

#include "common/DateTime.h"

namespace vh {

enum class TMinuteRounding : std::uint8_t {
    Nearest,
    Down,
};

// Below zero is "00:00"; hours go past 23 for a day or more.
std::string FormatHHNN(TDateTime duration, TMinuteRounding rounding);

// Time on the list for display: whole minutes, as a day fraction.
TDateTime TimeOnListDisplay(std::int32_t secondsOnList);
// Time left to the limit for display, never below zero.
TDateTime TimeToLimitDisplay(std::int32_t timeLimitSeconds, std::int32_t secondsOnList);

}  // namespace vh
