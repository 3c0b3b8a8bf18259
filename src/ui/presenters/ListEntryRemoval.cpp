#include "ui/presenters/ListEntryRemoval.h"

#include "model/MonitoredObjects.h"
#include "monitor/ZuravoZazoApplicationLogger.h"
#include "storage/Options.h"

namespace vh {

TDeleteResult RemoveListEntry(TOptions& options, TZuravoZazoApplicationLogger& engine, const TMonitoredItem& rowItem) {
    struct ClearImmediate {
        TOptions& options;
        ~ClearImmediate() { options.ImmediateChangeAllowed = false; }
    } clear{options};
    // The row's item may be the engine's own, deleted below.
    TMonitoredItem entry;
    entry.CopyFrom(rowItem);
    const bool processedBefore = options.MonitoredItemDeleteActionProcessed();
    const TDeleteResult result = options.MonitoredItemDelete(entry);
    // The day's one immediate removal must survive a restart, or the next
    // start would allow another.
    if (!processedBefore && options.MonitoredItemDeleteActionProcessed())
        options.SetMonitoredItemDeleteActionProcessed(true);
    engine.MonitoredItemDelete(&entry, result);
    options.MonitoredItemsSave();
    return result;
}

}  // namespace vh
