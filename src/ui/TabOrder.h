#pragma once
// The order in which Tab visits a form's controls: reading order, rows from
// top to bottom and each row from left to right, as a person reads the form.

#include <cstddef>
#include <vector>

#include "ui/Geometry.h"

namespace vh {

// Positions into `bounds` in reading order. A control joins the row of the
// one before it when its top lies above that row's vertical middle (an edit
// box a few pixels lower than the label or button beside it is on the same
// row); ties keep the given order.
std::vector<std::size_t> ReadingOrder(const std::vector<IntRect>& bounds);

}  // namespace vh
