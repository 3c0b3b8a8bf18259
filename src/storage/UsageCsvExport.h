#pragma once
// The usage history as a CSV file for spreadsheets: one row per day and
// entry (date, caption, type, name, seconds, h:mm) under a header row, UTF-8
// with a byte-order mark so spreadsheet programs read accents and emoji
// right, fields quoted as RFC 4180 asks and lines ended with CR LF.

#include <string>
#include <vector>

#include "platform/IEnvironmentPlatform.h"
#include "storage/DailyHistory.h"

namespace vh {

inline constexpr char kUsageCsvHeader[] = "Date,Entry,Type,Name,Seconds,Time";

// The whole file's text, byte-order mark included.
std::string UsageCsvText(const std::vector<TDailyHistoryDay>& days);

// Writes the file through a temporary file beside it that then replaces it,
// so a failed export leaves no half file and an existing file as it was.
// Raises EFileError naming `fileName` when it cannot be written.
void WriteUsageCsv(IEnvironmentPlatform& platform, const std::string& fileName,
                   const std::vector<TDailyHistoryDay>& days);

// A field as RFC 4180 writes it: quoted, inner quotes doubled, when it holds
// a quote, a comma or a line break; as it is otherwise.
std::string CsvField(const std::string& text);
// Whole hours and minutes, the minutes cut down: 3725 seconds are "1:02".
std::string HoursMinutesText(std::int64_t seconds);

}  // namespace vh
