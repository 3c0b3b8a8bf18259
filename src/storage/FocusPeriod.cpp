#include "storage/FocusPeriod.h"

#include <string>

#include "common/StringUtils.h"
#include "environment/IniFile.h"
#include "storage/DateTimeText.h"
#include "storage/Options.h"

namespace vh {
namespace {

// Milliseconds kept, so the restored duration is the chosen one.
constexpr char kPattern[] = "yyyy-mm-dd hh:nn:ss.zzz";

std::optional<TDateTime> ReadMoment(const TIniFile& ini, std::string_view key) {
    const std::string text = ini.ReadString(kCommonSection, key, "");
    if (text.empty()) return std::nullopt;
    return TextToDateTime(text, TDateTimeTextFormat{});
}

}  // namespace

bool IsFocusPeriodKey(std::string_view key) noexcept {
    return SameTextAscii(key, kFocusStartKey) || SameTextAscii(key, kFocusEndKey);
}

void WriteFocusPeriod(TIniFile& ini, const TFocusPeriod& period) {
    const TDateTimeTextFormat format;
    ini.WriteString(kCommonSection, kFocusStartKey, FormatDateTimePattern(period.Start, kPattern, format));
    ini.WriteString(kCommonSection, kFocusEndKey, FormatDateTimePattern(period.End, kPattern, format));
}

std::optional<TFocusPeriod> ReadFocusPeriod(const TIniFile& ini) {
    const std::optional<TDateTime> start = ReadMoment(ini, kFocusStartKey);
    const std::optional<TDateTime> end = ReadMoment(ini, kFocusEndKey);
    if (!start || !end) return std::nullopt;
    return TFocusPeriod{*start, *end};
}

}  // namespace vh
