#pragma once
// The programs the activity log holds rows of, as the application entries'
// rule (model/ProgramNames.h) needs them: that rule is not SQL, so the log
// is narrowed to one line per program through the per-application index and
// the rule is applied to those few lines.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/SQLiteTable3.h"

namespace vh {

struct TProgramSeconds {
    std::string Path;          // one spelling of the program's path
    std::int64_t Seconds = 0;  // its application rows' seconds in the period
};

// Every path the log has rows under, one per spelling that differs only in
// ASCII case, reached by one index seek per program, not a pass over the rows.
std::vector<std::string> LoggedPrograms(TSQLiteDatabase& db);

// The same paths with the seconds of their application rows (origin 1)
// dated between the two texts, both bounds included; paths without such rows
// are left out.
std::vector<TProgramSeconds> LoggedProgramSeconds(TSQLiteDatabase& db, std::string_view fromText,
                                                  std::string_view toText);

}  // namespace vh
