#pragma once
// The time-limit list: entries naming an application (by executable path) or a
// web site (by address or address fragment), and the rules that decide
// whether a running application or a browser address belongs to an entry.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/DateTime.h"

namespace vh {

enum TMonitoredItemType : std::uint8_t {
    mitAll = 0,  // a filter meaning any type; no stored entry has it
    mitApplication = 1,
    mitWebSite = 2,
};

class TMonitoredItem {
public:
    bool Active = true;  // false: removal pending until the next daily reset
    std::string Caption;
    TMonitoredItemType ItemType = mitAll;
    std::string Name;  // matching key: executable path or address fragment
    bool Selected = false;
    std::int32_t Seconds = 0;  // used in the period the list was loaded for

    void CopyFrom(const TMonitoredItem& source);
    std::string GetTypeText() const;
    TDateTime GetDuration() const;  // Seconds as a day fraction

    // Whether this entry is the one `name` spells: for an application the
    // same program (see ProgramNames.h), otherwise equal ignoring ASCII case.
    bool HasName(std::string_view name) const;
    // Whether the program at `processPath` belongs to this entry. Entries of
    // other types compare their name with the path ignoring ASCII case.
    bool MatchesProgram(std::string_view processPath) const;
};

// Display text of a type: "all", "App", "Web".
std::string MonitoredItemTypeText(TMonitoredItemType type);

// Trims, then drops everything through the first "://" and after that
// through the first "www." (both case-sensitive).
std::string NormalizeAddress(std::string_view address);

// Whether the entry name matches the address: the normalised name occurs in
// the normalised address at its start, or after text with no "/" and no "?".
bool WebSiteMatches(std::string_view entryName, std::string_view address);

// What a list control needs from a view fill; the UI implements it.
class IMonitoredListTarget {
public:
    virtual ~IMonitoredListTarget() = default;
    virtual void BeginUpdate() = 0;
    virtual void Clear() = 0;
    virtual void SetCapacity(int capacity) = 0;
    virtual void Add(const std::string& text, TMonitoredItem* item) = 0;
    virtual void EndUpdate() = 0;
};

// Result codes of TMonitoredList::Classify (the add-check).
enum class TClassifyCode : int {
    NotOnList = 0,
    ActiveSelected = 1,
    OwnProgram = 2,
    Inactive = 3,
    ActiveNotSelected = 5,
};

struct TMatch {
    int Index = -1;
    TMonitoredItemType Kind = mitApplication;
};

// Owns its entries, kept sorted by key (the caption) ignoring case, with
// equal keys accepted. Entries are copied between lists, never shared.
class TMonitoredList {
public:
    TMonitoredList() = default;
    TMonitoredList(const TMonitoredList&) = delete;
    TMonitoredList& operator=(const TMonitoredList&) = delete;
    TMonitoredList(TMonitoredList&&) noexcept = default;
    TMonitoredList& operator=(TMonitoredList&&) noexcept = default;

    int Count() const noexcept { return static_cast<int>(entries_.size()); }
    int Capacity() const noexcept { return static_cast<int>(entries_.capacity()); }
    void SetCapacity(int capacity);

    TMonitoredItem& Items(int index);
    const TMonitoredItem& Items(int index) const;
    const std::string& Names(int index) const;

    // Inserts at the sorted place of `key`, before entries with an equal key;
    // the list takes ownership. Asserts that an item is given.
    void Add(std::string key, std::unique_ptr<TMonitoredItem> item);
    void Delete(int index);
    void Clear() noexcept { entries_.clear(); }

    // First entry that HasName(`name`); -1 if none.
    int IndexOfName(std::string_view name) const;
    int IndexOfItem(const TMonitoredItem& item) const { return IndexOfName(item.Name); }

    // First web-site match (over every entry) wins; otherwise the last entry
    // whose program is the one at the path (MatchesProgram).
    TMatch FindMatch(std::string_view applicationPath, std::string_view address) const;

    // The add-check. `programFile` is the running program's own path, which
    // may never be put on its own list. `index` is left alone for OwnProgram.
    TClassifyCode Classify(const TMonitoredItem& candidate, int& index, std::string_view programFile) const;

    // Appends copies of the source's entries that pass the filter and whose
    // Name is not in this list yet.
    void CopyFrom(const TMonitoredList& source, std::string_view filter);
    // Replaces the contents with copies of the source's entries of `type`
    // (any for mitAll) that pass the filter.
    void AssignFiltered(const TMonitoredList& source, TMonitoredItemType type, std::string_view filter);
    // Lines "name=caption": each name that matches nothing yet becomes an
    // active application entry keyed by its caption.
    void LoadFromNameValueLines(const std::vector<std::string>& lines);
    void FillStrings(IMonitoredListTarget& target, TMonitoredItemType type);

private:
    struct Entry {
        std::string key;
        std::unique_ptr<TMonitoredItem> item;
    };
    void CheckIndex(int index) const;
    void AppendCopy(const std::string& key, const TMonitoredItem& source);

    std::vector<Entry> entries_;
};

// The text filter of CopyFrom/AssignFiltered: empty passes everything,
// otherwise the lower-cased filter must occur in the lower-cased key.
bool PassesTextFilter(std::string_view key, std::string_view filter);

}  // namespace vh
