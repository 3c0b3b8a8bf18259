#include "model/CandidateMerge.h"

#include <memory>

namespace vh {
namespace {

void AddCopy(TMonitoredList& list, const TMonitoredItem& item) {
    auto copy = std::make_unique<TMonitoredItem>();
    copy->CopyFrom(item);
    list.Add(item.Caption, std::move(copy));
}

TMonitoredItem* Twin(TMonitoredList* list, const TMonitoredItem& item) {
    if (!list) return nullptr;
    const int index = list->IndexOfItem(item);
    return index < 0 ? nullptr : &list->Items(index);
}

void MergeSelected(const TMonitoredItem& candidate, TMonitoredList& persisted, TMonitoredList* today,
                   std::string_view programFile, TCandidateMergeOutcome& outcome) {
    int index = -1;
    switch (persisted.Classify(candidate, index, programFile)) {
        case TClassifyCode::OwnProgram: return;
        case TClassifyCode::NotOnList:
            AddCopy(persisted, candidate);
            if (today) AddCopy(*today, candidate);
            return;
        case TClassifyCode::ActiveSelected:
        case TClassifyCode::Inactive:
        case TClassifyCode::ActiveNotSelected: break;
    }
    TMonitoredItem& entry = persisted.Items(index);
    if (entry.Active && !candidate.Active) outcome.NewlyPending.push_back(entry);
    if (!entry.Active && candidate.Active) outcome.Reactivated.push_back(entry);
    entry.Active = candidate.Active;
    entry.Caption = candidate.Caption;
    if (TMonitoredItem* twin = Twin(today, candidate)) {
        twin->Active = candidate.Active;
        twin->Caption = candidate.Caption;
    }
}

void MergeUnselected(const TMonitoredItem& candidate, TMonitoredList& persisted, TMonitoredList* today,
                     TCandidateMergeOutcome& outcome) {
    const int index = persisted.IndexOfItem(candidate);
    if (index < 0) return;
    if (candidate.Active) {
        persisted.Delete(index);
        if (today && today->IndexOfItem(candidate) >= 0) today->Delete(today->IndexOfItem(candidate));
        return;
    }
    TMonitoredItem& entry = persisted.Items(index);
    if (entry.Active) outcome.NewlyPending.push_back(entry);
    entry.Active = false;
    entry.Selected = false;
    if (TMonitoredItem* twin = Twin(today, candidate)) {
        twin->Active = false;
        twin->Selected = false;
    }
}

}  // namespace

TCandidateMergeOutcome MergeCandidates(const TMonitoredList& candidates, TMonitoredList& persisted,
                                       TMonitoredList* today, std::string_view programFile) {
    TCandidateMergeOutcome outcome;
    for (int i = 0; i < candidates.Count(); ++i) {
        const TMonitoredItem& candidate = candidates.Items(i);
        if (candidate.Selected)
            MergeSelected(candidate, persisted, today, programFile, outcome);
        else
            MergeUnselected(candidate, persisted, today, outcome);
    }
    return outcome;
}

}  // namespace vh
