#include "ui/win32/toolkit/Menus.h"

#include "common/Exceptions.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {
namespace {

// Appends the visible items to `menu`; each chosen item is found again by
// its command id, its index in `commands` plus one.
void AppendItems(HMENU menu, const TMenuItem& parent, std::vector<TMenuItem*>& commands) {
    for (const auto& owned : parent.Items()) {
        TMenuItem& item = *owned;
        if (!item.Visible) continue;
        if (item.IsSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::wstring caption = Utf8ToWide(item.Caption);
        const UINT state = (item.Enabled ? MF_ENABLED : MF_GRAYED) | (item.Checked ? MF_CHECKED : MF_UNCHECKED);
        if (!item.Items().empty()) {
            UniqueMenu sub(CreatePopupMenu());
            if (!sub) throw Exception("CreatePopupMenu failed");
            AppendItems(sub.Get(), item, commands);
            // The parent menu destroys its sub-menus with it.
            if (AppendMenuW(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(sub.Get()), caption.c_str()))
                static_cast<void>(sub.Release());
            continue;
        }
        commands.push_back(&item);
        AppendMenuW(menu, MF_STRING | state, commands.size(), caption.c_str());
        if (item.RadioItem) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_RADIOCHECK;
            SetMenuItemInfoW(menu, static_cast<UINT>(commands.size()), FALSE, &info);
        }
    }
}

}  // namespace

TMenuItem& TMenuItem::Add(std::string name, std::string caption, UINT shortCut) {
    auto item = std::make_unique<TMenuItem>();
    item->Name = std::move(name);
    item->Caption = std::move(caption);
    item->ShortCut = shortCut;
    item->parent_ = this;
    items_.push_back(std::move(item));
    return *items_.back();
}

TMenuItem& TMenuItem::AddSeparator() {
    return Add("", kMenuSeparator);
}

void TMenuItem::SetChecked(bool checked) {
    Checked = checked;
    if (!checked || !RadioItem || !parent_) return;
    for (const auto& sibling : parent_->items_) {
        if (sibling.get() != this && sibling->RadioItem && sibling->GroupIndex == GroupIndex) sibling->Checked = false;
    }
}

void TMenuItem::Click() {
    if (!Enabled) return;
    if (AutoCheck) SetChecked(!Checked);
    if (OnClick) OnClick(*this);
}

void TPopupMenu::Popup(HWND owner, int screenX, int screenY) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) throw Exception("CreatePopupMenu failed");
    std::vector<TMenuItem*> commands;
    AppendItems(menu.Get(), root_, commands);
    // Without the foreground the menu would not close when the user clicks
    // elsewhere; the posted message lets it end cleanly.
    SetForegroundWindow(owner);
    const auto chosen = static_cast<std::size_t>(
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY, screenX, screenY, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen >= 1 && chosen <= commands.size()) commands[chosen - 1]->Click();
}

}  // namespace vh::win32
