#pragma once
// The add wizard's design: its size, the places its pages share and its
// fixed texts, in 96-DPI pixels (the form scales them).

namespace vh::win32::add_wizard_layout {

inline constexpr int kClientWidth = 356;
inline constexpr int kClientHeight = 607;
inline constexpr int kBodyTop = 32;
inline constexpr int kMargin = 10;
inline constexpr int kInner = kClientWidth - 2 * kMargin;
inline constexpr int kRowHeight = 16;
inline constexpr int kTickWidth = 18;
inline constexpr int kTypeWidth = 40;
inline constexpr int kEditHeight = 22;
inline constexpr int kButtonHeight = 30;
inline constexpr int kNavTop = 532;  // page coordinates of the navigation buttons
inline constexpr int kNavWidth = 90;
inline constexpr int kHeadsHeight = 20;

inline constexpr char kTitles[3][40] = {"Add Websites to your time-limit list", "Add Applications by Scanning",
                                        "Add Applications by Name"};
inline constexpr char kFast[] = "Fast (gets most programs)";
inline constexpr char kComplete[] = "Complete (far slower)";
inline constexpr char kStop[] = "Stop";
inline constexpr char kWizardCaption[] = "Vornhalt";
inline constexpr char kScan[] = "Scan";

}  // namespace vh::win32::add_wizard_layout
