#include "ui/win32/settings/SettingsFRM.h"

#include "ui/win32/settings/SettingsLayout.h"

#include <cmath>
#include <string>

#include "common/StringUtils.h"
#include "environment/ZuravoZazoApplicationDefs.h"
#include "model/DurationText.h"
#include "platform/win32/Utf16.h"
#include "storage/Options.h"
#include "ui/FormRules.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

using namespace settings_layout;

COLORREF ColorOf(std::int32_t value) {
    return static_cast<COLORREF>(value) & 0x00FFFFFFu;
}

void DrawRowText(HDC dc, const std::string& text, RECT rect, UINT align) {
    const std::wstring wide = Utf8ToWide(text);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect,
              align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace

TfrmSettings::TfrmSettings(TOptions& options, TAppearancePreferences& appearance)
    : TfrmBase(kSettingsCaption, kClientWidth, kClientHeight),
      pcMain(Add<TPageControl>()),
      tsBackground(pcMain.AddPage("tsBackground")),
      tsMonitoredList(pcMain.AddPage("tsMonitoredList")),
      tsExpiration(pcMain.AddPage("tsExpiration")),
      tsReminder(pcMain.AddPage("tsReminder")),
      lblBackground(Add<TLabel>()),
      lblImage(Add<TLabel>()),
      pnlImage(Add<TImagePanel>()),
      cbxImage(Add<TComboBox>()),
      btnImageDown(Add<TImageButton>()),
      btnBrowseImage(Add<TImageButton>()),
      lblColor(Add<TLabel>()),
      pnlColor(Add<TImagePanel>()),
      cbxColor(Add<TColorBox>()),
      btnColorDropDown(Add<TImageButton>()),
      lblTextColor(Add<TLabel>()),
      pnlTextColor(Add<TImagePanel>()),
      cbxTextColor(Add<TColorBox>()),
      btnTextColor(Add<TImageButton>()),
      lblTransparency(Add<TLabel>()),
      pnlTransparency(Add<TImagePanel>()),
      cbxTransparency(Add<TComboBox>()),
      btnTransparency(Add<TImageButton>()),
      lblBackgroundText(Add<TLabel>()),
      btnBackgroundCancel(Add<TImageButton>()),
      btnBackgroundNext(Add<TImageButton>()),
      lblMonitoredListText(Add<TLabel>()),
      pnlNameHeader(Add<TImagePanel>()),
      lblNameHeader(Add<TLabel>()),
      pnlTypeHeader(Add<TImagePanel>()),
      lblTypeHeader(Add<TLabel>()),
      lbxAppSites(Add<TItemListBox>()),
      btnApp_Add(Add<TImageButton>()),
      btnApp_Delete(Add<TImageButton>()),
      btnListBack(Add<TImageButton>()),
      btnListNext(Add<TImageButton>()),
      lblTimeLimit(Add<TLabel>()),
      pnlTimeLimit(Add<TImagePanel>()),
      medTimeLimit(Add<TMaskEdit>()),
      lblHoursMinutes(Add<TLabel>()),
      lblExpirationQuestion(Add<TLabel>()),
      lblExpirationAction(Add<TLabel>()),
      pnlExpirationAction(Add<TImagePanel>()),
      cbxExpirationAction(Add<TComboBox>()),
      btnExpirationActionDown(Add<TImageButton>()),
      lblExpirationText(Add<TLabel>()),
      btnExpirationBack(Add<TImageButton>()),
      btnExpirationNext(Add<TImageButton>()),
      lblReminderSettings(Add<TLabel>()),
      lblReminder(Add<TLabel>()),
      pnlReminder(Add<TImagePanel>()),
      cbxReminder(Add<TOwnerDrawComboBox>(kReminderRowHeight)),
      btnReminderDown(Add<TImageButton>()),
      pnlReminderMemo(Add<TImagePanel>()),
      memReminder(Add<TFocusMemo>()),
      lblReminderChange(Add<TLabel>()),
      pnlReminderChange(Add<TImagePanel>()),
      cbRemiderChangePeriod(Add<TComboBox>()),
      btnReminderChangeDown(Add<TImageButton>()),
      btnReminderBack(Add<TImageButton>()),
      btnFinish(Add<TImageButton>()),
      pmButtons(AddPopupMenu("pmButtons")),
      miNext(pmButtons.Add("miNext", "Next", VK_RETURN)),
      miBack(pmButtons.Add("miBack", "Back", VK_ESCAPE)),
      pmList(AddPopupMenu("pmList")),
      miAdd(pmList.Add("miAdd", "Add", VK_INSERT)),
      miDelete(pmList.Add("miDelete", "Delete", VK_DELETE)),
      options_(options),
      appearance_(appearance),
      pictureChoice_(cbxImage, btnBrowseImage, opdBackground) {
    pcMain.Name = "pcMain";
    pcMain.SetBounds(0, kHeaderHeight, kPageWidth, kPageHeight);

    BuildBackgroundPage();
    BuildListPage();
    BuildExpirationPage();
    BuildReminderPage();

    // ---- events
    for (TImageButton* next : {&btnBackgroundNext, &btnListNext, &btnExpirationNext})
        next->OnClick = [this](TControl&) { miNextClick(); };
    for (TImageButton* back : {&btnBackgroundCancel, &btnListBack, &btnExpirationBack, &btnReminderBack})
        back->OnClick = [this](TControl&) { miBackClick(); };
    btnFinish.OnClick = [this](TControl&) { btnFinishClick(); };
    miNext.Visible = false;
    miBack.Visible = false;
    miNext.OnClick = [this](TMenuItem&) { miNextClick(); };
    miBack.OnClick = [this](TMenuItem&) { miBackClick(); };
    miAdd.Visible = false;
    miDelete.Visible = false;
    miAdd.Enabled = false;
    miDelete.Enabled = false;
    miAdd.OnClick = [this](TMenuItem&) { btnApp_AddClick(); };
    miDelete.OnClick = [this](TMenuItem&) { btnApp_DeleteClick(); };
    btnApp_Add.OnClick = [this](TControl&) { btnApp_AddClick(); };
    btnApp_Delete.OnClick = [this](TControl&) { btnApp_DeleteClick(); };
    // Enter in the memo starts a new line.
    memReminder.OnFocusChange = [this](bool focused) { miNext.ShortCut = focused ? 0 : VK_RETURN; };
    memReminder.OnChange = [this](TWinControl&) { ReminderEdited(); };
    cbxReminder.OnChange = [this](TWinControl&) { SelectReminder(); };
    cbxImage.OnChange = [this](TWinControl&) {
        if (!loading_) pictureChoice_.Changed();
    };
    btnBrowseImage.OnClick = [this](TControl&) { pictureChoice_.Browse(); };
    pictureChoice_.OnPicture = [this](const std::string& path) { ApplyPicture(path); };
    cbxColor.OnSelect = [this](TColorBox&) { ColorChosen(); };
    cbxTextColor.OnSelect = [this](TColorBox&) { TextColorChosen(); };
    cbxTransparency.OnChange = [this](TWinControl&) { TransparencyChosen(); };

    opdBackground.InitialDir = GProgramFolder() + "Skins\\";
    ProgramFile = GProgramFile();
    // Create: the skins and the appearance in use.
    loading_ = true;
    const std::string image = appearance_.GetBackgroundImage();
    pictureChoice_.Fill(appearance_.ListSkins(), image, !image.empty() && SafeFileExists(image));
    const std::string transparency = std::to_string(appearance_.GetTransparency());
    int transparencyIndex = 0;
    for (int i = 0; i < cbxTransparency.Count(); ++i)
        if (cbxTransparency.Item(i) == transparency) transparencyIndex = i;
    cbxTransparency.SetItemIndex(transparencyIndex);
    cbxColor.SelectColor(ColorOf(appearance_.GetBackgroundColor()));
    cbxTextColor.SelectColor(ColorOf(appearance_.GetTextColor()));
    loading_ = false;
}

void TfrmSettings::AfterConstruction() {
    TfrmBase::AfterConstruction();
    // The appearance read at the start; the dialog shows changes at once.
    SetFormTextColor(*this, cbxTextColor.Selected());
}

TTabSheet& TfrmSettings::Page(int step) noexcept {
    switch (step) {
        case ssBackground: return tsBackground;
        case ssMonitoredList: return tsMonitoredList;
        case ssExpiration: return tsExpiration;
        default: return tsReminder;
    }
}

bool TfrmSettings::ShowSettings(bool firstRun) {
    session_.emplace(options_, appearance_, firstRun);
    // Removals are immediate only while the first run's dialog is open,
    // however the dialog ends.
    struct EndSession {
        std::optional<TSettingsSession>& session;
        ~EndSession() { session.reset(); }
    } end{session_};
    LoadPages();
    step_ = -1;
    miNextClick();
    const bool applied = ShowModal() == mrOk;
    // However it was closed without Apply (Cancel, or the window closed from
    // outside), the appearance goes back to what it was.
    if (!applied) session_->RestoreAppearance();
    return applied;
}

void TfrmSettings::LoadPages() {
    TSettingsSession& session = *session_;
    loading_ = true;
    medTimeLimit.SetText(FormatHHNN(session.TimeLimitSeconds / kSecondsPerDay, TMinuteRounding::Nearest));
    cbxExpirationAction.SetItemIndex(session.ExpirationAction);
    cbRemiderChangePeriod.SetItemIndex(session.ReminderChangePeriod);
    cbxReminder.SetItemIndex(rtMorning);
    shownReminder_ = rtMorning;
    memReminder.SetText(session.ReminderTexts[rtMorning]);
    loading_ = false;
    FillList();
    const bool canAdd = static_cast<bool>(RunAddWizard);
    btnApp_Add.SetEnabled(canAdd);
    miAdd.Enabled = canAdd;
}

void TfrmSettings::FillList() {
    TListBoxTarget target(lbxAppSites);
    session_->WorkingList().FillStrings(target, mitAll);
    PadListWithBlankRows(*this, lbxAppSites);
}

void TfrmSettings::ShowStep(int step) {
    ReturnPageControls(*this);
    step_ = step;
    ShowPageControls(*this, Page(step));
    const bool listShown = step == ssMonitoredList;
    miDelete.Enabled = listShown;
    miAdd.Enabled = listShown && static_cast<bool>(RunAddWizard);
    if (step == ssBackground) {
        // Showing the appearance again offers the colours found at the start.
        cbxColor.SelectColor(ColorOf(session_->OriginalAppearance().color));
        cbxTextColor.SelectColor(ColorOf(session_->OriginalAppearance().textColor));
    }
    Invalidate();
}

void TfrmSettings::miNextClick() {
    if (step_ == ssExpiration && !CheckTimeLimitEdit(*this, medTimeLimit)) return;
    const std::optional<int> next = NextSettingsStep(step_, {true, true, true, true});
    if (next) {
        ShowStep(*next);
    } else {
        btnFinishClick();
    }
}

void TfrmSettings::miBackClick() {
    const std::optional<int> previous = PreviousSettingsStep(step_, {true, true, true, true});
    if (previous) {
        ShowStep(*previous);
        return;
    }
    SetModalResult(mrCancel);
}

void TfrmSettings::btnFinishClick() {
    TSettingsSession& session = *session_;
    ReminderEdited();  // the memo's text, however it got there
    const TimeLimitCheck limit = CheckTimeLimitText(medTimeLimit.Text());
    if (!limit.accepted) {
        // The limit page is where it can be mended.
        ShowStep(ssExpiration);
        CheckTimeLimitEdit(*this, medTimeLimit);
        return;
    }
    session.TimeLimitSeconds = static_cast<std::int32_t>(std::lround(limit.time * kSecondsPerDay));
    const int action = cbxExpirationAction.ItemIndex();
    if (action >= eaReminderOnly && action <= eaShutdownComputer)
        session.ExpirationAction = static_cast<TExpirationAction>(action);
    const int period = cbRemiderChangePeriod.ItemIndex();
    if (period >= rcpNever && period <= rcpMonthly)
        session.ReminderChangePeriod = static_cast<TReminderChangePeriod>(period);
    if (!session.Apply()) ShowWarning("The settings could not be saved.", kPleaseNote);
    SetModalResult(mrOk);
}

void TfrmSettings::btnApp_AddClick() {
    if (!RunAddWizard || !session_) return;
    TMonitoredList result;
    RunAddWizard(options_, session_->WorkingList(), result);
    if (result.Count() == 0) return;
    session_->MergeWizardResult(result, ProgramFile);
    FillList();
}

void TfrmSettings::btnApp_DeleteClick() {
    if (!session_) return;
    const int index = lbxAppSites.ItemIndex();
    if (index < 0) return;
    const std::string text = Trim(lbxAppSites.Item(index));
    const auto* item = static_cast<const TMonitoredItem*>(lbxAppSites.Object(index));
    if (text.empty() || !item) return;
    if (!ConfirmDelete || !ConfirmDelete(text)) return;
    if (session_->DeleteEntry(*item)) FillList();
}

void TfrmSettings::SelectReminder() {
    if (loading_ || !session_) return;
    const int index = cbxReminder.ItemIndex();
    if (index < 0) return;
    shownReminder_ = index;
    loading_ = true;
    memReminder.SetText(session_->ReminderTexts[static_cast<std::size_t>(index)]);
    loading_ = false;
}

void TfrmSettings::ReminderEdited() {
    if (loading_ || !session_) return;
    session_->ReminderTexts[static_cast<std::size_t>(shownReminder_)] = memReminder.Text();
    ::InvalidateRect(cbxReminder.Handle(), nullptr, TRUE);
}

void TfrmSettings::ApplyPicture(const std::string& path) {
    appearance_.SetBackgroundImage(path);
    // Asking for the appearance makes the shared picture follow the preference.
    static_cast<void>(CurrentAppearance());
    SetColor(ColorOf(appearance_.GetBackgroundColor()));
    Invalidate();
}

void TfrmSettings::ColorChosen() {
    const COLORREF color = cbxColor.Selected();
    appearance_.SetBackgroundColor(static_cast<std::int32_t>(color));
    SetColor(color);
    // A colour replaces the picture.
    pictureChoice_.Choose(cbxImage.Count() - 1);
}

void TfrmSettings::TextColorChosen() {
    const COLORREF color = cbxTextColor.Selected();
    appearance_.SetTextColor(static_cast<std::int32_t>(color));
    SetFormTextColor(*this, color);
}

void TfrmSettings::TransparencyChosen() {
    if (loading_) return;
    const int index = cbxTransparency.ItemIndex();
    if (index < 0) return;
    const int percent = std::stoi(cbxTransparency.Item(index));
    SetFormTransparency(*this, percent);
    appearance_.SetTransparency(percent);
}

void TfrmSettings::DrawListRow(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const int index = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const COLORREF fill =
        selected ? GetSysColor(COLOR_HIGHLIGHT) : (index % 2 ? RGB(241, 241, 241) : RGB(255, 255, 255));
    UniqueBrush brush(CreateSolidBrush(fill));
    FillRect(dc, &item.rcItem, brush.Get());
    // Under its header, whatever the scroll bar takes (the list's border is 2).
    const int typeLeft = item.rcItem.left + Scale(kListWidth - kTypeColumnWidth) - Scale(2);
    UniquePen pen(CreatePen(PS_SOLID, 1, RGB(212, 212, 212)));
    const HGDIOBJ oldPen = SelectObject(dc, pen.Get());
    MoveToEx(dc, typeLeft, item.rcItem.top, nullptr);
    LineTo(dc, typeLeft, item.rcItem.bottom);
    MoveToEx(dc, item.rcItem.left, item.rcItem.bottom - 1, nullptr);
    LineTo(dc, item.rcItem.right, item.rcItem.bottom - 1);
    SelectObject(dc, oldPen);
    const auto* entry = index >= 0 ? static_cast<const TMonitoredItem*>(lbxAppSites.Object(index)) : nullptr;
    if (!entry) return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, !entry->Active ? RGB(128, 128, 128)
                     : selected     ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                    : GetSysColor(COLOR_WINDOWTEXT));
    RECT name = item.rcItem;
    name.left += Scale(4);
    name.right = typeLeft - Scale(2);
    DrawRowText(dc, entry->Caption, name, DT_LEFT);
    RECT type = item.rcItem;
    type.left = typeLeft;
    DrawRowText(dc, entry->GetTypeText(), type, DT_CENTER);
}

void TfrmSettings::DrawReminderItem(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= static_cast<UINT>(kReminderTypeCount)) return;
    const int mark = Scale(16);
    if (session_ && ReminderTextFilled(session_->ReminderTexts[item.itemID])) {
        const TPicture& tick = Skins().tick;
        const IntSize size = tick.SizeAt(Dpi());
        tick.Draw(dc, item.rcItem.left + 2, item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - size.height) / 2,
                  Dpi());
    }
    RECT text = item.rcItem;
    text.left += mark + Scale(6);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawRowText(dc, kReminders[item.itemID], text, DT_LEFT);
}

}  // namespace vh::win32
