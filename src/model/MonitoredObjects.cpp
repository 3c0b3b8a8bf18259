#include "model/MonitoredObjects.h"

#include <algorithm>

#include "common/Exceptions.h"
#include "common/StringUtils.h"
#include "model/ProgramNames.h"

namespace vh {

void TMonitoredItem::CopyFrom(const TMonitoredItem& source) {
    Active = source.Active;
    Caption = source.Caption;
    ItemType = source.ItemType;
    Name = source.Name;
    Seconds = source.Seconds;
    Selected = source.Selected;
}

std::string TMonitoredItem::GetTypeText() const {
    return MonitoredItemTypeText(ItemType);
}

TDateTime TMonitoredItem::GetDuration() const {
    return Seconds / kSecondsPerDay;
}

std::string MonitoredItemTypeText(TMonitoredItemType type) {
    switch (type) {
        case mitAll: return "all";
        case mitApplication: return "App";
        case mitWebSite: return "Web";
    }
    return std::string();
}

std::string NormalizeAddress(std::string_view address) {
    std::string text = Trim(address);
    if (auto pos = text.find("://"); pos != std::string::npos) text.erase(0, pos + 3);
    if (auto pos = text.find("www."); pos != std::string::npos) text.erase(0, pos + 4);
    return text;
}

bool WebSiteMatches(std::string_view entryName, std::string_view address) {
    const std::string name = NormalizeAddress(entryName);
    const std::string normalized = NormalizeAddress(address);
    // An empty fragment occurs nowhere: an entry without a name matches nothing.
    if (name.empty()) return false;
    const auto pos = normalized.find(name);
    if (pos == std::string::npos) return false;
    if (pos == 0) return true;
    return normalized.find_first_of("/?") >= pos;
}

bool PassesTextFilter(std::string_view key, std::string_view filter) {
    if (filter.empty()) return true;
    return AsciiLowerCase(key).find(AsciiLowerCase(filter)) != std::string::npos;
}

void TMonitoredList::SetCapacity(int capacity) {
    if (capacity > Count()) entries_.reserve(static_cast<size_t>(capacity));
}

void TMonitoredList::CheckIndex(int index) const {
    VH_ASSERT(index >= 0 && index < Count());
    VH_ASSERT(entries_[static_cast<size_t>(index)].item != nullptr);
}

TMonitoredItem& TMonitoredList::Items(int index) {
    CheckIndex(index);
    return *entries_[static_cast<size_t>(index)].item;
}

const TMonitoredItem& TMonitoredList::Items(int index) const {
    CheckIndex(index);
    return *entries_[static_cast<size_t>(index)].item;
}

const std::string& TMonitoredList::Names(int index) const {
    CheckIndex(index);
    return entries_[static_cast<size_t>(index)].key;
}

void TMonitoredList::Add(std::string key, std::unique_ptr<TMonitoredItem> item) {
    VH_ASSERT(item != nullptr);
    auto pos = std::lower_bound(entries_.begin(), entries_.end(), key,
                                [](const Entry& e, const std::string& k) { return CompareTextAscii(e.key, k) < 0; });
    entries_.insert(pos, Entry{std::move(key), std::move(item)});
}

void TMonitoredList::Delete(int index) {
    VH_ASSERT(index >= 0 && index < Count());
    entries_.erase(entries_.begin() + index);
}

bool TMonitoredItem::HasName(std::string_view name) const {
    return ItemType == mitApplication ? SameProgram(Name, name) : SameTextAscii(Name, name);
}

bool TMonitoredItem::MatchesProgram(std::string_view processPath) const {
    return ItemType == mitApplication ? ProgramMatches(Name, processPath) : SameTextAscii(Name, processPath);
}

int TMonitoredList::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (Items(i).HasName(name)) return i;
    return -1;
}

TMatch TMonitoredList::FindMatch(std::string_view applicationPath, std::string_view address) const {
    int webIndex = -1;
    int appIndex = -1;
    const bool haveAddress = !Trim(address).empty();
    for (int i = 0; i < Count(); ++i) {
        const TMonitoredItem& item = Items(i);
        if (haveAddress && WebSiteMatches(item.Name, address)) {
            webIndex = i;
            break;
        }
        if (item.MatchesProgram(applicationPath)) appIndex = i;
    }
    if (webIndex != -1) return TMatch{webIndex, mitWebSite};
    return TMatch{appIndex, mitApplication};
}

TClassifyCode TMonitoredList::Classify(const TMonitoredItem& candidate, int& index,
                                       std::string_view programFile) const {
    if (candidate.MatchesProgram(programFile)) return TClassifyCode::OwnProgram;
    index = IndexOfName(candidate.Name);
    if (index == -1) return TClassifyCode::NotOnList;
    const TMonitoredItem& existing = Items(index);
    if (!existing.Active) return TClassifyCode::Inactive;
    return existing.Selected ? TClassifyCode::ActiveSelected : TClassifyCode::ActiveNotSelected;
}

void TMonitoredList::AppendCopy(const std::string& key, const TMonitoredItem& source) {
    auto copy = std::make_unique<TMonitoredItem>();
    copy->CopyFrom(source);
    Add(key, std::move(copy));
}

void TMonitoredList::CopyFrom(const TMonitoredList& source, std::string_view filter) {
    VH_ASSERT(&source != this);
    for (int i = 0; i < source.Count(); ++i) {
        const TMonitoredItem& item = source.Items(i);
        if (PassesTextFilter(source.Names(i), filter) && IndexOfName(item.Name) == -1)
            AppendCopy(source.Names(i), item);
    }
}

void TMonitoredList::AssignFiltered(const TMonitoredList& source, TMonitoredItemType type, std::string_view filter) {
    VH_ASSERT(&source != this);
    Clear();
    for (int i = 0; i < source.Count(); ++i) {
        const TMonitoredItem& item = source.Items(i);
        if ((type == mitAll || item.ItemType == type) && PassesTextFilter(source.Names(i), filter))
            AppendCopy(source.Names(i), item);
    }
}

void TMonitoredList::LoadFromNameValueLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const auto eq = line.find('=');
        std::string name = line.substr(0, eq);
        std::string caption = eq == std::string::npos ? std::string() : line.substr(eq + 1);
        if (FindMatch(name, "").Index != -1) continue;
        auto item = std::make_unique<TMonitoredItem>();
        item->Active = true;
        item->ItemType = mitApplication;
        item->Name = std::move(name);
        item->Caption = caption;
        Add(std::move(caption), std::move(item));
    }
}

void TMonitoredList::FillStrings(IMonitoredListTarget& target, TMonitoredItemType type) {
    target.BeginUpdate();
    target.Clear();
    target.SetCapacity(Count());
    for (int i = 0; i < Count(); ++i) {
        TMonitoredItem& item = Items(i);
        if (!item.Active) item.Selected = false;
        if (type == mitAll || item.ItemType == type) target.Add(item.Caption, &item);
    }
    target.EndUpdate();
}

}  // namespace vh
