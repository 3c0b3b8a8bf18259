// The main window's usage history: the history window over the log
// database's daily totals, its range kept with the window preferences.
#include <shlobj.h>

#include <filesystem>
#include <vector>

#include "common/Exceptions.h"
#include "environment/DateTimeUtils.h"
#include "environment/Trace.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "model/DayRules.h"
#include "platform/win32/Utf16.h"
#include "storage/AppearancePreferences.h"
#include "storage/DailyHistory.h"
#include "storage/DatabaseFiles.h"
#include "storage/Options.h"
#include "storage/UsageCsvExport.h"
#include "ui/win32/dialogs/HistoryFRM.h"
#include "ui/win32/main/MainFRM.h"

namespace vh::win32 {
namespace {

// The history keeps three years of days; an export takes them all.
constexpr int kExportedDays = 3 * 366;

std::vector<TDailyHistoryDay> ReadHistory(const std::string& logFile, TDateTime first, TDateTime last,
                                          bool byMonth = false) {
    TSQLiteDatabase db(logFile, DecimalSeparatorForText());
    return byMonth ? MonthlyHistory(db, first, last) : DailyHistory(db, first, last);
}

std::vector<THistoryDay> ChartDays(const std::vector<TDailyHistoryDay>& days) {
    std::vector<THistoryDay> result;
    result.reserve(days.size());
    for (const TDailyHistoryDay& day : days) {
        THistoryDay chartDay{day.Date, day.SecondsOnList, {}};
        for (const TDailyEntrySeconds& entry : day.Entries) {
            // Type and name tell entries apart: a site and a program may share a caption.
            chartDay.Entries.push_back(
                {std::to_string(static_cast<int>(entry.ItemType)) + "|" + entry.Name, entry.Caption, entry.Seconds});
        }
        result.push_back(std::move(chartDay));
    }
    return result;
}

// The program day: a night after midnight still belongs to yesterday.
TDateTime ProgramDay() {
    return DateOf(TodayStart(ProgramNow()));
}

std::filesystem::path DocumentsFolder() {
    wchar_t path[MAX_PATH]{};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return std::filesystem::path(path);
}

}  // namespace

void TfrmMain::actHistoryExecute() {
    THistorySource source;
    const std::string logFile = monitor_.Logger().LogDBFileName();
    source.Days = [logFile](TDateTime first, TDateTime last, bool byMonth) {
        try {
            return ChartDays(ReadHistory(logFile, first, last, byMonth));
        } catch (const Exception& error) {
            // A log busy or damaged: the window shows empty days, the trace says why.
            TraceException(std::string("The usage history could not be read: ") + error.what());
            return std::vector<THistoryDay>();
        }
    };
    source.Today = &ProgramDay;
    source.LimitSeconds = [this] { return static_cast<std::int64_t>(options_.TimeLimitSeconds()); };
    source.GetRange = [this] { return AppearancePreferences().GetHistoryRange(); };
    source.SetRange = [this](int range) {
        try {
            AppearancePreferences().SetHistoryRange(range);
        } catch (const Exception& error) {
            TraceException(std::string("The history's range was not stored: ") + error.what());
        }
    };
    source.Export = [logFile](const std::filesystem::path& file) {
        const TDateTime today = ProgramDay();
        WriteUsageCsv(Environment().Platform(), WideToUtf8(file.wstring()),
                      ReadHistory(logFile, today - (kExportedDays - 1), today));
    };
    source.ExportFolder = &DocumentsFolder;
    CreateForm<TfrmHistory>(std::move(source)).Execute();
}

}  // namespace vh::win32
