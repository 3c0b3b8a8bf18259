#pragma once
// TDateTime: days since 30 December 1899 as a double; the fraction is the
// time of day. Only dates after 1899-12-30 are used, so the whole part is the
// date and the fraction the time, as in the stored formats.

#include <cstdint>

namespace vh {

using TDateTime = double;

inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kMinutesPerDay = 1440.0;

struct DateTimeParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Raises vh::Exception for an invalid date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);
TDateTime EncodeDateTime(const DateTimeParts& parts);

// Decodes to the nearest millisecond.
DateTimeParts DecodeDateTime(TDateTime value);

TDateTime DateOf(TDateTime value);  // midnight of the value's day
TDateTime TimeOf(TDateTime value);  // time of day as a fraction

bool IsLeapYear(int year) noexcept;
int DaysInMonth(int year, int month);

// The same day and time `months` calendar months later; the day is clamped to
// the target month's length (31 January + 1 month = 28 or 29 February).
TDateTime IncMonth(TDateTime value, int months);

// Day fraction from whole seconds and back (rounded half to even).
TDateTime SecondsToDays(std::int64_t seconds) noexcept;

}  // namespace vh
