#include "ui/win32/dialogs/FocusSchedulePart.h"

#include "ui/BlockScheduleRows.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/skin/DialogRoutines.h"
#include "ui/win32/toolkit/Form.h"

namespace vh::win32 {
namespace {

constexpr int kListHeight = 108;
constexpr int kDaysTop = kListHeight + 28;
constexpr int kTimesTop = kDaysTop + 26;
constexpr int kButtonsTop = kTimesTop + 30;
constexpr int kButtonWidth = 72;

template <class C>
C& Named(C& control, const char* name) {
    control.Name = name;
    return control;
}

TLabel& PlacedLabel(TForm& form, const char* name, const char* caption, bool bold, int left, int top, int width) {
    TLabel& label = Named(form.Add<TLabel>(), name);
    label.SetFont(WhiteFont(bold));
    label.SetCaption(caption);
    label.SetBounds(left, top, width, 18);
    return label;
}

}  // namespace

TFocusSchedulePart::TFocusSchedulePart(TForm& form, int left, int top)
    : lblSchedule(PlacedLabel(form, "lblSchedule", "Schedule", true, left, top, kWidth)),
      lbxSchedule(Named(form.Add<TListBox>(), "lbxSchedule")),
      chkDays{},
      lblFrom(PlacedLabel(form, "lblFrom", "from", false, left, top + kTimesTop + 3, 34)),
      medStart(Named(form.Add<TMaskEdit>(), "medStart")),
      lblTo(PlacedLabel(form, "lblTo", "to", false, left + 100, top + kTimesTop + 3, 20)),
      medEnd(Named(form.Add<TMaskEdit>(), "medEnd")),
      btnAdd(Named(form.Add<TPushButton>(), "btnAdd")),
      btnChange(Named(form.Add<TPushButton>(), "btnChange")),
      btnDelete(Named(form.Add<TPushButton>(), "btnDelete")),
      lblScheduleNote(PlacedLabel(form, "lblScheduleNote",
                                  "A new or longer period blocks at once. A deleted or shorter one blocks until "
                                  "the next 4:00 AM and never cuts a running period short.",
                                  false, left, top + kButtonsTop + 30, kWidth)),
      form_(form),
      left_(left),
      top_(top) {
    lbxSchedule.SetBounds(left, top + 22, kWidth, kListHeight);
    lbxSchedule.OnChange = [this](TWinControl&) { lbxScheduleChange(); };
    for (int day = 0; day < 7; ++day) {
        TCheckBox& box = form.Add<TCheckBox>();
        box.Name = "chk" + std::string(WeekdayName(day));
        box.SetText(std::string(WeekdayName(day)));
        // Tab goes from the list through the days to the times.
        box.SetTabOrder(lbxSchedule.TabOrder() + 1 + day);
        chkDays[static_cast<std::size_t>(day)] = &box;
    }
    for (TMaskEdit* edit : {&medStart, &medEnd}) {
        SendMessageW(edit->Handle(), EM_SETLIMITTEXT, 5, 0);
        edit->SetText("09:00");
    }
    medEnd.SetText("12:00");
    medStart.SetBounds(left + 36, top + kTimesTop, 58, 22);
    medEnd.SetBounds(left + 122, top + kTimesTop, 58, 22);
    btnAdd.SetText("Add");
    btnChange.SetText("Change");
    btnDelete.SetText("Delete");
    int x = left;
    for (TPushButton* button : {&btnAdd, &btnChange, &btnDelete}) {
        button->SetBounds(x, top + kButtonsTop, kButtonWidth, 24);
        x += kButtonWidth + 8;
    }
    btnAdd.OnClick = [this](TPushButton&) { btnAddClick(); };
    btnChange.OnClick = [this](TPushButton&) { btnChangeClick(); };
    btnDelete.OnClick = [this](TPushButton&) { btnDeleteClick(); };
    lblScheduleNote.WordWrap = true;
    // Room for three lines: the font grows faster than the place at 150 %.
    lblScheduleNote.SetBounds(left, top + kButtonsTop + 34, kWidth, 50);
    FitTexts();
    UpdateButtons();
}

void TFocusSchedulePart::FitTexts() {
    int x = left_;
    for (TCheckBox* box : chkDays) {
        const int width = box->FittingWidth();
        box->SetBounds(x, top_ + kDaysTop, width, 20);
        x += width + 4;
    }
    for (TPushButton* button : {&btnAdd, &btnChange, &btnDelete}) button->WidenToCaption(10);
    const IntRect add = btnAdd.BoundsRect();
    const IntRect change = btnChange.BoundsRect();
    btnChange.SetBounds(add.right + 8, change.top, change.Width(), change.Height());
    const IntRect moved = btnChange.BoundsRect();
    const IntRect remove = btnDelete.BoundsRect();
    btnDelete.SetBounds(moved.right + 8, remove.top, remove.Width(), remove.Height());
}

void TFocusSchedulePart::Load(const TBlockScheduleState& current, TDateTime now, TDateTime nextReset) {
    current_ = current;
    chosen_ = ChosenSchedule(current);
    now_ = now;
    nextReset_ = nextReset;
    Refill(chosen_.empty() ? -1 : 0);
    lbxScheduleChange();
}

void TFocusSchedulePart::Refill(int select) {
    lbxSchedule.BeginUpdate();
    lbxSchedule.Clear();
    rowPeriods_.clear();
    for (const TScheduleRow& row : ScheduleRows(current_, chosen_, now_, nextReset_)) {
        lbxSchedule.AddItem(row.text);
        rowPeriods_.push_back(row.chosenIndex);
    }
    lbxSchedule.EndUpdate();
    SendMessageW(lbxSchedule.Handle(), LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    UpdateButtons();
}

int TFocusSchedulePart::SelectedRow() const noexcept {
    return static_cast<int>(SendMessageW(lbxSchedule.Handle(), LB_GETCURSEL, 0, 0));
}

std::optional<std::size_t> TFocusSchedulePart::SelectedPeriod() const {
    const int row = SelectedRow();
    if (row < 0 || row >= static_cast<int>(rowPeriods_.size())) return std::nullopt;
    return rowPeriods_[static_cast<std::size_t>(row)];
}

void TFocusSchedulePart::UpdateButtons() {
    const bool selected = SelectedPeriod().has_value();
    btnChange.SetEnabled(selected);
    btnDelete.SetEnabled(selected);
    btnAdd.SetEnabled(chosen_.size() < static_cast<std::size_t>(kMaxBlockPeriods));
}

void TFocusSchedulePart::lbxScheduleChange() {
    if (const std::optional<std::size_t> index = SelectedPeriod()) {
        const TBlockPeriod& period = chosen_[*index];
        for (int day = 0; day < 7; ++day) chkDays[static_cast<std::size_t>(day)]->SetChecked((period.Days >> day) & 1);
        medStart.SetText(MinuteText(period.StartMinute));
        medEnd.SetText(MinuteText(period.EndMinute));
    }
    UpdateButtons();
}

std::optional<TBlockPeriod> TFocusSchedulePart::EditedPeriod() {
    TWeekdays days = 0;
    for (int day = 0; day < 7; ++day)
        if (chkDays[static_cast<std::size_t>(day)]->Checked()) days = static_cast<TWeekdays>(days | (1u << day));
    const TPeriodCheck check = CheckSchedulePeriod(days, medStart.Text(), medEnd.Text());
    if (!check.period) {
        ShowWarning(check.problem, kPleaseNote);
        form_.SetActiveControl((days & kAllWeekdays) == 0         ? static_cast<TWinControl*>(chkDays[0])
                               : ParseMinuteText(medStart.Text()) ? &medEnd
                                                                  : &medStart);
    }
    return check.period;
}

void TFocusSchedulePart::btnAddClick() {
    if (chosen_.size() >= static_cast<std::size_t>(kMaxBlockPeriods)) {
        ShowWarning("A schedule holds at most 20 periods", kPleaseNote);
        return;
    }
    const std::optional<TBlockPeriod> period = EditedPeriod();
    if (!period) return;
    chosen_.push_back(*period);
    Refill(static_cast<int>(chosen_.size()) - 1);
}

void TFocusSchedulePart::btnChangeClick() {
    const std::optional<std::size_t> index = SelectedPeriod();
    if (!index) return;
    const std::optional<TBlockPeriod> period = EditedPeriod();
    if (!period) return;
    chosen_[*index] = *period;
    Refill(static_cast<int>(*index));
}

void TFocusSchedulePart::btnDeleteClick() {
    const std::optional<std::size_t> index = SelectedPeriod();
    if (!index) return;
    chosen_.erase(chosen_.begin() + static_cast<std::ptrdiff_t>(*index));
    Refill(chosen_.empty() ? -1 : static_cast<int>(std::min(*index, chosen_.size() - 1)));
}

}  // namespace vh::win32
