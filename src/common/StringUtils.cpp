#include "common/StringUtils.h"

#include <algorithm>

namespace vh {

namespace {
char LowerAscii(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char UpperAscii(char c) noexcept {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool IsBlankOrControl(char c) noexcept {
    return static_cast<unsigned char>(c) <= 0x20;
}
}  // namespace

std::string AsciiLowerCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), LowerAscii);
    return result;
}

std::string AsciiUpperCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), UpperAscii);
    return result;
}

bool SameTextAscii(std::string_view a, std::string_view b) noexcept {
    return a.size() == b.size() && CompareTextAscii(a, b) == 0;
}

int CompareTextAscii(std::string_view a, std::string_view b) noexcept {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string Trim(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlankOrControl(text[first])) ++first;
    while (last > first && IsBlankOrControl(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

std::string QuotedSqlString(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 2);
    result += '\'';
    for (char c : text) {
        if (c == '\'') result += '\'';
        result += c;
    }
    result += '\'';
    return result;
}

bool StartsWith(std::string_view text, std::string_view prefix) noexcept {
    return text.substr(0, prefix.size()) == prefix;
}

std::string ReplaceFirst(std::string_view text, std::string_view what, std::string_view with) {
    std::string result(text);
    if (auto pos = result.find(what); pos != std::string::npos) result.replace(pos, what.size(), with);
    return result;
}

std::string WithWindowsLineBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
        result += text[i];
    }
    return result;
}

}  // namespace vh
