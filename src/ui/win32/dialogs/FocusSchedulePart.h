#pragma once
// The "Schedule" part of the Block Mode dialog: the list of periods, the
// day check boxes, start and end, and Add, Change and Delete. It edits a
// chosen schedule; the list shows what choosing it does to the schedule in
// force, a loosened period with "takes effect tomorrow at 4:00 AM".

#include <array>

#include "model/BlockScheduleChanges.h"
#include "ui/win32/toolkit/ButtonControls.h"
#include "ui/win32/toolkit/Control.h"
#include "ui/win32/toolkit/NativeControls.h"

namespace vh::win32 {

class TForm;

class TFocusSchedulePart {
public:
    // Builds the controls on `form` with their top left corner at (left, top).
    TFocusSchedulePart(TForm& form, int left, int top);
    TFocusSchedulePart(const TFocusSchedulePart&) = delete;
    TFocusSchedulePart& operator=(const TFocusSchedulePart&) = delete;

    static constexpr int kWidth = 440;
    static constexpr int kHeight = 280;

    TLabel& lblSchedule;
    TListBox& lbxSchedule;
    std::array<TCheckBox*, 7> chkDays;
    TLabel& lblFrom;
    TMaskEdit& medStart;
    TLabel& lblTo;
    TMaskEdit& medEnd;
    TPushButton& btnAdd;
    TPushButton& btnChange;
    TPushButton& btnDelete;
    TLabel& lblScheduleNote;

    // The schedule as it is, at local time `now`.
    void Load(const TBlockScheduleState& current, TDateTime now, TDateTime nextReset);
    const TBlockSchedule& Chosen() const noexcept { return chosen_; }
    bool Changed() const noexcept { return chosen_ != ChosenSchedule(current_); }

    void btnAddClick();
    void btnChangeClick();
    void btnDeleteClick();
    void lbxScheduleChange();
    // The check boxes follow their captions in the font in use.
    void FitTexts();

private:
    // The period of the editors, or a warning and none.
    std::optional<TBlockPeriod> EditedPeriod();
    void Refill(int select);
    int SelectedRow() const noexcept;
    std::optional<std::size_t> SelectedPeriod() const;
    void UpdateButtons();

    TForm& form_;
    int left_;
    int top_;
    TBlockScheduleState current_;
    TBlockSchedule chosen_;
    TDateTime now_ = 0;
    TDateTime nextReset_ = 0;
    std::vector<std::optional<std::size_t>> rowPeriods_;
};

}  // namespace vh::win32
