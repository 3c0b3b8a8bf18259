#include "ui/win32/toolkit/PageControls.h"

#include "common/Exceptions.h"

namespace vh::win32 {

void TTabSheet::Insert(TControl& control, int left, int top, int width, int height) {
    VH_ASSERT(!control.Page && !control.PageTag);
    control.SetBounds(left, top, width, height);
    control.Page = this;
    controls_.emplace_back(&control);
}

void TTabSheet::Insert(TWinControl& control, int left, int top, int width, int height) {
    VH_ASSERT(!control.Page && !control.PageTag);
    control.SetBounds(left, top, width, height);
    control.SetVisible(false);
    control.Page = this;
    control.MoveToTabList(tabList_);
    controls_.emplace_back(&control);
}

void TTabSheet::Append(TAnyControl control) {
    controls_.push_back(control);
}

TTabSheet::TAnyControl TTabSheet::TakeFirst() {
    VH_ASSERT(!controls_.empty());
    const TAnyControl first = controls_.front();
    controls_.erase(controls_.begin());
    return first;
}

TTabSheet& TPageControl::AddPage(std::string name) {
    pages_.push_back(std::make_unique<TTabSheet>(*this, std::move(name)));
    return *pages_.back();
}

}  // namespace vh::win32
