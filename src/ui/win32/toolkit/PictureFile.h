#pragma once
// Reads a picture file with the program's picture loader and hands it over as
// a graphic for the skinned controls.

#include <string>

#include "ui/win32/toolkit/Picture.h"

namespace vh::win32 {

// Raises vh::Exception (EPictureError for a file that cannot be decoded).
TGraphic LoadGraphicFile(const std::string& path);

}  // namespace vh::win32
