#pragma once
// Today's browsers, told by their top-level window's class together with
// their process image: the Chromium family shares one window class with
// every Electron program, so the class alone would take an editor for a
// browser.

#include <string_view>

#include "monitor/ZuravoZazoApplication.h"

namespace vh {

inline constexpr std::string_view kChromiumWindowClass = "Chrome_WidgetWin_1";
inline constexpr std::string_view kChromiumContentClass = "Chrome_RenderWidgetHostHWND";
inline constexpr std::string_view kFirefoxWindowClass = "MozillaWindowClass";

// The kind of browser a top-level window of class `windowClass` belongs to,
// given its process's image path (a drive path; the file name is compared
// ignoring ASCII case); akDesktop when it is none of them.
TApplicationKind RecognizeBrowser(std::string_view windowClass, std::string_view imagePath);

}  // namespace vh
