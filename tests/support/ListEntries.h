#pragma once
// Time-limit list entries the tests build by hand, with the marks a dialog's
// result carries.

#include <memory>
#include <string>

#include "model/MonitoredObjects.h"

namespace vh::testing {

inline void AddListEntry(TMonitoredList& list, TMonitoredItemType type, const std::string& name,
                         const std::string& caption, bool active = true, bool selected = false) {
    auto item = std::make_unique<TMonitoredItem>();
    item->ItemType = type;
    item->Name = name;
    item->Caption = caption;
    item->Active = active;
    item->Selected = selected;
    list.Add(caption, std::move(item));
}

}  // namespace vh::testing
