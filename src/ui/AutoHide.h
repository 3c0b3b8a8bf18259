#pragma once
// The main window's auto-hide: after the user has left it, a countdown, then
// a slide out to a 2-pixel sliver (at 96 DPI) at the work-area edge, and back when the
// mouse touches the sliver. The three timers are flags here; the window turns
// its real timers on and off to match after every call.

#include <cstdint>

#include "ui/FormRules.h"
#include "ui/Geometry.h"

namespace vh {

inline constexpr unsigned kDeactivationInterval = 1000;  // ms
inline constexpr unsigned kAutohideInterval = 3000;      // ms
inline constexpr unsigned kAutohideSlideInterval = 10;   // ms
inline constexpr int kSliverWidth = 2;                   // 96-DPI pixels

enum class TSlideState : std::uint8_t { Shown = 0, Hiding = 1, Hidden = 2, Showing = 3 };

// Is the user with the window? Never while paused; always while it is the
// foreground window; otherwise when the cursor is inside its client area
// (screen coordinates).
bool KeepShown(bool paused, bool foreground, const IntRect& clientOnScreen, IntPoint cursor) noexcept;

// The left of a hidden window: `sliver` pixels of it stay inside the work
// area.
int HiddenLeft(const IntRect& workArea, int width, std::uint8_t side, int sliver) noexcept;

class TAutoHide {
public:
    TSlideState State() const noexcept { return state_; }
    bool AutohideTimerRunning() const noexcept { return autohideTimer_; }
    bool SlideTimerRunning() const noexcept { return slideTimer_; }
    // The sliver in the window's device pixels: kSliverWidth at its scale.
    int SliverWidth() const noexcept { return sliver_; }
    void SetSliverWidth(int pixels) noexcept { sliver_ = pixels; }

    // Locked or suspended: no timer does anything and the window counts as
    // not hovered.
    bool Paused() const noexcept { return paused_; }
    void SetPaused(bool paused) noexcept { paused_ = paused; }

    // Every second: arms the countdown once the user has left a shown window.
    void DeactivationTick(bool keepShown, bool autohide) noexcept;
    // The countdown ran out: slides out when the window is normal and the
    // user still away; otherwise it checks again next time.
    void AutohideTick(bool windowNormal, bool keepShown, bool autohide) noexcept;
    // One slide step; answers the window's new left (set on every tick).
    // `workArea` is read afresh by the caller for every tick.
    int SlideTick(int left, int width, const IntRect& workArea, std::uint8_t side, bool autohide) noexcept;

    // The mouse over the hidden window's sliver brings it back.
    void BodyMouseMove(bool autohide) noexcept;
    // The tray icon or the hot key on a hidden window brings it back.
    void ShowHidden() noexcept;

private:
    TSlideState state_ = TSlideState::Shown;
    bool autohideTimer_ = false;
    bool slideTimer_ = false;
    bool paused_ = false;
    int sliver_ = kSliverWidth;
};

}  // namespace vh
