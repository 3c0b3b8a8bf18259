#include "ui/win32/reminder/ReminderFRM.h"

#include <algorithm>
#include <utility>

#include "common/StringUtils.h"
#include "environment/DateTimeUtils.h"
#include "model/DayRules.h"
#include "ui/ReminderRules.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

constexpr int kClientWidth = 492;
constexpr int kDesignClientHeight = 534;
constexpr int kMargin = 10;

// The three period groups: a label, and beneath it a framed memo.
constexpr int kMorningTop = 130;
constexpr int kAfternoonTop = 250;
constexpr int kEveningTop = 368;
constexpr int kGroupLabelHeight = 16;
constexpr int kFrameOffset = 18;
constexpr int kFrameHeight = 96;
constexpr int kFrameInset = 4;

// The bottom row: the countdown or the action list, then the buttons.
constexpr int kButtonTop = 491;
constexpr int kRowLabelTop = kButtonTop + 8;
constexpr int kComboFrameLeft = 68;
constexpr int kComboFrameWidth = 172;
constexpr int kComboFrameHeight = 30;
constexpr int kComboDropButton = 26;
// The combo box's own border and text inset around an entry.
constexpr int kComboTextPadding = 12;
constexpr int kCaptionMargin = 10;  // between a button's caption and its edges
constexpr int kButtonGap = 8;
constexpr int kOkWidth = 85;
constexpr int kFiveMinutesWidth = 145;

constexpr unsigned kCountdownInterval = 1000;

void PlaceLabel(TLabel& label, const char* name, const std::string& caption, int left, int top, int width) {
    label.Name = name;
    label.SetFont(WhiteFont());
    label.SetCaption(caption);
    label.SetBounds(left, top, width, kGroupLabelHeight);
}

void SkinFrame(TImagePanel& frame, const char* name, int left, int top, int width, int height) {
    SkinPanel(frame, name, Skins().panelFrame, kHeaderSide);
    frame.SetBounds(left, top, width, height);
}

// A period group: label "This Morning:" etc. with a read-only memo in a frame.
void BuildPeriodGroup(TLabel& label, TImagePanel& frame, TMemo& memo, const char* labelName, const char* frameName,
                      const char* memoName, const std::string& caption, int top) {
    PlaceLabel(label, labelName, caption, kMargin, top, 200);
    const int frameTop = top + kFrameOffset;
    const int frameWidth = kClientWidth - 2 * kMargin;
    SkinFrame(frame, frameName, kMargin, frameTop, frameWidth, kFrameHeight);
    memo.Name = memoName;
    memo.SetBounds(kMargin + kFrameInset, frameTop + kFrameInset, frameWidth - 2 * kFrameInset,
                   kFrameHeight - 2 * kFrameInset);
    SendMessageW(memo.Handle(), EM_SETREADONLY, TRUE, 0);
}

void HideGroup(TLabel& label, TImagePanel& frame, TMemo& memo) {
    label.SetVisible(false);
    frame.SetVisible(false);
    memo.SetVisible(false);
}

}  // namespace

int& TfrmReminder::CountdownValue() noexcept {
    static int value = kReminderCountdownSeconds;
    return value;
}

TfrmReminder::TfrmReminder(HWND mainWindow, TReminderSettings settings, TReminderEndHandler onEnd)
    : TfrmBase(kReminderCaption, kClientWidth, kDesignClientHeight),
      lblReminderText(Add<TLabel>()),
      lblReminderMorning(Add<TLabel>()),
      pnlReminderMorning(Add<TImagePanel>()),
      memReminderMorning(Add<TMemo>()),
      lblReminderAfternoon(Add<TLabel>()),
      pnlReminderAfternoon(Add<TImagePanel>()),
      memReminderAfternoon(Add<TMemo>()),
      lblReminderEvening(Add<TLabel>()),
      pnlReminderEvening(Add<TImagePanel>()),
      memReminderEvening(Add<TMemo>()),
      lblTimeLeft(Add<TLabel>()),
      lblTimeValue(Add<TLabel>()),
      lblAction(Add<TLabel>()),
      pnlExpirationCombo(Add<TImagePanel>()),
      cbxExpirationAction(Add<TComboBox>()),
      btnComboExpirationAction(Add<TImageButton>()),
      btnFiveMinutes(Add<TImageButton>()),
      btnOk(Add<TImageButton>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miOk(pmnButtons.Add("miOk", "OK", VK_RETURN)),
      miCancel(pmnButtons.Add("miCancel", "Cancel", VK_ESCAPE)),
      tmrCountdown(AddTimer()),
      mainWindow_(mainWindow),
      settings_(std::move(settings)),
      onEnd_(std::move(onEnd)) {
    lblReminderText.Name = "lblReminderText";
    lblReminderText.SetFont(WhiteFont(false));
    lblReminderText.WordWrap = true;
    lblReminderText.SetBounds(kMargin, 40, kClientWidth - 2 * kMargin, kMorningTop - 40 - 4);

    BuildPeriodGroup(lblReminderMorning, pnlReminderMorning, memReminderMorning, "lblReminderMorning",
                     "pnlReminderMorning", "memReminderMorning", "This Morning:", kMorningTop);
    BuildPeriodGroup(lblReminderAfternoon, pnlReminderAfternoon, memReminderAfternoon, "lblReminderAfternoon",
                     "pnlReminderAfternoon", "memReminderAfternoon", "This Afternoon:", kAfternoonTop);
    BuildPeriodGroup(lblReminderEvening, pnlReminderEvening, memReminderEvening, "lblReminderEvening",
                     "pnlReminderEvening", "memReminderEvening", "This Evening:", kEveningTop);

    PlaceLabel(lblTimeLeft, "lblTimeLeft", "Time Left:", kMargin, kRowLabelTop, 80);
    PlaceLabel(lblTimeValue, "lblTimeValue", "00:00", kMargin + 82, kRowLabelTop, 60);
    lblTimeValue.NameLabel = &lblTimeLeft;

    PlaceLabel(lblAction, "lblAction", "Action:", kMargin, kRowLabelTop, kComboFrameLeft - kMargin - 2);
    SkinFrame(pnlExpirationCombo, "pnlExpirationCombo", kComboFrameLeft, kButtonTop + 1, kComboFrameWidth,
              kComboFrameHeight);
    cbxExpirationAction.Name = "cbxExpirationAction";
    for (const char* item : {"Continue", "Close Application", "Shutdown Computer"}) cbxExpirationAction.AddItem(item);

    SkinComboButton(btnComboExpirationAction, "btnComboExpirationAction");
    btnComboExpirationAction.AccessibleName = "Action:";
    btnComboExpirationAction.OnClick = [this](TControl&) { cbxExpirationAction.DropDown(); };

    const int okLeft = kClientWidth - kMargin - kOkWidth;
    SkinDialogButton(btnOk, "btnOk", "OK", okLeft, kButtonTop, kOkWidth);
    SkinDialogButton(btnFiveMinutes, "btnFiveMinutes", "Give me 5 Minutes", okLeft - 8 - kFiveMinutesWidth, kButtonTop,
                     kFiveMinutesWidth);
    FitTexts();
    btnOk.OnClick = [this](TControl&) { CommonOkClick(); };
    btnFiveMinutes.OnClick = [this](TControl&) {
        FiveMinutesChosen = true;
        CommonOkClick();
    };
    BindHiddenShortcuts({&miOk, &miCancel}, [this] { CommonOkClick(); });

    tmrCountdown.SetInterval(kCountdownInterval);
    tmrCountdown.OnTimer = [this](TTimer&) { CountdownTick(); };

    CountdownValue() = kReminderCountdownSeconds;
    period_ = ReminderPeriodOf(ProgramTime());
    SetClientSize(kClientWidth, ReminderHeight(period_));
    CenterOnScreen();
    FiveMinutesChosen = false;
}

void TfrmReminder::AfterConstruction() {
    TfrmBase::AfterConstruction();
    // Above every other window, as a reminder must be.
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfrmReminder::FitTexts() {
    const int frameWidth =
        std::max(kComboFrameWidth, cbxExpirationAction.WidestItem() + kComboTextPadding + kComboDropButton + 4);
    const int top = pnlExpirationCombo.Top() - 1;  // the row's button top, after any period layout
    pnlExpirationCombo.SetBounds(kComboFrameLeft, top + 1, frameWidth, kComboFrameHeight);
    // The height of a drop-down list includes its open list.
    cbxExpirationAction.SetBounds(kComboFrameLeft + 2, top + 3, frameWidth - 4, 120);
    btnComboExpirationAction.SetBounds(kComboFrameLeft + frameWidth - 2 - kComboDropButton, top + 3, kComboDropButton,
                                       kComboFrameHeight - 4);
    btnOk.WidenToCaption(kCaptionMargin);
    btnFiveMinutes.WidenToCaption(kCaptionMargin);
    // The bottom row must hold the action list and the buttons shown beside
    // it; when it cannot, the window (and what spans it) grows.
    int rowWidth = kMargin + btnOk.Width();
    if (btnFiveMinutes.Visible()) rowWidth += kButtonGap + btnFiveMinutes.Width();
    if (pnlExpirationCombo.Visible()) rowWidth += pnlExpirationCombo.BoundsRect().right + kButtonGap;
    const int width = std::max(kClientWidth, rowWidth);
    if (width != ClientSize().width) {
        SetClientSize(width, ClientSize().height);
        const int inner = width - 2 * kMargin;
        lblReminderText.SetBounds(kMargin, lblReminderText.Top(), inner, lblReminderText.Height());
        for (TImagePanel* frame : {&pnlReminderMorning, &pnlReminderAfternoon, &pnlReminderEvening}) {
            frame->SetBounds(kMargin, frame->Top(), inner, frame->Height());
        }
        for (TMemo* memo : {&memReminderMorning, &memReminderAfternoon, &memReminderEvening}) {
            const IntRect r = memo->BoundsRect();
            memo->SetBounds(r.left, r.top, inner - 2 * kFrameInset, r.Height());
        }
    }
    const int okLeft = width - kMargin - btnOk.Width();
    OffsetControl(btnOk, okLeft - btnOk.Left(), 0);
    OffsetControl(btnFiveMinutes, okLeft - kButtonGap - btnFiveMinutes.Width() - btnFiveMinutes.Left(), 0);
}

void TfrmReminder::FormDpiChanged() {
    FitTexts();
    TfrmBase::FormDpiChanged();  // clips the combo box's arrow at its new size
}

void TfrmReminder::FormShow() {
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool TfrmReminder::Execute(bool focusMode, const std::string& remainingText, bool show5MinButton) {
    FocusMode = focusMode;
    remainingText_ = remainingText;
    Prepare(show5MinButton);
    {
        // Enabled again however the modal loop ends.
        struct TMainWindowDisabled {
            HWND window;
            explicit TMainWindowDisabled(HWND w) : window(w) {
                if (window) EnableWindow(window, FALSE);
            }
            ~TMainWindowDisabled() {
                if (window) EnableWindow(window, TRUE);
            }
            TMainWindowDisabled(const TMainWindowDisabled&) = delete;
            TMainWindowDisabled& operator=(const TMainWindowDisabled&) = delete;
        } disabled(mainWindow_);
        ShowModal();
    }
    // The program is ending (the uninstaller asked it to): that is nobody's
    // answer to the reminder, so nothing is closed and nothing shut down.
    if (ModalEndedByQuit()) return FiveMinutesChosen;
    // The window frees itself once messages flow again: copy what the end needs.
    const bool fiveMinutes = FiveMinutesChosen;
    const int chosenAction = cbxExpirationAction.ItemIndex();
    const TReminderEndHandler onEnd = onEnd_;
    if (onEnd) onEnd(fiveMinutes, focusMode, chosenAction);
    return fiveMinutes;
}

void TfrmReminder::Prepare(bool show5MinButton) {
    const bool choice = ReminderOffersChoice(FocusMode, settings_.ExpirationAction);
    if (!choice) {
        tmrCountdown.SetEnabled(true);
        CountdownTick();  // the label shows 01:00 at once
    }
    lblReminderText.SetCaption(ReminderMessageText(FocusMode, settings_.ExpirationAction));
    btnFiveMinutes.SetVisible(show5MinButton);
    ApplyPeriodLayout();

    lblAction.SetVisible(choice);
    pnlExpirationCombo.SetVisible(choice);
    cbxExpirationAction.SetVisible(choice);
    btnComboExpirationAction.SetVisible(choice);
    lblTimeLeft.SetVisible(!choice);
    lblTimeValue.SetVisible(!choice);
    FitTexts();  // the row's content is known now

    memReminderMorning.SetText(WithWindowsLineBreaks(settings_.ReminderTexts[0]));
    memReminderAfternoon.SetText(WithWindowsLineBreaks(settings_.ReminderTexts[1]));
    memReminderEvening.SetText(WithWindowsLineBreaks(settings_.ReminderTexts[2]));
    cbxExpirationAction.SetItemIndex(settings_.ExpirationAction);
}

void TfrmReminder::ApplyPeriodLayout() {
    const int shift =
        ReminderLayoutShift(period_, lblReminderMorning.Top(), lblReminderAfternoon.Top(), lblReminderEvening.Top());
    if (shift == 0) return;
    // Everything from the first group still shown down moves up into the
    // place of the hidden ones.
    const int firstShownTop = lblReminderMorning.Top() + shift;
    HideGroup(lblReminderMorning, pnlReminderMorning, memReminderMorning);
    if (lblReminderAfternoon.Top() < firstShownTop)
        HideGroup(lblReminderAfternoon, pnlReminderAfternoon, memReminderAfternoon);
    for (const auto& control : Controls()) {
        if (control->Top() >= firstShownTop) OffsetControl(*control, 0, -shift);
    }
    for (const auto& control : WinControls()) {
        if (control->BoundsRect().top >= firstShownTop) OffsetControl(*control, 0, -shift);
    }
}

void TfrmReminder::CountdownTick() {
    const TCountdownTick tick = vh::CountdownTick(CountdownValue(), tmrCountdown.Interval());
    if (tick.close) {
        CommonOkClick();
        return;
    }
    lblTimeValue.SetCaption(tick.text);
}

void TfrmReminder::CommonOkClick() {
    tmrCountdown.SetEnabled(false);
    SetModalResult(mrOk);
}

}  // namespace vh::win32
