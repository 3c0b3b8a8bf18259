#include "ui/FormRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "common/StringUtils.h"
#include "model/DurationText.h"

namespace vh {
namespace {

constexpr TDateTime kLatestLimit = 1439.0 / 1440.0;

bool AllDigits(std::string_view text) noexcept {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> Number(std::string_view text) {
    if (!AllDigits(text) || text.size() > 2) return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Hours, minutes and optional seconds, each one or two digits.
std::optional<TDateTime> ParseTimeOfDay(std::string_view text) {
    int parts[3] = {0, 0, 0};
    int count = 0;
    while (count < 3) {
        const auto colon = text.find(':');
        const auto value = Number(Trim(text.substr(0, colon)));
        if (!value) return std::nullopt;
        parts[count++] = *value;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
        if (count == 3) return std::nullopt;
    }
    if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
    return (parts[0] * 3600.0 + parts[1] * 60.0 + parts[2]) / kSecondsPerDay;
}

}  // namespace

FormTransparency TransparencyFromPercent(int percent) noexcept {
    percent = std::clamp(percent, 0, 100);
    // percent * 255 / 100 has a fraction of exactly .5 when percent * 255 is
    // 50 mod 100; nearbyint rounds those to even in the default mode.
    const auto rounded = static_cast<int>(std::nearbyint(percent * 255 / 100.0));
    FormTransparency result;
    result.alpha = static_cast<std::uint8_t>(255 - rounded);
    result.alphaBlend = result.alpha < 255;
    return result;
}

IntPoint ClampDragPosition(IntPoint wanted, IntSize window, IntSize workArea) noexcept {
    IntPoint p = wanted;
    if (p.x < 0) p.x = 0;
    if (p.y < 0) p.y = 0;
    if (p.y + window.height > workArea.height) p.y = workArea.height - window.height;
    if (p.x + window.width > workArea.width) p.x = workArea.width - window.width;
    // A window larger than the work area would otherwise be pushed above or
    // left of the screen, taking its header (the only way to move it) along.
    if (p.x < 0) p.x = 0;
    if (p.y < 0) p.y = 0;
    return p;
}

int BlankRowsToPad(int listHeight, int itemHeight, int filledItems, int blankItems) noexcept {
    if (itemHeight < 1) return 0;
    const int rows = (listHeight - 2) / itemHeight;
    return std::max(0, rows - filledItems - blankItems);
}

int WarningMessageWidth(int widestLine) noexcept {
    return std::clamp(widestLine, kWarningMessageWidth, kWarningMessageMaxWidth);
}

WarningLayout LayOutWarning(IntSize message) noexcept {
    constexpr int kLeft = 10, kTop = 45, kMinHeight = 38, kRightMargin = 3;
    constexpr int kGap = 7, kOkWidth = 85, kOkHeight = 32, kBottomMargin = 10;
    const int width = std::clamp(message.width, kWarningMessageWidth, kWarningMessageMaxWidth);
    const int height = std::max(message.height, kMinHeight);
    WarningLayout layout;
    layout.message = {kLeft, kTop, kLeft + width, kTop + height};
    const int okLeft = kLeft + 1 + (width - kOkWidth) / 2;
    const int okTop = layout.message.bottom + kGap;
    layout.ok = {okLeft, okTop, okLeft + kOkWidth, okTop + kOkHeight};
    layout.client = {layout.message.right + kRightMargin, layout.ok.bottom + kBottomMargin};
    return layout;
}

TimeLimitCheck CheckTimeLimitText(std::string_view text) {
    TimeLimitCheck check;
    const auto time = ParseTimeOfDay(Trim(text));
    if (!time) {
        check.message.reserve(text.size() + 24);
        check.message.append("'").append(text).append("' is not a valid time");
    } else if (*time == 0.0) {
        check.message = "Limit can't be empty";
    } else if (*time > kLatestLimit) {
        check.message = "Limit can't be greater than " + FormatHHNN(kLatestLimit, TMinuteRounding::Nearest);
    } else {
        check.accepted = true;
        check.time = *time;
    }
    return check;
}

}  // namespace vh

namespace vh {

int TransparencyChoiceIndex(int percent) noexcept {
    const auto* found = std::find(std::begin(kTransparencyChoices), std::end(kTransparencyChoices), percent);
    return found == std::end(kTransparencyChoices) ? 0 : static_cast<int>(found - std::begin(kTransparencyChoices));
}

}  // namespace vh
