#pragma once
// Where the main window sits at the work-area edge, and how a header drag
// flips it to the other edge (or, in the lite view, between top and bottom).

#include <cstdint>
#include <optional>

#include "ui/FormRules.h"
#include "ui/Geometry.h"

namespace vh {

// Stored as the "Position" preferences "Align" and "AlignVertical".
inline constexpr std::uint8_t kDockRight = 1;
inline constexpr std::uint8_t kDockLeft = 2;
inline constexpr std::uint8_t kPlaceTop = 0;
inline constexpr std::uint8_t kPlaceBottom = 1;
inline constexpr std::uint8_t kPlaceTopAgain = 2;  // written by a drag to the top half

// Any side other than left docks right, so a damaged preference still shows
// the window.
bool DockedLeft(std::uint8_t side) noexcept;

// The full view is as high as the work area; the lite view as its content
// (`liteHeight`, like the work area in device pixels).
int DockedWindowHeight(const IntRect& workArea, bool liteView, int liteHeight) noexcept;

// The top-left of the docked window. Docked right, its right edge lies one
// pixel past the work area; docked left, it is flush with it. Only the lite
// view goes to the bottom.
IntPoint DockPosition(const IntRect& workArea, IntSize window, std::uint8_t side, std::uint8_t verticalPlace,
                      bool liteView) noexcept;

// What a header drag to `wanted` (the window's would-be top-left) changes:
// crossing the work area's middle flips the side; in the lite view the top
// half or the bottom half chooses the place. The window itself never moves
// freely.
struct DockChange {
    std::optional<std::uint8_t> side;
    std::optional<std::uint8_t> verticalPlace;
};
DockChange DockChangeForDrag(IntPoint wanted, const IntRect& workArea, std::uint8_t side, bool liteView) noexcept;

}  // namespace vh
