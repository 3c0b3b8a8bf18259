#include "environment/IniFile.h"

#include <charconv>
#include <optional>

#include "common/StringUtils.h"

namespace vh {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string name;   // section or key name, trimmed
    std::string value;  // key value, trimmed and unquoted
};

ParsedLine ParseLine(std::string_view line) {
    ParsedLine result;
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') return result;
    if (trimmed[0] == '[') {
        const size_t close = trimmed.find(']');
        if (close == std::string::npos) return result;
        result.kind = LineKind::Section;
        result.name = Trim(std::string_view(trimmed).substr(1, close - 1));
        return result;
    }
    const size_t equals = trimmed.find('=');
    if (equals == std::string::npos) return result;
    result.name = Trim(std::string_view(trimmed).substr(0, equals));
    if (result.name.empty()) return result;
    result.kind = LineKind::Key;
    result.value = Trim(std::string_view(trimmed).substr(equals + 1));
    const size_t n = result.value.size();
    if (n >= 2 && (result.value[0] == '"' || result.value[0] == '\'') && result.value[n - 1] == result.value[0]) {
        result.value = result.value.substr(1, n - 2);
    }
    return result;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

void CheckSectionName(std::string_view section) {
    if (Trim(section).empty() || Trim(section) != section || HasLineBreak(section) ||
        section.find(']') != std::string_view::npos) {
        throw EIniFileError("Invalid INI section name \"" + std::string(section) + "\"");
    }
}

void CheckKeyName(std::string_view key) {
    if (Trim(key).empty() || Trim(key) != key || HasLineBreak(key) || key.find('=') != std::string_view::npos ||
        key[0] == '[' || key[0] == ';' || key[0] == '#') {
        throw EIniFileError("Invalid INI key name \"" + std::string(key) + "\"");
    }
}

void CheckValue(std::string_view key, std::string_view value) {
    if (HasLineBreak(value)) {
        throw EIniFileError("The value of INI key \"" + std::string(key) + "\" must not contain a line break");
    }
}

}  // namespace

struct TIniFile::Content {
    bool bom = false;
    std::vector<std::string> lines;

    // [begin, end) of the first section of that name (begin is its header), or nullopt.
    std::optional<std::pair<size_t, size_t>> FindSection(std::string_view section) const {
        for (size_t i = 0; i < lines.size(); ++i) {
            const ParsedLine line = ParseLine(lines[i]);
            if (line.kind != LineKind::Section || !SameTextAscii(line.name, section)) continue;
            size_t end = i + 1;
            while (end < lines.size() && ParseLine(lines[end]).kind != LineKind::Section) ++end;
            return std::make_pair(i, end);
        }
        return std::nullopt;
    }

    std::optional<size_t> FindKey(std::string_view section, std::string_view key) const {
        const auto range = FindSection(section);
        if (!range) return std::nullopt;
        for (size_t i = range->first + 1; i < range->second; ++i) {
            const ParsedLine line = ParseLine(lines[i]);
            if (line.kind == LineKind::Key && SameTextAscii(line.name, key)) return i;
        }
        return std::nullopt;
    }
};

TIniFile::TIniFile(std::string fileName, IEnvironmentPlatform& platform)
    : fileName_(std::move(fileName)), platform_(platform) {}

TIniFile::Content TIniFile::Load() const {
    Content content;
    std::optional<std::string> text = platform_.ReadWholeFile(fileName_);
    if (!text) return content;
    std::string_view rest = *text;
    if (rest.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        content.bom = true;
        rest.remove_prefix(kUtf8Bom.size());
    }
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        content.lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    return content;
}

void TIniFile::Save(const Content& content) {
    std::string text;
    if (content.bom) text += kUtf8Bom;
    for (const std::string& line : content.lines) {
        text += line;
        text += "\r\n";
    }
    const std::string temporary = TemporaryFileName();
    try {
        platform_.WriteNewFile(temporary, text);
        platform_.ReplaceFileAtomically(temporary, fileName_);
    } catch (const std::exception& e) {
        platform_.RemoveFile(temporary);
        throw EIniFileError("Unable to write \"" + fileName_ + "\": " + e.what());
    }
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
    const Content content = Load();
    const auto index = content.FindKey(section, key);
    if (!index) return std::string(defaultValue);
    return ParseLine(content.lines[*index]).value;
}

bool ParseIniInteger(std::string_view text, std::int32_t& value) noexcept {
    const std::string trimmed = Trim(text);
    std::string_view digits = trimmed;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
        std::uint32_t bits = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
        if (error != std::errc() || end != digits.data() + digits.size()) return false;
        value = static_cast<std::int32_t>(bits);  // 0xFFFFFFFF is -1, as colour values are stored
        return true;
    }
    if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
    std::int32_t parsed = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed, 10);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return false;
    value = parsed;
    return true;
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
    std::int32_t value = defaultValue;
    if (!ParseIniInteger(ReadString(section, key, ""), value)) return defaultValue;
    return value;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    CheckSectionName(section);
    CheckKeyName(key);
    CheckValue(key, value);
    Content content = Load();
    const std::string line = std::string(key) + "=" + std::string(value);
    if (const auto index = content.FindKey(section, key)) {
        content.lines[*index] = line;
    } else if (const auto range = content.FindSection(section)) {
        // After the section's last non-blank line, so blank separators stay between sections.
        size_t at = range->second;
        while (at > range->first + 1 && Trim(content.lines[at - 1]).empty()) --at;
        content.lines.insert(content.lines.begin() + static_cast<std::ptrdiff_t>(at), line);
    } else {
        std::string header(1, '[');
        header.append(section).push_back(']');
        content.lines.push_back(std::move(header));
        content.lines.push_back(line);
    }
    Save(content);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
    Content content = Load();
    const auto index = content.FindKey(section, key);
    if (!index) return;
    content.lines.erase(content.lines.begin() + static_cast<std::ptrdiff_t>(*index));
    Save(content);
}

void TIniFile::EraseSection(std::string_view section) {
    Content content = Load();
    bool erased = false;
    // Every copy of a duplicated section goes, so the section is really gone afterwards.
    while (const auto range = content.FindSection(section)) {
        content.lines.erase(content.lines.begin() + static_cast<std::ptrdiff_t>(range->first),
                            content.lines.begin() + static_cast<std::ptrdiff_t>(range->second));
        erased = true;
    }
    if (erased) Save(content);
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    const Content content = Load();
    const auto range = content.FindSection(section);
    if (!range) return keys;
    for (size_t i = range->first + 1; i < range->second; ++i) {
        const ParsedLine line = ParseLine(content.lines[i]);
        if (line.kind != LineKind::Key) continue;
        bool seen = false;
        for (const std::string& key : keys) seen = seen || SameTextAscii(key, line.name);
        if (!seen) keys.push_back(line.name);
    }
    return keys;
}

bool TIniFile::SectionExists(std::string_view section) const {
    return Load().FindSection(section).has_value();
}

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return Load().FindKey(section, key).has_value();
}

}  // namespace vh
