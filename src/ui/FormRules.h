#pragma once
// Rules of the base form that need no window: transparency, header drag
// clamping, list padding, the warning's size and the check of a time-limit
// entry.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/DateTime.h"
#include "ui/Geometry.h"

namespace vh {

struct FormTransparency {
    std::uint8_t alpha = 255;
    bool alphaBlend = false;  // on exactly when alpha < 255
};

// alpha = 255 - round(percent * 255 / 100), ties to even. A percentage
// outside 0..100 is clamped into it (never a wrapped alpha).
FormTransparency TransparencyFromPercent(int percent) noexcept;

// The window's new top-left for a header drag: negatives become 0, and a
// window reaching past the work area's width or height is pulled back so it
// ends there. Only the work area's size counts, not its origin. A window
// larger than the work area stays at 0, so its header stays reachable.
IntPoint ClampDragPosition(IntPoint wanted, IntSize window, IntSize workArea) noexcept;

// Blank rows to append so an owner-drawn list paints its row pattern down to
// the bottom: trunc((listHeight - 2) / itemHeight) less the filled items and
// the blank rows already there (so padding twice adds nothing), or 0. An
// item height below 1 gives 0.
int BlankRowsToPad(int listHeight, int itemHeight, int filledItems, int blankItems = 0) noexcept;

// The warning dialog around its message: the message's widest line widens
// it from 352 up to a cap (a file's path on one line), longer lines wrap,
// and every further line moves the OK button down and grows the window.
// A message of up to two short lines keeps the designed size.
struct WarningLayout {
    IntSize client;
    IntRect message;
    IntRect ok;
};
inline constexpr int kWarningMessageWidth = 339;
inline constexpr int kWarningMessageMaxWidth = 720;
// The width the message is wrapped at, from its widest line unwrapped.
int WarningMessageWidth(int widestLine) noexcept;
// `message`: the wrapped message's size at that width.
WarningLayout LayOutWarning(IntSize message) noexcept;

// The result of checking the text of an "hh:nn" time-limit edit.
struct TimeLimitCheck {
    bool accepted = false;
    TDateTime time = 0.0;  // the limit as a day fraction, when accepted
    std::string message;   // the warning to show, when refused
};

// Accepts 00:01 to 23:59 (hours 0-23, two-digit minutes, optional seconds);
// blanks around the text are ignored.
TimeLimitCheck CheckTimeLimitText(std::string_view text);

}  // namespace vh

namespace vh {

// The percentages the transparency dialog offers, in its order.
inline constexpr int kTransparencyChoices[] = {0, 5, 10, 15, 20, 25, 30, 40, 50, 60, 70, 80, 90};
// The item showing `percent`, or the first ("0") for a value not offered.
int TransparencyChoiceIndex(int percent) noexcept;

}  // namespace vh
