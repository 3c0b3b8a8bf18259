#include "storage/DateTimeText.h"

#include <cctype>
#include <vector>

#include "common/Exceptions.h"
#include "common/StringUtils.h"

namespace vh {

namespace {

std::string Padded(int value, int width) {
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
    return text;
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool HasTwelveHourMarker(std::string_view pattern) {
    const std::string lower = AsciiLowerCase(pattern);
    return lower.find("am/pm") != std::string::npos || lower.find("a/p") != std::string::npos ||
           lower.find("ampm") != std::string::npos;
}

// The order in which the pattern names year, month and day ('y', 'm', 'd').
std::string DateOrder(std::string_view pattern) {
    std::string order;
    char quote = 0;
    for (char c : pattern) {
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            continue;
        }
        const char l = Lower(c);
        if ((l == 'y' || l == 'm' || l == 'd') && order.find(l) == std::string::npos) order += l;
    }
    return order.size() == 3 ? order : std::string("dmy");
}

struct Tokens {
    std::vector<std::string> numbers;
    int marker = 0;  // 0 none, 1 AM, 2 PM
};

std::optional<Tokens> Tokenize(std::string_view text) {
    Tokens tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::isdigit(c)) {
            std::size_t j = i;
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
            if (j - i > 9) return std::nullopt;
            tokens.numbers.emplace_back(text.substr(i, j - i));
            i = j;
        } else if (std::isalpha(c)) {
            std::size_t j = i;
            while (j < text.size() && std::isalpha(static_cast<unsigned char>(text[j]))) ++j;
            const std::string word = AsciiLowerCase(text.substr(i, j - i));
            if (tokens.marker != 0) return std::nullopt;
            if (word == "am" || word == "a")
                tokens.marker = 1;
            else if (word == "pm" || word == "p")
                tokens.marker = 2;
            else
                return std::nullopt;
            i = j;
        } else {
            ++i;
        }
    }
    return tokens;
}

std::optional<TDateTime> DateInOrder(const std::vector<std::string>& numbers, std::string_view order) {
    int year = 0, month = 0, day = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        const int value = std::stoi(numbers[k]);
        switch (order[k]) {
            case 'y':
                year = value;
                if (numbers[k].size() <= 2) year += value < 50 ? 2000 : 1900;
                break;
            case 'm': month = value; break;
            default: day = value; break;
        }
    }
    try {
        return EncodeDate(year, month, day);
    } catch (const Exception&) {
        return std::nullopt;
    }
}

}  // namespace

std::string FormatDateTimePattern(TDateTime value, std::string_view pattern, const TDateTimeTextFormat& format) {
    const DateTimeParts p = DecodeDateTime(value);
    const bool twelveHour = HasTwelveHourMarker(pattern);
    std::string text;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        const char l = Lower(c);
        const std::string_view rest = pattern.substr(i);
        if (c == '\'' || c == '"') {
            const std::size_t end = pattern.find(c, i + 1);
            const std::size_t stop = end == std::string_view::npos ? pattern.size() : end;
            text.append(pattern.substr(i + 1, stop - i - 1));
            i = stop == pattern.size() ? stop : stop + 1;
            continue;
        }
        if (l == 'a') {
            const bool pm = p.hour >= 12;
            std::size_t used = 0;
            for (std::string_view marker : {"am/pm", "ampm", "a/p"}) {
                if (AsciiLowerCase(rest.substr(0, marker.size())) == marker) {
                    used = marker.size();
                    text += marker == "a/p" ? (pm ? "P" : "A") : (pm ? "PM" : "AM");
                    break;
                }
            }
            if (used == 0) {
                text += c;
                used = 1;
            }
            i += used;
            continue;
        }
        std::size_t run = 1;
        while (i + run < pattern.size() && Lower(pattern[i + run]) == l) ++run;
        const int width = run >= 2 ? 2 : 1;
        switch (l) {
            case 'y': text += run <= 2 ? Padded(p.year % 100, 2) : Padded(p.year, 4); break;
            case 'm': text += Padded(p.month, width); break;
            case 'd': text += Padded(p.day, width); break;
            case 'h': text += Padded(twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour, width); break;
            case 'n': text += Padded(p.minute, width); break;
            case 's': text += Padded(p.second, width); break;
            case 'z': text += Padded(p.millisecond, run >= 3 ? 3 : 1); break;
            default:
                for (std::size_t k = 0; k < run; ++k) {
                    if (c == '/')
                        text += format.DateSeparator;
                    else if (c == ':')
                        text += format.TimeSeparator;
                    else
                        text += c;
                }
                break;
        }
        i += run;
    }
    return text;
}

std::string DateTimeToText(TDateTime value, const TDateTimeTextFormat& format) {
    std::string text = FormatDateTimePattern(value, format.ShortDateFormat, format);
    const DateTimeParts p = DecodeDateTime(value);
    if (p.hour != 0 || p.minute != 0 || p.second != 0 || p.millisecond != 0) {
        text += ' ';
        text += FormatDateTimePattern(value, format.LongTimeFormat, format);
    }
    return text;
}

std::optional<TDateTime> TextToDateTime(std::string_view text, const TDateTimeTextFormat& format) {
    const std::optional<Tokens> tokens = Tokenize(text);
    if (!tokens) return std::nullopt;
    const std::vector<std::string>& n = tokens->numbers;
    if (n.size() != 3 && (n.size() < 5 || n.size() > 7)) return std::nullopt;
    if (n.size() == 3 && tokens->marker != 0) return std::nullopt;

    int hour = 0, minute = 0, second = 0, millisecond = 0;
    if (n.size() >= 5) {
        hour = std::stoi(n[3]);
        minute = std::stoi(n[4]);
        if (n.size() >= 6) second = std::stoi(n[5]);
        if (n.size() == 7) millisecond = std::stoi(n[6]);
        if (tokens->marker != 0) {
            if (hour < 1 || hour > 12) return std::nullopt;
            hour = hour % 12 + (tokens->marker == 2 ? 12 : 0);
        }
    }
    TDateTime time = 0;
    try {
        time = EncodeTime(hour, minute, second, millisecond);
    } catch (const Exception&) {
        return std::nullopt;
    }

    std::vector<std::string> orders{DateOrder(format.ShortDateFormat)};
    for (const char* order : {"ymd", "dmy", "mdy"})
        if (orders.front() != order) orders.emplace_back(order);
    for (const std::string& order : orders)
        if (const std::optional<TDateTime> date = DateInOrder(n, order)) return *date + time;
    return std::nullopt;
}

}  // namespace vh
