#pragma once
// The running focus period, kept in section "Common" of the INI file so that
// ending the program (or a crash, or a reboot) does not end a mode the user
// was told cannot be stopped. The daily reset leaves these keys alone.

#include <optional>
#include <string_view>

#include "common/DateTime.h"

namespace vh {

class TIniFile;

struct TFocusPeriod {
    TDateTime Start = 0;
    TDateTime End = 0;
};

inline constexpr std::string_view kFocusStartKey = "FocusStartTime";
inline constexpr std::string_view kFocusEndKey = "FocusEndTime";

// Whether a key of section "Common" outlives the daily reset.
bool IsFocusPeriodKey(std::string_view key) noexcept;

// Both moments as "yyyy-mm-dd hh:nn:ss.zzz", independent of the locale.
void WriteFocusPeriod(TIniFile& ini, const TFocusPeriod& period);
// None when either key is missing or does not hold a date-time.
std::optional<TFocusPeriod> ReadFocusPeriod(const TIniFile& ini);

}  // namespace vh
