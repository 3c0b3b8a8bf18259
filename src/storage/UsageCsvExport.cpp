#include "storage/UsageCsvExport.h"

#include <cstdio>
#include <exception>

#include "environment/ZuravoZazoApplicationDefs.h"

namespace vh {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr char kLineEnd[] = "\r\n";

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of("\",\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string HoursMinutesText(std::int64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds % 3600 / 60));
    return text;
}

std::string UsageCsvText(const std::vector<TDailyHistoryDay>& days) {
    std::string text = std::string(kByteOrderMark) + kUsageCsvHeader + kLineEnd;
    // Appended piece by piece: three years of a long list are megabytes.
    for (const TDailyHistoryDay& day : days) {
        const std::string date = FormatDbDate(day.Date);
        for (const TDailyEntrySeconds& entry : day.Entries) {
            const char* type = entry.ItemType == mitWebSite ? "Web site" : "Application";
            text.append(date).append(",").append(CsvField(entry.Caption)).append(",").append(type).append(",");
            text.append(CsvField(entry.Name)).append(",").append(std::to_string(entry.Seconds)).append(",");
            text.append(HoursMinutesText(entry.Seconds)).append(kLineEnd);
        }
    }
    return text;
}

void WriteUsageCsv(IEnvironmentPlatform& platform, const std::string& fileName,
                   const std::vector<TDailyHistoryDay>& days) {
    const std::string temporary = fileName + ".tmp";
    try {
        platform.WriteNewFile(temporary, UsageCsvText(days));
        platform.ReplaceFileAtomically(temporary, fileName);
    } catch (const std::exception& e) {
        platform.RemoveFile(temporary);
        throw EFileError("The usage history could not be saved as \"" + fileName + "\": " + e.what());
    }
}

}  // namespace vh
