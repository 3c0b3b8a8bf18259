#include "storage/FloatText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vh {

std::string FloatToGeneralText(double value, std::string_view decimalSeparator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";

    // 15 significant digits, rounded by the C library, and their exponent.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string digits;
    const char* p = buffer;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    const int exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            text += '0';
            text += decimalSeparator;
            text.append(static_cast<std::size_t>(-exponent - 1), '0');
            text += digits;
        } else {
            const auto whole = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= whole) {
                text += digits;
                text.append(whole - digits.size(), '0');
            } else {
                text += digits.substr(0, whole);
                text += decimalSeparator;
                text += digits.substr(whole);
            }
        }
        return text;
    }
    text += digits[0];
    if (digits.size() > 1) {
        text += decimalSeparator;
        text += digits.substr(1);
    }
    text += 'E';
    text += std::to_string(exponent);
    return text;
}

}  // namespace vh
