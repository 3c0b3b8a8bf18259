#pragma once
// Popup menus: items with captions, hidden shortcuts, separators ("-"),
// sub-menus, check marks, radio groups and disabled items. A popup shows the
// visible items at a screen point and runs the one chosen through Click.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vh::win32 {

inline constexpr char kMenuSeparator[] = "-";

class TMenuItem {
public:
    TMenuItem() = default;
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    std::string Name;
    std::string Caption;  // kMenuSeparator draws a separator line
    UINT ShortCut = 0;    // a virtual key pressed without modifiers; 0 for none
    bool Visible = true;
    bool Enabled = true;
    bool Checked = false;
    // A click toggles Checked; for a radio item, checking it unchecks the
    // radio items of the same group beside it (so clicking the checked one
    // unchecks it, and its handler decides what that means).
    bool AutoCheck = false;
    bool RadioItem = false;
    int GroupIndex = 0;
    std::function<void(TMenuItem&)> OnClick;

    // Sub-items make this item a sub-menu.
    TMenuItem& Add(std::string name, std::string caption, UINT shortCut = 0);
    TMenuItem& AddSeparator();
    const std::vector<std::unique_ptr<TMenuItem>>& Items() const noexcept { return items_; }
    TMenuItem* Parent() const noexcept { return parent_; }
    bool IsSeparator() const noexcept { return Caption == kMenuSeparator; }

    // Sets Checked; a checked radio item unchecks its group's others.
    void SetChecked(bool checked);
    // What choosing the item does: the auto-check, then OnClick.
    void Click();

private:
    std::vector<std::unique_ptr<TMenuItem>> items_;
    TMenuItem* parent_ = nullptr;
};

class TPopupMenu {
public:
    std::string Name;
    TMenuItem& Add(std::string name, std::string caption, UINT shortCut = 0) {
        return root_.Add(std::move(name), std::move(caption), shortCut);
    }
    TMenuItem& AddSeparator() { return root_.AddSeparator(); }
    const std::vector<std::unique_ptr<TMenuItem>>& Items() const noexcept { return root_.Items(); }
    // Shows the visible items at a screen point and runs the one chosen.
    void Popup(HWND owner, int screenX, int screenY);

private:
    TMenuItem root_;
};

}  // namespace vh::win32
