// The tolerant reader of the locale's date-times over any text, under the
// day-month-year and month-day-year orders: a date it accepts is one the
// calendar has, and reading it written back gives it again.

#include <cmath>
#include <cstdint>
#include <string_view>

#include "storage/DateTimeText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vh::TDateTimeTextFormat dayFirst;
    vh::TDateTimeTextFormat monthFirst;
    monthFirst.ShortDateFormat = "m/d/yyyy";
    monthFirst.LongTimeFormat = "h:nn:ss ampm";
    for (const auto& format : {dayFirst, monthFirst}) {
        const auto value = vh::TextToDateTime(text, format);
        if (!value) continue;
        if (!std::isfinite(*value)) __builtin_trap();
        const auto again = vh::TextToDateTime(vh::DateTimeToText(*value, format), format);
        if (!again || std::fabs(*again - *value) > 1.0 / 86400) __builtin_trap();
    }
    return 0;
}
