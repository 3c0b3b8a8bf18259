#pragma once
// The add wizard's working state and rules, without a window: the working
// copies of the time-limit list, adding by address or file name with the
// add-check and its messages, ticking and unticking with the removal rule,
// merging a scan, and the result list whose Selected and Active marks tell
// the caller what to add, update, delete or leave pending.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "environment/ApplicationDiscovery.h"
#include "model/MonitoredObjects.h"
#include "model/OptionsEnums.h"

namespace vh {

enum class TPathKind { Missing, File, Folder };

// What the wizard needs to know of the options, the program and the system.
struct TAddWizardSettings {
    TAccessMode AccessMode = kAccessDeferred;
    bool DeleteActionProcessed = false;  // the day's one immediate removal is used up
    std::string ProgramFile;             // may never be put on its own list
    std::string ProgramName;             // named when the user tries
    // A typed program's environment variables ("%ProgramFiles%") expanded;
    // none leaves the text as typed.
    std::function<std::string(const std::string&)> ExpandEnvironment;
    // What the system has at a full path; none takes every path as a file.
    std::function<TPathKind(const std::string&)> PathKindOf;
};

// What an add attempt answers: whether the entry was taken, a refusal to
// show the user (empty when there is none), and for a taken application
// what the page's info memo shows (empty: the memo keeps its text).
struct TAddOutcome {
    bool Taken = false;
    std::string Message;
    std::string MessageCaption;
    std::string Info;
};

// The three lists a user ticks in.
enum class TWizardList { Sites, Scanned, ByName };

class TAppSiteAddWizardModel {
public:
    // Copies the persisted list's entries, ticked. `result` is the caller's
    // list, rebuilt at every add attempt and at the end; both outlive this.
    TAppSiteAddWizardModel(const TMonitoredList& persisted, TMonitoredList& result, TAddWizardSettings settings);

    // Adds an entry of `type` (mitWebSite or mitApplication) with `name` as
    // typed and an optional tag as its caption. Raises for any other type.
    // An application's name is stored trimmed of blanks and quotes with its
    // environment variables expanded, and only when it can name a program;
    // a full path with no file behind it is taken with a notice.
    TAddOutcome Add(TMonitoredItemType type, const std::string& name, const std::string& tag);

    // Toggles the tick of the row `index` of a list's current view.
    void ToggleTick(TWizardList list, int index);
    // Deletes a site added in this run; the persisted ones are taken off by
    // unticking. True when the row was deleted.
    bool DeleteSite(int index);

    // A scan begins: its results replace the previous scan's unticked ones.
    void BeginScan();
    void LoadScanResult(const std::vector<TCandidate>& candidates);

    // Views as the lists show them: page 2 with the filter, page 3 whole.
    void RebuildScannedView(std::string_view filter);
    void RebuildByNameView();
    void RebuildResult();
    // Finish: the result rebuilt; answers whether the day's immediate removal
    // was used, which the caller records.
    bool Finish();

    const TMonitoredList& Sites() const noexcept { return sites_; }
    TMonitoredList& Sites() noexcept { return sites_; }
    TMonitoredList& ScannedView() noexcept { return scannedView_; }
    TMonitoredList& ByNameView() noexcept { return byNameView_; }
    TMonitoredList& View(TWizardList list) noexcept;
    const TMonitoredList& ScanFound() const noexcept { return scanFound_; }
    const TMonitoredList& ScanChosen() const noexcept { return scanChosen_; }
    const TMonitoredList& AddedByName() const noexcept { return addedByName_; }

    bool NameFirst() const noexcept { return nameFirst_; }
    bool ScanFirst() const noexcept { return scanFirst_; }
    bool FirstRemovalDone() const noexcept { return firstRemovalDone_; }

private:
    TAddOutcome AddApplication(const std::string& typed, const std::string& tag);
    TAddOutcome Classified(TMonitoredItemType type, const std::string& name, const std::string& tag);
    TAddOutcome AddActiveSelected(const TMonitoredItem& candidate);
    void Tick(TMonitoredItem& shown);
    void Untick(TMonitoredItem& shown);
    void ApplyRemovalRule(TMonitoredItem& copy, TMonitoredItem& shown);
    bool WriteApplicationCaption(const std::string& name, const std::string& caption);

    const TMonitoredList& persisted_;
    TMonitoredList& result_;
    TAddWizardSettings settings_;
    TMonitoredList persistedApps_;
    TMonitoredList sites_;
    TMonitoredList addedByName_;
    TMonitoredList untickedByName_;
    TMonitoredList scanChosen_;
    TMonitoredList scanFound_;
    TMonitoredList scannedView_;
    TMonitoredList byNameView_;
    std::string filter_;
    bool nameFirst_ = false;
    bool scanFirst_ = false;
    bool firstRemovalDone_ = false;
};

// Moves the entry named `name` from one list to another; the moved copy takes
// `selected` and is active. False when `from` has no such entry.
bool MoveEntry(TMonitoredList& from, TMonitoredList& to, const std::string& name, bool selected);

}  // namespace vh
