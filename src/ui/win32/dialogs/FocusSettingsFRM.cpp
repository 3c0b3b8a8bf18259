#include "ui/win32/dialogs/FocusSettingsFRM.h"

#include <cstring>
#include <string_view>

#include "common/Exceptions.h"
#include "model/MonitoredObjects.h"
#include "ui/DpiScale.h"
#include "ui/FormRules.h"
#include "ui/win32/dialogs/WarningFRM.h"

namespace vh::win32 {
namespace {

constexpr int kColumnWidth = 330;
constexpr int kMargin = 10;
constexpr int kScheduleLeft = kColumnWidth + 10;
constexpr int kScheduleTop = 44;
constexpr int kClientWidth = kScheduleLeft + TFocusSchedulePart::kWidth + kMargin;
constexpr int kTimeTop = 68;
constexpr int kEditWidth = 58;
constexpr int kButtonTop = kScheduleTop + TFocusSchedulePart::kHeight + 10;
constexpr int kClientHeight = kButtonTop + 32 + kMargin;
constexpr int kButtonWidth = 85;
constexpr int kButtonGap = 8;

constexpr char kTimeLimitText[] = "on your list for ";
constexpr char kYourList[] = "your list";

TFontStyle LinkFont() {
    TFontStyle font = WhiteFont(true);
    font.underline = true;
    return font;
}

void PlaceLabel(TLabel& label, const char* name, const char* caption, bool bold, IntRect bounds) {
    label.Name = name;
    label.SetFont(WhiteFont(bold));
    label.SetCaption(caption);
    label.SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
}

}  // namespace

TfrmFocusSettings::TfrmFocusSettings()
    : TfrmBase(kFocusSettingsCaption, kClientWidth, kClientHeight),
      lblAppsDescription(Add<TLabel>()),
      lblTimeLimit(Add<TLabel>()),
      lblAppWizardLink(Add<TLabel>()),
      lblHoursMinutes(Add<TLabel>()),
      lblNote(Add<TLabel>()),
      btnOk(Add<TImageButton>()),
      btnCancel(Add<TImageButton>()),
      medTimeLimit(Add<TMaskEdit>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miOk(pmnButtons.Add("miOk", "OK", VK_RETURN)),
      miCancel(pmnButtons.Add("miCancel", "Cancel", VK_ESCAPE)),
      Schedule(*this, kScheduleLeft, kScheduleTop) {
    const int inner = kColumnWidth - 2 * kMargin;
    PlaceLabel(lblAppsDescription, "lblAppsDescription", "Block all sites and applications", true,
               {kMargin, 44, kMargin + inner, 62});
    // The link's words are part of the sentence, drawn by the link over the
    // place the sentence leaves for them.
    PlaceLabel(lblTimeLimit, "lblTimeLimit", kTimeLimitText, true,
               {kMargin, kTimeTop + 3, kMargin + 140, kTimeTop + 21});
    lblTimeLimit.WordWrap = true;
    lblAppWizardLink.Name = "lblAppWizardLink";
    lblAppWizardLink.SetFont(LinkFont());
    lblAppWizardLink.SetCaption(kYourList);
    lblAppWizardLink.HandCursor = true;
    lblAppWizardLink.OnClick = [this](TControl&) { lblAppWizardLinkClick(); };

    medTimeLimit.Name = "medTimeLimit";
    SendMessageW(medTimeLimit.Handle(), EM_SETLIMITTEXT, 5, 0);
    PlaceLabel(lblHoursMinutes, "lblHoursMinutes", "hours:minutes", false, {0, kTimeTop + 3, 110, kTimeTop + 21});
    PlaceLabel(lblNote, "lblNote", "Once started, this mode cannot be stopped until the time you have set runs out.",
               false, {kMargin, 100, kMargin + inner, 136});
    lblNote.WordWrap = true;

    const int okLeft = (kClientWidth - 2 * kButtonWidth - kButtonGap) / 2;
    SkinDialogButton(btnOk, "btnOk", "OK", okLeft, kButtonTop, kButtonWidth);
    SkinDialogButton(btnCancel, "btnCancel", "Cancel", okLeft + kButtonWidth + kButtonGap, kButtonTop, kButtonWidth);
    btnOk.OnClick = [this](TControl&) { btnOkClick(); };
    btnCancel.OnClick = [this](TControl&) { btnCancelClick(); };
    miOk.Visible = false;
    miOk.OnClick = [this](TMenuItem&) { btnOkClick(); };
    miCancel.Visible = false;
    miCancel.OnClick = [this](TMenuItem&) { btnCancelClick(); };
    FitTexts();
    CenterOnScreen();
}

void TfrmFocusSettings::FitTexts() {
    // The sentence's width in the font in use, back in 96-DPI pixels.
    const int sentence = UnscaleFromDpi(lblTimeLimit.MeasureCaption().width, Dpi()) + 2;
    lblTimeLimit.SetBounds(kMargin, lblTimeLimit.Top(), sentence + 4, lblTimeLimit.Height());
    const int editLeft = kMargin + sentence + 4;
    medTimeLimit.SetBounds(editLeft, kTimeTop, kEditWidth, 22);
    lblHoursMinutes.SetBounds(editLeft + kEditWidth + 6, lblHoursMinutes.Top(), lblHoursMinutes.Width(),
                              lblHoursMinutes.Height());

    const bool link = static_cast<bool>(AppWizardRunner);
    const std::size_t at = std::string_view(kTimeLimitText).find(kYourList);
    lblTimeLimit.ReservedRange = link ? TextRange{at, at + std::strlen(kYourList)} : TextRange{};
    lblAppWizardLink.SetVisible(link);
    const IntRect place = lblTimeLimit.ReservedRect();
    if (link && !place.IsEmpty()) lblAppWizardLink.SetBounds(place.left, place.top, place.Width(), place.Height());
}

void TfrmFocusSettings::FormDpiChanged() {
    FitTexts();
    Schedule.FitTexts();
    TfrmBase::FormDpiChanged();
}

bool TfrmFocusSettings::Execute(TDateTime& duration, TMonitoredList& list) {
    list_ = &list;
    FitTexts();
    medTimeLimit.SetText("00:00");
    if (ShowModal() != mrOk) return false;
    const TimeLimitCheck check = CheckTimeLimitText(medTimeLimit.Text());
    duration = check.accepted ? check.time : 0;
    return true;
}

void TfrmFocusSettings::SetSchedule(const TBlockScheduleState& current, TDateTime now, TDateTime nextReset) {
    Schedule.Load(current, now, nextReset);
}

std::optional<TBlockSchedule> TfrmFocusSettings::ChangedSchedule() const {
    if (!Schedule.Changed()) return std::nullopt;
    return Schedule.Chosen();
}

void TfrmFocusSettings::btnOkClick() {
    // Only the schedule changed: nothing to start by hand.
    if (Schedule.Changed() && medTimeLimit.Text() == "00:00") {
        SetModalResult(mrOk);
        return;
    }
    if (CheckTimeLimitEdit(*this, medTimeLimit)) SetModalResult(mrOk);
}

void TfrmFocusSettings::btnCancelClick() {
    SetModalResult(mrCancel);
}

void TfrmFocusSettings::lblAppWizardLinkClick() {
    VH_ASSERT(list_ != nullptr);
    if (AppWizardRunner) AppWizardRunner(*list_);
}

}  // namespace vh::win32
