// The main window's focus display: while focus mode is on it takes the place
// of the time display and of the Focus button, and shows the time since the
// focus start, the time left or the clock.

#include <initializer_list>
#include <optional>
#include <string>

#include "environment/DateTimeUtils.h"
#include "model/DayRules.h"
#include "model/MonitoredObjects.h"
#include "storage/Options.h"
#include "ui/DpiScale.h"
#include "ui/MainViewRules.h"
#include "ui/win32/dialogs/FocusSettingsFRM.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/main/MainFRM.h"

namespace vh::win32 {
namespace {

constexpr int kClientRight = 319;
constexpr int kFocusPanelRight = 336;  // past the edge: only its left end is rounded
constexpr int kFocusMargin = 8;
constexpr int kFocusGap = 6;

}  // namespace

void TfrmMain::BuildFocusDisplay() {
    SkinDialogButton(btnFocus, "btnFocus", "Focus", 227, 53, 85);
    btnFocus.OnClick = [this](TControl&) { btnFocusClick(); };

    lblMain_FocusModeTimeLink.Name = "lblMain_FocusModeTimeLink";
    TFontStyle link = WhiteFont(false);
    link.height = -11;
    link.underline = true;
    lblMain_FocusModeTimeLink.SetFont(link);
    lblMain_FocusModeTimeLink.HandCursor = true;
    lblMain_FocusModeTimeLink.Alignment = TLabel::TAlignment::taRightJustify;
    lblMain_FocusModeTimeLink.SetBounds(157, 36, 154, 16);
    lblMain_FocusModeTimeLink.OnClick = [this](TControl&) { actChangeFocusModeTimeFormatExecute(); };
    pnlMain_FocusTime.Name = "pnlMain_FocusTime";
    pnlMain_FocusTime.SetTransparent(false);
    pnlMain_FocusTime.SetColor(RGB(255, 255, 255));
    pnlMain_FocusTime.SetBounds(180, 55, 156, 28);
    lblMain_FocusTimeTitle.Name = "lblMain_FocusTimeTitle";
    lblMain_FocusTimeTitle.SetBounds(188, 61, 100, 18);
    lblMain_FocusTime.Name = "lblMain_FocusTime";
    lblMain_FocusTime.SetBounds(289, 61, 44, 18);
    // Screen readers hear the value under its title ("Focus Ends In:").
    lblMain_FocusTime.NameLabel = &lblMain_FocusTimeTitle;
    ShowNormalLayout();
}

void TfrmMain::SetFocusDisplayVisible(bool focus) {
    for (TControl* control : std::initializer_list<TControl*>{&lblMain_FocusTime, &lblMain_FocusTimeTitle,
                                                              &pnlMain_FocusTime, &lblMain_FocusModeTimeLink})
        control->SetVisible(focus);
    for (TControl* control : std::initializer_list<TControl*>{&lblMain_TimeTitle, &lblMain_TimeLink, &lblMain_Time,
                                                              &pnlMain_TimeOnline, &btnFocus})
        control->SetVisible(!focus);
    // The texts follow the mode in every layout, so the first look at the
    // display never shows one mode's title over another's value.
    const TDisplayTexts texts = FocusDisplayTexts(monitor_.FocusTimeDisplay, monitor_.FocusScheduled);
    lblMain_FocusModeTimeLink.SetCaption(texts.link);
    lblMain_FocusTimeTitle.SetCaption(texts.title);
}

void TfrmMain::ShowFocusLayout() {
    focusLayoutShown_ = true;
    // Also when already shown: a scheduled period may have joined the focus.
    SetFocusDisplayVisible(true);
    RefreshFocusTime();
}

void TfrmMain::ShowNormalLayout() {
    monitor_.FocusTimeDisplay = 0;
    // Every scan outside focus mode asks for it: only a change repaints.
    if (!focusLayoutShown_) return;
    focusLayoutShown_ = false;
    SetFocusDisplayVisible(false);
}

void TfrmMain::actChangeFocusModeTimeFormatExecute() {
    monitor_.FocusTimeDisplay = static_cast<std::uint8_t>(NextDisplayMode(monitor_.FocusTimeDisplay));
    const TDisplayTexts texts = FocusDisplayTexts(monitor_.FocusTimeDisplay, monitor_.FocusScheduled);
    lblMain_FocusModeTimeLink.SetCaption(texts.link);
    lblMain_FocusTimeTitle.SetCaption(texts.title);
    RefreshFocusTime();
}

void TfrmMain::RefreshFocusTime() {
    const std::optional<std::string> value =
        FocusDisplayValue(monitor_.FocusTimeDisplay, ProgramNow(), monitor_.FocusStartTime, monitor_.FocusEndTime,
                          monitor_.FocusDuration, monitor_.FocusScheduled);
    if (value) lblMain_FocusTime.SetCaption(*value);
    // Title and value end at the right margin whatever the mode's title; the
    // panel behind them runs on past the window's edge.
    const int dpi = Dpi();
    const int titleWidth = UnscaleFromDpi(lblMain_FocusTimeTitle.MeasureCaption().width, dpi) + 2;
    const int valueWidth = UnscaleFromDpi(lblMain_FocusTime.MeasureCaption().width, dpi) + 2;
    const int valueLeft = kClientRight - kFocusMargin - valueWidth;
    const int titleLeft = valueLeft - kFocusGap - titleWidth;
    lblMain_FocusTime.SetBounds(valueLeft, lblMain_FocusTime.Top(), valueWidth, lblMain_FocusTime.Height());
    lblMain_FocusTimeTitle.SetBounds(titleLeft, lblMain_FocusTimeTitle.Top(), titleWidth,
                                     lblMain_FocusTimeTitle.Height());
    const int panelLeft = titleLeft - kFocusMargin;
    pnlMain_FocusTime.SetBounds(panelLeft, pnlMain_FocusTime.Top(), kFocusPanelRight - panelLeft,
                                pnlMain_FocusTime.Height());
}

void TfrmMain::btnFocusClick() {
    // Entries the user adds through the dialog's "your list" link.
    TMonitoredList added;
    TDateTime duration = monitor_.FocusDuration;
    auto& dialog = CreateForm<TfrmFocusSettings>();
    dialog.AppWizardRunner = [this, &dialog](TMonitoredList& list) { RunAddWizard(dialog.Handle(), list); };
    dialog.SetSchedule(monitor_.BlockSchedule(), ProgramNow(), NextResetDateTime(ProgramNow()));
    const bool ok = dialog.Execute(duration, added);
    // What the wizard chose stays on the list even when focus mode is not
    // started; applying also ends the day's immediate removals.
    ApplyCandidates(added);
    if (!ok) return;
    if (const std::optional<TBlockSchedule> schedule = dialog.ChangedSchedule())
        monitor_.ChangeBlockSchedule(*schedule);
    if (duration <= 0) return;
    monitor_.FocusDuration = duration;
    monitor_.StartFocus(duration);
}

}  // namespace vh::win32
