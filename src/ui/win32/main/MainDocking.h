#pragma once
// The main window's place at the work-area edge: re-docking, the header drag
// that only flips sides, and the auto-hide with its three timers. The window
// calls it from its start, its header drag, its body's mouse moves, the tray
// icon and the work-area notices; the rules themselves are ui/Docking and
// ui/AutoHide.

#include <cstdint>
#include <functional>

#include "ui/AutoHide.h"
#include "ui/Docking.h"
#include "ui/win32/skin/BaseFRM.h"

namespace vh {
class TAppearancePreferences;
}

namespace vh::win32 {

class TMainDocking {
public:
    // Adds its timers to the form; both must outlive the object.
    TMainDocking(TfrmBase& form, TAppearancePreferences& preferences);
    TMainDocking(const TMainDocking&) = delete;
    TMainDocking& operator=(const TMainDocking&) = delete;
    ~TMainDocking();

    TTimer& tmrDeactivation;
    TTimer& tmrAutohide;
    TTimer& tmrAutohideSlide;

    // Locked or suspended: nothing here does anything meanwhile.
    std::function<bool()> IsPaused;
    // The lite view docks top or bottom at its own height; the full view
    // takes the work area's height.
    std::function<bool()> IsLiteView;
    std::function<int()> LiteViewHeight;

    // Reads the side, place and auto-hide from the preferences, docks and
    // starts watching whether the user has left the window.
    void Start();
    // A window hidden in the tray has no edge to slide from: the watch for
    // the user leaving it, a tick a second, waits until it shows again.
    void WindowShown(bool shown);
    void ReDock();
    std::uint8_t DockSide() const noexcept { return side_; }
    std::uint8_t VerticalPlace() const noexcept { return place_; }
    void SetDockSide(std::uint8_t side);
    void SetVerticalPlace(std::uint8_t place);
    IntRect WorkArea() const noexcept { return workArea_; }

    bool Autohide() const noexcept { return autohide_; }
    // Stored as the "Autohide" preference.
    void SetAutohide(bool on);
    TSlideState SlideState() const noexcept { return autoHide_.State(); }

    // The header drag: flips the side (and the lite view's place); the window
    // never moves freely, so it always answers false.
    bool CanMoveTo(int newLeft, int newTop);
    // The mouse over the hidden window's sliver brings it back.
    void BodyMouseMove();
    // The tray icon on a hidden window: it slides back in. False when the
    // window is not hidden.
    bool ShowIfHidden();

private:
    bool Paused() const;
    bool KeepShownNow() const;
    IntRect ReadWorkArea() const;
    void Sync();

    TfrmBase& form_;
    TAppearancePreferences& preferences_;
    TAutoHide autoHide_;
    IntRect workArea_;
    std::uint8_t side_ = kDockRight;
    std::uint8_t place_ = kPlaceTop;
    bool autohide_ = false;
};

}  // namespace vh::win32
