#pragma once
// Numbers as text in the general format users see: the shortest of fixed and
// scientific notation with up to 15 significant digits.

#include <string>
#include <string_view>

namespace vh {

// Fixed notation while the value has at most 15 digits before the decimal
// separator and is at least 0.00001 in size; otherwise "d.dddE[-]x"
// (1E20, 1.5E-6). Infinities give "INF" and "-INF", NaN gives "NAN".
std::string FloatToGeneralText(double value, std::string_view decimalSeparator);

}  // namespace vh
