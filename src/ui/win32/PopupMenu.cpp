#include "ui/win32/Form.h"

#include "common/Exceptions.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {

TMenuItem& TPopupMenu::Add(std::string name, std::string caption, UINT shortCut) {
    auto item = std::make_unique<TMenuItem>();
    item->Name = std::move(name);
    item->Caption = std::move(caption);
    item->ShortCut = shortCut;
    items_.push_back(std::move(item));
    return *items_.back();
}

void TPopupMenu::Popup(HWND owner, int screenX, int screenY) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) throw Exception("CreatePopupMenu failed");
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const TMenuItem& item = *items_[i];
        if (!item.Visible) continue;
        const std::wstring caption = Utf8ToWide(item.Caption);
        AppendMenuW(menu.Get(), MF_STRING | (item.Enabled ? 0 : MF_GRAYED), i + 1, caption.c_str());
    }
    // Without the foreground the menu would not close when the user clicks
    // elsewhere; the posted message lets it end cleanly.
    SetForegroundWindow(owner);
    const auto chosen = static_cast<std::size_t>(
        TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY, screenX, screenY, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen >= 1 && chosen <= items_.size() && items_[chosen - 1]->OnClick) {
        items_[chosen - 1]->OnClick(*items_[chosen - 1]);
    }
}

}  // namespace vh::win32
