#include "ui/presenters/AppSiteAddWizardModel.h"

#include <memory>
#include <utility>

#include "common/Exceptions.h"
#include "common/StringUtils.h"
#include "model/ProgramNames.h"

namespace vh {
namespace {

constexpr char kSiteAmongSites[] =
    "You have already added an site with the same URL to the list. Please choose another URL.";
constexpr char kSiteAmongApps[] =
    "You have already added an application with the same filename. Please choose another URL.";
constexpr char kAppAmongApps[] =
    "You have already added an application with the same filename. Please choose another filename.";
constexpr char kAppAmongSites[] =
    "You have already added an site with the same URL to the list. Please choose filename.";
constexpr char kDuplicateCaption[] = "Please note";
constexpr char kPleaseNoteCaption[] = "Please Note";

TAddOutcome TakenOutcome() {
    TAddOutcome outcome;
    outcome.Taken = true;
    return outcome;
}

TAddOutcome Refusal(std::string message, const char* caption) {
    TAddOutcome outcome;
    outcome.Message = std::move(message);
    outcome.MessageCaption = caption;
    return outcome;
}

void AppendCopy(TMonitoredList& list, const TMonitoredItem& item) {
    auto copy = std::make_unique<TMonitoredItem>();
    copy->CopyFrom(item);
    list.Add(item.Caption, std::move(copy));
}

// What an added entry is shown as: its tag, or the name as typed without one.
std::string CaptionOf(const std::string& name, const std::string& tag) {
    const std::string caption = Trim(tag);
    return caption.empty() ? name : caption;
}

// The entry of `list` named `name`, or none.
TMonitoredItem* Find(TMonitoredList& list, const std::string& name) {
    const int index = list.IndexOfName(name);
    return index < 0 ? nullptr : &list.Items(index);
}

// Copies of the persisted entries of one type, each ticked.
void CopyTicked(const TMonitoredList& persisted, TMonitoredItemType type, TMonitoredList& target) {
    target.AssignFiltered(persisted, type, "");
    for (int i = 0; i < target.Count(); ++i) target.Items(i).Selected = true;
}

}  // namespace

bool MoveEntry(TMonitoredList& from, TMonitoredList& to, const std::string& name, bool selected) {
    const int index = from.IndexOfName(name);
    if (index < 0) return false;
    TMonitoredItem moved;
    moved.CopyFrom(from.Items(index));
    moved.Selected = selected;
    moved.Active = true;
    from.Delete(index);
    AppendCopy(to, moved);
    return true;
}

TAppSiteAddWizardModel::TAppSiteAddWizardModel(const TMonitoredList& persisted, TMonitoredList& result,
                                               TAddWizardSettings settings)
    : persisted_(persisted), result_(result), settings_(std::move(settings)) {
    CopyTicked(persisted_, mitApplication, persistedApps_);
    CopyTicked(persisted_, mitWebSite, sites_);
}

TMonitoredList& TAppSiteAddWizardModel::View(TWizardList list) noexcept {
    switch (list) {
        case TWizardList::Sites: return sites_;
        case TWizardList::Scanned: return scannedView_;
        case TWizardList::ByName: break;
    }
    return byNameView_;
}

void TAppSiteAddWizardModel::RebuildScannedView(std::string_view filter) {
    filter_ = std::string(filter);
    scannedView_.AssignFiltered(persistedApps_, mitAll, filter);
    const TMonitoredList* order[] = {&scanChosen_, &scanFound_, &addedByName_};
    if (nameFirst_) {
        order[0] = &addedByName_;
        order[1] = &scanChosen_;
        order[2] = &scanFound_;
    }
    for (const TMonitoredList* source : order) scannedView_.CopyFrom(*source, filter);
}

void TAppSiteAddWizardModel::RebuildByNameView() {
    byNameView_.AssignFiltered(persistedApps_, mitAll, "");
    const TMonitoredList* order[] = {&addedByName_, &untickedByName_, &scanChosen_};
    if (scanFirst_) {
        order[0] = &scanChosen_;
        order[1] = &addedByName_;
        order[2] = &untickedByName_;
    }
    for (const TMonitoredList* source : order) byNameView_.CopyFrom(*source, "");
}

void TAppSiteAddWizardModel::RebuildResult() {
    result_.AssignFiltered(persistedApps_, mitAll, "");
    result_.CopyFrom(sites_, "");
    result_.CopyFrom(addedByName_, "");
    result_.CopyFrom(scanChosen_, "");
}

bool TAppSiteAddWizardModel::Finish() {
    RebuildResult();
    return firstRemovalDone_;
}

TAddOutcome TAppSiteAddWizardModel::Add(TMonitoredItemType type, const std::string& name, const std::string& tag) {
    TAddOutcome outcome =
        type == mitApplication && !name.empty() ? AddApplication(name, tag) : Classified(type, name, tag);
    // Whichever way of adding applications came first wins a shared path.
    if (outcome.Taken && type == mitApplication && !scanFirst_) nameFirst_ = true;
    return outcome;
}

TAddOutcome TAppSiteAddWizardModel::AddApplication(const std::string& typed, const std::string& tag) {
    std::string name = TrimmedProgramName(typed);
    if (settings_.ExpandEnvironment) name = TrimmedProgramName(settings_.ExpandEnvironment(name));
    const bool fullPath = !IsBareProgramKey(ProgramNameKey(name));
    const TPathKind kind = fullPath && settings_.PathKindOf ? settings_.PathKindOf(name) : TPathKind::File;
    if (const auto problem = ProgramNameProblem(name, kind == TPathKind::Folder))
        return Refusal(*problem, kPleaseNoteCaption);
    TAddOutcome outcome = Classified(mitApplication, name, tag);
    if (outcome.Taken) {
        outcome.Info = CaptionOf(name, tag) + "\r\n" + name;
        if (kind == TPathKind::Missing) outcome.Info += "\r\n" + std::string(kMissingProgramFileNotice);
    }
    return outcome;
}

TAddOutcome TAppSiteAddWizardModel::Classified(TMonitoredItemType type, const std::string& name,
                                               const std::string& tag) {
    if (type != mitWebSite && type != mitApplication)
        throw Exception("AMonitoredItemType type = " + std::to_string(static_cast<int>(type)) + " is not allowed");
    if (name.empty()) return {};
    RebuildByNameView();
    TMonitoredItem candidate;
    candidate.Caption = CaptionOf(name, tag);
    candidate.Name = name;
    candidate.Selected = true;
    candidate.ItemType = type;

    RebuildResult();
    int index = -1;
    switch (result_.Classify(candidate, index, settings_.ProgramFile)) {
        case TClassifyCode::NotOnList:
            AppendCopy(type == mitWebSite ? sites_ : addedByName_, candidate);
            return TakenOutcome();
        case TClassifyCode::Inactive: {
            TMonitoredItem* entry = Find(type == mitWebSite ? sites_ : persistedApps_, name);
            if (!entry) return {};
            entry->Active = true;
            entry->Selected = true;
            return TakenOutcome();
        }
        case TClassifyCode::ActiveNotSelected:
            if (type == mitApplication) {
                if (untickedByName_.IndexOfName(name) >= 0) {
                    untickedByName_.Delete(untickedByName_.IndexOfName(name));
                    AppendCopy(addedByName_, candidate);
                } else if (scanFound_.IndexOfName(name) >= 0) {
                    scanFound_.Delete(scanFound_.IndexOfName(name));
                    AppendCopy(scanChosen_, candidate);
                }
            } else if (TMonitoredItem* site = Find(sites_, name)) {
                site->Selected = true;
            }
            return TakenOutcome();
        case TClassifyCode::ActiveSelected: return AddActiveSelected(candidate);
        case TClassifyCode::OwnProgram:
            return Refusal("\"" + settings_.ProgramName + "\" could not be added to time-limit list",
                           kPleaseNoteCaption);
    }
    return {};
}

TAddOutcome TAppSiteAddWizardModel::AddActiveSelected(const TMonitoredItem& candidate) {
    const bool site = candidate.ItemType == mitWebSite;
    TMonitoredList& home = site ? sites_ : byNameView_;
    TMonitoredList& other = site ? byNameView_ : sites_;
    TMonitoredItem* found = Find(home, candidate.Name);
    bool foundAmongSites = site;
    if (!found) {
        found = Find(other, candidate.Name);
        foundAmongSites = !site;
    }
    if (!found) return {};
    if (found->Caption == candidate.Caption) {
        const char* message = site ? (foundAmongSites ? kSiteAmongSites : kSiteAmongApps)
                                   : (foundAmongSites ? kAppAmongSites : kAppAmongApps);
        return Refusal(message, kDuplicateCaption);
    }
    // The views are rebuilt from the working lists: a caption written only
    // into a view would be lost, so an application's goes to its home list.
    if (foundAmongSites)
        found->Caption = candidate.Caption;
    else
        WriteApplicationCaption(candidate.Name, candidate.Caption);
    return TakenOutcome();
}

bool TAppSiteAddWizardModel::WriteApplicationCaption(const std::string& name, const std::string& caption) {
    for (TMonitoredList* list : {&scanChosen_, &addedByName_, &persistedApps_}) {
        if (TMonitoredItem* entry = Find(*list, name)) {
            entry->Caption = caption;
            return true;
        }
    }
    return false;
}

void TAppSiteAddWizardModel::ToggleTick(TWizardList list, int index) {
    TMonitoredItem& shown = View(list).Items(index);
    if (shown.Selected)
        Untick(shown);
    else
        Tick(shown);
}

void TAppSiteAddWizardModel::Tick(TMonitoredItem& shown) {
    if (shown.ItemType == mitApplication) {
        if (TMonitoredItem* copy = Find(persistedApps_, shown.Name)) {
            copy->Selected = true;
            copy->Active = true;
        } else if (!MoveEntry(scanFound_, scanChosen_, shown.Name, true)) {
            MoveEntry(untickedByName_, addedByName_, shown.Name, true);
        }
    }
    shown.Selected = true;
    shown.Active = true;
}

void TAppSiteAddWizardModel::Untick(TMonitoredItem& shown) {
    const bool persisted = shown.ItemType == mitWebSite ? persisted_.IndexOfName(shown.Name) >= 0
                                                        : persistedApps_.IndexOfName(shown.Name) >= 0;
    if (persisted) {
        TMonitoredItem* copy = Find(shown.ItemType == mitWebSite ? sites_ : persistedApps_, shown.Name);
        ApplyRemovalRule(copy ? *copy : shown, shown);
        return;
    }
    if (shown.ItemType == mitApplication && !MoveEntry(scanChosen_, scanFound_, shown.Name, false))
        MoveEntry(addedByName_, untickedByName_, shown.Name, false);
    shown.Selected = false;
}

void TAppSiteAddWizardModel::ApplyRemovalRule(TMonitoredItem& copy, TMonitoredItem& shown) {
    // The day has one immediate removal: the first unticking of this run uses
    // it when it was still free; later ones wait for the daily reset.
    const bool immediate =
        settings_.AccessMode != kAccessDeferred || (!settings_.DeleteActionProcessed && !firstRemovalDone_);
    if (immediate) {
        if (settings_.AccessMode == kAccessDeferred) firstRemovalDone_ = true;
        copy.Selected = false;
        shown.Selected = false;
        return;
    }
    copy.Active = false;
    shown.Active = false;
    shown.Selected = false;
}

bool TAppSiteAddWizardModel::DeleteSite(int index) {
    if (index < 0 || index >= sites_.Count()) return false;
    if (persisted_.IndexOfName(sites_.Items(index).Name) >= 0) return false;
    sites_.Delete(index);
    return true;
}

void TAppSiteAddWizardModel::BeginScan() {
    if (!nameFirst_) scanFirst_ = true;
    scanFound_.Clear();
}

void TAppSiteAddWizardModel::LoadScanResult(const std::vector<TCandidate>& candidates) {
    // Built directly rather than through "path=caption" lines: a path may
    // hold "=" itself.
    for (const TCandidate& candidate : candidates) {
        if (scanFound_.IndexOfName(candidate.Path) >= 0 || scanChosen_.IndexOfName(candidate.Path) >= 0) continue;
        TMonitoredItem item;
        item.ItemType = mitApplication;
        item.Name = candidate.Path;
        item.Caption = candidate.Caption;
        AppendCopy(scanFound_, item);
    }
}

}  // namespace vh
