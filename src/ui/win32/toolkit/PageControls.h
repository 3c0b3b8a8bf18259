#pragma once
// Design-time pages: forms lay out the controls of each view on a page of a
// page control; at run time the controls of the page in use are lifted onto
// the form (ShowPageControls) so they are drawn on the skinned body. The page
// control itself draws nothing. Controls on a page are neither drawn nor
// shown.

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "ui/win32/toolkit/Control.h"
#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {

class TPageControl;

class TTabSheet {
public:
    using TAnyControl = std::variant<TControl*, TWinControl*>;

    TTabSheet(TPageControl& owner, std::string name) : Name(std::move(name)), owner_(owner) {}
    TTabSheet(const TTabSheet&) = delete;
    TTabSheet& operator=(const TTabSheet&) = delete;

    std::string Name;
    TPageControl& PageControl() const noexcept { return owner_; }

    // Puts a control of the form on this page at page coordinates.
    void Insert(TControl& control, int left, int top, int width, int height);
    void Insert(TWinControl& control, int left, int top, int width, int height);
    // Takes back a control lifted from this page (already at page coordinates).
    void Append(TAnyControl control);
    // Removes and returns the first control.
    TAnyControl TakeFirst();

    const std::vector<TAnyControl>& Controls() const noexcept { return controls_; }
    TTabList& TabList() noexcept { return tabList_; }

private:
    TPageControl& owner_;
    std::vector<TAnyControl> controls_;
    TTabList tabList_;
};

class TPageControl : public TControl {
public:
    using TControl::TControl;
    TTabSheet& AddPage(std::string name);
    const std::vector<std::unique_ptr<TTabSheet>>& Pages() const noexcept { return pages_; }
    void Paint(TBitmap32&) override {}

private:
    std::vector<std::unique_ptr<TTabSheet>> pages_;
};

}  // namespace vh::win32
