#include "ui/win32/skin/PageLifting.h"

#include <algorithm>
#include <utility>
#include <variant>
#include <vector>

#include "ui/win32/skin/DialogRoutines.h"
#include "ui/win32/skin/WindowRegions.h"

namespace vh::win32 {
namespace {

// Native controls with the tab order they had, lowest first (ties keep their
// order).
using RecordedTabOrders = std::vector<std::pair<int, TWinControl*>>;

// Sorts the record and sets each tab order again, lowest first.
void ReapplyTabOrders(RecordedTabOrders& recorded) {
    std::stable_sort(recorded.begin(), recorded.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [order, control] : recorded) control->SetTabOrder(order);
}

}  // namespace

void ShowPageControls(TForm& form, TTabSheet& page) {
    const TPageControl& pageControl = page.PageControl();
    RecordedTabOrders recorded;
    for (TWinControl* control : page.TabList().Items()) recorded.emplace_back(control->TabOrder(), control);
    while (!page.Controls().empty()) {
        const TTabSheet::TAnyControl any = page.TakeFirst();
        if (auto* const* plain = std::get_if<TControl*>(&any)) {
            TControl& control = **plain;
            OffsetControl(control, pageControl.Left(), pageControl.Top());
            control.PageTag = &page;
            control.Page = nullptr;
            control.Invalidate();
        } else {
            TWinControl& control = *std::get<TWinControl*>(any);
            OffsetControl(control, pageControl.Left(), pageControl.Top());
            control.PageTag = &page;
            control.Page = nullptr;
            control.MoveToTabList(form.TabList());
            if (IsComboBox(control.Handle())) ClipComboBoxArrow(control.Handle());
            control.SetVisible(true);
        }
    }
    form.SetActiveControl(nullptr);
    ReapplyTabOrders(recorded);
    if (form.ActiveControl()) return;
    for (const auto& [order, control] : recorded) {
        if (control->CanFocus()) {
            form.SetActiveControl(control);
            return;
        }
    }
}

void ReturnPageControls(TForm& form) {
    RecordedTabOrders recorded;
    for (TWinControl* control : form.TabList().Items()) {
        if (control->PageTag) recorded.emplace_back(control->TabOrder(), control);
    }
    for (const auto& owned : form.Controls()) {
        TControl& control = *owned;
        TTabSheet* page = control.PageTag;
        if (!page) continue;
        control.Invalidate();
        OffsetControl(control, -page->PageControl().Left(), -page->PageControl().Top());
        control.Page = page;
        control.PageTag = nullptr;
        page->Append(&control);
    }
    for (const auto& owned : form.WinControls()) {
        TWinControl& control = *owned;
        TTabSheet* page = control.PageTag;
        if (!page) continue;
        if (form.ActiveControl() == &control) form.SetActiveControl(nullptr);
        control.SetVisible(false);
        OffsetControl(control, -page->PageControl().Left(), -page->PageControl().Top());
        control.Page = page;
        control.PageTag = nullptr;
        control.MoveToTabList(page->TabList());
        page->Append(&control);
    }
    ReapplyTabOrders(recorded);
}

}  // namespace vh::win32
