#include "ui/presenters/CandidateApplication.h"

#include <exception>

#include "model/CandidateMerge.h"
#include "storage/Options.h"

namespace vh {
namespace {

void SetActive(TMonitoredList* list, const TMonitoredItem& item, bool active) {
    if (!list) return;
    const int index = list->IndexOfItem(item);
    if (index >= 0) list->Items(index).Active = active;
}

}  // namespace

void ApplyCandidateList(TOptions& options, TMonitoredList* today, const TMonitoredList& candidates,
                        std::string_view programFile) {
    struct ClearImmediate {
        TOptions& options;
        ~ClearImmediate() { options.ImmediateChangeAllowed = false; }
    } clear{options};
    if (candidates.Count() == 0) return;
    const TCandidateMergeOutcome outcome = MergeCandidates(candidates, options.MonitoredList(), today, programFile);
    std::exception_ptr failure;
    for (const TMonitoredItem& item : outcome.NewlyPending) {
        try {
            options.RecordPendingRemoval(item);
        } catch (...) {
            // Inactive with nothing to remove it at the reset would be for good.
            SetActive(&options.MonitoredList(), item, true);
            SetActive(today, item, true);
            if (!failure) failure = std::current_exception();
        }
    }
    for (const TMonitoredItem& item : outcome.Reactivated) {
        try {
            options.ForgetPendingRemoval(item);
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
    }
    options.MonitoredItemsSave();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace vh
