#pragma once
// "Settings": the step-by-step settings dialog. Appearance (shown and stored
// at once, undone by Cancel), the time-limit list (a working copy: the add
// wizard and removals by the access mode), the daily time limit and its
// action, and the three reminder texts with how often to renew them. Apply
// writes everything through the options' daily change rules.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/presenters/SettingsSession.h"
#include "ui/win32/settings/FocusMemo.h"
#include "ui/win32/skin/BaseFRM.h"
#include "ui/win32/skin/ColorBox.h"
#include "ui/win32/skin/PictureChoice.h"
#include "ui/win32/toolkit/Hints.h"
#include "ui/win32/toolkit/ListControls.h"

namespace vh {
class TOptions;
}

namespace vh::win32 {

inline constexpr char kSettingsCaption[] = "Settings";

class TfrmSettings : public TfrmBase {
public:
    // The options and preferences must outlive the dialog.
    TfrmSettings(TOptions& options, TAppearancePreferences& appearance);

    TPageControl& pcMain;
    TTabSheet& tsBackground;
    TTabSheet& tsMonitoredList;
    TTabSheet& tsExpiration;
    TTabSheet& tsReminder;

    TLabel& lblBackground;
    TLabel& lblImage;
    TImagePanel& pnlImage;
    TComboBox& cbxImage;
    TImageButton& btnImageDown;
    TImageButton& btnBrowseImage;
    TLabel& lblColor;
    TImagePanel& pnlColor;
    TColorBox& cbxColor;
    TImageButton& btnColorDropDown;
    TLabel& lblTextColor;
    TImagePanel& pnlTextColor;
    TColorBox& cbxTextColor;
    TImageButton& btnTextColor;
    TLabel& lblTransparency;
    TImagePanel& pnlTransparency;
    TComboBox& cbxTransparency;
    TImageButton& btnTransparency;
    TLabel& lblBackgroundText;
    TImageButton& btnBackgroundCancel;
    TImageButton& btnBackgroundNext;

    TLabel& lblMonitoredListText;
    TImagePanel& pnlNameHeader;
    TLabel& lblNameHeader;
    TImagePanel& pnlTypeHeader;
    TLabel& lblTypeHeader;
    TItemListBox& lbxAppSites;
    TImageButton& btnApp_Add;
    TImageButton& btnApp_Delete;
    TImageButton& btnListBack;
    TImageButton& btnListNext;

    TLabel& lblTimeLimit;
    TImagePanel& pnlTimeLimit;
    TMaskEdit& medTimeLimit;
    TLabel& lblHoursMinutes;
    TLabel& lblExpirationQuestion;
    TLabel& lblExpirationAction;
    TImagePanel& pnlExpirationAction;
    TComboBox& cbxExpirationAction;
    TImageButton& btnExpirationActionDown;
    TLabel& lblExpirationText;
    TImageButton& btnExpirationBack;
    TImageButton& btnExpirationNext;

    TLabel& lblReminderSettings;
    TLabel& lblReminder;
    TImagePanel& pnlReminder;
    TOwnerDrawComboBox& cbxReminder;
    TImageButton& btnReminderDown;
    TImagePanel& pnlReminderMemo;
    TFocusMemo& memReminder;
    TLabel& lblReminderChange;
    TImagePanel& pnlReminderChange;
    TComboBox& cbRemiderChangePeriod;
    TImageButton& btnReminderChangeDown;
    TImageButton& btnReminderBack;
    TImageButton& btnFinish;

    TPopupMenu& pmButtons;
    TMenuItem& miNext;
    TMenuItem& miBack;
    TPopupMenu& pmList;
    TMenuItem& miAdd;
    TMenuItem& miDelete;
    TOpenPictureDialog opdBackground;

    // Asks before an entry leaves the list; true to remove it.
    std::function<bool(const std::string& caption)> ConfirmDelete;
    // The add wizard over the options, the working list and a result list;
    // without one, adding is not offered.
    std::function<void(TOptions& options, TMonitoredList& list, TMonitoredList& result)> RunAddWizard;
    // The running program's own file, which the list never takes.
    std::string ProgramFile;

    // Shows the dialog modally from its first step; true when closed by Apply.
    bool ShowSettings(bool firstRun);

    // The step on show; -1 before the first.
    int CurrentStep() const noexcept { return step_; }
    TSettingsSession* Session() noexcept { return session_ ? &*session_ : nullptr; }

    void miNextClick();
    void miBackClick();
    void btnApp_AddClick();
    void btnApp_DeleteClick();
    void btnFinishClick();

    void AfterConstruction() override;

private:
    // The four pages, built by the constructor.
    void BuildBackgroundPage();
    void BuildListPage();
    void BuildExpirationPage();
    void BuildReminderPage();
    TTabSheet& Page(int step) noexcept;
    void ShowStep(int step);
    void LoadPages();
    void FillList();
    void SelectReminder();
    void ReminderEdited();
    void ColorChosen();
    void TextColorChosen();
    void TransparencyChosen();
    void ApplyPicture(const std::string& path);
    void DrawListRow(const DRAWITEMSTRUCT& item);
    void DrawReminderItem(const DRAWITEMSTRUCT& item);

    TOptions& options_;
    TAppearancePreferences& appearance_;
    TPictureChoice pictureChoice_;
    std::optional<TSettingsSession> session_;
    THints hints_{*this};
    int step_ = -1;
    int shownReminder_ = rtMorning;
    bool loading_ = false;
};

}  // namespace vh::win32
