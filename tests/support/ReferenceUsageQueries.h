#pragma once
// The usage-statistics queries in their first, straightforward form: each
// scans the whole log and matches every row against every entry. Kept as the
// reference the faster queries are checked and measured against.

#include <string>
#include <string_view>

namespace vh::testing {

inline std::string ReplacePlaceholders(std::string text, std::initializer_list<std::string_view> values) {
    for (std::string_view value : values) text.replace(text.find("%s"), 2, value);
    return text;
}

inline std::string ReferenceApplicationsQuery(std::string_view fromText, std::string_view toText) {
    return ReplacePlaceholders(
        "SELECT x.caption as caption, x.active as active, x.name as name, SUM(x.duration) as total_duration FROM "
        "(SELECT  al.caption as caption, al.active as active, al.name as name, duration, date_created FROM "
        "applications_list al LEFT JOIN applications a ON al.name = a.app_name WHERE a.origin = 1 UNION ALL SELECT  "
        "al.caption as caption, al.active as active, al.name as name, 0 as duration, null as date_created FROM "
        "applications_list al) X WHERE (x.date_created between '%s' and '%s') or (x.date_created is null) GROUP BY "
        "x.name",
        {fromText, toText});
}

// The same with names compared ignoring case and a browser's own rows (origin
// 2, its path as the address) counted for its application entry.
inline std::string ReferenceApplicationsQueryWithCaseAndBrowserRows(std::string_view fromText,
                                                                    std::string_view toText) {
    return ReplacePlaceholders(
        "SELECT x.caption as caption, x.active as active, x.name as name, SUM(x.duration) as total_duration FROM "
        "(SELECT  al.caption as caption, al.active as active, al.name as name, duration, date_created FROM "
        "applications_list al LEFT JOIN applications a ON (a.origin = 1 AND al.name = a.app_name COLLATE NOCASE) "
        "OR (a.origin = 2 AND al.name = a.browser_url COLLATE NOCASE) WHERE a.origin IS NOT NULL UNION ALL SELECT  "
        "al.caption as caption, al.active as active, al.name as name, 0 as duration, null as date_created FROM "
        "applications_list al) X WHERE (x.date_created between '%s' and '%s') or (x.date_created is null) GROUP BY "
        "x.name",
        {fromText, toText});
}

inline std::string ReferenceWebSitesQuery(std::string_view fromText, std::string_view toText) {
    return ReplacePlaceholders(
        "SELECT x.caption as caption, x.active as active, x.name as name, SUM(x.duration) as total_duration FROM "
        "(SELECT  wl.caption as caption, wl.active as active, wl.name as name, duration, date_created FROM "
        "websites_list wl %s UNION ALL SELECT  wl.caption as caption, wl.active as active, wl.name as name, 0 as "
        "duration, null as date_created FROM websites_list wl) X WHERE (x.date_created between '%s' and '%s') or  "
        "(x.date_created is null) GROUP BY x.name",
        {"LEFT JOIN applications a ON a.browser_url  LIKE \"%\"||wl.name|| \"%\"", fromText, toText});
}

}  // namespace vh::testing
