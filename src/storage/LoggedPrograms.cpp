#include "storage/LoggedPrograms.h"

namespace vh {
namespace {

// Hops from one program to the next through the index on app_name, so its
// cost follows the number of programs, not of rows.
constexpr std::string_view kProgramsCte =
    "WITH RECURSIVE programs(path) AS (SELECT (SELECT MIN(app_name COLLATE NOCASE) FROM applications) UNION ALL "
    "SELECT (SELECT MIN(app_name COLLATE NOCASE) FROM applications WHERE app_name > path COLLATE NOCASE) FROM "
    "programs WHERE path IS NOT NULL) ";

}  // namespace

std::vector<std::string> LoggedPrograms(TSQLiteDatabase& db) {
    const auto table = db.GetTable(std::string(kProgramsCte) + "SELECT path FROM programs WHERE path IS NOT NULL");
    std::vector<std::string> paths;
    for (table->MoveFirst(); !table->Eof(); table->Next()) paths.push_back(table->FieldAsString(0));
    return paths;
}

std::vector<TProgramSeconds> LoggedProgramSeconds(TSQLiteDatabase& db, std::string_view fromText,
                                                  std::string_view toText) {
    const auto table = db.GetTable(
        std::string(kProgramsCte) +
            "SELECT path, seconds FROM (SELECT path, (SELECT SUM(duration) FROM applications WHERE app_name = path "
            "COLLATE NOCASE AND origin = 1 AND date_created BETWEEN ?1 AND ?2) AS seconds FROM programs WHERE path "
            "IS NOT NULL) WHERE seconds IS NOT NULL",
        {std::string(fromText), std::string(toText)});
    std::vector<TProgramSeconds> programs;
    for (table->MoveFirst(); !table->Eof(); table->Next())
        programs.push_back({table->FieldAsString(0), table->FieldAsInteger(1)});
    return programs;
}

}  // namespace vh
