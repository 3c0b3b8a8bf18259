#pragma once
// Removing an entry of the time-limit list from the main window: the options
// remove it by their removal mode, the engine's list of today's items
// follows, and the persisted list is saved.

#include "model/OptionsEnums.h"

namespace vh {

class TMonitoredItem;
class TOptions;
class TZuravoZazoApplicationLogger;

// Removes the entry named like `rowItem` (which may belong to the engine's
// list and so be gone afterwards). Answers what the removal did. The
// options' ImmediateChangeAllowed is clear afterwards, even when saving fails.
TDeleteResult RemoveListEntry(TOptions& options, TZuravoZazoApplicationLogger& engine, const TMonitoredItem& rowItem);

}  // namespace vh
