#include "model/BlockScheduleRule.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vh {
namespace {

// Half a second: local readings are compared at this precision.
constexpr double kSameMoment = 0.5 / kSecondsPerDay;
// Days around a moment whose occurrences can reach it or chain on from it.
constexpr int kDaysBefore = 1;
constexpr int kDaysAfter = 7;

enum class TGapRule { MomentGapEnds, OffsetBefore };

double OffsetAt(const TUtcToLocal& toLocal, TDateTime utc) {
    return toLocal(utc) - utc;
}

TDateTime ResolveLocal(TDateTime local, const TUtcToLocal& toLocal, TGapRule gap) {
    // Zone offsets change a few times a year at most: the offsets a day
    // before and a day after are the ones in question.
    const double before = OffsetAt(toLocal, local - 1);
    const double after = OffsetAt(toLocal, local + 1);
    std::optional<TDateTime> found;
    for (const double offset : {before, after}) {
        const TDateTime utc = local - offset;
        if (std::fabs(toLocal(utc) - local) < kSameMoment && (!found || utc < *found)) found = utc;
    }
    if (found) return *found;
    // The local time does not exist: the clock jumped over it.
    if (gap == TGapRule::OffsetBefore || after <= before) return local - before;
    TDateTime readsBefore = local - after;  // still under the offset before the jump
    TDateTime readsAfter = local - before;  // already past it
    for (int i = 0; i < 48; ++i) {
        const TDateTime middle = (readsBefore + readsAfter) / 2;
        (toLocal(middle) < local ? readsBefore : readsAfter) = middle;
    }
    return readsAfter;
}

}  // namespace

TDateTime LocalToUtc(TDateTime local, const TUtcToLocal& toLocal) {
    return ResolveLocal(local, toLocal, TGapRule::MomentGapEnds);
}

TBlockInterval ResolveOccurrence(const TBlockPeriod& period, TDateTime localDate, const TUtcToLocal& toLocal) {
    const TDateTime date = std::floor(localDate + kSameMoment);
    const TDateTime start = date + period.StartMinute / kMinutesPerDay;
    const TDateTime end = start + BlockPeriodMinutes(period) / kMinutesPerDay;
    return {ResolveLocal(start, toLocal, TGapRule::MomentGapEnds), ResolveLocal(end, toLocal, TGapRule::OffsetBefore)};
}

std::optional<TRunningBlock> RunningBlockAt(const TBlockSchedule& schedule, TDateTime nowUtc,
                                            const TUtcToLocal& toLocal, std::optional<TBlockInterval> handFocus) {
    struct Piece {
        TBlockInterval interval;
        bool scheduled;
    };
    std::vector<Piece> pieces;
    const TDateTime today = std::floor(toLocal(nowUtc));
    for (int offset = -kDaysBefore; offset <= kDaysAfter; ++offset) {
        const TDateTime date = today + offset;
        const int weekday = WeekdayOf(date);
        for (const TBlockPeriod& period : schedule) {
            if (!IsValidBlockPeriod(period) || !((period.Days >> weekday) & 1)) continue;
            const TBlockInterval interval = ResolveOccurrence(period, date, toLocal);
            if (interval.EndUtc > interval.StartUtc) pieces.push_back({interval, true});
        }
    }
    if (handFocus && handFocus->EndUtc > handFocus->StartUtc) pieces.push_back({*handFocus, false});
    std::sort(pieces.begin(), pieces.end(),
              [](const Piece& a, const Piece& b) { return a.interval.StartUtc < b.interval.StartUtc; });

    // Merged from the earliest start, so a block that began before an
    // earlier piece ended is one block from its first start.
    std::optional<TRunningBlock> block;
    for (const Piece& piece : pieces) {
        if (block && piece.interval.StartUtc <= block->EndUtc + kSameMoment) {
            block->EndUtc = std::max(block->EndUtc, piece.interval.EndUtc);
            block->Scheduled = block->Scheduled || piece.scheduled;
            continue;
        }
        if (block && block->StartUtc <= nowUtc && nowUtc < block->EndUtc) break;
        block = TRunningBlock{piece.interval.StartUtc, piece.interval.EndUtc, piece.scheduled};
    }
    if (block && block->StartUtc <= nowUtc && nowUtc < block->EndUtc) return block;
    return std::nullopt;
}

}  // namespace vh
