#pragma once
// The background picture choice: the skins beside the program by name, a
// picture of the user's own, or none.

#include <string>
#include <vector>

#include "storage/AppearancePreferences.h"

namespace vh {

// The image choices: "Custom...", the skin names in order, "<No Image>".
inline constexpr char kCustomImageItem[] = "Custom...";
inline constexpr char kNoImageItem[] = "<No Image>";
std::vector<std::string> ImageChoiceItems(const std::vector<TSkin>& skins);
// The item for the current picture: the skin with exactly that path, else
// "Custom..." when the file exists, else "<No Image>".
int ImageChoiceIndex(const std::vector<TSkin>& skins, const std::string& path, bool fileExists);
// The item of the skin whose path is `path` ignoring case; -1 for none.
int SkinChoiceIndexOfPath(const std::vector<TSkin>& skins, const std::string& path);

}  // namespace vh
