#pragma once
// Rules of the main window that need no window: the time and focus displays,
// the view height and page stepping, the drawing of a time-limit list row,
// the reminder period choice and the texts of removing an entry.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/DateTime.h"
#include "ui/Geometry.h"

namespace vh {

class TMonitoredItem;

// The three modes of the time display and of the focus display; the link
// advances 0 -> 1 -> 2 -> 0.
inline constexpr int kDisplayModeCount = 3;
int NextDisplayMode(int mode) noexcept;

struct TDisplayTexts {
    std::string title;  // with its colon
    std::string link;
};
// 0 "Time on List", 1 "Time to Limit", 2 "Time Now".
TDisplayTexts TimeDisplayTexts(int mode);
// 0 "Focus Started", 1 "Focus Ends In", 2 "Time Now"; a scheduled focus
// says so in mode 0: "Scheduled Until", its end.
TDisplayTexts FocusDisplayTexts(int mode, bool scheduled = false);

// The value of the time display: whole minutes used ("hh:nn"), what is left
// of the limit (never below "00:00"), or the clock's time ("hh:nn AM/PM").
std::string TimeDisplayValue(int mode, std::int32_t secondsOnList, std::int32_t timeLimitSeconds, TDateTime now);
// The value of the focus display; none once the focus end has passed.
std::optional<std::string> FocusDisplayValue(int mode, TDateTime now, TDateTime focusStart, TDateTime focusEnd,
                                             TDateTime focusDuration, bool scheduled = false);
// "hh:nn AM/PM" on a twelve-hour clock: midnight is 12:00 AM, noon 12:00 PM.
std::string FormatTimeAmPm(TDateTime time);

// The panel behind the time display follows its title and value widths.
struct TTimePanelLayout {
    int panelWidth = 0;
    int valueLeft = 0;
};
TTimePanelLayout LayoutTimePanel(int titleLeft, int titleWidth, int valueWidth) noexcept;

// The client height of a view: the lite view ends 10 pixels below the
// reminder panel, the others take the work area's height.
int ViewClientHeight(bool lite, int reminderPanelBottom, int workAreaHeight) noexcept;
// Back (-1) and Next (+1) through `count` pages, wrapping at both ends.
int StepPage(int index, int delta, int count) noexcept;

inline constexpr RgbColor kRowGridColor{212, 212, 212};
inline constexpr RgbColor kInactiveRowTextColor{128, 128, 128};
// An unselected row's background alternates white and light grey; a
// selected row keeps the list's selection colour (none here).
std::optional<RgbColor> RowBackground(int index, bool selected) noexcept;
// An unselected inactive entry is grey; otherwise the list's own colour.
std::optional<RgbColor> RowTextColor(bool selected, bool active) noexcept;

struct TRowColumns {
    IntRect name, type, time;              // cells, each with a grid line at its right edge
    IntRect nameText, typeText, timeText;  // inset by 2 left and right
};
// The name column is as wide as its header less 8, the type column as its
// header, each following the previous one 2 pixels on; time takes the rest.
TRowColumns RowColumns(IntRect row, int nameHeaderWidth, int typeHeaderWidth) noexcept;
// The three texts of an entry's row: caption, "App"/"Web", "hh:nn".
struct TRowTexts {
    std::string name, type, time;
};
TRowTexts RowTexts(const TMonitoredItem& item);
// A row as a screen reader says it: its shown texts, the empty ones left
// out, joined by commas ("YouTube, Web, 01:20").
std::string RowAccessibleName(const TRowTexts& texts);

// Reminder periods by the index chosen in the period box: 1 afternoon,
// 2 evening, anything else morning.
int ReminderPeriodOfIndex(int index) noexcept;
// A period gets the check mark when its text is not blank.
bool HasReminderText(std::string_view text);

// What the delete button does for the selected row's entry (none for no
// selection or a blank row).
enum class TDeleteStep { Nothing, PendingNotice, Confirm };
TDeleteStep DeleteStepFor(const TMonitoredItem* rowItem) noexcept;

inline constexpr char kDeleteConfirmFormat[] = "Are you sure you want to delete \"%s\" from your time-limit list?";
inline constexpr char kPendingRemovalFormat[] = "\"%s\" will be removed from time-limit list after 4:00 AM";
// The format with the caption in place of its one "%s"; the caption is
// inserted as it is, whatever it contains ("%", quotes).
std::string FormatWithCaption(std::string_view format, std::string_view caption);

}  // namespace vh
