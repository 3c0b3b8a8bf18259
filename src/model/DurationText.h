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

}  // namespace vh
