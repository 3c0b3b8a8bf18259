#pragma once
// Date-times as the user's locale writes them (short date, then long time),
// the form of the reminder moments in the settings table, and a tolerant
// reader for them: a text written under another date format or by an older
// release still reads instead of stopping the program from starting.

#include <optional>
#include <string>
#include <string_view>

#include "common/DateTime.h"

namespace vh {

// Patterns with the letters d, dd, m, mm, yy, yyyy, h, hh, n, nn, s, ss, z, zzz
// and the markers "am/pm", "a/p" and "ampm" (12-hour clock); "/" stands for the
// date separator, ":" for the time separator; text in quotes is literal.
struct TDateTimeTextFormat {
    std::string ShortDateFormat = "dd/mm/yyyy";
    std::string LongTimeFormat = "hh:nn:ss";
    std::string DateSeparator = "/";
    std::string TimeSeparator = ":";
};

std::string FormatDateTimePattern(TDateTime value, std::string_view pattern, const TDateTimeTextFormat& format);

// The short date, then a blank and the long time unless the time is midnight.
std::string DateTimeToText(TDateTime value, const TDateTimeTextFormat& format);

// Reads a date with an optional time (hours and minutes, seconds,
// milliseconds, an AM/PM marker), the fields separated by anything that is no
// digit. The day, month and year are tried in the format's order first, then
// year-month-day (the stored database form), day-month-year and
// month-day-year; the first that gives a valid date wins. nullopt when none does.
std::optional<TDateTime> TextToDateTime(std::string_view text, const TDateTimeTextFormat& format);

}  // namespace vh
