#pragma once
// Connects the stored appearance preferences to every window: colour, text
// colour, transparency and the tiled background picture.

namespace vh {
class TAppearancePreferences;
}

namespace vh::win32 {

// The preferences must live to the end of the program. Windows built later
// read them at creation; a window repainting after a change of picture gets
// the new one (the picture object stays the same).
void ConnectAppearancePreferences(TAppearancePreferences& preferences);

}  // namespace vh::win32
