#pragma once
// The reminder: the modal, stay-on-top window shown when the day's allowance
// is used up or focus mode is on. It says why, shows the to-do texts for the
// rest of the day, offers the five-minute extension once a day, and either
// counts down a minute or lets the user pick the action. What happens when it
// has closed is left to the caller's end handler.

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "model/OptionsEnums.h"
#include "ui/win32/skin/BaseFRM.h"

namespace vh::win32 {

inline constexpr char kReminderCaption[] = "Reminder";

// What the reminder shows: the expiration action and the to-do texts for
// morning, afternoon and evening.
struct TReminderSettings {
    TExpirationAction ExpirationAction = eaReminderOnly;
    std::array<std::string, 3> ReminderTexts;
};

// Runs once the window has closed: whether the extension was chosen, focus
// mode, and the action index chosen in the list. Its failures leave Execute.
using TReminderEndHandler = std::function<void(bool fiveMinutesChosen, bool focusMode, int chosenAction)>;

class TfrmReminder : public TfrmBase {
public:
    // The main window is disabled while the reminder is open. Sets the
    // shared countdown to a minute and the height by the period of the day.
    TfrmReminder(HWND mainWindow, TReminderSettings settings, TReminderEndHandler onEnd);

    TLabel& lblReminderText;
    TLabel& lblReminderMorning;
    TImagePanel& pnlReminderMorning;
    TMemo& memReminderMorning;
    TLabel& lblReminderAfternoon;
    TImagePanel& pnlReminderAfternoon;
    TMemo& memReminderAfternoon;
    TLabel& lblReminderEvening;
    TImagePanel& pnlReminderEvening;
    TMemo& memReminderEvening;
    TLabel& lblTimeLeft;
    TLabel& lblTimeValue;
    TLabel& lblAction;
    TImagePanel& pnlExpirationCombo;
    TComboBox& cbxExpirationAction;
    TImageButton& btnComboExpirationAction;
    TImageButton& btnFiveMinutes;
    TImageButton& btnOk;
    TPopupMenu& pmnButtons;
    TMenuItem& miOk;
    TMenuItem& miCancel;
    TTimer& tmrCountdown;

    bool FiveMinutesChosen = false;
    bool FocusMode = false;
    int Period() const noexcept { return period_; }

    // Seconds left of the countdown, shared by every reminder window.
    static int& CountdownValue() noexcept;

    // Shows the window modally and returns whether the extension was chosen;
    // then hands the outcome to the end handler. `remainingText` is the
    // focus time left ("hh:nn"); it is not shown.
    bool Execute(bool focusMode, const std::string& remainingText, bool show5MinButton);

    // OK, Enter and Escape: closes without an extension.
    void CommonOkClick();

    void AfterConstruction() override;

protected:
    void FormShow() override;
    void FormDpiChanged() override;

private:
    void Prepare(bool show5MinButton);
    void ApplyPeriodLayout();
    // Text measured in the font in use: the action list as wide as its longest
    // entry needs (never narrower than designed), its frame and drop button
    // with it; the buttons as wide as their captions, still right-aligned.
    void FitTexts();
    void CountdownTick();

    HWND mainWindow_;
    TReminderSettings settings_;
    TReminderEndHandler onEnd_;
    TReminderType period_ = rtMorning;
    std::string remainingText_;
};

}  // namespace vh::win32
