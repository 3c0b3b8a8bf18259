#include "model/DurationText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vh {

std::string FormatHHNN(TDateTime duration, TMinuteRounding rounding) {
    const double minutes = std::max(0.0, duration) * kMinutesPerDay;
    // Down: a hair of tolerance so that 08:00 read back from seconds stays 08:00.
    const double whole = rounding == TMinuteRounding::Nearest ? std::round(minutes) : std::floor(minutes + 1e-6);
    const auto value = static_cast<long long>(whole);
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld", value / 60, value % 60);
    return text;
}

TDateTime TimeOnListDisplay(std::int32_t secondsOnList) {
    return (secondsOnList / 60) / kMinutesPerDay;
}

TDateTime TimeToLimitDisplay(std::int32_t timeLimitSeconds, std::int32_t secondsOnList) {
    const TDateTime left = timeLimitSeconds / kSecondsPerDay - TimeOnListDisplay(secondsOnList);
    return left < 0 ? 0 : left;
}

}  // namespace vh
