#pragma once
// The settings dialog's design: its size, the places its four pages share and
// their fixed texts, in 96-DPI pixels (the form scales them).

namespace vh::win32::settings_layout {

inline constexpr int kClientWidth = 318;
inline constexpr int kClientHeight = 431;
inline constexpr int kHeaderHeight = 32;
inline constexpr int kMargin = 10;
inline constexpr int kPageWidth = kClientWidth;
inline constexpr int kPageHeight = kClientHeight - kHeaderHeight;

// Every page's two buttons at its foot.
inline constexpr int kButtonTop = kPageHeight - kMargin - 30;
inline constexpr int kButtonWidth = 90;
inline constexpr int kCaptionMargin = 10;

// A skinned drop-down list: a frame, the list inside it, and the button that
// opens it over the list's own arrow.
inline constexpr int kComboHeight = 30;
inline constexpr int kComboButton = 26;
inline constexpr int kFieldLeft = 122;
inline constexpr int kLabelHeight = 16;
inline constexpr int kListRowHeight = 16;
inline constexpr int kReminderRowHeight = 18;
// The list's type column, as wide as its header.
inline constexpr int kTypeColumnWidth = 70;
inline constexpr int kListWidth = kPageWidth - 2 * kMargin;

inline const char* const kTransparencies[] = {"0",  "5",  "10", "15", "20", "25", "30",
                                              "40", "50", "60", "70", "80", "90"};
inline const char* const kExpirationActions[] = {"Reminder Only", "Close Browser/App.", "Shutdown Profile"};
inline const char* const kReminders[] = {"Morning", "Afternoon", "Evening"};
inline const char* const kChangePeriods[] = {"Never", "Daily", "Weekly", "Fortnightly", "Monthly"};

inline constexpr char kBackgroundText[] =
    "You can customise the background using an image of your choice, or a selection of landscapes and a colour "
    "palette. You can also set the transparency of the application on your desktop.";
inline constexpr char kMonitoredListText[] =
    "Add application and sites to time limit (eg google.com or Internet Explorer). To time limit all websites, add "
    "your browsers to the list. To time limit email access, add your email websites and Outlook to the list. ";
inline constexpr char kExpirationQuestion[] = "What should the application do when the time limit is reached?";
inline constexpr char kExpirationText[] =
    "Please confirm your settings before proceeding.  We suggest setting reminders initially. To block distracting "
    "sites/games/email at any time click Focus.";

}  // namespace vh::win32::settings_layout
