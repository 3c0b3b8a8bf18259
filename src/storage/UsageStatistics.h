#pragma once
// The time spent on each entry of the time-limit list over a period, computed
// from the activity log: one query for application entries, one for web-site
// entries, each giving one row (caption, active, name, total_duration) per
// distinct entry name.

#include <array>
#include <string>
#include <string_view>

#include "common/DateTime.h"
#include "model/DayRules.h"
#include "storage/SQLiteTable3.h"

namespace vh {

// The period choices of the usage view, in the order of its period box.
enum TUsagePeriod : int {
    upToday = 0,
    upLast24Hours = 1,
    upLast7Days = 2,
    upLast14Days = 3,
    upLast30Days = 4,
    upLast3Months = 5,
};
inline constexpr std::array<std::string_view, 6> kUsagePeriodTexts = {"Today",        "Last 24 Hours", "Last 7 Days",
                                                                      "Last 14 Days", "Last 30 Days",  "Last 3 months"};

struct TPeriodBounds {
    TDateTime From = 0;
    TDateTime To = 0;
};

// From and To of a period choice for `now`. Asserts a valid choice.
TPeriodBounds UsagePeriodBounds(TUsagePeriod period, TDateTime now);

// A statement with the values of its parameters, in order.
struct TUsageQuery {
    std::string Sql;
    TSQLiteParams Params;
};

// The queries for dates already in the stored text form ("yyyy-mm-dd hh:nn:ss"),
// compared as text; both bounds count. They read the log through its
// application and address indexes, so their cost follows the rows of the
// period that concern the list, not the size of the log.
//
// Application entries count the rows of origin 1 whose app_name equals the
// name, and the rows of origin 2 whose browser_url equals it (a browser on the
// list as an application is logged under its path as the address). Web-site
// entries count every row whose browser_url contains the name (LIKE, so ASCII
// case is ignored and "%" and "_" are wildcards). Names compare ignoring ASCII
// case; a log row counts once for each distinct entry name it matches. The
// bounds travel as bound parameters, never inside the statement's text.
TUsageQuery BuildApplicationsQuery(std::string_view fromText, std::string_view toText);
TUsageQuery BuildWebSitesQuery(std::string_view fromText, std::string_view toText);

// The same for date-times, formatted with the installed environment's
// DateTimeToDbString.
TUsageQuery BuildApplicationsQuery(TDateTime from, TDateTime to);
TUsageQuery BuildWebSitesQuery(TDateTime from, TDateTime to);

}  // namespace vh
