#pragma once
// List controls with an object per row: a list box with a selected row, hit
// testing and owner drawing, its adapter to the time-limit list's view fill,
// an owner-drawn combo box, and the drawing of a time-limit list row.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "model/MonitoredObjects.h"
#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {

// An owner-drawn list box whose rows each carry an object (not owned).
class TItemListBox : public TListBox {
public:
    explicit TItemListBox(TForm& form) : TListBox(form, true) {}

    int AddObject(const std::string& text, void* object);
    // The row's object; nullptr for a row without one.
    void* Object(int index) const noexcept;
    void DeleteItem(int index) noexcept;
    // The selected row, -1 for none.
    int ItemIndex() const noexcept;
    void SetItemIndex(int index) noexcept;
    // The row under a point of the list's client area, -1 below the last.
    int ItemAtPos(int x, int y) const noexcept;
};

// Fills a list box from a time-limit list (TMonitoredList::FillStrings).
class TListBoxTarget : public IMonitoredListTarget {
public:
    explicit TListBoxTarget(TItemListBox& list) noexcept : list_(list) {}
    void BeginUpdate() override { list_.BeginUpdate(); }
    void Clear() override { list_.Clear(); }
    void SetCapacity(int) override {}
    void Add(const std::string& text, TMonitoredItem* item) override { list_.AddObject(text, item); }
    void EndUpdate() override { list_.EndUpdate(); }

private:
    TItemListBox& list_;
};

// A list's chosen row, by the entry it shows, and its scroll position, kept
// across a refill from the time-limit list: the usage timer refills the main
// window's lists while a person may be choosing a row to delete.
class TListChoice {
public:
    explicit TListChoice(const TItemListBox& list);
    // Chooses the row of the same entry again, if it is still there.
    void RestoreIn(TItemListBox& list) const;

private:
    std::optional<std::pair<TMonitoredItemType, std::string>> entry_;
    int top_ = 0;
};

// A drop-down list whose rows (of a fixed height) are painted by OnDrawItem.
class TOwnerDrawComboBox : public TComboBox {
public:
    TOwnerDrawComboBox(TForm& form, int itemHeight);
    bool DroppedDown() const noexcept;
    std::function<void(TOwnerDrawComboBox&, const DRAWITEMSTRUCT&)> OnDrawItem;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;
    void DpiChanged() override;

private:
    int itemHeight_;  // 96-DPI pixels
};

// Paints one row of a time-limit list: alternating background, the grid of
// the three columns (as wide as their header panels) and the entry's texts.
void DrawMonitoredRow(TItemListBox& list, const DRAWITEMSTRUCT& item, int nameHeaderWidth, int typeHeaderWidth);

// The text of a row of a list or combo box, as UTF-16 for drawing.
std::wstring ItemTextW(HWND control, UINT lengthMessage, UINT textMessage, UINT index);

}  // namespace vh::win32
