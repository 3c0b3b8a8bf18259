#include "common/DateTime.h"

#include <cmath>
#include <string>

#include "common/Exceptions.h"

namespace vh {

namespace {

// Days between 1899-12-30 and 1970-01-01.
constexpr std::int64_t kUnixEpochDays = 25569;

// Howard Hinnant's days-from-civil: proleptic Gregorian, days since 1970-01-01.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) noexcept {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) noexcept {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

}  // namespace

bool IsLeapYear(int year) noexcept {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) throw Exception("Invalid month " + std::to_string(month));
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

TDateTime EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        throw Exception("Invalid argument to date encode");
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               kUnixEpochDays);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        throw Exception("Invalid argument to time encode");
    const double ms = ((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond;
    return ms / (kSecondsPerDay * 1000.0);
}

TDateTime EncodeDateTime(const DateTimeParts& p) {
    return EncodeDate(p.year, p.month, p.day) + EncodeTime(p.hour, p.minute, p.second, p.millisecond);
}

DateTimeParts DecodeDateTime(TDateTime value) {
    // Work in whole milliseconds so 23:59:59.9996 rolls into the next day
    // instead of showing 24:00.
    const auto totalMs = static_cast<std::int64_t>(std::llround(value * kSecondsPerDay * 1000.0));
    std::int64_t days = totalMs / 86'400'000;
    std::int64_t msOfDay = totalMs % 86'400'000;
    if (msOfDay < 0) {
        msOfDay += 86'400'000;
        --days;
    }
    DateTimeParts p;
    CivilFromDays(days - kUnixEpochDays, p.year, p.month, p.day);
    p.hour = static_cast<int>(msOfDay / 3'600'000);
    p.minute = static_cast<int>(msOfDay / 60'000 % 60);
    p.second = static_cast<int>(msOfDay / 1000 % 60);
    p.millisecond = static_cast<int>(msOfDay % 1000);
    return p;
}

TDateTime DateOf(TDateTime value) {
    return std::trunc(value);
}

TDateTime TimeOf(TDateTime value) {
    return value - std::trunc(value);
}

TDateTime IncMonth(TDateTime value, int months) {
    const TDateTime time = TimeOf(value);
    DateTimeParts p = DecodeDateTime(DateOf(value));
    int monthIndex = p.year * 12 + (p.month - 1) + months;
    int year = monthIndex / 12;
    int month = monthIndex % 12 + 1;
    int day = p.day;
    if (day > DaysInMonth(year, month)) day = DaysInMonth(year, month);
    return EncodeDate(year, month, day) + time;
}

TDateTime SecondsToDays(std::int64_t seconds) noexcept {
    return static_cast<double>(seconds) / kSecondsPerDay;
}

}  // namespace vh
