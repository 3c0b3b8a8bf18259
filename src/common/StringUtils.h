#pragma once
// Small text helpers over UTF-8 strings. "ASCII case" means only A-Z/a-z are
// folded; every other byte compares exactly.

#include <string>
#include <string_view>

namespace vh {

std::string AsciiLowerCase(std::string_view text);
std::string AsciiUpperCase(std::string_view text);

// Equal length and equal bytes once A-Z/a-z are folded.
bool SameTextAscii(std::string_view a, std::string_view b) noexcept;

// Case-insensitive ordering (ASCII fold): <0, 0, >0.
int CompareTextAscii(std::string_view a, std::string_view b) noexcept;

// Removes leading and trailing blanks and control characters (bytes <= 0x20).
std::string Trim(std::string_view text);

// Doubles every single quote and encloses the text in single quotes, as SQL
// text literals need.
std::string QuotedSqlString(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix) noexcept;

// The text with the first occurrence of `what` replaced (message placeholders).
std::string ReplaceFirst(std::string_view text, std::string_view what, std::string_view with);

// The text with every bare line feed made CR LF, as Windows edit controls
// keep their lines.
std::string WithWindowsLineBreaks(std::string_view text);

}  // namespace vh
