#pragma once
// Display scale: form definitions are written in pixels at 96 DPI (100 %);
// the window toolkit turns them into device pixels at the window's DPI with
// these rules, and nowhere else.

#include "ui/Geometry.h"

namespace vh {

inline constexpr int kDesignDpi = 96;

// value * dpi / 96, rounded to nearest with halves away from zero (a negative
// font height scales like its magnitude).
int ScaleToDpi(int value, int dpi) noexcept;
// The inverse for device pixels read back from a window (nearest design pixel).
int UnscaleFromDpi(int value, int dpi) noexcept;
// Scales each edge on its own, so two rectangles that touch at 96 DPI still
// touch at any scale: a right or bottom edge is never one pixel short of its
// neighbour's left or top.
IntRect ScaleRectToDpi(IntRect rect, int dpi) noexcept;
IntSize ScaleSizeToDpi(IntSize size, int dpi) noexcept;
// A DPI the system reports (0 or out of range when unknown) made usable.
int ValidDpi(int dpi) noexcept;

}  // namespace vh
