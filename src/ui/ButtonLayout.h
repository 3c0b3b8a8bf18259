#pragma once
// Where an image button draws its picture and caption, and how its visual
// state follows the mouse.

#include <cstdint>
#include <optional>

#include "ui/Geometry.h"

namespace vh {

enum class TImageButtonState : std::uint8_t { normal = 0, selected = 1, downed = 2 };

struct ButtonContentLayout {
    IntRect picture;  // empty without a picture
    IntRect caption;  // empty without a caption
};

// `picture` is the graphic's size (0 x 0 for none), `caption` the measured
// caption size (0 x 0 for an empty caption). Without a picture the caption
// is centred, without a caption the picture is; with both the pair is
// centred horizontally with no gap between them, each centred vertically.
ButtonContentLayout LayoutButtonContent(IntSize client, IntSize picture, IntSize caption) noexcept;

// The rectangle the caption is drawn in: one pixel lower while pressed.
IntRect CaptionRectForState(IntRect caption, TImageButtonState state) noexcept;

enum class ButtonMouseEvent { pressed, moved, left };

// The state after a mouse event, or nothing when the state stays. A move
// while the left or right button is held changes nothing; releasing the
// button is no event at all, so a pressed button stays downed.
std::optional<TImageButtonState> NextButtonState(ButtonMouseEvent event, bool buttonHeld) noexcept;

}  // namespace vh
