#include "ui/MainViewRules.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "common/StringUtils.h"
#include "model/DurationText.h"
#include "model/MonitoredObjects.h"

namespace vh {
namespace {

int ValidMode(int mode) noexcept {
    return mode >= 0 && mode < kDisplayModeCount ? mode : 0;
}

}  // namespace

int NextDisplayMode(int mode) noexcept {
    return (ValidMode(mode) + 1) % kDisplayModeCount;
}

TDisplayTexts TimeDisplayTexts(int mode) {
    static const std::array<TDisplayTexts, kDisplayModeCount> texts = {{
        {"Time on List:", "Show Time to Limit"},
        {"Time to Limit:", "Show Time Now"},
        {"Time Now:", "Show Time on List"},
    }};
    return texts[static_cast<std::size_t>(ValidMode(mode))];
}

TDisplayTexts FocusDisplayTexts(int mode, bool scheduled) {
    if (scheduled && ValidMode(mode) == 0) return {"Scheduled Until:", "Show Time Left"};
    static const std::array<TDisplayTexts, kDisplayModeCount> texts = {{
        {"Focus Started:", "Show Focus End Time"},
        {"Focus Ends In:", "Show Time Now"},
        {"Time Now:", "Show Focus Start Time"},
    }};
    return texts[static_cast<std::size_t>(ValidMode(mode))];
}

std::string FormatTimeAmPm(TDateTime time) {
    const auto minutes = static_cast<long long>(std::floor(TimeOf(time) * kMinutesPerDay + 1e-6)) % 1440;
    const long long hours = minutes / 60;
    const long long twelve = hours % 12 == 0 ? 12 : hours % 12;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld %s", twelve, minutes % 60, hours < 12 ? "AM" : "PM");
    return text;
}

std::string TimeDisplayValue(int mode, std::int32_t secondsOnList, std::int32_t timeLimitSeconds, TDateTime now) {
    switch (ValidMode(mode)) {
        case 1: return FormatHHNN(TimeToLimitDisplay(timeLimitSeconds, secondsOnList), TMinuteRounding::Down);
        case 2: return FormatTimeAmPm(now);
        default: return FormatHHNN(TimeOnListDisplay(secondsOnList), TMinuteRounding::Down);
    }
}

std::optional<std::string> FocusDisplayValue(int mode, TDateTime now, TDateTime focusStart, TDateTime focusEnd,
                                             TDateTime focusDuration, bool scheduled) {
    if (now > focusEnd) return std::nullopt;
    if (scheduled && ValidMode(mode) == 0)
        return FormatHHNN(TimeOf(focusEnd + 0.5 / kSecondsPerDay), TMinuteRounding::Down);
    const double elapsedMinutes = std::floor((now - focusStart) * kMinutesPerDay + 1e-6);
    switch (ValidMode(mode)) {
        case 1: return FormatHHNN(focusDuration - elapsedMinutes / kMinutesPerDay, TMinuteRounding::Down);
        case 2: return FormatHHNN(TimeOf(now), TMinuteRounding::Down);
        default: return FormatHHNN(elapsedMinutes / kMinutesPerDay, TMinuteRounding::Down);
    }
}

TTimePanelLayout LayoutTimePanel(int titleLeft, int titleWidth, int valueWidth) noexcept {
    return {titleWidth + 34 + valueWidth, titleLeft + titleWidth + 6};
}

int ViewClientHeight(bool lite, int reminderPanelBottom, int workAreaHeight) noexcept {
    return lite ? reminderPanelBottom + 10 : workAreaHeight;
}

int StepPage(int index, int delta, int count) noexcept {
    if (count <= 0) return 0;
    const int next = index + delta;
    if (next < 0) return count - 1;
    if (next >= count) return 0;
    return next;
}

std::optional<RgbColor> RowBackground(int index, bool selected) noexcept {
    if (selected) return std::nullopt;
    return index % 2 == 0 ? RgbColor{255, 255, 255} : RgbColor{241, 241, 241};
}

std::optional<RgbColor> RowTextColor(bool selected, bool active) noexcept {
    if (selected || active) return std::nullopt;
    return kInactiveRowTextColor;
}

TRowColumns RowColumns(IntRect row, int nameHeaderWidth, int typeHeaderWidth) noexcept {
    TRowColumns c;
    c.name = {row.left, row.top, row.left + nameHeaderWidth - 8, row.bottom};
    c.type = {c.name.right + 2, row.top, c.name.right + 2 + typeHeaderWidth, row.bottom};
    c.time = {c.type.right + 2, row.top, row.right, row.bottom};
    const auto inset = [](IntRect r) { return IntRect{r.left + 2, r.top, r.right - 2, r.bottom}; };
    c.nameText = inset(c.name);
    c.typeText = inset(c.type);
    c.timeText = inset(c.time);
    return c;
}

TRowTexts RowTexts(const TMonitoredItem& item) {
    return {item.Caption, item.GetTypeText(), FormatHHNN(item.GetDuration(), TMinuteRounding::Down)};
}

std::string RowAccessibleName(const TRowTexts& texts) {
    std::string spoken;
    for (const std::string* text : {&texts.name, &texts.type, &texts.time}) {
        if (text->empty()) continue;
        if (!spoken.empty()) spoken += ", ";
        spoken += *text;
    }
    return spoken;
}

int ReminderPeriodOfIndex(int index) noexcept {
    return index == 1 || index == 2 ? index : 0;
}

bool HasReminderText(std::string_view text) {
    return !Trim(text).empty();
}

TDeleteStep DeleteStepFor(const TMonitoredItem* rowItem) noexcept {
    if (!rowItem) return TDeleteStep::Nothing;
    return rowItem->Active ? TDeleteStep::Confirm : TDeleteStep::PendingNotice;
}

std::string FormatWithCaption(std::string_view format, std::string_view caption) {
    return ReplaceFirst(format, "%s", caption);
}

}  // namespace vh
